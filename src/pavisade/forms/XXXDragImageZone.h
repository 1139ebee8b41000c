#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QString>
#include <QtWidgets/QLabel>

// An image area that takes files dragged from the desktop: it lights up while a file
// drag hovers and, on drop, posts the first dropped file's path as the object of the
// notification named by registerNotify() on the default notification centre. Drags
// without files (a colour, text) are refused. Every drop is accepted; one without
// files, without a path or before a name is registered only logs. Main thread.
class PAVISADE_EXPORT XXXDragImageZone : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString nofifyName READ nofifyName WRITE registerNotify)
    Q_PROPERTY(double alphaValue READ alphaValue)
public:
    Q_INVOKABLE explicit XXXDragImageZone(QWidget *parent = nullptr);

    QString nofifyName() const { return m_nofifyName; }
    void registerNotify(const QString &name) { m_nofifyName = name; }

    // 1.0 while a file drag hovers, 0.2 otherwise.
    double alphaValue() const { return m_alpha; }
    void dropAreaFadeIn();
    void dropAreaFadeOut();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_nofifyName;
    double m_alpha = 0.2;
};

#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <pavisade/forms/XXXDragImageZone.h>

#include <QtCore/QPointer>
#include <QtWidgets/QLabel>

// The drop-zone screen: a caption above a zone that takes files dragged onto it and
// announces the first file's path under the registered notification name. Screens show
// it through X3CommonViewController::showDragView(). Main thread.
class PAVISADE_EXPORT XXXDragViewController : public X3CommonViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXDragViewController(QWidget *parent = nullptr);

    XXXDragImageZone *dramImageZone() const { return m_dramImageZone; }
    QLabel *titleFld() const { return m_titleFld; }

    // Passes the notification name to the zone.
    void registerNotify(const QString &name);
    // Shows the caption; a null text leaves the caption as it is.
    void setDragTitle(const QString &title);

protected:
    void loadInterface() override;

private:
    QPointer<XXXDragImageZone> m_dramImageZone;
    QPointer<QLabel> m_titleFld;
};

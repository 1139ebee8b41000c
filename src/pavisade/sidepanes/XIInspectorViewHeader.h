#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/sidepanes/XIInspectorBaseView.h>

#include <QtGui/QColor>

QT_BEGIN_NAMESPACE
class QAbstractButton;
class QLabel;
QT_END_NAMESPACE

class XIInspectorViewHeader;

// Hears clicks on a section header.
class PAVISADE_EXPORT XIInspectorViewHeaderDelegate
{
public:
    virtual ~XIInspectorViewHeaderDelegate() = default;
    virtual void headerClicked(XIInspectorViewHeader *header) = 0;
};

// The 222 x 20 header of an inspector section: a disclosure triangle, a bold title and
// a bluish-grey gradient with a border line above and below. A click on the header or
// the triangle reports headerClicked to the delegate. Main thread.
class PAVISADE_EXPORT XIInspectorViewHeader : public XIInspectorBaseView
{
    Q_OBJECT
public:
    explicit XIInspectorViewHeader(QWidget *parent = nullptr);

    void setDelegate(XIInspectorViewHeaderDelegate *delegate) { m_delegate = delegate; }
    XIInspectorViewHeaderDelegate *delegate() const { return m_delegate; }
    QAbstractButton *disclosureTriangle() const { return m_disclosureTriangle; }
    QLabel *nameField() const { return m_nameField; }

    QColor dashColor() const { return m_dashColor; }
    void setDashColor(const QColor &color) { m_dashColor = color; }
    QColor gradientStartColor() const { return m_gradientStartColor; }
    void setGradientStartColor(const QColor &color) { m_gradientStartColor = color; }
    QColor gradientEndColor() const { return m_gradientEndColor; }
    void setGradientEndColor(const QColor &color) { m_gradientEndColor = color; }

    // The triangle's state: 1 open, 0 closed.
    qint64 state() const;
    void setState(qint64 state);
    QString title() const;
    void setTitle(const QString &title);

    // What a click on the triangle does.
    void disclosureClicked();

protected:
    void setupView() override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    XIInspectorViewHeaderDelegate *m_delegate = nullptr; // not retained
    QAbstractButton *m_disclosureTriangle = nullptr;
    QLabel *m_nameField = nullptr;
    QColor m_dashColor;
    QColor m_gradientStartColor;
    QColor m_gradientEndColor;
};

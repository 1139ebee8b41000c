#include <pavisade/viewcontrollers/XXXDragViewController.h>

#include <pavisade/forms/XXXDragImageZone.h>

#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>

XXXDragViewController::XXXDragViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
    useClassNib();
}

void XXXDragViewController::loadInterface()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    m_titleFld = new QLabel(this);
    m_titleFld->setAlignment(Qt::AlignCenter);
    m_dramImageZone = new XXXDragImageZone(this);
    m_dramImageZone->setMinimumSize(160, 120);
    layout->addWidget(m_titleFld);
    layout->addWidget(m_dramImageZone, 1);
    resize(220, 180);
}

void XXXDragViewController::registerNotify(const QString &name)
{
    view();
    m_dramImageZone->registerNotify(name);
}

void XXXDragViewController::setDragTitle(const QString &title)
{
    view();
    if (!title.isNull())
        m_titleFld->setText(title);
}

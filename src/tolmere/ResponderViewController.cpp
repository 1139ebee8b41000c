#include <tolmere/ResponderViewController.h>

#include <tolmere/ResponderExtensions.h>

#include <QtWidgets/QWidget>

ResponderViewController::ResponderViewController(QObject *parent)
    : QObject(parent)
{
}

ResponderViewController::~ResponderViewController()
{
    if (m_ownView && !m_ownView->parentWidget())
        delete m_ownView.data();
}

QWidget *ResponderViewController::view()
{
    if (!m_view)
        loadView();
    return m_view;
}

void ResponderViewController::setView(QWidget *view)
{
    if (m_view && m_view != view && Tolmere::viewController(m_view) == this)
        Tolmere::setViewController(m_view, nullptr);
    m_view = view;
    if (view)
        Tolmere::setViewController(view, this);
}

void ResponderViewController::loadView()
{
    auto *view = new QWidget;
    m_ownView = view;
    setView(view);
    viewDidLoad();
}

void ResponderViewController::viewWillAppear()
{
    if (m_view)
        Tolmere::setNeedsLayout(m_view);
}

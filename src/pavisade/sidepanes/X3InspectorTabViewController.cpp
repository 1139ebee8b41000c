#include <pavisade/sidepanes/X3InspectorTabViewController.h>

#include <pavisade/sidepanes/IconTabStrip_p.h>

#include <bastwick/platform/Log.h>

X3InspectorTabViewController::X3InspectorTabViewController(QWidget *parent)
    : X3TabViewController(parent)
    , m_strip(std::make_unique<Pavisade::IconTabStrip>())
{
    storeTabViewTopPadding(22);
}

void X3InspectorTabViewController::tabViewConfig()
{
    inspectorTabBarViewConfig();
    X3TabViewController::tabViewConfig();
}

void X3InspectorTabViewController::tabViewSizeConfig()
{
    X3TabViewController::tabViewSizeConfig();
    inspectorTabBarSizeConfig();
}

void X3InspectorTabViewController::tabBarDidSelectItem(XTTabBar *tabBar, XTTabBarItem *item)
{
    Q_UNUSED(tabBar);
    m_strip->selectTabForItem(this, item);
}

void X3InspectorTabViewController::awakeFromNib()
{
    X3TabViewController::awakeFromNib();
    tabViewSizeConfig();
    m_strip->logFrames(this);
}

void X3InspectorTabViewController::loadView()
{
    X3TabViewController::loadView();
    m_strip->loadView(this);
}

void X3InspectorTabViewController::tabViewDidSelectTabViewItem(QTabWidget *tabs, int index)
{
    if (controllers().isEmpty())
        return;
    XXXLog(QStringLiteral("tab index =%1").arg(index));
    X3TabViewController::tabViewDidSelectTabViewItem(tabs, index);
}

X3InspectorTabViewController::~X3InspectorTabViewController() = default;

XTTabBar *X3InspectorTabViewController::inspectorTabBar()
{
    return m_strip->bar(this);
}

void X3InspectorTabViewController::setInspectorTabBar(XTTabBar *bar)
{
    m_strip->setBar(bar);
}

void X3InspectorTabViewController::inspectorTabBarViewConfig()
{
    m_strip->fill(this);
}

void X3InspectorTabViewController::inspectorTabBarSizeConfig()
{
    m_strip->place(this);
}

void X3InspectorTabViewController::selectedAtIndex(int index)
{
    inspectorTabBar()->selectBarButtonAtIndex(index);
}

#include <pavisade/sidepanes/XXXInspectorTabViewController.h>

#include <pavisade/sidepanes/IconTabStrip_p.h>

#include <bastwick/platform/Log.h>

XXXInspectorTabViewController::XXXInspectorTabViewController(QWidget *parent)
    : XXXTabViewController(parent)
    , m_strip(std::make_unique<Pavisade::IconTabStrip>())
{
    storeTabViewTopPadding(22);
}

void XXXInspectorTabViewController::tabViewConfig()
{
    inspectorTabBarViewConfig();
    XXXTabViewController::tabViewConfig();
}

void XXXInspectorTabViewController::tabViewSizeConfig()
{
    XXXTabViewController::tabViewSizeConfig();
    inspectorTabBarSizeConfig();
}

void XXXInspectorTabViewController::tabBarDidSelectItem(XTTabBar *tabBar, XTTabBarItem *item)
{
    Q_UNUSED(tabBar);
    m_strip->selectTabForItem(this, item);
}

void XXXInspectorTabViewController::awakeFromNib()
{
    XXXTabViewController::awakeFromNib();
    tabViewSizeConfig();
    m_strip->logFrames(this);
}

void XXXInspectorTabViewController::loadView()
{
    XXXTabViewController::loadView();
    m_strip->loadView(this);
}

XXXInspectorTabViewController::~XXXInspectorTabViewController() = default;

XTTabBar *XXXInspectorTabViewController::inspectorTabBar()
{
    return m_strip->bar(this);
}

void XXXInspectorTabViewController::setInspectorTabBar(XTTabBar *bar)
{
    m_strip->setBar(bar);
}

void XXXInspectorTabViewController::inspectorTabBarViewConfig()
{
    m_strip->fill(this);
}

void XXXInspectorTabViewController::inspectorTabBarSizeConfig()
{
    m_strip->place(this);
}

void XXXInspectorTabViewController::selectedAtIndex(int index)
{
    inspectorTabBar()->selectBarButtonAtIndex(index);
}

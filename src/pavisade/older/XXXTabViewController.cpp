#include <pavisade/older/XXXTabViewController.h>

#include <pavisade/viewcontrollers/XXXCommonViewController.h>

#include <bastwick/platform/Log.h>

XXXTabViewController::XXXTabViewController(QWidget *parent)
    : X3TabViewBackController(parent)
{
    setNibName(QStringLiteral("XXXCommonViewController"));
    registerWindowDidResizeNotification();
}

void XXXTabViewController::viewConfig()
{
    Pavisade::olderViewConfig(this);
}

void XXXTabViewController::viewSizeConfig()
{
    Pavisade::olderViewSizeConfig(this);
}

void XXXTabViewController::tabSubViewSizeConfig()
{
    for (X3CommonViewController *child : controllers())
        child->viewConfig();
}

void XXXTabViewController::tabViewDidSelectTabViewItem(QTabWidget *tabs, int index)
{
    XXXLog(QStringLiteral("tab index =%1").arg(index));
    X3TabViewBackController::tabViewDidSelectTabViewItem(tabs, index);
}

void XXXTabViewController::awakeFromNib()
{
    viewConfig();
    viewSizeConfig();
    awakeTabs();
}

void XXXTabViewController::awakeTabs()
{
    tabViewSizeConfig();
    tabViewConfig();
    tabSubViewSizeConfig();
}

#include <pavisade/older/XXXTabXibViewController.h>

XXXTabXibViewController::XXXTabXibViewController(QWidget *parent)
    : XXXTabViewController(parent)
{
}

bool XXXTabXibViewController::hasTabView()
{
    return tabXibView() != nullptr;
}

void XXXTabXibViewController::tabViewConfig()
{
    if (hasTabView()) {
        XXXTabViewController::tabViewConfig();
        return;
    }
    tabColumnsDef();
    tabViewControllersConfig();
}

void XXXTabXibViewController::tabSubViewConfig()
{
    if (hasTabView())
        XXXTabViewController::tabSubViewConfig();
}

void XXXTabXibViewController::tabSubViewSizeConfig()
{
    if (hasTabView())
        XXXTabViewController::tabSubViewSizeConfig();
}

void XXXTabXibViewController::awakeTabs()
{
    tabViewConfig();
    tabSubViewSizeConfig();
}

#include <pavisade/viewcontrollers/XXXCommonViewController.h>

#include <pavisade/toolbar/XXXButtonToolBar.h>

XXXCommonViewController::XXXCommonViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
    setNibName(QStringLiteral("XXXCommonViewController"));
    registerWindowDidResizeNotification();
}

void XXXCommonViewController::awakeFromNib()
{
    viewConfig();
    viewSizeConfig();
}

void XXXCommonViewController::viewConfig()
{
    tableViewConfig();
    splitViewConfig();
    treeViewConfig();
}

void XXXCommonViewController::viewSizeConfig()
{
    splitViewSizeConfig();
    tableViewSizeConfig();
    treeViewSizeConfig();
}

XXXButtonToolBar *XXXCommonViewController::toolBarView2()
{
    if (hasToolBar())
        return toolBarView();
    XXXButtonToolBar *bar = toolBarView();
    bar->setGeometry(0, 0, 0, 0);
    return bar;
}

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

namespace Pavisade {

void olderViewConfig(X3CommonViewController *screen)
{
    screen->tableViewConfig();
    screen->splitViewConfig();
    screen->treeViewConfig();
}

void olderViewSizeConfig(X3CommonViewController *screen)
{
    screen->splitViewSizeConfig();
    screen->tableViewSizeConfig();
    screen->treeViewSizeConfig();
}

} // namespace Pavisade

void XXXCommonViewController::viewConfig()
{
    Pavisade::olderViewConfig(this);
}

void XXXCommonViewController::viewSizeConfig()
{
    Pavisade::olderViewSizeConfig(this);
}

XXXButtonToolBar *XXXCommonViewController::toolBarView2()
{
    if (hasToolBar())
        return toolBarView();
    XXXButtonToolBar *bar = toolBarView();
    bar->setGeometry(0, 0, 0, 0);
    return bar;
}

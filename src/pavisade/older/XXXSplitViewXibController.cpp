#include <pavisade/older/XXXSplitViewXibController.h>

XXXSplitViewXibController::XXXSplitViewXibController(QWidget *parent)
    : XXXSplitViewController(parent)
{
    setSplitDividPositon(0);
}

void XXXSplitViewXibController::splitViewConfig()
{
    if (hasSplitView())
        XXXSplitViewController::splitViewConfig();
}

void XXXSplitViewXibController::splitViewSizeConfig()
{
    if (hasSplitView())
        XXXSplitViewController::splitViewSizeConfig();
}

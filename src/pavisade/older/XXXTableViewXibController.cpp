#include <pavisade/older/XXXTableViewXibController.h>

#include <pavisade/older/OlderTableSteps_p.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/tables/ToolBarStrip_p.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/viewcontrollers/XXXCommonViewController.h>

XXXTableViewXibController::XXXTableViewXibController(QWidget *parent)
    : X3TableViewXibController(parent)
{
    setNibName(QStringLiteral("XXXCommonViewController"));
    registerWindowDidResizeNotification();
}

void XXXTableViewXibController::tableViewConfig()
{
    Pavisade::olderTableViewConfig(this);
}

void XXXTableViewXibController::viewConfig()
{
    Pavisade::olderViewConfig(this);
}

void XXXTableViewXibController::viewSizeConfig()
{
    Pavisade::olderViewSizeConfig(this);
}

void XXXTableViewXibController::resizeUI()
{
    resizeTableViewColumnWidth();
    tableViewSizeConfig();
}

void XXXTableViewXibController::tableViewSizeConfig()
{
    Pavisade::resizeColumns(tableView());
    layoutToolBar();
    layoutTableArea();
}

QList<XXXButtonToolBarItem> XXXTableViewXibController::toolbarItemsConfig() const
{
    return XXXButtonToolBar::itemConfig();
}

void XXXTableViewXibController::awakeFromNib()
{
    Pavisade::olderTableAwakening(this);
}

void XXXTableViewXibController::layoutTableArea()
{
    // Whatever the interface gave the table, it lies directly above the strip.
    if (QWidget *area = tableViewScrollView())
        Pavisade::layoutAboveToolBar(this, area, qRound(toolbarParentViewDefaultHeight()));
}

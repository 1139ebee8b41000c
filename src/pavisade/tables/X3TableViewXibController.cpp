#include <pavisade/tables/X3TableViewXibController.h>

#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/tables/ToolBarStrip_p.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>

X3TableViewXibController::X3TableViewXibController(QWidget *parent)
    : X3TableViewController(parent)
{
}

void X3TableViewXibController::resizeUI()
{
    resizeTableViewColumnWidth();
    viewSizeConfig();
}

void X3TableViewXibController::tableViewSizeConfig()
{
    Pavisade::resizeColumns(tableView());
}

void X3TableViewXibController::layoutToolBar()
{
    Pavisade::layoutToolBarInStrip(this);
}

// The interface places the table; a table made in code fills the screen above the strip.
void X3TableViewXibController::layoutTableArea()
{
    if (tableXibView())
        return;
    Pavisade::layoutAboveToolBar(this, tableView(), qRound(toolbarParentViewDefaultHeight()));
}

void X3TableViewXibController::resizeEvent(QResizeEvent *event)
{
    X3TableViewController::resizeEvent(event);
    if (isViewLoaded())
        layoutToolBar();
}

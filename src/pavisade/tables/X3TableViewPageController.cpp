#include <pavisade/tables/X3TableViewPageController.h>

X3TableViewPageController::X3TableViewPageController(QWidget *parent)
    : X3DoubleEidtTableViewController(parent)
    , ScreenPagingToEnds(this)
{
}

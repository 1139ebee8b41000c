#include <pavisade/tables/X3TableViewXibPageController.h>

X3TableViewXibPageController::X3TableViewXibPageController(QWidget *parent)
    : X3TableViewXibController(parent)
    , ScreenPagingToEnds(this)
{
}

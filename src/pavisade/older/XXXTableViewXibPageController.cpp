#include <pavisade/older/XXXTableViewXibPageController.h>

XXXTableViewXibPageController::XXXTableViewXibPageController(QWidget *parent)
    : XXXTableViewXibController(parent)
    , ScreenPaging(this)
{
}

#include <pavisade/older/XXXTreeViewXibController.h>

XXXTreeViewXibController::XXXTreeViewXibController(QWidget *parent)
    : XXXTreeViewController(parent)
{
}

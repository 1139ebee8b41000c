#include <pavisade/grids/X3GridViewXibController.h>

X3GridViewXibController::X3GridViewXibController(QWidget *parent)
    : X3GridViewController(parent)
{
}

void X3GridViewXibController::gridViewConfig()
{
    gridViewDataSourceConfig();
}

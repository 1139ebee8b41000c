#include <pavisade/older/XXXTableViewPageControllerViewController.h>

XXXTableViewPageControllerViewController::XXXTableViewPageControllerViewController(QWidget *parent)
    : XXXDoubleEidtTableViewController(parent)
    , ScreenPaging(this)
{
}

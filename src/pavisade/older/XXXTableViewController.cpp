#include <pavisade/older/XXXTableViewController.h>

#include <pavisade/older/OlderTableSteps_p.h>
#include <pavisade/viewcontrollers/XXXCommonViewController.h>

XXXTableViewController::XXXTableViewController(QWidget *parent)
    : X3TableViewController(parent)
{
    setNibName(QStringLiteral("XXXCommonViewController"));
    registerWindowDidResizeNotification();
}

void XXXTableViewController::tableViewConfig()
{
    Pavisade::olderTableViewConfig(this);
}

void XXXTableViewController::viewConfig()
{
    Pavisade::olderViewConfig(this);
}

void XXXTableViewController::viewSizeConfig()
{
    Pavisade::olderViewSizeConfig(this);
}

void XXXTableViewController::awakeFromNib()
{
    Pavisade::olderTableAwakening(this);
}

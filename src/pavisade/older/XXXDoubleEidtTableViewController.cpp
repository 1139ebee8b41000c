#include <pavisade/older/XXXDoubleEidtTableViewController.h>

#include <pavisade/older/OlderTableSteps_p.h>
#include <pavisade/viewcontrollers/XXXCommonViewController.h>

XXXDoubleEidtTableViewController::XXXDoubleEidtTableViewController(QWidget *parent)
    : X3DoubleEidtTableViewController(parent)
{
    setNibName(QStringLiteral("XXXCommonViewController"));
    registerWindowDidResizeNotification();
}

void XXXDoubleEidtTableViewController::tableViewConfig()
{
    Pavisade::olderTableViewConfig(this);
}

void XXXDoubleEidtTableViewController::viewConfig()
{
    Pavisade::olderViewConfig(this);
}

void XXXDoubleEidtTableViewController::viewSizeConfig()
{
    Pavisade::olderViewSizeConfig(this);
}

void XXXDoubleEidtTableViewController::awakeFromNib()
{
    Pavisade::olderTableAwakening(this);
    if (NSTableViewEX *table = editTableView())
        table->setEmptyDoubleClickAction(QStringLiteral("addEmptyRow"));
}

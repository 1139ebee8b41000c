#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/X3DoubleEidtTableViewController.h>

// The older list screen whose table reports double-clicks on its empty area to
// addEmptyRow (empty here): the current double-click list screen with the older
// start-up of XXXTableViewController. Main thread.
class PAVISADE_EXPORT XXXDoubleEidtTableViewController : public X3DoubleEidtTableViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXDoubleEidtTableViewController(QWidget *parent = nullptr);

    void tableViewConfig() override;
    void viewConfig() override;
    void viewSizeConfig() override;

protected:
    // The older start-up, then the empty-area double-click goes to addEmptyRow.
    void awakeFromNib() override;
};

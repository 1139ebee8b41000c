#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/X3TableViewController.h>

// The older list screen: the current list screen with the older base's start-up
// (registered for window resizes from its constructor; viewConfig and viewSizeConfig
// reach the table hooks, and the table is sized once more after them) and no style
// hook. The table is always made in code. Main thread.
class PAVISADE_EXPORT XXXTableViewController : public X3TableViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXTableViewController(QWidget *parent = nullptr);

    // tableViewColumnConfig, tableViewDelegateConfig, tableViewSizeConfig.
    void tableViewConfig() override;
    void viewConfig() override;
    void viewSizeConfig() override;

protected:
    void awakeFromNib() override;
};

#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/X3TableViewXibController.h>

// The older list screen for a table its interface supplies through tableXibView()
// (and tableViewXibScrollView()): nothing is made in code, so without an outlet the
// screen has no table and its hooks act on nothing. The table area is kept directly
// above the toolbar strip on every sizing; the toolbar's default items are add,
// remove and refresh. Older start-up as XXXTableViewController. Main thread.
class PAVISADE_EXPORT XXXTableViewXibController : public X3TableViewXibController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXTableViewXibController(QWidget *parent = nullptr);

    void tableViewConfig() override;
    void viewConfig() override;
    void viewSizeConfig() override;
    // Column widths, then tableViewSizeConfig.
    void resizeUI() override;
    // Column widths, the toolbar strip and the table area above it.
    void tableViewSizeConfig() override;
    // Add, remove and refresh image buttons.
    QList<XXXButtonToolBarItem> toolbarItemsConfig() const override;

protected:
    void awakeFromNib() override;
    // The interface places the table: nothing is added here.
    void loadView() override {}
    void layoutTableArea() override;
    // Never makes a table.
    QTableView *makeTableView() override { return nullptr; }
};

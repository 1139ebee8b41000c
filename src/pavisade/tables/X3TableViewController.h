#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/XXXNSTableColumnField.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtWidgets/QTableView>

// A list screen: a table filling the screen (above the toolbar strip when the screen
// has one), configured through hooks in a fixed order after the base awakening:
// tableViewStyleConfig, tableViewColumnConfig (the columns of tableColumnsDef),
// tableViewDelegateConfig (the subclass makes its model and calls its setOwner), then
// tableViewSizeConfig (geometry from the screen's bounds, column widths, toolbar).
// The table comes from the tableXibView hook (a screen built from a .ui answers its
// table) or is made in code on first use, with a vertical scroll bar as needed.
// The layout is computed from the screen's bounds on every resize. Main thread.
class PAVISADE_EXPORT X3TableViewController : public X3CommonViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit X3TableViewController(QWidget *parent = nullptr);

    QTableView *tableView();
    void setTableView(QTableView *table);
    // The scrolling view of the table (the table itself: it scrolls its own rows).
    QAbstractScrollArea *tableViewScrollView();

    bool isAutoSave() const { return m_isAutoSave; }
    void setAutoSaving(bool autoSave) { m_isAutoSave = autoSave; }
    virtual void saveData() {}

    void tableViewConfig() override;
    virtual void tableViewStyleConfig() {}
    // The column definitions; none by default (the columns stay as they are).
    virtual XXXNSTableColumnFieldList tableColumnsDef() const { return {}; }
    virtual void tableViewColumnConfig();
    virtual void tableViewDelegateConfig() {}
    void tableViewSizeConfig() override;
    void viewConfig() override;
    void viewSizeConfig() override;
    void resizeUI() override;
    void resizeTableViewColumnWidth();

    // The table of the screen's interface, if it has one.
    virtual QTableView *tableXibView() { return nullptr; }
    virtual QAbstractScrollArea *tableViewXibScrollView() { return nullptr; }

    // Rows can be reordered by drag and drop.
    void registerRowDrag();
    // Clicking a column's header sorts the rows by that column's key, ascending first.
    void setSortColumns();
    void setTableViewEditFoucusAtColumn(int column);
    void setTableViewLostEditFoucus();

protected:
    void awakeFromNib() override;
    void loadView() override;
    void resizeEvent(QResizeEvent *event) override;
    // Places the table (and the toolbar strip) from the screen's bounds.
    virtual void layoutTableArea();
    // Makes the table when no interface provides one.
    virtual QTableView *makeTableView();

private:
    QTableView *m_tableView = nullptr;
    bool m_isAutoSave = false;
};

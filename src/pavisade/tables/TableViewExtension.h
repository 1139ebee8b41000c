#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/XXXNSTableColumnField.h>

#include <QtCore/QStringList>

class QAbstractItemView;
class QTableView;

// Column definitions on a table view, and its selection and editing helpers.
//
// A table keeps the definitions it was last built from and hands them to whichever
// model it shows (a model that takes column definitions); widths, minimum widths and
// the per-column cells (text, combo box, check box) are set on the view. Minimum widths
// hold whenever a column is resized. GUI thread only.
namespace Pavisade {

// Configures one column of a view from a definition: the view's column list gets the
// definition at that position (the model is told), then width, minimum width, resize
// mode and cell are set.
PAVISADE_EXPORT void updateColumnWithDef(QAbstractItemView *view, int column,
                                         const XXXNSTableColumnField &def);

// Removes every column of the table; the stored definitions stay.
PAVISADE_EXPORT void removeAllColumns(QTableView *table);
// Rebuilds the table's columns from the list, in order, and keeps the list. An empty
// list changes nothing.
PAVISADE_EXPORT void updateColumnsDef(QTableView *table, const XXXNSTableColumnFieldList &defs);
// The list the table was last built from (empty before the first build).
PAVISADE_EXPORT XXXNSTableColumnFieldList columnsDef(const QTableView *table);
// Shares the table's width among its columns: a single definition takes the whole width;
// otherwise the flexible definitions (width and minimum width both 0 or less) share what
// the sized ones leave.
PAVISADE_EXPORT void resizeColumns(QTableView *table);

// With at least one row: selects the last row alone and starts editing the column there.
PAVISADE_EXPORT void setEditFoucusAtColumn(QTableView *table, int column);
// Selects the row alone when it is a row of the table; otherwise nothing.
PAVISADE_EXPORT void setSelectionAtRow(QTableView *table, int row);
// Deselects the selected row, then the selected column; nothing when no row is selected.
PAVISADE_EXPORT void setLostEditFoucus(QTableView *table);
// The selected row (the current row when it is selected, else the first selected row),
// -1 when none.
PAVISADE_EXPORT int selectedRow(const QAbstractItemView *view);

// One editable, centred text column of width 100 per name, titled and identified by it;
// empty for an empty list.
PAVISADE_EXPORT XXXNSTableColumnFieldList tableViewColumnsWithNames(const QStringList &names);
PAVISADE_EXPORT void updateWithColumnNames(QTableView *table, const QStringList &names);

} // namespace Pavisade

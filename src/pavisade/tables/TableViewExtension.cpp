#include <pavisade/tables/TableViewExtension.h>

#include <pavisade/tables/ColumnDefStore_p.h>

#include <QtCore/QItemSelectionModel>
#include <QtWidgets/QTableView>

namespace Pavisade {

void updateColumnWithDef(QAbstractItemView *view, int column, const XXXNSTableColumnField &def)
{
    if (!view || column < 0)
        return;
    ColumnDefStore *store = ColumnDefStore::ensure(view);
    while (store->columns.size() <= column)
        store->columns.append(XXXNSTableColumnField());
    store->columns[column] = def;
    store->apply();
}

void removeAllColumns(QTableView *table)
{
    if (!table)
        return;
    ColumnDefStore *store = ColumnDefStore::ensure(table);
    store->columns.clear();
    store->apply();
}

void updateColumnsDef(QTableView *table, const XXXNSTableColumnFieldList &defs)
{
    if (!table || defs.isEmpty())
        return;
    ColumnDefStore *store = ColumnDefStore::ensure(table);
    store->definitions = defs;
    store->columns = defs;
    store->apply();
}

XXXNSTableColumnFieldList columnsDef(const QTableView *table)
{
    if (ColumnDefStore *store = ColumnDefStore::find(table))
        return store->definitions;
    return {};
}

void resizeColumns(QTableView *table)
{
    if (ColumnDefStore *store = ColumnDefStore::find(table))
        store->resizeColumns();
}

int selectedRow(const QAbstractItemView *view)
{
    if (!view || !view->selectionModel())
        return -1;
    QItemSelectionModel *selection = view->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isSelected(current))
        return current.row();
    const QModelIndexList selected = selection->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void setEditFoucusAtColumn(QTableView *table, int column)
{
    if (!table || !table->model())
        return;
    const int rows = table->model()->rowCount();
    if (rows < 1)
        return;
    const QModelIndex index = table->model()->index(rows - 1, column);
    table->selectionModel()->setCurrentIndex(index,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (index.isValid()) {
        table->scrollTo(index);
        table->edit(index);
    }
}

void setSelectionAtRow(QTableView *table, int row)
{
    if (!table || !table->model() || row < 0)
        return;
    const int rows = table->model()->rowCount();
    if (rows < 1 || row >= rows)
        return;
    table->selectionModel()->setCurrentIndex(table->model()->index(row, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void setLostEditFoucus(QTableView *table)
{
    if (!table || !table->selectionModel())
        return;
    const int row = selectedRow(table);
    if (row < 0)
        return;
    QItemSelectionModel *selection = table->selectionModel();
    selection->select(table->model()->index(row, 0),
                      QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    const QModelIndexList columns = selection->selectedColumns();
    if (!columns.isEmpty())
        selection->select(columns.first(), QItemSelectionModel::Deselect | QItemSelectionModel::Columns);
}

XXXNSTableColumnFieldList tableViewColumnsWithNames(const QStringList &names)
{
    XXXNSTableColumnFieldList defs;
    for (const QString &name : names) {
        XXXNSTableColumnField def;
        def.setTitle(name);
        def.setIdentifier(name);
        def.setWidth(100.0);
        def.setMinWidth(100.0);
        def.setEditable(true);
        def.setHeaderAlignment(XXXNSTableColumnField::kAlignCenter);
        def.setDataAlignment(XXXNSTableColumnField::kAlignCenter);
        def.setCellType(XXXNSTableColumnField::kTextCell);
        defs.append(def);
    }
    return defs;
}

void updateWithColumnNames(QTableView *table, const QStringList &names)
{
    updateColumnsDef(table, tableViewColumnsWithNames(names));
}

} // namespace Pavisade

#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/ColumnDefinedModel.h>
#include <pavisade/tables/RowPredicate.h>
#include <pavisade/tables/TableRow.h>

#include <bastwick/IndexSet.h>

#include <QtCore/QAbstractTableModel>
#include <QtCore/QPointer>

#include <functional>

class QItemSelection;
#include <QtWidgets/QTableView>

// The pasteboard type of a row drag inside one table.
PAVISADE_EXPORT extern const char XXXTableViewDragDataTypeName[];

// The rows of a table: the full list (`itemCache`) and the visible list (`items`), the
// full list seen through an optional filter. Row N of the table is items()[N]. Rows are
// shared objects, so both lists see a change made to a row.
//
// Every change of the lists reaches the views as the precise inserts, removes, moves and
// resets; a reload keeps the selection by row object. Index operations take visible
// rows: on a filtered table the row object shown there is the one acted on. Rows are
// reordered by drag and drop inside the table. Lives on the GUI thread.
class PAVISADE_EXPORT XXXTableViewBasedDataDelegate : public QAbstractTableModel,
                                                      public Pavisade::ColumnDefinedModel
{
    Q_OBJECT

public:
    using Row = Pavisade::TableRowPtr;
    using RowList = Pavisade::TableRowList;
    using RowFactory = std::function<Row()>;

    explicit XXXTableViewBasedDataDelegate(QObject *parent = nullptr);
    ~XXXTableViewBasedDataDelegate() override;

    using QAbstractTableModel::setData;

    // Contents.
    const RowList &itemCache() const { return m_itemCache; }
    const RowList &items() const { return m_items; }
    // Replaces every row (both lists become the given rows; the filter is not applied).
    virtual void setData(const RowList &data);
    // Replaces the visible rows only.
    void setItems(const RowList &items);
    virtual void addData(const Row &row);
    virtual void addData(const RowList &rows);
    // Inserts before the row shown at index (index == itemCount appends).
    void addData(const Row &row, qsizetype index);
    void insertObject(const Row &row, qsizetype index) { addData(row, index); }
    // A new empty row made by the bound row factory, appended.
    virtual void addNewData();
    // addNewData, then the owner table selects the new last row and edits its first cell.
    void addEmptyRow();
    // The action a table's empty-area double click sends; does nothing here.
    Q_INVOKABLE virtual void addEmptyRow(QObject *sender);

    // Filtering.
    void filterData();
    void setPredicate(const Pavisade::RowPredicate &predicate);
    // The filter text form (see predicateWithFormat); text that does not parse sets no filter.
    void setPredicate(const QString &format);
    bool hasPredicate() const { return bool(m_predicate); }
    // Shows every row; the filter stays set and applies again at the next change.
    void cancelFilter();

    // Removal and reordering.
    void deleteData(const Bastwick::IndexSet &indexes);
    void deleteData(const RowList &rows);
    void deleteData(const Row &row);
    void deleteDataIndexes(const Bastwick::IndexSet &indexes) { deleteData(indexes); }
    void deleteDataAtIndex(qsizetype index);
    void removeObjectAtIndex(qsizetype index);
    void exchangeObjectAtIndex(qsizetype index1, qsizetype index2);
    // Puts the row in place of the one shown at index; nothing outside the visible rows.
    void updateItem(const Row &row, qsizetype index);
    void clearData();

    // Reading.
    Row itemOfRow(qsizetype index) const;
    RowList itemsOfIndexSet(const Bastwick::IndexSet &indexes) const;
    qsizetype itemCount() const { return m_items.size(); }

    // Resets the model and selects the rows that were selected, by row object.
    void reloadData();

    // Wiring.
    // The factory of new empty rows (dictionary rows by default).
    RowFactory bindClass() const { return m_bindClass; }
    void setBindClass(const RowFactory &factory) { m_bindClass = factory; }
    QTableView *owner() const { return m_owner; }
    // Shows this model in the table, takes the table's column definitions and reports
    // its selection changes.
    void setOwner(QTableView *table);

    std::function<void(const Row &)> callback;
    std::function<void()> rowDragCallback;
    // (row object, copy of the row before the edit, row index)
    std::function<void(const Row &, const Row &, qsizetype)> rowObjectValueChangedCallback;
    std::function<void()> actionCallback;
    QPointer<QObject> actionCallbackBlock;

    // ColumnDefinedModel
    void setColumnDefs(const XXXNSTableColumnFieldList &defs) override;

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    // Orders the rows by the column's key (rows keep their order among equals).
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    // The value a cell shows: the row object's value for the column's identifier.
    virtual QVariant objectValueForTableColumn(int column, qsizetype row) const;
    // Reacts to the owner's selection: calls `callback` with the selected row object.
    virtual void tableViewSelectionDidChange();

private:
    void applyVisible(const RowList &visible);
    void removeRowsMissingFrom(const RowList &next);
    void reorderRowsAs(const RowList &next);
    void insertRowsNewIn(const RowList &next);
    RowList filtered() const;
    // Position in itemCache of the row shown at a visible index.
    qsizetype cachePosition(qsizetype visibleIndex) const;
    bool dropTarget(const QMimeData *data, int row, const QModelIndex &parent, qsizetype *dragRow,
                    qsizetype *dropRow) const;

    RowList m_itemCache;
    RowList m_items;
    Pavisade::RowPredicate m_predicate;
    RowFactory m_bindClass;
    QPointer<QTableView> m_owner;
    QMetaObject::Connection m_selectionConnection;
};

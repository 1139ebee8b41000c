#include <pavisade/tables/XXXTableViewBasedDataDelegate.h>

#include <pavisade/tables/ColumnDefStore_p.h>
#include <pavisade/tables/TableViewExtension.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QDataStream>
#include <QtCore/QHash>
#include <QtCore/QIODevice>
#include <QtCore/QMimeData>
#include <QtWidgets/QTableView>

#include <algorithm>

const char XXXTableViewDragDataTypeName[] = "XXXTableViewDragDataTypeName";

// A precondition of the list operations; the message is the condition's documented text.
#define XXX_LIST_PRECONDITION(condition, text)                                                               \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            ::Bastwick::assertionFailure(text, __func__, __FILE__, __LINE__, QString());                     \
    } while (false)

namespace {

// The rows of one drag, with the model they were dragged from: drops are taken only
// from the same table.
class TableRowDragData : public QMimeData
{
    Q_OBJECT

public:
    QPointer<const XXXTableViewBasedDataDelegate> source;
};

QByteArray encodeRows(const QList<qint64> &rows)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << rows;
    return bytes;
}

QList<qint64> decodeRows(const QByteArray &bytes)
{
    QList<qint64> rows;
    QDataStream in(bytes);
    in >> rows;
    if (in.status() != QDataStream::Ok)
        return {};
    return rows;
}

} // namespace

XXXTableViewBasedDataDelegate::XXXTableViewBasedDataDelegate(QObject *parent)
    : QAbstractTableModel(parent)
    , m_bindClass([] { return Pavisade::DictionaryRow::create(); })
{
    m_itemCache.reserve(4);
    m_items.reserve(4);
}

XXXTableViewBasedDataDelegate::~XXXTableViewBasedDataDelegate() = default;

// --- Contents -------------------------------------------------------------------------

void XXXTableViewBasedDataDelegate::setData(const RowList &data)
{
    m_itemCache = data;
    applyVisible(data);
}

void XXXTableViewBasedDataDelegate::setItems(const RowList &items)
{
    applyVisible(items);
}

void XXXTableViewBasedDataDelegate::addData(const Row &row)
{
    if (!row)
        return;
    m_itemCache.append(row);
    filterData();
}

void XXXTableViewBasedDataDelegate::addData(const RowList &rows)
{
    for (const Row &row : rows) {
        if (row)
            m_itemCache.append(row);
    }
    filterData();
}

void XXXTableViewBasedDataDelegate::addData(const Row &row, qsizetype index)
{
    if (!row)
        return;
    XXX_LIST_PRECONDITION(index >= 0 && index <= m_items.size(), "index<=(self.items.count)");
    const qsizetype position = index < m_items.size() ? cachePosition(index) : m_itemCache.size();
    m_itemCache.insert(position, row);
    filterData();
}

void XXXTableViewBasedDataDelegate::addNewData()
{
    if (m_bindClass)
        addData(m_bindClass());
}

void XXXTableViewBasedDataDelegate::addEmptyRow()
{
    addNewData();
    if (m_owner)
        Pavisade::setEditFoucusAtColumn(m_owner, 0);
}

void XXXTableViewBasedDataDelegate::addEmptyRow(QObject *sender)
{
    Q_UNUSED(sender);
}

// --- Filtering ------------------------------------------------------------------------

XXXTableViewBasedDataDelegate::RowList XXXTableViewBasedDataDelegate::filtered() const
{
    if (!m_predicate)
        return m_itemCache;
    RowList rows;
    for (const Row &row : m_itemCache) {
        if (m_predicate(row))
            rows.append(row);
    }
    return rows;
}

void XXXTableViewBasedDataDelegate::filterData()
{
    applyVisible(filtered());
}

void XXXTableViewBasedDataDelegate::setPredicate(const Pavisade::RowPredicate &predicate)
{
    m_predicate = predicate;
}

void XXXTableViewBasedDataDelegate::setPredicate(const QString &format)
{
    m_predicate = Pavisade::predicateWithFormat(format);
}

void XXXTableViewBasedDataDelegate::cancelFilter()
{
    applyVisible(m_itemCache);
}

// --- Removal and reordering -----------------------------------------------------------

qsizetype XXXTableViewBasedDataDelegate::cachePosition(qsizetype visibleIndex) const
{
    const Row &row = m_items.at(visibleIndex);
    if (visibleIndex < m_itemCache.size() && m_itemCache.at(visibleIndex) == row &&
        std::count(m_items.cbegin(), m_items.cbegin() + visibleIndex, row) == 0)
        return visibleIndex;
    // The same row object may be listed more than once: take the same occurrence.
    qsizetype occurrence = std::count(m_items.cbegin(), m_items.cbegin() + visibleIndex, row);
    for (qsizetype i = 0; i < m_itemCache.size(); ++i) {
        if (m_itemCache.at(i) == row && occurrence-- == 0)
            return i;
    }
    return -1;
}

void XXXTableViewBasedDataDelegate::deleteData(const Bastwick::IndexSet &indexes)
{
    if (indexes.isEmpty())
        return;
    XXX_LIST_PRECONDITION(indexes.lastIndex() < m_items.size(), "index<=(self.items.count-1)");
    QList<qsizetype> positions;
    for (qint64 index : indexes)
        positions.append(cachePosition(index));
    std::sort(positions.begin(), positions.end());
    for (auto it = positions.crbegin(); it != positions.crend(); ++it) {
        if (*it >= 0)
            m_itemCache.removeAt(*it);
    }
    filterData();
}

void XXXTableViewBasedDataDelegate::deleteData(const RowList &rows)
{
    for (const Row &row : rows)
        m_itemCache.removeIf([&](const Row &r) { return Pavisade::rowsEqual(r, row); });
    filterData();
}

void XXXTableViewBasedDataDelegate::deleteData(const Row &row)
{
    deleteData(RowList{row});
}

void XXXTableViewBasedDataDelegate::deleteDataAtIndex(qsizetype index)
{
    XXX_LIST_PRECONDITION(index >= 0 && index < m_itemCache.size(), "index<=(self.itemCache.count-1)");
    XXX_LIST_PRECONDITION(index < m_items.size(), "index<=(self.items.count-1)");
    m_itemCache.removeAt(cachePosition(index));
    filterData();
}

void XXXTableViewBasedDataDelegate::removeObjectAtIndex(qsizetype index)
{
    XXX_LIST_PRECONDITION(index >= 0 && index < m_items.size(), "index<=(self.items.count-1)");
    deleteDataAtIndex(index);
}

void XXXTableViewBasedDataDelegate::exchangeObjectAtIndex(qsizetype index1, qsizetype index2)
{
    XXX_LIST_PRECONDITION(index1 >= 0 && index1 < m_items.size(), "idx1<=(self.items.count-1)");
    XXX_LIST_PRECONDITION(index2 >= 0 && index2 < m_items.size(), "idx2<=(self.items.count-1)");
    m_itemCache.swapItemsAt(cachePosition(index1), cachePosition(index2));
    filterData();
}

void XXXTableViewBasedDataDelegate::updateItem(const Row &row, qsizetype index)
{
    if (!row || index < 0 || index >= m_items.size())
        return;
    m_itemCache[cachePosition(index)] = row;
    m_items[index] = row;
    if (columnCount() > 0)
        emit dataChanged(this->index(int(index), 0), this->index(int(index), columnCount() - 1));
}

void XXXTableViewBasedDataDelegate::clearData()
{
    m_itemCache.clear();
    applyVisible({});
}

// --- Reading --------------------------------------------------------------------------

XXXTableViewBasedDataDelegate::Row XXXTableViewBasedDataDelegate::itemOfRow(qsizetype index) const
{
    if (index < 0 || index >= m_items.size())
        return {};
    return m_items.at(index);
}

XXXTableViewBasedDataDelegate::RowList
XXXTableViewBasedDataDelegate::itemsOfIndexSet(const Bastwick::IndexSet &indexes) const
{
    if (indexes.isEmpty())
        return {};
    XXX_LIST_PRECONDITION(indexes.lastIndex() < m_items.size(), "index<=(self.items.count-1)");
    RowList rows;
    for (qint64 index : indexes)
        rows.append(m_items.at(index));
    return rows;
}

// --- Change signals -------------------------------------------------------------------

// Turns the visible list into `next` with the signals a view needs: removals, then a
// reordering of the rows both lists share, then insertions. Rows are matched by object.
void XXXTableViewBasedDataDelegate::applyVisible(const RowList &next)
{
    removeRowsMissingFrom(next);
    reorderRowsAs(next);
    insertRowsNewIn(next);
}

// Removes, in runs from the end, each shown row that `next` does not hold (as often as it
// is shown more often than `next` holds it).
void XXXTableViewBasedDataDelegate::removeRowsMissingFrom(const RowList &next)
{
    QHash<const Pavisade::TableRow *, int> wanted;
    for (const Row &row : next)
        ++wanted[row.get()];

    QList<bool> keep(m_items.size());
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        int &left = wanted[m_items.at(i).get()];
        keep[i] = left > 0;
        if (keep[i])
            --left;
    }
    for (qsizetype i = m_items.size() - 1; i >= 0;) {
        if (keep.at(i)) {
            --i;
            continue;
        }
        const qsizetype last = i;
        while (i >= 0 && !keep.at(i))
            --i;
        beginRemoveRows(QModelIndex(), int(i + 1), int(last));
        m_items.remove(i + 1, last - i);
        endRemoveRows();
    }
}

// Puts the shown rows, all of which `next` holds, in `next`'s order, moving persistent
// indexes with them.
void XXXTableViewBasedDataDelegate::reorderRowsAs(const RowList &next)
{
    QHash<const Pavisade::TableRow *, int> kept;
    for (const Row &row : std::as_const(m_items))
        ++kept[row.get()];
    RowList order;
    for (const Row &row : next) {
        int &left = kept[row.get()];
        if (left > 0) {
            --left;
            order.append(row);
        }
    }
    if (order == m_items)
        return;
    emit layoutAboutToBeChanged();
    QHash<const Pavisade::TableRow *, QList<int>> newRows;
    for (qsizetype j = 0; j < order.size(); ++j)
        newRows[order.at(j).get()].append(int(j));
    QList<int> moved(m_items.size());
    for (qsizetype i = 0; i < m_items.size(); ++i)
        moved[i] = newRows[m_items.at(i).get()].takeFirst();
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &index : from)
        to.append(index.row() < moved.size() ? createIndex(moved.at(index.row()), index.column())
                                             : QModelIndex());
    m_items = order;
    changePersistentIndexList(from, to);
    emit layoutChanged();
}

// Inserts, in runs, the rows of `next` that are not shown yet; the shown rows are already
// a subsequence of `next`.
void XXXTableViewBasedDataDelegate::insertRowsNewIn(const RowList &next)
{
    qsizetype j = 0;
    for (qsizetype k = 0; k < next.size();) {
        if (j < m_items.size() && m_items.at(j) == next.at(k)) {
            ++j;
            ++k;
            continue;
        }
        const qsizetype start = k;
        while (k < next.size() && !(j < m_items.size() && m_items.at(j) == next.at(k)))
            ++k;
        beginInsertRows(QModelIndex(), int(j), int(j + (k - start) - 1));
        m_items.insert(j, k - start, Row());
        std::copy(next.cbegin() + start, next.cbegin() + k, m_items.begin() + j);
        endInsertRows();
        j += k - start;
    }
}

void XXXTableViewBasedDataDelegate::reloadData()
{
    QList<const Pavisade::TableRow *> selected;
    const Pavisade::TableRow *current = nullptr;
    if (m_owner && m_owner->selectionModel()) {
        for (const QModelIndex &index : m_owner->selectionModel()->selectedRows())
            selected.append(m_items.value(index.row()).get());
        current = m_items.value(m_owner->selectionModel()->currentIndex().row()).get();
    }
    beginResetModel();
    endResetModel();
    if (!m_owner || !m_owner->selectionModel() || columnCount() == 0)
        return;
    QItemSelection selection;
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        const Pavisade::TableRow *row = m_items.at(i).get();
        if (selected.contains(row))
            selection.select(index(int(i), 0), index(int(i), columnCount() - 1));
        if (row == current && current)
            m_owner->selectionModel()->setCurrentIndex(index(int(i), 0), QItemSelectionModel::NoUpdate);
    }
    m_owner->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

// --- Wiring ---------------------------------------------------------------------------

void XXXTableViewBasedDataDelegate::setOwner(QTableView *table)
{
    if (m_selectionConnection)
        disconnect(m_selectionConnection);
    m_owner = table;
    if (!table)
        return;
    Pavisade::showModelInView(table, this);
    m_selectionConnection = connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                                    [this] { tableViewSelectionDidChange(); });
}

void XXXTableViewBasedDataDelegate::tableViewSelectionDidChange()
{
    if (!m_owner)
        return;
    const int row = Pavisade::selectedRow(m_owner);
    if (row < 0 || row >= m_items.size())
        return;
    XXXLog(QStringLiteral("select row notification.object=%1").arg(m_items.at(row)->description()));
    if (callback)
        callback(m_items.at(row));
}

void XXXTableViewBasedDataDelegate::setColumnDefs(const XXXNSTableColumnFieldList &defs)
{
    const int before = int(m_columnDefs.size());
    const int after = int(defs.size());
    if (after > before) {
        beginInsertColumns(QModelIndex(), before, after - 1);
        m_columnDefs = defs;
        endInsertColumns();
    } else if (after < before) {
        beginRemoveColumns(QModelIndex(), after, before - 1);
        m_columnDefs = defs;
        endRemoveColumns();
    } else {
        m_columnDefs = defs;
    }
    if (after > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, after - 1);
        if (!m_items.isEmpty())
            emit dataChanged(index(0, 0), index(int(m_items.size()) - 1, after - 1));
    }
}

// --- Model ----------------------------------------------------------------------------

int XXXTableViewBasedDataDelegate::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

int XXXTableViewBasedDataDelegate::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columnDefs.size());
}

QVariant XXXTableViewBasedDataDelegate::objectValueForTableColumn(int column, qsizetype row) const
{
    const Row &object = m_items.at(row);
    return object ? object->valueForKey(columnIdentifier(column)) : QVariant();
}

QVariant XXXTableViewBasedDataDelegate::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        !isColumnCellRole(role))
        return {};
    return columnCellData(index.column(), objectValueForTableColumn(index.column(), index.row()), role);
}

QVariant XXXTableViewBasedDataDelegate::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal)
        return columnHeaderData(section, role);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags XXXTableViewBasedDataDelegate::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled |
           Qt::ItemNeverHasChildren;
}

void XXXTableViewBasedDataDelegate::sort(int column, Qt::SortOrder order)
{
    const QString key = columnIdentifier(column);
    if (key.isEmpty())
        return;
    std::stable_sort(m_itemCache.begin(), m_itemCache.end(), [&](const Row &a, const Row &b) {
        const QPartialOrdering c =
            QVariant::compare(a ? a->valueForKey(key) : QVariant(), b ? b->valueForKey(key) : QVariant());
        return order == Qt::AscendingOrder ? c == QPartialOrdering::Less : c == QPartialOrdering::Greater;
    });
    filterData();
}

// --- Drag and drop --------------------------------------------------------------------

QStringList XXXTableViewBasedDataDelegate::mimeTypes() const
{
    return {QLatin1String(XXXTableViewDragDataTypeName)};
}

QMimeData *XXXTableViewBasedDataDelegate::mimeData(const QModelIndexList &indexes) const
{
    QList<qint64> rows;
    for (const QModelIndex &index : indexes) {
        if (index.isValid() && !rows.contains(index.row()))
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    auto *data = new TableRowDragData;
    data->source = this;
    data->setData(QLatin1String(XXXTableViewDragDataTypeName), encodeRows(rows));
    return data;
}

bool XXXTableViewBasedDataDelegate::dropTarget(const QMimeData *data, int row, const QModelIndex &parent,
                                               qsizetype *dragRow, qsizetype *dropRow) const
{
    auto *drag = qobject_cast<const TableRowDragData *>(data);
    if (!drag || drag->source != this || !drag->hasFormat(QLatin1String(XXXTableViewDragDataTypeName)))
        return false;
    const QList<qint64> rows = decodeRows(drag->data(QLatin1String(XXXTableViewDragDataTypeName)));
    if (rows.isEmpty())
        return false;
    const qsizetype count = itemCount();
    *dragRow = rows.first();
    *dropRow = parent.isValid() ? parent.row() : (row >= 0 ? row : count);
    return *dragRow >= 0 && *dragRow < count && *dropRow >= 0 && *dropRow <= count;
}

bool XXXTableViewBasedDataDelegate::canDropMimeData(const QMimeData *data, Qt::DropAction action, int row,
                                                    int column, const QModelIndex &parent) const
{
    Q_UNUSED(action);
    Q_UNUSED(column);
    qsizetype dragRow = 0;
    qsizetype dropRow = 0;
    return dropTarget(data, row, parent, &dragRow, &dropRow);
}

// One row moves: dropped on or above another row the two trade places; dropped below the
// last row a copy of it is appended and the row itself removed.
bool XXXTableViewBasedDataDelegate::dropMimeData(const QMimeData *data, Qt::DropAction action, int row,
                                                 int column, const QModelIndex &parent)
{
    Q_UNUSED(action);
    Q_UNUSED(column);
    qsizetype dragRow = 0;
    qsizetype dropRow = 0;
    if (!dropTarget(data, row, parent, &dragRow, &dropRow))
        return false;
    const qsizetype count = itemCount();
    if (count <= 1)
        return true;
    XXXLog(QStringLiteral("dragRow = %1 row=%2 count=%3").arg(dragRow).arg(dropRow).arg(count));
    if (dropRow <= count - 1) {
        exchangeObjectAtIndex(dragRow, dropRow);
    } else {
        insertObject(m_items.at(dragRow)->clone(), dropRow);
        removeObjectAtIndex(dragRow);
    }
    if (rowDragCallback)
        rowDragCallback();
    return true;
}

Qt::DropActions XXXTableViewBasedDataDelegate::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

Qt::DropActions XXXTableViewBasedDataDelegate::supportedDragActions() const
{
    return Qt::MoveAction;
}

#include "XXXTableViewBasedDataDelegate.moc"

#include <pavisade/grids/XXXCSVGridDataDelegate.h>

#include <QtCore/QSignalBlocker>

#include <algorithm>

XXXCSVGridDataDelegate::XXXCSVGridDataDelegate(QObject *parent)
    : XXXTableViewDataDelegate(parent)
{
    // List changes made through the base keep exact row signals; the shown count follows
    // them, and the padding is fitted once the change has been announced.
    const auto follow = [this](int delta) {
        m_shownRows += delta;
        if (!m_fitQueued) {
            m_fitQueued = true;
            QMetaObject::invokeMethod(
                this, [this] { fitPadding(); }, Qt::QueuedConnection);
        }
    };
    connect(this, &QAbstractItemModel::rowsInserted, this,
            [follow](const QModelIndex &, int first, int last) { follow(last - first + 1); });
    connect(this, &QAbstractItemModel::rowsRemoved, this,
            [follow](const QModelIndex &, int first, int last) { follow(-(last - first + 1)); });
    connect(this, &QAbstractItemModel::modelReset, this,
            [this] { m_shownRows = std::max<int>(kMinimumRows, int(items().size())); });
}

template <class Change> void XXXCSVGridDataDelegate::asReset(Change change)
{
    // Every row after a change is renumbered, so the grid is reset as a whole.
    beginResetModel();
    {
        const QSignalBlocker quiet(this);
        change();
    }
    endResetModel();
}

void XXXCSVGridDataDelegate::setData(const RowList &data)
{
    asReset([&] { XXXTableViewDataDelegate::setData(data); });
}

void XXXCSVGridDataDelegate::addData(const Row &row)
{
    asReset([&] { XXXTableViewDataDelegate::addData(row); });
}

void XXXCSVGridDataDelegate::addData(const RowList &rows)
{
    asReset([&] { XXXTableViewDataDelegate::addData(rows); });
}

void XXXCSVGridDataDelegate::fitPadding()
{
    m_fitQueued = false;
    const int target = std::max<int>(kMinimumRows, int(items().size()));
    if (m_shownRows > target) {
        beginRemoveRows({}, target, m_shownRows - 1);
        m_shownRows = target;
        endRemoveRows();
    } else if (m_shownRows < target) {
        beginInsertRows({}, m_shownRows, target - 1);
        m_shownRows = target;
        endInsertRows();
    }
    for (int c = 0; c < columnCount(); ++c)
        if (columnIdentifier(c) == QLatin1String(kRowColumn) && m_shownRows > 0)
            emit dataChanged(index(0, c), index(m_shownRows - 1, c), {Qt::DisplayRole});
}

int XXXCSVGridDataDelegate::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shownRows;
}

bool XXXCSVGridDataDelegate::isDataCell(const QModelIndex &index) const
{
    return index.row() < items().size() && columnIdentifier(index.column()) != QLatin1String(kRowColumn);
}

QVariant XXXCSVGridDataDelegate::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (columnIdentifier(index.column()) == QLatin1String(kRowColumn)) {
        if (role == Qt::DisplayRole)
            return index.row() + 1;
        return columnCellData(index.column(), index.row() + 1, role);
    }
    if (index.row() >= items().size())
        return role == Qt::DisplayRole ? QVariant(QString())
                                       : columnCellData(index.column(), QString(), role);
    return XXXTableViewDataDelegate::data(index, role);
}

bool XXXCSVGridDataDelegate::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        !isDataCell(index))
        return false;
    return XXXTableViewDataDelegate::setData(index, value, role);
}

Qt::ItemFlags XXXCSVGridDataDelegate::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = XXXTableViewDataDelegate::flags(index);
    if (!index.isValid() || isDataCell(index))
        return base;
    return base & ~(Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
}

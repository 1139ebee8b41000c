#include <pavisade/grids/FormMatrixModel_p.h>

#include <algorithm>

namespace Pavisade {

FormMatrixModel::FormMatrixModel(int columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_columns(columns)
{
}

void FormMatrixModel::setRowCountTo(int rows)
{
    rows = std::max(0, rows);
    if (rows > m_entries.size()) {
        beginInsertRows({}, int(m_entries.size()), rows - 1);
        m_entries.resize(rows);
        endInsertRows();
    } else if (rows < m_entries.size()) {
        beginRemoveRows({}, rows, int(m_entries.size()) - 1);
        m_entries.resize(rows);
        endRemoveRows();
    }
}

void FormMatrixModel::setEntry(int row, const Entry &entry)
{
    if (row < 0)
        return;
    if (row >= m_entries.size())
        setRowCountTo(row + 1);
    m_entries[row] = entry;
    emit dataChanged(index(row, 0), index(row, m_columns - 1));
    if (m_columns == 1)
        emit headerDataChanged(Qt::Vertical, row, row);
}

int FormMatrixModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int FormMatrixModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant FormMatrixModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Entry &entry = m_entries.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return isValueColumn(index.column()) ? entry.value : entry.title;
    if (role == Qt::TextAlignmentRole)
        return int(isValueColumn(index.column()) ? (Qt::AlignLeft | Qt::AlignVCenter)
                                                 : (Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

bool FormMatrixModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        role != Qt::EditRole || !isValueColumn(index.column()))
        return false;
    m_entries[index.row()].value = value.toString();
    emit dataChanged(index, index);
    return true;
}

QVariant FormMatrixModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && m_columns == 1 && section >= 0 && section < m_entries.size()) {
        if (role == Qt::DisplayRole)
            return m_entries.at(section).title;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags FormMatrixModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (isValueColumn(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

} // namespace Pavisade

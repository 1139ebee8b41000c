#include <pavisade/tables/ColumnDefinedModel.h>

namespace Pavisade {

namespace {

bool isChecked(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return false;
    if (value.typeId() == QMetaType::QString)
        return value.toString().compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 ||
               value.toString().toLongLong() != 0;
    return value.toLongLong() != 0;
}

} // namespace

ColumnDefinedModel::~ColumnDefinedModel() = default;

QString ColumnDefinedModel::columnIdentifier(int column) const
{
    if (column < 0 || column >= m_columnDefs.size())
        return {};
    return m_columnDefs.at(column).identifier();
}

bool ColumnDefinedModel::isColumnCellRole(int role)
{
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::CheckStateRole:
    case Qt::TextAlignmentRole:
    case Qt::ForegroundRole:
        return true;
    default:
        return false;
    }
}

QVariant ColumnDefinedModel::columnHeaderData(int section, int role) const
{
    if (section < 0 || section >= m_columnDefs.size())
        return {};
    const XXXNSTableColumnField &def = m_columnDefs.at(section);
    switch (role) {
    case Qt::DisplayRole:
        return def.title();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(XXXNSTableColumnField::qtAlignment(def.headerAlignment()));
    default:
        return {};
    }
}

QVariant ColumnDefinedModel::columnCellData(int column, const QVariant &value, int role) const
{
    if (column < 0 || column >= m_columnDefs.size())
        return {};
    const XXXNSTableColumnField &def = m_columnDefs.at(column);
    if (def.isCheckBox()) {
        switch (role) {
        case Qt::CheckStateRole:
            return isChecked(value) ? Qt::Checked : Qt::Unchecked;
        case Qt::DisplayRole:
            return def.showTitleAllowed() ? QStringLiteral("YES") : QString();
        case Qt::EditRole:
            return isChecked(value) ? 1 : 0;
        default:
            return {};
        }
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (def.isComboBox() && (!value.isValid() || value.isNull()) && def.defaultVal().isValid())
            return def.defaultVal().toString();
        return value;
    case Qt::TextAlignmentRole:
        if (def.isComboBox())
            return {};
        return QVariant::fromValue(XXXNSTableColumnField::qtAlignment(def.dataAlignment()));
    case Qt::ForegroundRole:
        if (def.isText() && def.textColor().isValid())
            return def.textColor();
        return {};
    default:
        return {};
    }
}

QVariant ColumnDefinedModel::columnEditValue(int column, const QVariant &value, int role) const
{
    if (column < 0 || column >= m_columnDefs.size())
        return {};
    const XXXNSTableColumnField &def = m_columnDefs.at(column);
    if (def.isCheckBox() && (role == Qt::CheckStateRole || role == Qt::EditRole)) {
        if (role == Qt::CheckStateRole)
            return value.toInt() == Qt::Checked ? 1 : 0;
        return isChecked(value) ? 1 : 0;
    }
    if (role == Qt::EditRole)
        return value;
    return {};
}

Qt::ItemFlags ColumnDefinedModel::columnFlags(int column, Qt::ItemFlags base) const
{
    if (column < 0 || column >= m_columnDefs.size())
        return base;
    const XXXNSTableColumnField &def = m_columnDefs.at(column);
    if (!def.editable())
        return base;
    if (def.isCheckBox())
        return base | Qt::ItemIsUserCheckable;
    return base | Qt::ItemIsEditable;
}

} // namespace Pavisade

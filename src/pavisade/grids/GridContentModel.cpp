#include <pavisade/grids/GridContentModel_p.h>

namespace Pavisade {

GridContentModel::GridContentModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void GridContentModel::setContents(const QVariantList &contents)
{
    beginResetModel();
    m_contents = contents;
    endResetModel();
}

int GridContentModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_contents.size());
}

QVariant GridContentModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
        role != Qt::UserRole)
        return {};
    return m_contents.at(index.row());
}

Qt::ItemFlags GridContentModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace Pavisade

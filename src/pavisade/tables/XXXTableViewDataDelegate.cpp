#include <pavisade/tables/XXXTableViewDataDelegate.h>

XXXTableViewDataDelegate::XXXTableViewDataDelegate(QObject *parent)
    : XXXTableViewBasedDataDelegate(parent)
{
}

Qt::ItemFlags XXXTableViewDataDelegate::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags base = XXXTableViewBasedDataDelegate::flags(index);
    if (!index.isValid())
        return base;
    return columnFlags(index.column(), base);
}

bool XXXTableViewDataDelegate::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const QVariant stored = columnEditValue(index.column(), value, role);
    if (!stored.isValid())
        return false;
    setObjectValue(stored, index.column(), index.row());
    emit dataChanged(index, index);
    return true;
}

void XXXTableViewDataDelegate::setObjectValue(const QVariant &value, int column, qsizetype row)
{
    if (row < 0 || row >= items().size())
        return;
    const Row object = items().at(row);
    if (!object)
        return;
    const Row before = object->clone();
    object->setValueForKey(columnIdentifier(column), value);
    if (rowObjectValueChangedCallback)
        rowObjectValueChangedCallback(object, before, row);
}

CommonTableViewDataDelegate::CommonTableViewDataDelegate(QObject *parent)
    : XXXTableViewBasedDataDelegate(parent)
{
    setBindClass({});
}

void CommonTableViewDataDelegate::addNewData() {}

Qt::ItemFlags CommonTableViewDataDelegate::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

QStringList CommonTableViewDataDelegate::mimeTypes() const
{
    return {};
}

Qt::DropActions CommonTableViewDataDelegate::supportedDropActions() const
{
    return Qt::IgnoreAction;
}

Qt::DropActions CommonTableViewDataDelegate::supportedDragActions() const
{
    return Qt::IgnoreAction;
}

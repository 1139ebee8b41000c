#include <pavisade/trees/CommonTreeViewDelegate.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

CommonTreeViewDelegate::CommonTreeViewDelegate(QObject *parent)
    : CommonTreeDataDelegate(parent)
{
}

QVariant CommonTreeViewDelegate::data(const QModelIndex &index, int role) const
{
    // The cells of the tree model with values, kept read-only by the flags.
    return XXXTreeViewDataDelegate::data(index, role);
}

QVariant CommonTreeViewDelegate::objectValueForTableColumn(const QModelIndex &index) const
{
    const QVariant value = XXXTreeViewDataDelegate::objectValueForTableColumn(index);
    XXXLog(Bastwick::format("tableColumn.identifier = %@ val=%@", columnIdentifier(index.column()), value));
    return value;
}

#include <pavisade/trees/CommonTreeDataDelegate.h>

CommonTreeDataDelegate::CommonTreeDataDelegate(QObject *parent)
    : XXXTreeViewBasedDataDelegate(parent)
{
}

Qt::ItemFlags CommonTreeDataDelegate::flags(const QModelIndex &index) const
{
    return XXXTreeViewBasedDataDelegate::flags(index) & ~(Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
}

QStringList CommonTreeDataDelegate::mimeTypes() const
{
    return {};
}

QMimeData *CommonTreeDataDelegate::mimeData(const QModelIndexList &) const
{
    return nullptr;
}

bool CommonTreeDataDelegate::canDropMimeData(const QMimeData *, Qt::DropAction, int, int,
                                             const QModelIndex &) const
{
    return false;
}

bool CommonTreeDataDelegate::dropMimeData(const QMimeData *, Qt::DropAction, int, int, const QModelIndex &)
{
    return false;
}

Qt::DropActions CommonTreeDataDelegate::supportedDropActions() const
{
    return Qt::IgnoreAction;
}

Qt::DropActions CommonTreeDataDelegate::supportedDragActions() const
{
    return Qt::IgnoreAction;
}

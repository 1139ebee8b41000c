#include <pavisade/trees/XXXTreeViewBasedDataDelegate.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QItemSelectionModel>

// A precondition of the child operations; the message is the argument's name.
#define XXX_ITEM_PRECONDITION(condition, text)                                                               \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            ::Bastwick::assertionFailure(text, __func__, __FILE__, __LINE__, QString());                     \
    } while (false)

XXXTreeViewBasedDataDelegate::XXXTreeViewBasedDataDelegate(QObject *parent)
    : XXXTreeViewDataDelegate(parent)
{
}

qint64 XXXTreeViewBasedDataDelegate::indexOfItem(const Node &item, const Node &parentItem) const
{
    XXX_ITEM_PRECONDITION(item, "item");
    XXX_ITEM_PRECONDITION(parentItem, "parentItem");
    const NodeList &children = parentItem->childNodes();
    for (qsizetype i = 0; i < children.size(); ++i) {
        if (children.at(i)->isEqual(*item))
            return i;
    }
    // A leaf row is equal only to itself: its place among the parent's leaf rows.
    if (item->isLeafRow() && item->leafParent() == parentItem) {
        const std::shared_ptr<Pavisade::TreeLeafRows> &rows = parentItem->leafRows();
        if (rows && item->leafIndex() < rows->childCount())
            return children.size() + item->leafIndex();
    }
    return kNotFound;
}

void XXXTreeViewBasedDataDelegate::deleteItem(const Node &item, const Node &parentItem)
{
    XXX_ITEM_PRECONDITION(item, "item");
    XXX_ITEM_PRECONDITION(parentItem, "parentItem");
    if (item->isLeafRow()) {
        XXXLog(QStringLiteral("deleteItem: leaf rows are removed by the owner of their rows"));
        return;
    }
    const NodeList children = parentItem->childNodes();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        if ((*it)->isEqual(*item))
            parentItem->removeChild(*it);
    }
}

QVariant XXXTreeViewBasedDataDelegate::data(const QModelIndex &, int) const
{
    return {};
}

bool XXXTreeViewBasedDataDelegate::setData(const QModelIndex &, const QVariant &, int)
{
    return false;
}

Qt::ItemFlags XXXTreeViewBasedDataDelegate::flags(const QModelIndex &index) const
{
    return XXXTreeViewDataDelegate::flags(index) & ~Qt::ItemIsEditable;
}

void XXXTreeViewBasedDataDelegate::outlineViewSelectionIsChanging()
{
    XXXTreeViewDataDelegate::outlineViewSelectionIsChanging();
    outlineViewSelectionDidChange();
}

// Counts whole selected rows range by range, up to two: a selection across a million leaf
// rows is a few ranges.
void XXXTreeViewBasedDataDelegate::outlineViewSelectionDidChange()
{
    if (!owner() || !owner()->selectionModel())
        return;
    qint64 rows = 0;
    for (const QItemSelectionRange &range : owner()->selectionModel()->selection()) {
        if (range.isValid() && range.left() == 0)
            rows += range.height();
        if (rows >= 2)
            break;
    }
    if (rows >= 2)
        XXXLog(QStringLiteral("Multiple Rows Selected"));
    else if (rows == 0)
        XXXLog(QStringLiteral("Nothing Selected"));
}

#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

// The tree model for trees whose cell views fill themselves from the node (an item
// delegate reading nodeForIndex()): the contents, selection and drags of
// XXXTreeViewDataDelegate without cell values. Cells show and take no values, and there
// is no first-leaf look-up by depth. Every selection change reaches both callbacks, with
// null node and parent when nothing is selected, and is then logged when several rows
// or none are selected. Children can be looked up and removed under any parent node.
// Lives on the GUI thread.
class PAVISADE_EXPORT XXXTreeViewBasedDataDelegate : public XXXTreeViewDataDelegate
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit XXXTreeViewBasedDataDelegate(QObject *parent = nullptr);

    using XXXTreeViewDataDelegate::indexOfItem;
    // The position of the first of the parent's children (child nodes, then leaf rows)
    // equal to item, kNotFound when there is none. Both must be given (assertions "item"
    // and "parentItem").
    qint64 indexOfItem(const Node &item, const Node &parentItem) const;
    // Removes every child node of the parent equal to item (the same two assertions).
    // Leaf rows belong to their owner and are not removed here.
    void deleteItem(const Node &item, const Node &parentItem);

    qint64 firstValidLeafNodeIndexDepth(int depth) const = delete;

    // QAbstractItemModel
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    using XXXTreeViewDataDelegate::setData;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    void outlineViewSelectionIsChanging() override;
    bool reportsEmptySelection() const override { return true; }
    // Logs "Multiple Rows Selected" for two or more selected rows, "Nothing Selected" for
    // none; does nothing else.
    virtual void outlineViewSelectionDidChange();
};

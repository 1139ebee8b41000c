#include <pavisade/trees/OutlineViewExtension.h>

#include <pavisade/tables/ColumnDefStore_p.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <QtCore/QItemSelectionModel>
#include <pavisade/trees/OutlineView.h>

namespace Pavisade {

namespace {

XXXTreeViewDataDelegate *treeModel(const OutlineView *tree)
{
    return tree ? qobject_cast<XXXTreeViewDataDelegate *>(tree->model()) : nullptr;
}

} // namespace

void removeAllColumns(OutlineView *tree)
{
    if (tree)
        tree->setRootIsDecorated(false);
}

void updateColumnsDef(OutlineView *tree, const XXXNSTableColumnFieldList &defs)
{
    if (!tree || defs.isEmpty())
        return;
    ColumnDefStore *store = ColumnDefStore::ensure(tree);
    store->definitions = defs;
    for (qsizetype i = 0; i < defs.size(); ++i) {
        if (i < store->columns.size())
            store->columns[i] = defs.at(i);
        else
            store->columns.append(defs.at(i));
    }
    tree->setRootIsDecorated(true);
    store->apply();
}

XXXNSTableColumnFieldList columnsDef(const OutlineView *tree)
{
    if (ColumnDefStore *store = ColumnDefStore::find(tree))
        return store->definitions;
    return {};
}

void resizeColumns(OutlineView *tree)
{
    if (ColumnDefStore *store = ColumnDefStore::find(tree))
        store->resizeColumns();
}

TreeNodeList itemsAtIndexSet(const OutlineView *tree, const Bastwick::IndexSet &rows)
{
    TreeNodeList nodes;
    XXXTreeViewDataDelegate *model = treeModel(tree);
    if (!model)
        return nodes;
    for (qint64 row : rows) {
        if (TreeNodePtr node = model->itemOfRowInVisibleTreeView(row))
            nodes.append(node);
    }
    return nodes;
}

Bastwick::IndexSet selectedRowIndexes(const OutlineView *tree)
{
    Bastwick::IndexSet rows;
    XXXTreeViewDataDelegate *model = treeModel(tree);
    if (!model || !tree->selectionModel())
        return rows;
    for (const QModelIndex &index : tree->selectionModel()->selectedRows())
        rows.addIndex(model->indexOfItemInVisibleTreeView(model->nodeForIndex(index)));
    return rows;
}

TreeNodePtr currentSelectedRowItem(const OutlineView *tree)
{
    XXXTreeViewDataDelegate *model = treeModel(tree);
    if (!model || !tree->selectionModel())
        return {};
    QItemSelectionModel *selection = tree->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isSelected(current))
        return model->nodeForIndex(current);
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? TreeNodePtr() : model->nodeForIndex(rows.first());
}

std::optional<TreeNodeList> currentSelectedRowItems(const OutlineView *tree)
{
    XXXTreeViewDataDelegate *model = treeModel(tree);
    if (!model || !tree->selectionModel() || !tree->selectionModel()->hasSelection())
        return std::nullopt;
    QList<std::pair<qint64, TreeNodePtr>> rows;
    for (const QModelIndex &index : tree->selectionModel()->selectedRows()) {
        TreeNodePtr node = model->nodeForIndex(index);
        rows.append({model->indexOfItemInVisibleTreeView(node), node});
    }
    std::sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    TreeNodeList nodes;
    for (const auto &row : rows)
        nodes.append(row.second);
    return nodes;
}

void expandTreeNodeWithType(OutlineView *tree, const QString &type, bool expandChildren)
{
    if (XXXTreeViewDataDelegate *model = treeModel(tree))
        model->expandNodesWithType(type, expandChildren);
}

} // namespace Pavisade

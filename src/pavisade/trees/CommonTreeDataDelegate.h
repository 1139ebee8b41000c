#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/trees/XXXTreeViewBasedDataDelegate.h>

// The plainest tree model: the tree's shape only, from the children of treeNodes() (fill
// it through the root: treeNodes()->appendChild(node)). As in XXXTreeViewBasedDataDelegate
// cells show and take no values (an item delegate draws them from nodeForIndex()); rows
// can be selected but nothing is reported or logged, and nothing is dragged or dropped.
// Lives on the GUI thread.
class PAVISADE_EXPORT CommonTreeDataDelegate : public XXXTreeViewBasedDataDelegate
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CommonTreeDataDelegate(QObject *parent = nullptr);

    // QAbstractItemModel
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;

protected:
    // Selection is not reported.
    void outlineViewSelectionIsChanging() override {}
};

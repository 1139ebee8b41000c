#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/ColumnDefinedModel.h>
#include <pavisade/trees/OutlineView.h>
#include <pavisade/trees/TreeNode.h>

#include <bastwick/IndexSet.h>

#include <QtCore/QAbstractItemModel>
#include <QtCore/QList>
#include <QtCore/QPointer>

#include <functional>
#include <memory>
#include <optional>

class QItemSelection;

namespace Pavisade {
class TreeUrlMemory;
}

// The model of a tree view: an invisible root node whose children are the top-level
// nodes (`treeMembers`), each node's children answered from its child nodes and leaf
// rows. parent() is O(1), leaf rows are served by index and nothing is stored per leaf;
// the visible row of a node is computed from the expansion state and the child counts.
//
// Contents change only through this model (or a node that belongs to it), which signals
// every change. `reloadData` resets the model and brings back expansion and selection by
// node "url". Changes of a node's leaf rows noted in one burst are folded into one
// change. Selection reaches `selectionChangedCallback`, then `callback`; nodes dragged
// inside the tree reach `moveItem`, dropped files `dragFileCallBack`.
// Lives on the GUI thread.
class PAVISADE_EXPORT XXXTreeViewDataDelegate : public QAbstractItemModel, public Pavisade::ColumnDefinedModel
{
    Q_OBJECT

public:
    using Node = Pavisade::TreeNodePtr;
    using NodeList = Pavisade::TreeNodeList;
    using IndexPath = QList<qint64>;
    static constexpr qint64 kNotFound = Bastwick::IndexSet::kNotFound;

    explicit XXXTreeViewDataDelegate(QObject *parent = nullptr);
    ~XXXTreeViewDataDelegate() override;

    using QAbstractItemModel::setData;

    // The invisible root; its children are the top-level nodes.
    const Node &treeNodes() const { return m_root; }
    // The top-level nodes: the root's children, unless setTreeMembers or setTreeNodes
    // unlinked them.
    const NodeList &treeMembers() const { return m_members ? *m_members : m_root->childNodes(); }
    // Shows another root's children (a null root: a new empty root, whose children are
    // the top-level list again). The top-level list is not relinked: it stays the list it
    // was, which the tree no longer shows. A root that belongs to a tree already is
    // refused with a log line.
    void setTreeNodes(const Node &root);
    // Makes the given list the top-level list without linking it to the root: the
    // contents operations act on it, the tree keeps showing the root's children.
    void setTreeMembers(const NodeList &members);

    // Contents (the top-level list).
    // Loads a subclass's nodes; does nothing here.
    virtual void setData(const QVariant &data);
    // Appends a top-level node (which must not be null).
    void addData(const Node &data);
    void deleteData(const Bastwick::IndexSet &indexes);
    void deleteData(const NodeList &nodes);
    void deleteData(const Node &node);
    void clearAll();
    qint64 indexOfItem(const Node &node) const;
    qsizetype topItemCount() const { return treeMembers().size(); }
    Node itemOfRow(qsizetype row) const;
    NodeList itemsAtIndexSet(const Bastwick::IndexSet &indexes) const;
    qint64 firstValidLeafNodeIndex() const;
    qint64 firstValidLeafNodeIndexDepth(int depth) const;
    static bool isLeafItem(const Node &node);

    // Contents below the top level.
    void insertChildNode(const Node &parent, const Node &child, qsizetype position);
    void removeChildNode(const Node &child);
    // Replaces all the node's children by the given ones in one reset that keeps what
    // the owner shows, by "url": expansion, selection and the rows on screen.
    void replaceChildNodes(const Node &parent, const NodeList &children);
    void setLeafRows(const Node &node, const std::shared_ptr<Pavisade::TreeLeafRows> &rows);
    // The node's leaf rows changed in any way: one change is announced at the end of the
    // current event-loop turn, however many notes arrived.
    void noteLeafRowsChanged(const Node &node);
    // The same, announced now.
    void reloadLeafRows(const Node &node);
    // Leaf rows [first, first + count) were inserted into or removed from the node's
    // leaf rows (which already show the change).
    void leafRowsInserted(const Node &node, qsizetype first, qsizetype count);
    void leafRowsRemoved(const Node &node, qsizetype first, qsizetype count);
    // The node's own values changed.
    void noteNodeChanged(const Node &node);
    // Resets the model; expansion, selection and the rows on screen come back by "url".
    void reloadData();

    // Index and node look-ups.
    QModelIndex indexForNode(const Node &node, int column = 0) const;
    // The node of an index (a transient leaf row for a leaf), or null.
    Node nodeForIndex(const QModelIndex &index) const;
    Node parentNodeOf(const Node &node) const;
    // The first visible row of the owner whose node has the node's "url", or -1.
    qint64 indexOfItemInVisibleTreeView(const Node &node) const;
    qint64 indexOfUrlInVisibleTreeView(const QString &url) const;
    // The node shown in a visible row of the owner, or null.
    Node itemOfRowInVisibleTreeView(qint64 row) const;
    // The number of rows the owner shows.
    qint64 visibleRowCount() const;
    // Expands, in row order, the shown nodes whose "type" equals type (with their
    // descendants when expandChildren), including nodes those expansions reveal.
    void expandNodesWithType(const QString &type, bool expandChildren);

    // Wiring.
    Pavisade::OutlineView *owner() const { return m_owner; }
    // Shows this model in the tree, takes the tree's column definitions and reports its
    // selection.
    void setOwner(Pavisade::OutlineView *tree);

    std::weak_ptr<Pavisade::TreeNode> currentNodeItem;
    std::function<void(const Node &, const Node &)> callback;
    std::function<void(const Node &, const Node &)> selectionChangedCallback;
    std::function<void(const QString &)> dragFileCallBack;
    std::function<void()> dragDataBaseItemCompletedCallBack;
    std::function<void()> dragTableItemCompletedCallBack;
    QString treeViewDragBoardType() const { return m_dragType; }
    void setTreeViewDragBoardType(const QString &type) { m_dragType = type; }
    const NodeList &dragNodesArray() const { return m_dragNodes; }

    // A node dragged inside the tree was dropped at the index path; does nothing here.
    virtual void moveItem(const Node &node, const IndexPath &path);
    void handleInternalDrops(const QMimeData *data, const IndexPath &path);
    void handleFileBasedDrops(const QMimeData *data, const IndexPath &path);

    // ColumnDefinedModel
    void setColumnDefs(const XXXNSTableColumnFieldList &defs) override;

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    using QObject::parent;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
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
    // The owner's selection moved: the selected node and its parent go to the callbacks.
    virtual void outlineViewSelectionIsChanging();
    // Whether a selection change with no selected node reaches the callbacks (with null
    // node and parent); not here.
    virtual bool reportsEmptySelection() const { return false; }
    // The value a cell shows.
    virtual QVariant objectValueForTableColumn(const QModelIndex &index) const;

private:
    friend class Pavisade::TreeNode;
    friend class Pavisade::TreeUrlMemory;
    Pavisade::TreeNode *nodeAt(const QModelIndex &index) const;
    QModelIndex indexOfRaw(const Pavisade::TreeNode *node, int column = 0) const;
    bool isExpanded(const Pavisade::TreeNode *node) const;
    qint64 visibleRowOf(const Pavisade::TreeNode *node) const;
    void attach(const Node &node);
    void detach(const Node &node);
    void removeTopLevelAt(qsizetype position);
    void foldLeafRows(Pavisade::TreeNode *node);
    // Resets the model around change; expansion and selection come back by "url".
    void resetKeepingState(const std::function<void()> &change);
    void foldPending();
    IndexPath dropIndexPath(int row, const QModelIndex &parent) const;

    Node m_root;
    // The top-level list when it is not the root's children.
    std::optional<NodeList> m_members;
    QPointer<Pavisade::OutlineView> m_owner;
    QMetaObject::Connection m_selectionConnection;
    QMetaObject::Connection m_currentConnection;
    // The selection and expansion by "url", brought back after the rows changed.
    std::unique_ptr<Pavisade::TreeUrlMemory> m_urlMemory;
    QString m_dragType;
    mutable NodeList m_dragNodes;
    QList<std::weak_ptr<Pavisade::TreeNode>> m_pendingFolds;
    bool m_foldScheduled = false;
};

#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <pavisade/tables/ColumnDefStore_p.h>
#include <pavisade/trees/TreeUrlMemory_p.h>

#include <bastwick/URLMasking.h>
#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QDir>
#include <QtCore/QMimeData>
#include <QtCore/QSet>
#include <QtCore/QTimer>
#include <QtCore/QUrl>

#include <algorithm>

using Pavisade::TreeNode;

namespace {

const QString kUrlKey = QStringLiteral("url");
const QString kTypeKey = QStringLiteral("type");

} // namespace

XXXTreeViewDataDelegate::XXXTreeViewDataDelegate(QObject *parent)
    : QAbstractItemModel(parent)
    , m_root(TreeNode::createWithChildren())
    , m_urlMemory(std::make_unique<Pavisade::TreeUrlMemory>(*this))
{
    m_root->m_model = this;
}

XXXTreeViewDataDelegate::~XXXTreeViewDataDelegate()
{
    // The owner's selection model outlives this model: nothing it reports from here on
    // may reach the selection memory.
    disconnect(m_selectionConnection);
    disconnect(m_currentConnection);
    m_root->setModel(nullptr);
}

void XXXTreeViewDataDelegate::setTreeNodes(const Node &root)
{
    if (root == m_root)
        return;
    if (root && (root->isLeafRow() || root->m_parent || root->m_model)) {
        XXXLog(QStringLiteral("setTreeNodes: the root belongs to a tree already; nothing changed"));
        return;
    }
    if (!root)
        m_members.reset();
    else if (!m_members)
        m_members = m_root->childNodes();
    resetKeepingState([&] {
        m_root->setModel(nullptr);
        m_root = root ? root : TreeNode::createWithChildren();
        m_root->m_hasChildren = true;
        m_root->setModel(this);
    });
}

void XXXTreeViewDataDelegate::setTreeMembers(const NodeList &members)
{
    m_members = members;
}

// --- Top-level contents ---------------------------------------------------------------

void XXXTreeViewDataDelegate::setData(const QVariant &data)
{
    Q_UNUSED(data);
}

void XXXTreeViewDataDelegate::addData(const Node &data)
{
    XXXAssert(data, QString());
    if (m_members)
        m_members->append(data);
    else
        insertChildNode(m_root, data, topItemCount());
}

void XXXTreeViewDataDelegate::deleteData(const Bastwick::IndexSet &indexes)
{
    if (indexes.isEmpty())
        return;
    XXXAssert(indexes.lastIndex() < topItemCount(), QString());
    const QList<qint64> rows = indexes.toList();
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        removeTopLevelAt(*it);
}

void XXXTreeViewDataDelegate::deleteData(const NodeList &nodes)
{
    for (const Node &node : nodes)
        deleteData(node);
}

void XXXTreeViewDataDelegate::deleteData(const Node &node)
{
    if (!node)
        return;
    for (qsizetype i = topItemCount() - 1; i >= 0; --i) {
        if (treeMembers().at(i)->isEqual(*node))
            removeTopLevelAt(i);
    }
}

void XXXTreeViewDataDelegate::removeTopLevelAt(qsizetype position)
{
    if (m_members)
        m_members->removeAt(position);
    else
        removeChildNode(treeMembers().at(position));
}

void XXXTreeViewDataDelegate::clearAll()
{
    if (m_members)
        m_members->clear();
    if (treeMembers().isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, int(topItemCount()) - 1);
    const NodeList removed = m_root->m_children;
    m_root->m_children.clear();
    endRemoveRows();
    for (const Node &node : removed)
        detach(node);
}

qint64 XXXTreeViewDataDelegate::indexOfItem(const Node &node) const
{
    if (!node)
        return kNotFound;
    for (qsizetype i = 0; i < topItemCount(); ++i) {
        if (treeMembers().at(i)->isEqual(*node))
            return i;
    }
    return kNotFound;
}

XXXTreeViewDataDelegate::Node XXXTreeViewDataDelegate::itemOfRow(qsizetype row) const
{
    if (row < 0 || row >= topItemCount())
        return {};
    return treeMembers().at(row);
}

XXXTreeViewDataDelegate::NodeList
XXXTreeViewDataDelegate::itemsAtIndexSet(const Bastwick::IndexSet &indexes) const
{
    NodeList nodes;
    if (indexes.isEmpty())
        return nodes;
    XXXAssert(indexes.lastIndex() < topItemCount(), QString());
    for (qint64 index : indexes)
        nodes.append(treeMembers().at(index));
    return nodes;
}

qint64 XXXTreeViewDataDelegate::firstValidLeafNodeIndex() const
{
    for (qsizetype i = 0; i < topItemCount(); ++i) {
        const Node &node = treeMembers().at(i);
        if (!node->isLeaf() && node->childCount() > 0)
            return i + 1;
    }
    return 0;
}

// Descends depth times into the first node with children of each level; the answer is
// the row of that node's first child when every node before it on its path takes one row
// and the nodes on the path are expanded (0 when there is none).
qint64 XXXTreeViewDataDelegate::firstValidLeafNodeIndexDepth(int depth) const
{
    const NodeList *level = &treeMembers();
    qint64 row = 0;
    bool found = false;
    for (int d = 0; d <= depth; ++d) {
        const TreeNode *next = nullptr;
        for (qsizetype i = 0; i < level->size(); ++i) {
            const TreeNode *node = level->at(i).get();
            if (!node->isLeaf() && node->childCount() > 0) {
                next = node;
                row += i + 1;
                break;
            }
        }
        if (!next)
            continue;
        found = true;
        level = &next->m_children;
    }
    return found ? row : 0;
}

bool XXXTreeViewDataDelegate::isLeafItem(const Node &node)
{
    return node && node->isLeaf();
}

// --- Contents below the top level -----------------------------------------------------

void XXXTreeViewDataDelegate::attach(const Node &node)
{
    node->setModel(this);
}

void XXXTreeViewDataDelegate::detach(const Node &node)
{
    node->setModel(nullptr);
    node->m_parent = nullptr;
}

void XXXTreeViewDataDelegate::insertChildNode(const Node &parent, const Node &child, qsizetype position)
{
    if (!parent || !child || parent->isLeafRow() || child->isLeafRow() || child->m_parent)
        return;
    TreeNode *p = parent.get();
    position = qBound<qsizetype>(0, position, p->m_children.size());
    const bool wasLeaf = !p->m_hasChildren;
    const QModelIndex parentIndex = indexOfRaw(p);
    beginInsertRows(parentIndex, int(position), int(position));
    p->m_hasChildren = true;
    child->m_parent = p;
    p->m_children.insert(position, child);
    p->renumberChildren(position);
    attach(child);
    endInsertRows();
    if (wasLeaf && p != m_root.get())
        emit dataChanged(parentIndex, parentIndex);
}

void XXXTreeViewDataDelegate::removeChildNode(const Node &child)
{
    if (!child || !child->m_parent || child->m_model != this)
        return;
    TreeNode *p = child->m_parent;
    const qsizetype position = child->m_row;
    const Node keep = child;
    beginRemoveRows(indexOfRaw(p), int(position), int(position));
    p->m_children.removeAt(position);
    p->renumberChildren(position);
    endRemoveRows();
    detach(keep);
}

void XXXTreeViewDataDelegate::replaceChildNodes(const Node &parent, const NodeList &children)
{
    if (!parent || parent->isLeafRow() || parent->m_model != this)
        return;
    for (const Node &child : children)
        if (!child || child->isLeafRow() || child->m_parent)
            return;
    TreeNode *p = parent.get();
    resetKeepingState([&] {
        for (const Node &old : std::as_const(p->m_children))
            detach(old);
        p->m_children = children;
        for (const Node &child : children) {
            child->m_parent = p;
            attach(child);
        }
        p->renumberChildren(0);
        p->m_hasChildren = p->m_hasChildren || !children.isEmpty();
    });
}

void XXXTreeViewDataDelegate::setLeafRows(const Node &node,
                                          const std::shared_ptr<Pavisade::TreeLeafRows> &rows)
{
    if (!node || node->isLeafRow())
        return;
    if (node->m_model != this) {
        node->setLeafRows(rows);
        return;
    }
    node->m_leafRows = rows;
    if (rows)
        node->m_hasChildren = true;
    foldLeafRows(node.get());
}

void XXXTreeViewDataDelegate::noteLeafRowsChanged(const Node &node)
{
    if (!node || node->m_model != this)
        return;
    m_pendingFolds.append(node);
    if (m_foldScheduled)
        return;
    m_foldScheduled = true;
    QTimer::singleShot(0, this, &XXXTreeViewDataDelegate::foldPending);
}

void XXXTreeViewDataDelegate::foldPending()
{
    m_foldScheduled = false;
    const QList<std::weak_ptr<TreeNode>> pending = std::exchange(m_pendingFolds, {});
    QSet<const TreeNode *> done;
    for (const std::weak_ptr<TreeNode> &weak : pending) {
        const Node node = weak.lock();
        if (!node || node->m_model != this || done.contains(node.get()))
            continue;
        done.insert(node.get());
        foldLeafRows(node.get());
    }
}

void XXXTreeViewDataDelegate::reloadLeafRows(const Node &node)
{
    if (node && node->m_model == this)
        foldLeafRows(node.get());
}

// One change for everything that happened to a node's leaf rows: the rows announced
// before go, the rows there are now come, and the selected leaves are selected again by
// their "url".
void XXXTreeViewDataDelegate::foldLeafRows(TreeNode *node)
{
    const qsizetype before = node->m_leafCount;
    const qsizetype after = node->m_leafRows ? node->m_leafRows->childCount() : 0;
    if (before == 0 && after == 0)
        return;
    const QModelIndex parentIndex = indexOfRaw(node);
    const qsizetype first = node->m_children.size();

    m_urlMemory->keepAcrossLeafRowsChange(node, [&] {
        if (before > 0) {
            beginRemoveRows(parentIndex, int(first), int(first + before - 1));
            node->m_leafCount = 0;
            endRemoveRows();
        }
        if (after > 0) {
            beginInsertRows(parentIndex, int(first), int(first + after - 1));
            node->m_leafCount = after;
            endInsertRows();
        }
    });
}

void XXXTreeViewDataDelegate::leafRowsInserted(const Node &node, qsizetype first, qsizetype count)
{
    if (!node || node->m_model != this || count <= 0)
        return;
    first = qBound<qsizetype>(0, first, node->m_leafCount);
    const qsizetype offset = node->m_children.size();
    beginInsertRows(indexOfRaw(node.get()), int(offset + first), int(offset + first + count - 1));
    node->m_leafCount += count;
    endInsertRows();
}

void XXXTreeViewDataDelegate::leafRowsRemoved(const Node &node, qsizetype first, qsizetype count)
{
    if (!node || node->m_model != this || count <= 0 || first < 0 || first + count > node->m_leafCount)
        return;
    const qsizetype offset = node->m_children.size();
    beginRemoveRows(indexOfRaw(node.get()), int(offset + first), int(offset + first + count - 1));
    node->m_leafCount -= count;
    endRemoveRows();
}

void XXXTreeViewDataDelegate::noteNodeChanged(const Node &node)
{
    if (!node || node->m_model != this || columnCount() == 0)
        return;
    QModelIndex first;
    if (node->isLeafRow())
        first = index(int(node->m_row), 0, indexOfRaw(node->m_leafParent.get()));
    else
        first = indexOfRaw(node.get());
    if (!first.isValid())
        return;
    emit dataChanged(first, first.siblingAtColumn(columnCount() - 1));
}

void XXXTreeViewDataDelegate::reloadData()
{
    resetKeepingState({});
}

void XXXTreeViewDataDelegate::resetKeepingState(const std::function<void()> &change)
{
    m_urlMemory->keepAcrossReset([&] {
        beginResetModel();
        if (change)
            change();
        std::function<void(TreeNode *)> recount = [&](TreeNode *node) {
            node->m_leafCount = node->m_leafRows ? node->m_leafRows->childCount() : 0;
            for (const Node &child : node->m_children)
                recount(child.get());
        };
        recount(m_root.get());
        endResetModel();
    });
}

// --- Look-ups -------------------------------------------------------------------------

TreeNode *XXXTreeViewDataDelegate::nodeAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return m_root.get();
    auto *parent = static_cast<TreeNode *>(index.internalPointer());
    if (index.row() < parent->m_children.size())
        return parent->m_children.at(index.row()).get();
    return nullptr;
}

QModelIndex XXXTreeViewDataDelegate::indexOfRaw(const TreeNode *node, int column) const
{
    if (!node || node == m_root.get() || !node->m_parent)
        return {};
    return createIndex(int(node->m_row), column, node->m_parent);
}

QModelIndex XXXTreeViewDataDelegate::indexForNode(const Node &node, int column) const
{
    if (!node || node->m_model != this)
        return {};
    if (node->isLeafRow()) {
        const TreeNode *parent = node->m_leafParent.get();
        if (node->m_leafIndex < 0 || node->m_leafIndex >= parent->m_leafCount)
            return {};
        return createIndex(int(parent->m_children.size() + node->m_leafIndex), column, parent);
    }
    return indexOfRaw(node.get(), column);
}

XXXTreeViewDataDelegate::Node XXXTreeViewDataDelegate::nodeForIndex(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return {};
    auto *parent = static_cast<TreeNode *>(index.internalPointer());
    if (index.row() < parent->m_children.size())
        return parent->m_children.at(index.row());
    return TreeNode::leafRow(parent->shared_from_this(), index.row() - parent->m_children.size());
}

XXXTreeViewDataDelegate::Node XXXTreeViewDataDelegate::parentNodeOf(const Node &node) const
{
    if (!node || !node->m_parent || node->m_parent == m_root.get())
        return {};
    return node->m_parent->shared_from_this();
}

bool XXXTreeViewDataDelegate::isExpanded(const TreeNode *node) const
{
    if (node == m_root.get())
        return true;
    return m_owner && m_owner->isExpanded(indexOfRaw(node));
}

// The row a node is shown in, -1 when a collapsed ancestor hides it (the root: -1). The
// owner knows its rows from its expansion state without walking them.
qint64 XXXTreeViewDataDelegate::visibleRowOf(const TreeNode *node) const
{
    if (!m_owner || node == m_root.get())
        return -1;
    return m_owner->visibleRowOf(indexOfRaw(node));
}

qint64 XXXTreeViewDataDelegate::visibleRowCount() const
{
    if (!m_owner)
        return m_root->m_children.size() + m_root->m_leafCount;
    return m_owner->visibleRowCount();
}

qint64 XXXTreeViewDataDelegate::indexOfItemInVisibleTreeView(const Node &node) const
{
    if (!node)
        return -1;
    const QVariant url = node->value(kUrlKey);
    if (!url.isValid())
        return -1;
    return indexOfUrlInVisibleTreeView(url.toString());
}

qint64 XXXTreeViewDataDelegate::indexOfUrlInVisibleTreeView(const QString &url) const
{
    if (!m_owner || url.isNull())
        return -1;
    QSet<QString> wanted{url};
    qint64 row = -1;
    m_urlMemory->forEachShownUrl(
        wanted, [&](const QModelIndex &first, const QModelIndex &) { row = m_owner->visibleRowOf(first); });
    return row;
}

XXXTreeViewDataDelegate::Node XXXTreeViewDataDelegate::itemOfRowInVisibleTreeView(qint64 row) const
{
    if (!m_owner || row < 0)
        return {};
    return nodeForIndex(m_owner->indexAtVisibleRow(row));
}

void XXXTreeViewDataDelegate::expandNodesWithType(const QString &type, bool expandChildren)
{
    if (!m_owner || type.isNull())
        return;
    std::function<void(const TreeNode *)> walk = [&](const TreeNode *node) {
        for (const Node &child : node->m_children) {
            if (child->m_values.value(kTypeKey).toString() == type && child->m_values.contains(kTypeKey)) {
                const QModelIndex index = indexOfRaw(child.get());
                if (expandChildren)
                    m_owner->expandRecursively(index);
                else
                    m_owner->expand(index);
            }
            if (isExpanded(child.get()))
                walk(child.get());
        }
    };
    walk(m_root.get());
}

// --- Wiring ---------------------------------------------------------------------------

void XXXTreeViewDataDelegate::setOwner(Pavisade::OutlineView *tree)
{
    if (m_selectionConnection)
        disconnect(m_selectionConnection);
    if (m_currentConnection)
        disconnect(m_currentConnection);
    m_owner = tree;
    if (!tree)
        return;
    Pavisade::showModelInView(tree, this);
    m_selectionConnection =
        connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            if (m_urlMemory->isReplaying())
                return;
            m_urlMemory->recordSelection();
            outlineViewSelectionIsChanging();
        });
    m_currentConnection = connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
                                  [this] { m_urlMemory->recordSelection(); });
    m_urlMemory->recordSelection();
}

void XXXTreeViewDataDelegate::outlineViewSelectionIsChanging()
{
    if (!m_owner || !m_owner->selectionModel())
        return;
    QModelIndex selected = m_owner->selectionModel()->currentIndex();
    if (!selected.isValid() || !m_owner->selectionModel()->isSelected(selected)) {
        const QModelIndexList rows = m_owner->selectionModel()->selectedRows();
        selected = rows.isEmpty() ? QModelIndex() : rows.first();
    }
    const Node node = nodeForIndex(selected);
    Node shownParent;
    if (node && node->isLeafRow())
        shownParent = node->m_leafParent == m_root ? Node() : node->m_leafParent;
    else if (node)
        shownParent = parentNodeOf(node);
    XXXLog(QStringLiteral("outlineViewSelectionIsChanging item =%1 pItem =%2 \n")
               .arg(node ? Bastwick::maskedURL(node->url()) : QStringLiteral("(null)"),
                    shownParent ? Bastwick::maskedURL(shownParent->url()) : QStringLiteral("(null)")));
    if (!node && !reportsEmptySelection())
        return;
    if (selectionChangedCallback)
        selectionChangedCallback(node, shownParent);
    if (callback)
        callback(node, shownParent);
}

void XXXTreeViewDataDelegate::setColumnDefs(const XXXNSTableColumnFieldList &defs)
{
    const int before = int(m_columnDefs.size());
    const int after = int(defs.size());
    if (after != before) {
        // The column count of every parent changes at once.
        resetKeepingState([&] { m_columnDefs = defs; });
        return;
    }
    m_columnDefs = defs;
    if (after > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, after - 1);
        if (topItemCount() > 0)
            emit dataChanged(index(0, 0), index(int(topItemCount()) - 1, after - 1));
    }
}

// --- Model ----------------------------------------------------------------------------

// Called for every child row when a node with many leaf rows is expanded: kept to plain
// field reads.
QModelIndex XXXTreeViewDataDelegate::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= m_columnDefs.size())
        return {};
    TreeNode *node = m_root.get();
    if (parent.isValid()) {
        if (parent.column() != 0)
            return {};
        node = nodeAt(parent);
        if (!node)
            return {};
    }
    if (row >= node->m_children.size() + node->m_leafCount) {
        XXXLog(QStringLiteral("index(%1 invalid!").arg(row));
        return {};
    }
    return createIndex(row, column, node);
}

QModelIndex XXXTreeViewDataDelegate::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return {};
    return indexOfRaw(static_cast<const TreeNode *>(child.internalPointer()));
}

int XXXTreeViewDataDelegate::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    const TreeNode *node = nodeAt(parent);
    return node ? int(node->childCount()) : 0;
}

int XXXTreeViewDataDelegate::columnCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent);
    return int(m_columnDefs.size());
}

bool XXXTreeViewDataDelegate::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant XXXTreeViewDataDelegate::objectValueForTableColumn(const QModelIndex &index) const
{
    const QString key = columnIdentifier(index.column());
    if (const TreeNode *node = nodeAt(index))
        return node->m_values.value(key);
    auto *parent = static_cast<const TreeNode *>(index.internalPointer());
    const qsizetype leaf = index.row() - parent->m_children.size();
    if (!parent->m_leafRows || leaf >= parent->m_leafRows->childCount())
        return {};
    return parent->m_leafRows->childValue(leaf, key);
}

QVariant XXXTreeViewDataDelegate::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this || !isColumnCellRole(role))
        return {};
    return columnCellData(index.column(), objectValueForTableColumn(index), role);
}

bool XXXTreeViewDataDelegate::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.model() != this)
        return false;
    const QVariant stored = columnEditValue(index.column(), value, role);
    if (!stored.isValid()) {
        XXXLog(
            QStringLiteral("setSafeValue Error : key =%1 value null!").arg(columnIdentifier(index.column())));
        return false;
    }
    const QString key = columnIdentifier(index.column());
    if (TreeNode *node = nodeAt(index)) {
        node->m_values.insert(key, stored);
    } else {
        auto *parent = static_cast<TreeNode *>(index.internalPointer());
        const qsizetype leaf = index.row() - parent->m_children.size();
        if (!parent->m_leafRows || leaf >= parent->m_leafRows->childCount() ||
            !parent->m_leafRows->setChildValue(leaf, key, stored))
            return false;
    }
    emit dataChanged(index, index);
    return true;
}

QVariant XXXTreeViewDataDelegate::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal)
        return columnHeaderData(section, role);
    return {};
}

// Asked for every child row when a node is expanded: a leaf row's flags come from its
// column alone.
Qt::ItemFlags XXXTreeViewDataDelegate::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags =
        Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    const auto *parent = static_cast<const TreeNode *>(index.internalPointer());
    if (index.row() >= parent->m_children.size() || parent->m_children.at(index.row())->isLeaf())
        flags |= Qt::ItemNeverHasChildren;
    return columnFlags(index.column(), flags);
}

// --- Drag and drop --------------------------------------------------------------------

QStringList XXXTreeViewDataDelegate::mimeTypes() const
{
    QStringList types;
    if (!m_dragType.isEmpty())
        types.append(m_dragType);
    types.append(QStringLiteral("text/uri-list"));
    return types;
}

// The dragged nodes stay in the model (`dragNodesArray`); the drag carries only its type.
QMimeData *XXXTreeViewDataDelegate::mimeData(const QModelIndexList &indexes) const
{
    m_dragNodes.clear();
    for (const QModelIndex &index : indexes) {
        if (index.column() != 0)
            continue;
        if (const Node node = nodeForIndex(index))
            m_dragNodes.append(node);
    }
    auto *data = new QMimeData;
    if (!m_dragType.isEmpty())
        data->setData(m_dragType, QByteArray());
    return data;
}

bool XXXTreeViewDataDelegate::canDropMimeData(const QMimeData *data, Qt::DropAction action, int row,
                                              int column, const QModelIndex &parent) const
{
    Q_UNUSED(action);
    Q_UNUSED(row);
    Q_UNUSED(column);
    Q_UNUSED(parent);
    if (!data)
        return false;
    return (!m_dragType.isEmpty() && data->hasFormat(m_dragType)) || data->hasUrls();
}

XXXTreeViewDataDelegate::IndexPath XXXTreeViewDataDelegate::dropIndexPath(int row,
                                                                          const QModelIndex &parent) const
{
    if (parent.isValid())
        return {indexOfItemInVisibleTreeView(nodeForIndex(parent.siblingAtColumn(0))), row};
    if (row < 0)
        return {topItemCount()};
    return {row};
}

bool XXXTreeViewDataDelegate::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                           const QModelIndex &parent)
{
    Q_UNUSED(action);
    Q_UNUSED(column);
    if (!data)
        return false;
    const IndexPath path = dropIndexPath(row, parent);
    if (!m_dragType.isEmpty() && data->hasFormat(m_dragType)) {
        handleInternalDrops(data, path);
        return true;
    }
    if (data->hasUrls()) {
        handleFileBasedDrops(data, path);
        return true;
    }
    return false;
}

void XXXTreeViewDataDelegate::handleInternalDrops(const QMimeData *data, const IndexPath &path)
{
    Q_UNUSED(data);
    const NodeList nodes = m_dragNodes;
    for (auto it = nodes.crbegin(); it != nodes.crend(); ++it)
        moveItem(*it, path);
}

void XXXTreeViewDataDelegate::handleFileBasedDrops(const QMimeData *data, const IndexPath &path)
{
    Q_UNUSED(path);
    const QList<QUrl> urls = data->urls();
    for (auto it = urls.crbegin(); it != urls.crend(); ++it) {
        if (!it->isLocalFile())
            continue;
        const QString file = QDir::cleanPath(it->toLocalFile());
        if (dragFileCallBack)
            dragFileCallBack(file);
    }
}

void XXXTreeViewDataDelegate::moveItem(const Node &node, const IndexPath &path)
{
    Q_UNUSED(node);
    Q_UNUSED(path);
}

Qt::DropActions XXXTreeViewDataDelegate::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

Qt::DropActions XXXTreeViewDataDelegate::supportedDragActions() const
{
    return Qt::MoveAction;
}

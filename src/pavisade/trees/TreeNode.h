#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/trees/TreeLeafRows.h>

#include <QtCore/QList>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

#include <memory>

class XXXTreeViewDataDelegate;

namespace Pavisade {

class TreeNode;
using TreeNodePtr = std::shared_ptr<TreeNode>;
using TreeNodeList = QList<TreeNodePtr>;

// A node of a tree: key-value pairs (the column identifiers, "url", "type", ...) and,
// unless it is a leaf, its children: first its child nodes, then the leaf rows of its
// TreeLeafRows. A node without children is a leaf; a node with an empty child list is
// not a leaf, but has nothing to expand.
//
// Nodes are meant for the few upper levels of a tree; the many rows below them are leaf
// rows served by index. A leaf row handed out by a tree (to a selection callback, say)
// is a transient node that reads through to its leaf rows; it is never stored.
//
// While a node belongs to a tree model, its changes go through the model, which tells
// its views. GUI thread only once it belongs to a model.
class PAVISADE_EXPORT TreeNode : public std::enable_shared_from_this<TreeNode>
{
public:
    // A leaf node with these values.
    static TreeNodePtr create(const QVariantMap &values = {});
    // A node with an (empty) child list.
    static TreeNodePtr createWithChildren(const QVariantMap &values = {});

    TreeNode() = default;
    // Children that outlive their parent (held elsewhere) are left without one.
    ~TreeNode();
    TreeNode(const TreeNode &) = delete;
    TreeNode &operator=(const TreeNode &) = delete;

    QVariant value(const QString &key) const;
    // Stores the value under the key; a nil value changes nothing.
    void setValue(const QString &key, const QVariant &value);
    QVariantMap values() const;
    QString url() const { return value(QStringLiteral("url")).toString(); }

    bool isLeaf() const;
    // Gives a leaf an empty child list (true) or takes a node's children away (false).
    void setHasChildren(bool hasChildren);
    const TreeNodeList &childNodes() const { return m_children; }
    const std::shared_ptr<TreeLeafRows> &leafRows() const { return m_leafRows; }
    // Child nodes plus leaf rows, as the tree shows them.
    qsizetype childCount() const;

    // Appends or inserts a child node (making this node a parent); in a model the model
    // announces it.
    void appendChild(const TreeNodePtr &child);
    void insertChild(const TreeNodePtr &child, qsizetype position);
    void removeChild(const TreeNodePtr &child);
    // Sets the leaf rows shown after the child nodes.
    void setLeafRows(const std::shared_ptr<TreeLeafRows> &rows);

    TreeNode *parentNode() const { return m_parent; }
    // Position among the parent's children.
    qsizetype row() const;

    // A transient leaf row: its parent and its index among the parent's leaf rows.
    bool isLeafRow() const { return bool(m_leafParent); }
    TreeNodePtr leafParent() const { return m_leafParent; }
    qsizetype leafIndex() const { return m_leafIndex; }

    // Same node, or a node with the same values (and, for leaf rows, the same row).
    bool isEqual(const TreeNode &other) const;

private:
    friend class ::XXXTreeViewDataDelegate;
    friend class TreeUrlMemory;
    static TreeNodePtr leafRow(const TreeNodePtr &parent, qsizetype index);
    void renumberChildren(qsizetype from);
    void setModel(XXXTreeViewDataDelegate *model);

    QVariantMap m_values;
    bool m_hasChildren = false;
    TreeNodeList m_children;
    std::shared_ptr<TreeLeafRows> m_leafRows;
    qsizetype m_leafCount = 0; // the leaf rows the model has announced
    TreeNode *m_parent = nullptr;
    qsizetype m_row = 0;
    QPointer<XXXTreeViewDataDelegate> m_model;
    TreeNodePtr m_leafParent;
    qsizetype m_leafIndex = -1;
};

} // namespace Pavisade

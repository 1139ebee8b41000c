#include <pavisade/trees/TreeNode.h>

#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <bastwick/platform/Log.h>

namespace Pavisade {

TreeNodePtr TreeNode::create(const QVariantMap &values)
{
    auto node = std::make_shared<TreeNode>();
    node->m_values = values;
    return node;
}

TreeNodePtr TreeNode::createWithChildren(const QVariantMap &values)
{
    TreeNodePtr node = create(values);
    node->m_hasChildren = true;
    return node;
}

TreeNode::~TreeNode()
{
    for (const TreeNodePtr &child : std::as_const(m_children)) {
        if (child->m_parent == this)
            child->m_parent = nullptr;
    }
}

TreeNodePtr TreeNode::leafRow(const TreeNodePtr &parent, qsizetype index)
{
    auto node = std::make_shared<TreeNode>();
    node->m_leafParent = parent;
    node->m_leafIndex = index;
    node->m_parent = parent.get();
    node->m_row = parent->m_children.size() + index;
    node->m_model = parent->m_model;
    return node;
}

QVariant TreeNode::value(const QString &key) const
{
    if (m_leafParent) {
        const std::shared_ptr<TreeLeafRows> &rows = m_leafParent->m_leafRows;
        if (!rows || m_leafIndex < 0 || m_leafIndex >= rows->childCount())
            return {};
        return rows->childValue(m_leafIndex, key);
    }
    return m_values.value(key);
}

void TreeNode::setValue(const QString &key, const QVariant &value)
{
    if (!value.isValid()) {
        XXXLog(QStringLiteral("setSafeValue Error : key =%1 value null!").arg(key));
        return;
    }
    if (m_leafParent) {
        const std::shared_ptr<TreeLeafRows> &rows = m_leafParent->m_leafRows;
        if (rows && m_leafIndex >= 0 && m_leafIndex < rows->childCount() &&
            rows->setChildValue(m_leafIndex, key, value) && m_model)
            m_model->noteNodeChanged(shared_from_this());
        return;
    }
    m_values.insert(key, value);
    if (m_model)
        m_model->noteNodeChanged(shared_from_this());
}

QVariantMap TreeNode::values() const
{
    return m_values;
}

bool TreeNode::isLeaf() const
{
    return m_leafParent || !m_hasChildren;
}

void TreeNode::setHasChildren(bool hasChildren)
{
    if (m_leafParent || hasChildren == m_hasChildren)
        return;
    if (!hasChildren) {
        while (!m_children.isEmpty())
            removeChild(m_children.last());
        setLeafRows(nullptr);
    }
    m_hasChildren = hasChildren;
}

qsizetype TreeNode::childCount() const
{
    return m_children.size() + m_leafCount;
}

qsizetype TreeNode::row() const
{
    return m_row;
}

void TreeNode::appendChild(const TreeNodePtr &child)
{
    insertChild(child, m_children.size());
}

void TreeNode::insertChild(const TreeNodePtr &child, qsizetype position)
{
    if (!child || m_leafParent)
        return;
    if (m_model) {
        m_model->insertChildNode(shared_from_this(), child, position);
        return;
    }
    position = qBound<qsizetype>(0, position, m_children.size());
    m_hasChildren = true;
    child->m_parent = this;
    m_children.insert(position, child);
    renumberChildren(position);
}

void TreeNode::removeChild(const TreeNodePtr &child)
{
    if (!child || child->m_parent != this)
        return;
    if (m_model) {
        m_model->removeChildNode(child);
        return;
    }
    const qsizetype position = child->m_row;
    m_children.removeAt(position);
    child->m_parent = nullptr;
    renumberChildren(position);
}

void TreeNode::setLeafRows(const std::shared_ptr<TreeLeafRows> &rows)
{
    if (m_leafParent)
        return;
    if (m_model) {
        m_model->setLeafRows(shared_from_this(), rows);
        return;
    }
    m_leafRows = rows;
    m_leafCount = rows ? rows->childCount() : 0;
    if (rows)
        m_hasChildren = true;
}

void TreeNode::renumberChildren(qsizetype from)
{
    for (qsizetype i = from; i < m_children.size(); ++i)
        m_children.at(i)->m_row = i;
}

void TreeNode::setModel(XXXTreeViewDataDelegate *model)
{
    m_model = model;
    for (const TreeNodePtr &child : std::as_const(m_children))
        child->setModel(model);
}

bool TreeNode::isEqual(const TreeNode &other) const
{
    if (this == &other)
        return true;
    if (m_leafParent || other.m_leafParent)
        return m_leafParent == other.m_leafParent && m_leafIndex == other.m_leafIndex;
    if (m_values != other.m_values || m_hasChildren != other.m_hasChildren ||
        m_leafRows != other.m_leafRows || m_children.size() != other.m_children.size())
        return false;
    for (qsizetype i = 0; i < m_children.size(); ++i) {
        if (!m_children.at(i)->isEqual(*other.m_children.at(i)))
            return false;
    }
    return true;
}

} // namespace Pavisade

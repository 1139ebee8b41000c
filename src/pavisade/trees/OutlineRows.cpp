#include <pavisade/trees/OutlineRows_p.h>

#include <algorithm>

namespace Pavisade {

void OutlineRows::setModel(QAbstractItemModel *model)
{
    m_model = model;
    m_root = QPersistentModelIndex();
    m_hasRoot = false;
    m_expanded.clear();
    m_dirty = true;
}

void OutlineRows::setRoot(const QModelIndex &root)
{
    m_root = key(root);
    m_hasRoot = root.isValid();
    m_dirty = true;
}

QModelIndex OutlineRows::key(const QModelIndex &index) const
{
    return index.isValid() && index.column() != 0 ? index.siblingAtColumn(0) : index;
}

bool OutlineRows::isExpanded(const QModelIndex &index) const
{
    if (!m_model || !index.isValid() || index.model() != m_model)
        return false;
    return m_expanded.contains(QPersistentModelIndex(key(index)));
}

bool OutlineRows::expand(const QModelIndex &index)
{
    if (!m_model || !index.isValid() || index.model() != m_model)
        return false;
    const QModelIndex node = key(index);
    if (m_model->flags(node) & Qt::ItemNeverHasChildren)
        return false;
    const QPersistentModelIndex persistent(node);
    if (m_expanded.contains(persistent))
        return false;
    m_expanded.insert(persistent);
    m_dirty = true;
    return true;
}

bool OutlineRows::collapse(const QModelIndex &index)
{
    if (!m_model || !index.isValid() || index.model() != m_model)
        return false;
    if (!m_expanded.remove(QPersistentModelIndex(key(index))))
        return false;
    m_dirty = true;
    return true;
}

QList<QPersistentModelIndex> OutlineRows::expandedNodes() const
{
    QList<QPersistentModelIndex> nodes;
    for (const QPersistentModelIndex &node : m_expanded) {
        if (node.isValid())
            nodes.append(node);
    }
    return nodes;
}

void OutlineRows::clear()
{
    m_expanded.clear();
    m_dirty = true;
}

void OutlineRows::ensure() const
{
    if (!m_dirty)
        return;
    m_dirty = false;
    m_levels.clear();
    if (!m_model)
        return;
    const QModelIndex root = key(m_root);
    if (m_hasRoot && !root.isValid())
        return;
    // Nodes removed from the model leave invalid entries behind: they show nothing.
    QSet<QModelIndex> expanded;
    expanded.reserve(m_expanded.size());
    for (auto node = m_expanded.begin(); node != m_expanded.end();) {
        if (!node->isValid()) {
            node = m_expanded.erase(node);
            continue;
        }
        expanded.insert(QModelIndex(*node));
        ++node;
    }
    m_levels.insert(root, Level());
    for (const QModelIndex &node : expanded) {
        if (node == root)
            continue;
        bool shown = true;
        QModelIndex parent = key(node.parent());
        while (parent != root) {
            if (!parent.isValid() || !expanded.contains(parent)) {
                shown = false;
                break;
            }
            parent = key(parent.parent());
        }
        if (!shown)
            continue;
        Branch branch;
        branch.row = node.row();
        branch.index = node;
        m_levels[key(node.parent())].branches.append(branch);
        m_levels[node];
    }
    measure(root);
}

qint64 OutlineRows::measure(const QModelIndex &parent) const
{
    const auto found = m_levels.find(parent);
    if (found == m_levels.end())
        return 0;
    Level &level = *found;
    level.childCount = m_model->rowCount(parent);
    std::sort(level.branches.begin(), level.branches.end(),
              [](const Branch &a, const Branch &b) { return a.row < b.row; });
    qint64 before = 0;
    for (Branch &branch : level.branches) {
        branch.before = before;
        branch.size = measure(branch.index);
        before += branch.size;
    }
    level.size = level.childCount + before;
    return level.size;
}

qint64 OutlineRows::offsetOf(const Level &level, int row)
{
    const auto next = std::lower_bound(level.branches.cbegin(), level.branches.cend(), row,
                                       [](const Branch &branch, int r) { return branch.row < r; });
    if (next != level.branches.cend())
        return row + next->before;
    if (level.branches.isEmpty())
        return row;
    return row + level.branches.constLast().before + level.branches.constLast().size;
}

qsizetype OutlineRows::branchAtOrBefore(const Level &level, qint64 offset)
{
    const auto after = std::upper_bound(
        level.branches.cbegin(), level.branches.cend(), offset,
        [](qint64 value, const Branch &branch) { return value < branch.row + branch.before; });
    return (after - level.branches.cbegin()) - 1;
}

qsizetype OutlineRows::branchAtOrAfter(const Level &level, int row)
{
    const auto next = std::lower_bound(level.branches.cbegin(), level.branches.cend(), row,
                                       [](const Branch &branch, int r) { return branch.row < r; });
    return next == level.branches.cend() ? -1 : next - level.branches.cbegin();
}

qint64 OutlineRows::rowCount() const
{
    ensure();
    const auto level = m_levels.constFind(key(m_root));
    return level == m_levels.cend() ? 0 : level->size;
}

qint64 OutlineRows::rowOf(const QModelIndex &index) const
{
    if (!m_model || !index.isValid() || index.model() != m_model)
        return -1;
    ensure();
    const QModelIndex root = key(m_root);
    QModelIndex node = key(index);
    if (node == root)
        return -1;
    qint64 row = 0;
    for (;;) {
        const QModelIndex parent = key(node.parent());
        const auto level = m_levels.constFind(parent);
        if (level == m_levels.cend())
            return -1;
        row += offsetOf(*level, node.row());
        if (parent == root)
            return row;
        row += 1;
        node = parent;
    }
}

QModelIndex OutlineRows::indexAt(qint64 row) const
{
    if (!m_model || row < 0 || row >= rowCount())
        return {};
    QModelIndex parent = key(m_root);
    for (;;) {
        const auto level = m_levels.constFind(parent);
        if (level == m_levels.cend())
            return {};
        const qsizetype at = branchAtOrBefore(*level, row);
        if (at < 0)
            return m_model->index(int(row), 0, parent);
        const Branch &branch = level->branches.at(at);
        const qint64 position = branch.row + branch.before;
        if (row == position)
            return branch.index;
        if (row <= position + branch.size) {
            row -= position + 1;
            parent = branch.index;
            continue;
        }
        return m_model->index(int(row - branch.before - branch.size), 0, parent);
    }
}

int OutlineRows::depthOf(const QModelIndex &index) const
{
    const QModelIndex root = key(m_root);
    int depth = 0;
    for (QModelIndex parent = key(index.parent()); parent.isValid() && parent != root;
         parent = key(parent.parent()))
        ++depth;
    return depth;
}

void OutlineRows::forEachRun(qint64 first, qint64 last,
                             const std::function<void(const QModelIndex &, int, int)> &run) const
{
    first = std::max<qint64>(first, 0);
    last = std::min(last, rowCount() - 1);
    qint64 row = first;
    while (row <= last) {
        const QModelIndex index = indexAt(row);
        if (!index.isValid())
            return;
        const QModelIndex parent = key(index.parent());
        const auto level = m_levels.constFind(parent);
        if (level == m_levels.cend())
            return;
        const int start = index.row();
        // Siblings follow one another until an expanded one, whose rows come next.
        const qsizetype next = branchAtOrAfter(*level, start);
        qint64 end = next >= 0 ? level->branches.at(next).row : level->childCount - 1;
        end = std::min(end, start + (last - row));
        run(parent, start, int(end));
        row += end - start + 1;
    }
}

} // namespace Pavisade

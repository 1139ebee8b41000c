#pragma once

#include <QtCore/QAbstractItemModel>
#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QPersistentModelIndex>
#include <QtCore/QPointer>
#include <QtCore/QSet>

#include <functional>

namespace Pavisade {

// The rows an outline shows, with nothing stored per row: only the expanded nodes are
// kept (as persistent indexes, so they follow inserts, removals and moves), and a node
// stays expanded while an ancestor is collapsed. From them a cache holds, for every
// shown parent, its expanded children sorted by row with the rows each one shows below
// itself. The cache is rebuilt on demand after invalidate(), in time proportional to the
// number of expanded nodes; a row's index and an index's row are then found by stepping
// over expanded siblings only (plain siblings are skipped by arithmetic), in
// O(depth x log expanded children).
class OutlineRows
{
public:
    void setModel(QAbstractItemModel *model);
    void setRoot(const QModelIndex &root);
    QModelIndex root() const { return m_root; }

    // Expansion. expand refuses an index whose item can never have children; both answer
    // whether the state changed. clear forgets every expanded node.
    bool isExpanded(const QModelIndex &index) const;
    bool expand(const QModelIndex &index);
    bool collapse(const QModelIndex &index);
    void clear();
    // The expanded nodes still in the model.
    QList<QPersistentModelIndex> expandedNodes() const;

    // The model, the root or the expansion changed: the cache is rebuilt on next use.
    void invalidate() { m_dirty = true; }

    // The number of rows shown below the root.
    qint64 rowCount() const;
    // The shown row of an index (any column), -1 when it is the root, not below the root
    // or hidden by a collapsed ancestor.
    qint64 rowOf(const QModelIndex &index) const;
    // The column-0 index shown in a row, invalid outside [0, rowCount()).
    QModelIndex indexAt(qint64 row) const;
    // The number of ancestors between an index and the root (0 for a top-level row).
    int depthOf(const QModelIndex &index) const;
    // Whether an index is shown (the root and its expanded ancestors are expanded).
    bool isShown(const QModelIndex &index) const { return rowOf(index) >= 0; }

    // Calls run(parent, firstRow, lastRow) for the shown rows [first, last] as runs of
    // consecutive siblings, in row order: one call per run however long, so that the
    // number of calls grows with the expanded nodes crossed, not with the rows.
    void forEachRun(qint64 first, qint64 last,
                    const std::function<void(const QModelIndex &, int, int)> &run) const;

private:
    // An expanded child of a shown parent: its row, the rows it shows below itself and
    // the rows shown below its expanded siblings of lower rows.
    struct Branch
    {
        int row = 0;
        QModelIndex index;
        qint64 size = 0;
        qint64 before = 0;
    };
    struct Level
    {
        QList<Branch> branches;
        int childCount = 0;
        qint64 size = 0;
    };

    void ensure() const;
    qint64 measure(const QModelIndex &parent) const;
    // Rows shown under a level before its child row (the child rows plus the expanded
    // children's rows).
    static qint64 offsetOf(const Level &level, int row);
    // The expanded child with the highest shown position <= offset, or -1.
    static qsizetype branchAtOrBefore(const Level &level, qint64 offset);
    // The next expanded child at or after row, or -1.
    static qsizetype branchAtOrAfter(const Level &level, int row);
    QModelIndex key(const QModelIndex &index) const;

    QPointer<QAbstractItemModel> m_model;
    QPersistentModelIndex m_root;
    // A root was set: when it leaves the model, nothing is shown.
    bool m_hasRoot = false;
    mutable QSet<QPersistentModelIndex> m_expanded;
    mutable QHash<QModelIndex, Level> m_levels;
    mutable bool m_dirty = true;
};

} // namespace Pavisade

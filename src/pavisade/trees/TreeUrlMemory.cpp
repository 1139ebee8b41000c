#include <pavisade/trees/TreeUrlMemory_p.h>

#include <pavisade/trees/OutlineView.h>
#include <pavisade/trees/TreeNode.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <QtCore/QItemSelectionModel>

#include <utility>

namespace Pavisade {

namespace {

const QString kUrlKey = QStringLiteral("url");
// At most this many rows on screen are remembered across a reset.
constexpr qsizetype kRowsOnScreenKept = 200;

} // namespace

TreeUrlMemory::TreeUrlMemory(XXXTreeViewDataDelegate &model)
    : m_model(model)
{
}

void TreeUrlMemory::recordSelection()
{
    if (m_replaying)
        return;
    m_selectedUrls = selectedUrls();
    m_currentUrl.clear();
    const OutlineView *owner = m_model.owner();
    if (owner && owner->selectionModel()) {
        if (const TreeNodePtr current = m_model.nodeForIndex(owner->selectionModel()->currentIndex()))
            m_currentUrl = current->url();
    }
}

void TreeUrlMemory::keepAcrossReset(const std::function<void()> &reset)
{
    const QStringList onScreen = urlsOnScreen();
    const QStringList expanded = expandedUrls();
    const QStringList selected = m_selectedUrls;
    const QString currentUrl = m_currentUrl;
    const bool replaying = std::exchange(m_replaying, true);
    reset();
    if (!m_model.owner()) {
        m_replaying = replaying;
        return;
    }
    expandUrls(expanded);
    selectUrls(selected, currentUrl);
    scrollToFirstOf(onScreen);
    m_replaying = replaying;
    recordSelection();
}

QStringList TreeUrlMemory::urlsOnScreen() const
{
    QStringList urls;
    const OutlineView *owner = m_model.owner();
    if (!owner || !owner->viewport())
        return urls;
    const int bottom = owner->viewport()->height();
    for (QModelIndex row = owner->indexAt(QPoint(0, 0)); row.isValid() && urls.size() < kRowsOnScreenKept;
         row = owner->indexBelow(row)) {
        if (owner->visualRect(row).top() >= bottom)
            break;
        if (const TreeNodePtr node = m_model.nodeForIndex(row); node && !node->url().isEmpty())
            urls.append(node->url());
    }
    return urls;
}

// The first row that was on screen and is still shown goes to the top again, so that
// the rows under the pointer stay where they were.
void TreeUrlMemory::scrollToFirstOf(const QStringList &urls)
{
    OutlineView *owner = m_model.owner();
    if (!owner || urls.isEmpty())
        return;
    QSet<QString> wanted(urls.cbegin(), urls.cend());
    QModelIndex top;
    qsizetype topRank = urls.size();
    forEachShownUrl(wanted, [&](const QModelIndex &first, const QModelIndex &last) {
        for (QModelIndex row = first; row.isValid(); row = row.siblingAtRow(row.row() + 1)) {
            const TreeNodePtr node = m_model.nodeForIndex(row);
            const qsizetype rank = node ? urls.indexOf(node->url()) : -1;
            if (rank >= 0 && rank < topRank) {
                topRank = rank;
                top = row;
            }
            if (row == last)
                break;
        }
    });
    if (top.isValid())
        owner->scrollTo(top, QAbstractItemView::PositionAtTop);
}

void TreeUrlMemory::keepAcrossLeafRowsChange(TreeNode *node, const std::function<void()> &change)
{
    // The selection as it was before the leaf rows changed (they read the new data now).
    const QStringList urls = m_selectedUrls;
    const QString currentUrl = m_currentUrl;
    const bool replaying = std::exchange(m_replaying, true);
    change();
    selectLeafUrls(node, urls, currentUrl);
    m_replaying = replaying;
    recordSelection();
}

// The url of each wholly selected row, range by range: a selection across a million
// leaf rows is a few ranges, and a leaf's url is read from its rows directly, not through
// a list of every selected row and a transient node for each.
QStringList TreeUrlMemory::selectedUrls() const
{
    QStringList urls;
    const OutlineView *owner = m_model.owner();
    if (!owner || !owner->selectionModel())
        return urls;
    QItemSelectionModel *selection = owner->selectionModel();
    const int lastColumn = m_model.columnCount() - 1;
    for (const QItemSelectionRange &range : selection->selection()) {
        if (!range.isValid() || range.model() != &m_model)
            continue;
        const TreeNode *parent = m_model.nodeAt(range.parent());
        if (!parent)
            continue;
        // Ranges do not overlap: a row selected in parts counts once, with its first column.
        const bool wholeRows = range.left() == 0 && range.right() == lastColumn;
        const qsizetype children = parent->m_children.size();
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (!wholeRows && (range.left() != 0 || !selection->isRowSelected(row, range.parent())))
                continue;
            if (row < children)
                urls.append(parent->m_children.at(row)->url());
            else if (parent->m_leafRows && row - children < parent->m_leafRows->childCount())
                urls.append(parent->m_leafRows->childValue(row - children, kUrlKey).toString());
        }
    }
    return urls;
}

QStringList TreeUrlMemory::expandedUrls() const
{
    QStringList expanded;
    if (!m_model.owner())
        return expanded;
    std::function<void(const TreeNode *)> collect = [&](const TreeNode *node) {
        for (const TreeNodePtr &child : node->m_children) {
            if (m_model.isExpanded(child.get())) {
                expanded.append(child->url());
                collect(child.get());
            }
        }
    };
    collect(m_model.treeNodes().get());
    return expanded;
}

void TreeUrlMemory::expandUrls(const QStringList &urls)
{
    OutlineView *owner = m_model.owner();
    std::function<void(const TreeNode *)> expand = [&](const TreeNode *node) {
        for (const TreeNodePtr &child : node->m_children) {
            if (!child->url().isEmpty() && urls.contains(child->url())) {
                owner->expand(m_model.indexOfRaw(child.get()));
                expand(child.get());
            }
        }
    };
    expand(m_model.treeNodes().get());
}

// Selects the first shown row of each url, in one walk over the shown rows for all the
// urls; consecutive leaf rows are selected as one range.
void TreeUrlMemory::selectUrls(const QStringList &urls, const QString &currentUrl)
{
    OutlineView *owner = m_model.owner();
    if (!owner || !owner->selectionModel() || m_model.columnCount() == 0)
        return;
    const int lastColumn = m_model.columnCount() - 1;
    QSet<QString> wanted(urls.cbegin(), urls.cend());
    QItemSelection selection;
    forEachShownUrl(wanted, [&](const QModelIndex &first, const QModelIndex &last) {
        selection.append(QItemSelectionRange(first, last.siblingAtColumn(lastColumn)));
    });
    owner->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!currentUrl.isEmpty()) {
        QSet<QString> current{currentUrl};
        forEachShownUrl(current, [&](const QModelIndex &first, const QModelIndex &) {
            owner->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        });
    }
}

// Only the node's leaf rows are looked at: what is shown elsewhere did not change.
void TreeUrlMemory::selectLeafUrls(TreeNode *node, const QStringList &urls, const QString &currentUrl)
{
    OutlineView *owner = m_model.owner();
    const qsizetype count = node->m_leafCount;
    if (!owner || !owner->selectionModel() || !node->m_leafRows || m_model.columnCount() == 0 || count <= 0)
        return;
    const QModelIndex parentIndex = m_model.indexOfRaw(node);
    const qsizetype first = node->m_children.size();
    const int lastColumn = m_model.columnCount() - 1;
    QItemSelection selection;
    for (const QString &url : urls) {
        const qsizetype i = node->m_leafRows->indexOfUrl(url);
        if (i >= 0 && i < count)
            selection.select(m_model.index(int(first + i), 0, parentIndex),
                             m_model.index(int(first + i), lastColumn, parentIndex));
    }
    if (!selection.isEmpty())
        owner->selectionModel()->select(selection, QItemSelectionModel::Select);
    const qsizetype c = currentUrl.isEmpty() ? -1 : node->m_leafRows->indexOfUrl(currentUrl);
    if (c >= 0 && c < count)
        owner->selectionModel()->setCurrentIndex(m_model.index(int(first + c), 0, parentIndex),
                                                 QItemSelectionModel::NoUpdate);
}

void TreeUrlMemory::forEachShownUrl(
    QSet<QString> &wanted, const std::function<void(const QModelIndex &, const QModelIndex &)> &found) const
{
    std::function<void(const TreeNode *)> walk = [&](const TreeNode *node) {
        for (const TreeNodePtr &child : node->m_children) {
            if (wanted.isEmpty())
                return;
            if (child->m_values.contains(kUrlKey) &&
                wanted.remove(child->m_values.value(kUrlKey).toString())) {
                const QModelIndex index = m_model.indexOfRaw(child.get());
                found(index, index);
            }
            if (m_model.isExpanded(child.get()))
                walk(child.get());
        }
        if (wanted.isEmpty() || !node->m_leafRows || node->m_leafCount <= 0)
            return;
        const qsizetype children = node->m_children.size();
        const QModelIndex parent = m_model.indexOfRaw(node);
        QList<qsizetype> rows;
        for (const qsizetype i : node->m_leafRows->indexesOfUrls(wanted))
            if (i >= 0 && i < node->m_leafCount)
                rows.append(i);
        for (qsizetype first = 0; first < rows.size();) {
            qsizetype last = first;
            while (last + 1 < rows.size() && rows.at(last + 1) == rows.at(last) + 1)
                ++last;
            found(m_model.index(int(children + rows.at(first)), 0, parent),
                  m_model.index(int(children + rows.at(last)), 0, parent));
            first = last + 1;
        }
        // Every wanted url found here (a whole selection coming back) needs no look-up
        // of what was found.
        if (rows.size() >= wanted.size())
            wanted.clear();
        else
            for (const qsizetype i : std::as_const(rows))
                wanted.remove(node->m_leafRows->childValue(i, kUrlKey).toString());
    };
    if (m_model.owner())
        walk(m_model.treeNodes().get());
}

} // namespace Pavisade

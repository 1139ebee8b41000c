#pragma once

#include <QtCore/QSet>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>

class QModelIndex;
class XXXTreeViewDataDelegate;

namespace Pavisade {

class TreeNode;

// A tree model's memory of what its view shows, by node "url": the selected rows and
// the current row as they change, and the expanded nodes across a reset. After the rows
// changed under them, it selects, expands and makes current again the rows whose urls it
// remembers. Selection changes it makes itself while doing so are not recorded.
//
// The shown rows are walked once for all the urls at once, and the urls of a node's leaf
// rows are looked up together and selected as runs of consecutive rows, so bringing back
// a selection of a million leaves costs one pass over them. Owned by the model; GUI thread.
class TreeUrlMemory
{
public:
    explicit TreeUrlMemory(XXXTreeViewDataDelegate &model);
    TreeUrlMemory(const TreeUrlMemory &) = delete;
    TreeUrlMemory &operator=(const TreeUrlMemory &) = delete;

    // Whether the selection is being brought back (its changes are not the user's).
    bool isReplaying() const { return m_replaying; }
    // Takes the owner's selection and current row as they are now; nothing while
    // replaying.
    void recordSelection();

    // Runs reset (a reset of the whole model), then expands the nodes that were expanded,
    // selects the rows that were selected, the current one current again, and scrolls
    // the rows that were on screen back to where they were.
    void keepAcrossReset(const std::function<void()> &reset);
    // Runs change (which changes the node's leaf rows), then adds to the selection those
    // of the node's leaf rows that were selected and makes current the one that was.
    void keepAcrossLeafRowsChange(TreeNode *node, const std::function<void()> &change);

    // Reports the first shown row of each wanted url, in row order, taking the url out of
    // wanted, until none is left: a node as (index, index), leaf rows as runs of
    // consecutive rows (first, last), column 0. The shown nodes are walked once and each
    // node's leaf rows answer all the urls at once.
    void forEachShownUrl(QSet<QString> &wanted,
                         const std::function<void(const QModelIndex &, const QModelIndex &)> &found) const;

private:
    QStringList selectedUrls() const;
    QStringList expandedUrls() const;
    // The urls of the rows on screen, from the top.
    QStringList urlsOnScreen() const;
    void scrollToFirstOf(const QStringList &urls);
    void expandUrls(const QStringList &urls);
    void selectUrls(const QStringList &urls, const QString &currentUrl);
    void selectLeafUrls(TreeNode *node, const QStringList &urls, const QString &currentUrl);

    XXXTreeViewDataDelegate &m_model;
    // The selection, kept as it changes, so that it can be brought back after the rows
    // have changed under it.
    QStringList m_selectedUrls;
    QString m_currentUrl;
    bool m_replaying = false;
};

} // namespace Pavisade

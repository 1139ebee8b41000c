#pragma once

#include <kestrune/tree/KeyTreeNodes.h>

#include <bastwick/IndexSet.h>

#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QStringList>

#include <memory>

class DataStoreBO;
class DBDatabase;
class DBProfile;
class DerazKeyLeafRows;
class SimpleDBStateManager;
class SimpleDBViewState;

// The model of the key tree: one node per connection, below it one node per logical
// database ("DB0" ... "DB15", shown with their key counts), below each database its keys,
// served by index from the database's key list (see DerazKeyLeafRows).
//
// It fills and empties the tree: connecting a profile asks the registry for the store
// and lets the store open the connection on its own queue; the completion builds the
// nodes on the main thread. A failed connect shows one alert with the server's message
// and posts nothing. It also remembers which nodes the user expanded, brings them back
// after every rebuild, and reports the selected database or key to the view state.
// Main thread.
class DerazKeysViewDataDelegate : public XXXTreeViewDataDelegate
{
    Q_OBJECT

public:
    using ProfilePtr = std::shared_ptr<DBProfile>;

    // Node URLs resolve through the given registry and view state (the shared ones when
    // null).
    explicit DerazKeysViewDataDelegate(DataStoreBO *registry = nullptr,
                                       SimpleDBStateManager *states = nullptr, QObject *parent = nullptr);
    ~DerazKeysViewDataDelegate() override;

    std::shared_ptr<SimpleDBViewState> dbViewState() const;

    // The tree's one column: "DataBase", showing each node's "name".
    static XXXNSTableColumnFieldList treeColumnsDef();
    // Gives the tree its column, then becomes its model (becomeDelegateOf).
    void attachTreeView(Pavisade::OutlineView *tree);
    // Shows the model in the tree (whose columns are set) and follows the user's
    // expansions and collapses.
    void becomeDelegateOf(Pavisade::OutlineView *tree);

    // --- Connecting, refreshing, closing ------------------------------------------------
    // Connects the profile (reload: forget the store's databases first, so a new
    // connection is opened) and shows its databases once they arrive.
    void connectToDBStoreWithProfile(const ProfilePtr &profile, bool reload = true);
    // Connects the profile without forgetting the store's databases; on success the
    // connection node is found or added (its children are kept for a Deraz connection)
    // and the given rows are redrawn. Nothing is posted.
    void connectToDBStoreWithProfile(const ProfilePtr &profile, const Bastwick::IndexSet &reloadAtIndex);
    // Rebuilds the tree by connecting every registered profile anew.
    void refresh();
    // Rebuilds the row of one node: connects its profile anew when no row shows the node,
    // else redraws that row from the store's databases.
    void refreshWithNodeURL(const QString &nodeURL);
    // Removes the profile's connection node.
    void closeDBStoreWithProfile(const ProfilePtr &profile);

    // --- Nodes ------------------------------------------------------------------------------
    Node connectionStoreRootMap(const ProfilePtr &profile) const;
    // The root of a local-file connection: a "Database" node named after the file.
    Node connectionDBRootMap(const ProfilePtr &profile) const;
    // Key rows made ahead of time, by database name.
    using KeyRowsByDatabase = QHash<QString, std::shared_ptr<DerazKeyLeafRows>>;
    // The database nodes; their key rows come from keyRows where made ahead, else are
    // made here.
    NodeList derazTreeNodeWithDBProfile(const ProfilePtr &profile,
                                        const QList<std::shared_ptr<DBDatabase>> &dbs,
                                        const KeyRowsByDatabase &keyRows = {}) const;
    // The database nodes of another engine, each with its table nodes.
    NodeList databasesTreeNodeWithDBProfile(const ProfilePtr &profile,
                                            const QList<std::shared_ptr<DBDatabase>> &dbs) const;
    // The table nodes of one database of another engine.
    NodeList tableTreeNodeWithDBProfile(const ProfilePtr &profile,
                                        const std::shared_ptr<DBDatabase> &db) const;
    // The profile's connection node among the top-level nodes, or null.
    Node findConnectionNodeMap(const ProfilePtr &profile) const;

    // --- Expansion and selection -----------------------------------------------------
    // "url" -> true when the user last expanded the node, false when collapsed.
    const QHash<QString, bool> &nodeExpandStateCache() const { return m_nodeExpandStateCache; }
    // Expands every connection and every node the user left expanded, then selects the
    // row of the view state's current node.
    void expandOpenNode();
    void updateNodeLastSelection();
    // Gives the view state a current node when it has none: the first key, else the first
    // database shown.
    void updateStateNodeURL();

    // --- Row look-ups (visible rows, from the top) --------------------------------------
    qint64 nodeItemIndex(const QString &url) const;
    Node findFirstTableNode() const;
    Node findFirstDatabaseNode() const;
    QString firstDatabaseNodeURL() const;
    QStringList databaseNodeURLs() const;
    // The number of shown rows of kind "Database" (Deraz databases are not counted).
    qint64 databaseNumbers() const;

    // The key bytes of a key node (a transient leaf row or a node with a "url").
    static QByteArray keyOfNode(const Node &node);

    // QAbstractItemModel
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Connects asked for whose completion has not arrived yet.
    int connectsInFlight() const { return m_connectsInFlight; }

signals:
    // After each completed connect, failed or not, with the profile it was asked for:
    // the screens that wait for a connection stop their spinners on a failure.
    void connectFinished(bool succeeded, const std::shared_ptr<DBProfile> &profile);

protected:
    void outlineViewSelectionIsChanging() override;
    QVariant objectValueForTableColumn(const QModelIndex &index) const override;

private:
    DataStoreBO &registry() const;
    SimpleDBStateManager &states() const;
    void connectCompletion(const ProfilePtr &requested, const ProfilePtr &profile,
                           const QList<std::shared_ptr<DBDatabase>> &dbs, bool reload,
                           const KeyRowsByDatabase &keyRows);
    void expandNode(const Node &node);
    // The profile's connection node; a new one is appended when there is none.
    Node connectionNodeFor(const ProfilePtr &profile);
    // The nodes under a connection of another engine (the local-file edition lists the
    // tables of its one database).
    NodeList otherEngineChildren(const ProfilePtr &profile,
                                 const QList<std::shared_ptr<DBDatabase>> &dbs) const;
    void replaceChildren(const Node &connection, const NodeList &children);
    static NodeList tableNodes(qint64 connID, const QString &dbName, const std::shared_ptr<DBDatabase> &db);
    // Database nodes of the shown levels, in row order.
    NodeList shownDatabaseNodes() const;

    DataStoreBO *m_registry = nullptr;
    SimpleDBStateManager *m_states = nullptr;
    QHash<QString, bool> m_nodeExpandStateCache;
    bool m_restoringSelection = false;
    int m_connectsInFlight = 0;
};

#include <kestrune/tree/DerazKeysViewDataDelegate.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/Localized.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBStore.h>
#include <kestrune/data/model/DBTable.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBImageCache.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/tree/DerazKeyLeafRows.h>
#include <kestrune/tree/KeyTreeItemDelegate.h>

#include <pavisade/sheets/AlertSheet.h>
#include <pavisade/tables/XXXNSTableColumnField.h>
#include <pavisade/trees/OutlineViewExtension.h>

#include <bastwick/ByteText.h>
#include <bastwick/URLMasking.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/NotificationCenter.h>

#include <algorithm>

#include <QtCore/QPointer>
#include <QtGui/QIcon>
#include <QtGui/QPixmap>

using Kestrune::L;

namespace {

QString lastPathComponent(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

// "<connection id>/<database name>": the URL of a database node.
QString databaseNodeURL(const DBProfile &profile, const DBDatabase &db)
{
    return QStringLiteral("%1/%2").arg(profile.connID()).arg(lastPathComponent(db.name()));
}

// "<connection id>/<database>/<table>": the URL of a table node.
QString tableNodeURL(qint64 connID, const QString &dbName, const QString &table)
{
    return QStringLiteral("%1/%2/%3").arg(connID).arg(dbName, table);
}

// The local-file connection row shows the look of its own cell, not the node's values.
const QString kSQLiteStoreTitle = QStringLiteral("SQLite");

bool isSQLiteStoreNode(const XXXTreeViewDataDelegate::Node &node)
{
    return node->value(QStringLiteral("type")).toString() == kStoreNode &&
           node->value(QStringLiteral("name")).toString() == kSQLiteURLScheme;
}

// Engines whose edition lists tables under its connections.
bool isTableEdition()
{
    return DBHelper::isSQLiteVersion() || DBHelper::isMySQLVersion() || DBHelper::isPostgreSQLVersion();
}

const QIcon &namedIcon(const QString &name)
{
    static QHash<QString, QIcon> icons;
    auto it = icons.find(name);
    if (it == icons.end())
        it = icons.insert(name, QIcon(QPixmap::fromImage(SimpleDBImageCache::imageNamed(name))));
    return it.value();
}

} // namespace

DerazKeysViewDataDelegate::DerazKeysViewDataDelegate(DataStoreBO *registry, SimpleDBStateManager *states,
                                                     QObject *parent)
    : XXXTreeViewDataDelegate(parent)
    , m_registry(registry)
    , m_states(states)
{
}

DerazKeysViewDataDelegate::~DerazKeysViewDataDelegate() = default;

DataStoreBO &DerazKeysViewDataDelegate::registry() const
{
    return m_registry ? *m_registry : DataStoreBO::sharedInstance();
}

SimpleDBStateManager &DerazKeysViewDataDelegate::states() const
{
    return m_states ? *m_states : SimpleDBStateManager::sharedInstance();
}

std::shared_ptr<SimpleDBViewState> DerazKeysViewDataDelegate::dbViewState() const
{
    return states().dbViewState();
}

XXXNSTableColumnFieldList DerazKeysViewDataDelegate::treeColumnsDef()
{
    XXXNSTableColumnField column;
    column.setTitle(QStringLiteral("DataBase"));
    column.setIdentifier(QStringLiteral("name"));
    column.setEditable(true);
    column.setHeaderAlignment(XXXNSTableColumnField::kAlignCenter);
    column.setDataAlignment(XXXNSTableColumnField::kAlignLeft);
    column.setCellType(XXXNSTableColumnField::kTextCell);
    return {column};
}

void DerazKeysViewDataDelegate::attachTreeView(Pavisade::OutlineView *tree)
{
    if (!tree)
        return;
    Pavisade::updateColumnsDef(tree, treeColumnsDef());
    becomeDelegateOf(tree);
}

void DerazKeysViewDataDelegate::becomeDelegateOf(Pavisade::OutlineView *tree)
{
    if (!tree)
        return;
    setOwner(tree);
    // Cells are only shown, never edited here, so the row look replaces the column's
    // text-cell delegate.
    tree->setItemDelegateForColumn(0, new KeyTreeItemDelegate(tree));
    connect(tree, &Pavisade::OutlineView::expanded, this, [this](const QModelIndex &index) {
        const Node node = nodeForIndex(index);
        if (!node || node->value(QStringLiteral("type")).toString() == kTableNode)
            return;
        XXXLog(QStringLiteral("nodeURL=%1").arg(Bastwick::maskedURL(node->url())));
        m_nodeExpandStateCache.insert(node->url(), true);
    });
    connect(tree, &Pavisade::OutlineView::collapsed, this, [this](const QModelIndex &index) {
        const Node node = nodeForIndex(index);
        if (!node || node->value(QStringLiteral("type")).toString() == kTableNode)
            return;
        XXXLog(QStringLiteral("outlineViewItemDidCollapse=%1").arg(Bastwick::maskedURL(node->url())));
        m_nodeExpandStateCache.insert(node->url(), false);
    });
}

// --- Connecting, refreshing, closing ------------------------------------------------------

void DerazKeysViewDataDelegate::connectToDBStoreWithProfile(const ProfilePtr &profile, bool reload)
{
    if (!profile)
        return;
    const DataStoreBO::StorePtr store = registry().dbStoreWithDBProfile(profile);
    if (!store)
        return;
    if (reload)
        store->reload();
    ++m_connectsInFlight;
    QPointer<DerazKeysViewDataDelegate> self(this);
    store->fetchDatabasesWithCallback([self, reload, profile](const DBStore::DatabaseList &databases,
                                                              const std::shared_ptr<DBProfile> &connected,
                                                              const std::optional<Bastwick::Error> &error) {
        if (!self)
            return;
        XXXLog(QStringLiteral("databases=%1").arg(databases.size()));
        if (error) {
            --self->m_connectsInFlight;
            XXXLog(QStringLiteral("connectToDBStoreWithProfile error =%1").arg(error->toString()));
            // A connection that could not be made again shows nothing it no longer has.
            if (const Node stale = self->findConnectionNodeMap(profile))
                self->deleteData(stale);
            // The alert names the server and the reason, on the tree's window.
            const QString text = L(QStringLiteral("ConnectFailedMessage"))
                                     .arg(profile->host())
                                     .arg(profile->port())
                                     .arg(error->description);
            Pavisade::showSheetModalForWindow(self->owner() ? self->owner()->window() : nullptr,
                                              L(QStringLiteral("Error")), text, Pavisade::AlertStyleWarning,
                                              L(QStringLiteral("Ok")));
            emit self->connectFinished(false, profile);
            return;
        }
        // Finding the blank keys reads every key name (a million of them can take the
        // main thread well past a frame), so the key rows are made on a worker; the key
        // lists are immutable shared values, safe to read there.
        QList<std::tuple<QString, QString, DerazKeyList>> lists;
        for (const std::shared_ptr<DBDatabase> &db : connected ? databases : DBStore::DatabaseList())
            if (const auto deraz = std::dynamic_pointer_cast<DerazDatabase>(db);
                deraz && !db->name().isNull())
                lists.append({db->name(), databaseNodeURL(*connected, *db), deraz->keys()});
        Bastwick::globalQueue()->async([self, reload, profile, databases, connected, lists] {
            auto rows = std::make_shared<KeyRowsByDatabase>();
            for (const auto &[name, url, keys] : lists)
                rows->insert(name, std::make_shared<DerazKeyLeafRows>(url, keys));
            Bastwick::mainQueue()->async([self, reload, profile, databases, connected, rows] {
                if (!self)
                    return;
                --self->m_connectsInFlight;
                self->connectCompletion(profile, connected, databases, reload, *rows);
            });
        });
    });
}

void DerazKeysViewDataDelegate::connectCompletion(const ProfilePtr &requested, const ProfilePtr &profile,
                                                  const QList<std::shared_ptr<DBDatabase>> &dbs, bool reload,
                                                  const KeyRowsByDatabase &keyRows)
{
    AppPreference *preference = AppPreference::sharedPreference();
    if (preference && preference->allowRemberPassword()) {
        preference->setMgUserName(profile->username());
        preference->setMgPassword(profile->password());
    }
    if (dbs.isEmpty()) {
        emit connectFinished(false, requested);
        return;
    }

    const Node connection = connectionNodeFor(profile);
    replaceChildren(connection, profile->scheme() == kDerazURLScheme
                                    ? derazTreeNodeWithDBProfile(profile, dbs, keyRows)
                                    : otherEngineChildren(profile, dbs));

    if (reload) {
        reloadData();
        expandOpenNode();
        updateStateNodeURL();
    }

    Bastwick::NotificationCenter::defaultCenter().post(kConnectionCompletionMsg);
    dbViewState()->dataStoreConnectCompletion();
    Bastwick::NotificationCenter::defaultCenter().post(kDBConnectServerStatusMsg);
    emit connectFinished(true, requested);
}

XXXTreeViewDataDelegate::Node DerazKeysViewDataDelegate::connectionNodeFor(const ProfilePtr &profile)
{
    Node connection = findConnectionNodeMap(profile);
    if (!connection) {
        connection =
            DBHelper::isSQLiteVersion() ? connectionDBRootMap(profile) : connectionStoreRootMap(profile);
        addData(connection);
    }
    return connection;
}

XXXTreeViewDataDelegate::NodeList
DerazKeysViewDataDelegate::otherEngineChildren(const ProfilePtr &profile,
                                               const QList<std::shared_ptr<DBDatabase>> &dbs) const
{
    if (!DBHelper::isSQLiteVersion())
        return databasesTreeNodeWithDBProfile(profile, dbs);
    // The local-file edition shows the tables of its one database right under the root.
    const std::shared_ptr<DBDatabase> db = dbs.value(0);
    if (!db)
        return {};
    db->refresh();
    return tableTreeNodeWithDBProfile(profile, db);
}

void DerazKeysViewDataDelegate::replaceChildren(const Node &connection, const NodeList &children)
{
    // A refreshed connection's rows are replaced in place, so the tree keeps its expansion,
    // selection and scroll position; a new connection gets its rows inserted.
    if (!connection->childNodes().isEmpty()) {
        replaceChildNodes(connection, children);
        return;
    }
    for (qsizetype i = 0; i < children.size(); ++i)
        insertChildNode(connection, children.at(i), i);
}

void DerazKeysViewDataDelegate::connectToDBStoreWithProfile(const ProfilePtr &profile,
                                                            const Bastwick::IndexSet &reloadAtIndex)
{
    if (!profile)
        return;
    const DataStoreBO::StorePtr store = registry().dbStoreWithDBProfile(profile);
    if (!store)
        return;
    QPointer<DerazKeysViewDataDelegate> self(this);
    store->fetchDatabasesWithCallback([self, reloadAtIndex](const DBStore::DatabaseList &databases,
                                                            const std::shared_ptr<DBProfile> &connected,
                                                            const std::optional<Bastwick::Error> &error) {
        if (!self)
            return;
        XXXLog(QStringLiteral("databases=%1").arg(databases.size()));
        if (error || !connected)
            return;
        if (!databases.isEmpty()) {
            const Node connection = self->connectionNodeFor(connected);
            // A Deraz connection keeps the children it has.
            if (isTableEdition())
                self->replaceChildren(connection, self->otherEngineChildren(connected, databases));
        }
        if (reloadAtIndex.isEmpty())
            return;
        for (const qint64 row : reloadAtIndex.toList())
            if (const Node node = self->itemOfRowInVisibleTreeView(row))
                self->noteNodeChanged(node);
        self->updateStateNodeURL();
    });
}

void DerazKeysViewDataDelegate::refreshWithNodeURL(const QString &nodeURL)
{
    const ProfilePtr profile = registry().profileByNodeURL(nodeURL);
    if (!profile)
        return;
    const qint64 row = nodeItemIndex(nodeURL);
    if (row < 0) {
        connectToDBStoreWithProfile(profile, true);
        expandOpenNode();
        return;
    }
    connectToDBStoreWithProfile(profile, Bastwick::IndexSet(row));
}

void DerazKeysViewDataDelegate::refresh()
{
    const QList<ProfilePtr> profiles = registry().dataStoreProfiles();
    // Connections no longer registered go now; the others stay on screen until their
    // new rows replace them.
    NodeList closed;
    for (const Node &node : treeMembers()) {
        const qint64 id = node->value(QStringLiteral("ID")).toLongLong();
        const bool registered = std::any_of(profiles.cbegin(), profiles.cend(),
                                            [id](const ProfilePtr &p) { return p && p->connID() == id; });
        if (!registered)
            closed.append(node);
    }
    deleteData(closed);
    for (const ProfilePtr &profile : profiles)
        connectToDBStoreWithProfile(profile, true);
}

void DerazKeysViewDataDelegate::closeDBStoreWithProfile(const ProfilePtr &profile)
{
    if (const Node node = findConnectionNodeMap(profile))
        deleteData(node);
}

// --- Nodes ------------------------------------------------------------------------------------

XXXTreeViewDataDelegate::Node
DerazKeysViewDataDelegate::connectionStoreRootMap(const ProfilePtr &profile) const
{
    QVariantMap values;
    values.insert(QStringLiteral("name"), profile->scheme());
    values.insert(QStringLiteral("type"), kStoreNode);
    values.insert(QStringLiteral("host"), profile->host());
    values.insert(QStringLiteral("port"), profile->port());
    values.insert(QStringLiteral("url"), profile->url());
    if (!profile->path().isNull())
        values.insert(QStringLiteral("path"), profile->scheme() == QLatin1String("sqlite")
                                                  ? QStringLiteral("local")
                                                  : profile->path());
    values.insert(QStringLiteral("ID"), profile->connID());
    return Pavisade::TreeNode::createWithChildren(values);
}

XXXTreeViewDataDelegate::Node DerazKeysViewDataDelegate::connectionDBRootMap(const ProfilePtr &profile) const
{
    const QString name = lastPathComponent(profile->url());
    QVariantMap values;
    values.insert(QStringLiteral("name"), name);
    values.insert(QStringLiteral("type"), kDatabaseNode);
    values.insert(QStringLiteral("host"), profile->host());
    values.insert(QStringLiteral("port"), profile->port());
    values.insert(QStringLiteral("url"), QStringLiteral("%1/%2").arg(profile->connID()).arg(name));
    values.insert(QStringLiteral("ID"), profile->connID());
    return Pavisade::TreeNode::createWithChildren(values);
}

XXXTreeViewDataDelegate::NodeList
DerazKeysViewDataDelegate::databasesTreeNodeWithDBProfile(const ProfilePtr &profile,
                                                          const QList<std::shared_ptr<DBDatabase>> &dbs) const
{
    NodeList nodes;
    for (const std::shared_ptr<DBDatabase> &db : dbs) {
        if (!db || db->name().isNull())
            continue;
        const QString name = lastPathComponent(db->name());
        QVariantMap values;
        values.insert(QStringLiteral("name"), name);
        values.insert(QStringLiteral("isSys"), db->isSystemDB());
        values.insert(QStringLiteral("type"), kDatabaseNode);
        values.insert(QStringLiteral("url"), QStringLiteral("%1/%2").arg(profile->connID()).arg(name));
        Node node = Pavisade::TreeNode::createWithChildren(values);
        // The table nodes carry the database node's name in their URLs.
        for (const Node &table : tableNodes(profile->connID(), name, db))
            node->appendChild(table);
        nodes.append(node);
    }
    return nodes;
}

XXXTreeViewDataDelegate::NodeList
DerazKeysViewDataDelegate::tableTreeNodeWithDBProfile(const ProfilePtr &profile,
                                                      const std::shared_ptr<DBDatabase> &db) const
{
    if (!db)
        return {};
    return tableNodes(profile->connID(), db->name(), db);
}

XXXTreeViewDataDelegate::NodeList DerazKeysViewDataDelegate::tableNodes(qint64 connID, const QString &dbName,
                                                                        const std::shared_ptr<DBDatabase> &db)
{
    NodeList nodes;
    for (const std::shared_ptr<DBTable> &table : db->tables()) {
        if (!table)
            continue;
        QVariantMap values;
        values.insert(QStringLiteral("name"), table->name());
        values.insert(QStringLiteral("isSys"), table->isSystemTable());
        values.insert(QStringLiteral("count"), QString::number(table->numberOfRecords()));
        values.insert(QStringLiteral("type"), kTableNode);
        values.insert(QStringLiteral("url"), tableNodeURL(connID, dbName, table->name()));
        nodes.append(Pavisade::TreeNode::create(values));
    }
    return nodes;
}

XXXTreeViewDataDelegate::NodeList
DerazKeysViewDataDelegate::derazTreeNodeWithDBProfile(const ProfilePtr &profile,
                                                      const QList<std::shared_ptr<DBDatabase>> &dbs,
                                                      const KeyRowsByDatabase &keyRows) const
{
    NodeList nodes;
    for (const std::shared_ptr<DBDatabase> &db : dbs) {
        if (!db || db->name().isNull())
            continue;
        const QString name = lastPathComponent(db->name());
        const QString url = databaseNodeURL(*profile, *db);
        const auto deraz = std::dynamic_pointer_cast<DerazDatabase>(db);
        const DerazKeyList keys = deraz ? deraz->keys() : DerazKeyList();
        QVariantMap values;
        values.insert(QStringLiteral("name"), name);
        values.insert(QStringLiteral("type"), kDerazNode);
        values.insert(QStringLiteral("count"), QString::number(keys.size()));
        values.insert(QStringLiteral("url"), url);
        Node node = Pavisade::TreeNode::createWithChildren(values);
        std::shared_ptr<DerazKeyLeafRows> rows = keyRows.value(db->name());
        if (!rows)
            rows = std::make_shared<DerazKeyLeafRows>(url, keys);
        node->setLeafRows(rows);
        nodes.append(node);
    }
    return nodes;
}

XXXTreeViewDataDelegate::Node
DerazKeysViewDataDelegate::findConnectionNodeMap(const ProfilePtr &profile) const
{
    if (!profile)
        return {};
    for (const Node &node : treeMembers()) {
        if (DataStoreBO::connIDByNodeURL(node->url()) == profile->connID() ||
            node->value(QStringLiteral("ID")).toLongLong() == profile->connID())
            return node;
    }
    return {};
}

QByteArray DerazKeysViewDataDelegate::keyOfNode(const Node &node)
{
    if (!node)
        return {};
    if (node->isLeafRow()) {
        if (auto rows = std::dynamic_pointer_cast<DerazKeyLeafRows>(node->leafParent()->leafRows()))
            return rows->keyAt(node->leafIndex());
    }
    return DataStoreBO::keyNameByURL(node->url());
}

// --- Expansion and selection ---------------------------------------------------------------

void DerazKeysViewDataDelegate::expandNode(const Node &node)
{
    if (owner())
        owner()->expand(indexForNode(node));
}

void DerazKeysViewDataDelegate::expandOpenNode()
{
    if (!owner())
        return;
    for (const Node &connection : treeMembers()) {
        expandNode(connection);
        for (const Node &child : connection->childNodes()) {
            if (m_nodeExpandStateCache.value(child->url(), false))
                expandNode(child);
        }
    }
    updateNodeLastSelection();
}

void DerazKeysViewDataDelegate::updateNodeLastSelection()
{
    // A selection the rebuild kept is left as it is.
    if (!owner() || !owner()->selectionModel() || owner()->selectionModel()->hasSelection())
        return;
    const QString url = dbViewState()->currentNodeURL();
    if (url.isEmpty())
        return;
    // Find the node without walking the visible rows: connection, database, key.
    const QString dbURL = DataStoreBO::dbStoreURLFromNodeURL(url);
    QModelIndex found;
    for (const Node &connection : treeMembers()) {
        for (const Node &db : connection->childNodes()) {
            if (db->url() != dbURL)
                continue;
            if (DataStoreBO::tableNameByURL(url).isNull()) {
                found = indexForNode(db);
            } else if (db->leafRows() && owner()->isExpanded(indexForNode(db))) {
                const qsizetype leaf = db->leafRows()->indexOfUrl(url);
                if (leaf >= 0)
                    found = index(int(db->childNodes().size() + leaf), 0, indexForNode(db));
            }
        }
    }
    if (!found.isValid() || !owner()->isExpanded(found.parent()))
        return;
    // Selecting a row again tells nobody: the view state already holds it.
    m_restoringSelection = true;
    owner()->selectionModel()->setCurrentIndex(found, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
    m_restoringSelection = false;
}

void DerazKeysViewDataDelegate::updateStateNodeURL()
{
    const auto state = dbViewState();
    if (!state->currentNodeURL().isNull())
        return;
    Node node = findFirstTableNode();
    if (!node)
        node = findFirstDatabaseNode();
    if (node)
        state->setCurrentNodeURL(node->url());
}

void DerazKeysViewDataDelegate::outlineViewSelectionIsChanging()
{
    if (m_restoringSelection || !owner() || !owner()->selectionModel())
        return;
    QModelIndex selected = owner()->selectionModel()->currentIndex();
    if (!selected.isValid() || !owner()->selectionModel()->isSelected(selected)) {
        const QModelIndexList rows = owner()->selectionModel()->selectedRows();
        selected = rows.isEmpty() ? QModelIndex() : rows.first();
    }
    const Node node = nodeForIndex(selected);
    if (!node)
        return;
    const QString url = node->url();
    const QString type = node->value(QStringLiteral("type")).toString();
    XXXLog(QStringLiteral("Node url =%1 type =%2 \n").arg(Bastwick::maskedURL(url), type));
    if (url.isEmpty())
        return;
    if (type == kDatabaseNode || type == kDerazNode)
        dbViewState()->dataStoreSelectedSchemaChanged(url);
    else if (type == kTableNode || type == kDerazKeyNode)
        dbViewState()->dataStoreSelectedUnitChanged(url);
}

// --- Row look-ups ------------------------------------------------------------------------------

qint64 DerazKeysViewDataDelegate::nodeItemIndex(const QString &url) const
{
    return indexOfUrlInVisibleTreeView(url);
}

XXXTreeViewDataDelegate::Node DerazKeysViewDataDelegate::findFirstTableNode() const
{
    const qint64 rows = visibleRowCount();
    for (qint64 row = 0; row < rows; ++row) {
        const Node node = itemOfRowInVisibleTreeView(row);
        const QString type = node ? node->value(QStringLiteral("type")).toString() : QString();
        if (type == kTableNode || type == kDerazKeyNode)
            return node;
    }
    return {};
}

XXXTreeViewDataDelegate::Node DerazKeysViewDataDelegate::findFirstDatabaseNode() const
{
    const qint64 rows = visibleRowCount();
    for (qint64 row = 0; row < rows; ++row) {
        const Node node = itemOfRowInVisibleTreeView(row);
        const QString type = node ? node->value(QStringLiteral("type")).toString() : QString();
        if (type == kDatabaseNode || type == kDerazNode)
            return node;
    }
    return {};
}

QString DerazKeysViewDataDelegate::firstDatabaseNodeURL() const
{
    const Node node = findFirstDatabaseNode();
    return node ? node->url() : QString();
}

XXXTreeViewDataDelegate::NodeList DerazKeysViewDataDelegate::shownDatabaseNodes() const
{
    // Database nodes are never leaf rows, so only the shown node levels are walked: an
    // expanded database's keys are passed over, however many there are.
    NodeList found;
    if (!owner())
        return found;
    std::function<void(const NodeList &)> walk = [&](const NodeList &nodes) {
        for (const Node &node : nodes) {
            const QString type = node->value(QStringLiteral("type")).toString();
            if (type == kDatabaseNode || type == kDerazNode)
                found.append(node);
            if (owner()->isExpanded(indexForNode(node)))
                walk(node->childNodes());
        }
    };
    walk(treeMembers());
    return found;
}

QStringList DerazKeysViewDataDelegate::databaseNodeURLs() const
{
    QStringList urls;
    for (const Node &node : shownDatabaseNodes())
        urls.append(node->url());
    return urls;
}

qint64 DerazKeysViewDataDelegate::databaseNumbers() const
{
    qint64 count = 0;
    for (const Node &node : shownDatabaseNodes())
        if (node->value(QStringLiteral("type")).toString() == kDatabaseNode)
            ++count;
    return count;
}

// --- Cells ----------------------------------------------------------------------------------------

QVariant DerazKeysViewDataDelegate::objectValueForTableColumn(const QModelIndex &index) const
{
    const Node node = nodeForIndex(index);
    if (node && !node->isLeafRow() && isSQLiteStoreNode(node))
        return kSQLiteStoreTitle;
    const QVariant value = XXXTreeViewDataDelegate::objectValueForTableColumn(index);
    if (node && !node->isLeafRow() && node->value(QStringLiteral("type")).toString() == kDerazNode)
        return QStringLiteral("%1(%2)").arg(value.toString(),
                                            node->value(QStringLiteral("count")).toString());
    return value;
}

QVariant DerazKeysViewDataDelegate::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DecorationRole || role == KeyTreeItemDelegate::DetailRole) {
        const Node node = nodeForIndex(index);
        if (!node || index.column() != 0)
            return {};
        const QString type = node->value(QStringLiteral("type")).toString();
        const bool isSys = node->value(QStringLiteral("isSys")).toBool();
        if (role == KeyTreeItemDelegate::DetailRole) {
            if (type == kStoreNode && !isSQLiteStoreNode(node))
                return QStringLiteral("%1:%2")
                    .arg(node->value(QStringLiteral("host")).toString())
                    .arg(node->value(QStringLiteral("port")).toLongLong());
            if (type == kTableNode)
                return node->value(QStringLiteral("count")).toString();
            return {};
        }
        if (isSQLiteStoreNode(node))
            return namedIcon(QStringLiteral("DBDocs"));
        if (type == kStoreNode) {
            const QString scheme = node->value(QStringLiteral("name")).toString();
            return namedIcon(scheme == QLatin1String("mysql")      ? QStringLiteral("mysql-node")
                             : scheme == QLatin1String("postgres") ? QStringLiteral("postgresql-node")
                                                                   : QStringLiteral("deraz"));
        }
        if (type == kDatabaseNode)
            return namedIcon(isSys ? QStringLiteral("DBDatabase-Sys") : QStringLiteral("DBDatabase"));
        if (type == kTableNode)
            return namedIcon(isSys ? QStringLiteral("DBTable-Sys") : QStringLiteral("DBDocs"));
        if (type == kDerazNode)
            return namedIcon(QStringLiteral("DBDatabase"));
        if (type == kDerazKeyNode)
            return namedIcon(QStringLiteral("column-key"));
        return {};
    }
    return XXXTreeViewDataDelegate::data(index, role);
}

Qt::ItemFlags DerazKeysViewDataDelegate::flags(const QModelIndex &index) const
{
    // Cells are not edited in place: a double click opens the key instead.
    return XXXTreeViewDataDelegate::flags(index) & ~Qt::ItemIsEditable;
}

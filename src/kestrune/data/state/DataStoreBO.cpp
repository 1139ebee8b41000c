#include <kestrune/data/state/DataStoreBO.h>

#include <kestrune/data/deraz/DerazContainer.h>
#include <kestrune/data/model/DBConnection.h>
#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBStore.h>
#include <kestrune/data/model/DBTable.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/records/DBProfile.h>

#include <corbelan/services/XXXTablePageControll.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QMutexLocker>

#include <algorithm>

namespace {

const QLatin1Char kSeparator('/');

// The node URL cut into at most three parts: connection, database, and the rest.
QStringList nodeParts(const QString &nodeURL)
{
    QStringList parts;
    if (nodeURL.isNull())
        return parts;
    const qsizetype first = nodeURL.indexOf(kSeparator);
    if (first < 0) {
        parts.append(nodeURL);
        return parts;
    }
    parts.append(nodeURL.left(first));
    const qsizetype second = nodeURL.indexOf(kSeparator, first + 1);
    if (second < 0) {
        parts.append(nodeURL.mid(first + 1));
    } else {
        parts.append(nodeURL.mid(first + 1, second - first - 1));
        parts.append(nodeURL.mid(second + 1));
    }
    // A part between separators is an empty text, never a null one.
    for (QString &part : parts) {
        if (part.isNull())
            part = QStringLiteral("");
    }
    return parts;
}

} // namespace

DataStoreBO &DataStoreBO::sharedInstance()
{
    static DataStoreBO instance;
    return instance;
}

DataStoreBO::DataStoreBO(AppPreference *preference)
    : m_preference(preference)
{
}

DataStoreBO::~DataStoreBO() = default;

// --- Node URLs -----------------------------------------------------------------------

qint64 DataStoreBO::connIDByNodeURL(const QString &nodeURL)
{
    const QStringList parts = nodeParts(nodeURL);
    if (parts.isEmpty())
        return 0;
    const QString &first = parts.first();
    qsizetype digits = 0;
    while (digits < first.size() && first.at(digits) >= QLatin1Char('0') &&
           first.at(digits) <= QLatin1Char('9'))
        ++digits;
    bool ok = false;
    const qint64 id = first.left(digits).toLongLong(&ok);
    return ok ? id : 0;
}

QString DataStoreBO::dbNameByURL(const QString &nodeURL)
{
    const QStringList parts = nodeParts(nodeURL);
    return parts.size() >= 2 ? parts.at(1) : QString();
}

QString DataStoreBO::tableNameByURL(const QString &nodeURL)
{
    const QStringList parts = nodeParts(nodeURL);
    return parts.size() >= 3 ? parts.at(2) : QString();
}

QByteArray DataStoreBO::keyNameByURL(const QString &nodeURL)
{
    return Bastwick::bytesFromText(tableNameByURL(nodeURL));
}

QString DataStoreBO::dbStoreURLFromNodeURL(const QString &nodeURL)
{
    const QStringList parts = nodeParts(nodeURL);
    if (parts.size() < 2)
        return QString();
    return parts.at(0) + kSeparator + parts.at(1);
}

QString DataStoreBO::dbNodeURLWithStore(const DBStore &store, const QString &dbName)
{
    const qint64 id = store.profile() ? store.profile()->connID() : 0;
    return QString::number(id) + kSeparator + dbName;
}

QString DataStoreBO::keyNodeURL(const QString &dbNodeURL, const QByteArray &key)
{
    return dbNodeURL + kSeparator + Bastwick::textFromBytes(key);
}

// --- Registration --------------------------------------------------------------------

qint64 DataStoreBO::generateConnectionID()
{
    QMutexLocker locker(&m_lock);
    return ++m_connectionID;
}

DataStoreBO::ProfilePtr DataStoreBO::findProfileByURLString(const QString &url) const
{
    if (url.isEmpty())
        return nullptr;
    QMutexLocker locker(&m_lock);
    const auto found = m_entries.constFind(url);
    return found == m_entries.cend() ? nullptr : entryProfile(url, *found);
}

DataStoreBO::ProfilePtr DataStoreBO::entryProfile(const QString &url, const Entry &entry)
{
    // The first object stands for the connection while it still names it; once its
    // fields name another server (one form reused for the next connection), the copy
    // taken at registration does.
    return entry.profile && entry.profile->url() == url ? entry.profile : entry.snapshot;
}

QHash<QString, DataStoreBO::Entry>::const_iterator DataStoreBO::entryOfConnection(qint64 id) const
{
    // A handful of connections at most: looked for rather than indexed a second time.
    return std::find_if(m_entries.cbegin(), m_entries.cend(),
                        [id](const Entry &entry) { return entry.connID == id; });
}

void DataStoreBO::cacheDBProfile(const ProfilePtr &profile)
{
    if (!profile)
        return;
    // The profile URL is the registration key: a profile without one is not registered.
    if (profile->url().isEmpty()) {
        XXXLogWarning(QStringLiteral("a profile without a URL cannot be registered"));
        return;
    }
    QMutexLocker locker(&m_lock);
    const QString url = profile->url();
    if (const auto found = m_entries.constFind(url); found != m_entries.cend()) {
        profile->setConnID(found->connID);
        remember(profile);
        return;
    }
    const qint64 id = generateConnectionID();
    profile->setConnID(id);
    // The connection keeps a copy of the profile as it was registered: the caller's
    // object may be edited and registered again for another server, and this
    // connection must still be found and closed as itself.
    ProfilePtr snapshot = profile->copy();
    m_entries.insert(url, Entry{profile, snapshot, id});
    m_profileOrder.append(url);
    remember(profile);
}

void DataStoreBO::remember(const ProfilePtr &profile)
{
    m_registrations.removeIf([](const auto &entry) { return entry.value().profile.expired(); });
    m_registrations.insert(profile.get(), Registration{profile, profile->url(), profile->connID()});
}

std::optional<DataStoreBO::Registration> DataStoreBO::registrationOf(const ProfilePtr &profile) const
{
    if (!profile)
        return std::nullopt;
    const auto found = m_registrations.constFind(profile.get());
    // The key is an address: an entry of a profile object that is gone does not count.
    if (found == m_registrations.cend() || found->profile.lock() != profile)
        return std::nullopt;
    return *found;
}

DataStoreBO::StorePtr DataStoreBO::dbStoreWithDBProfile(const ProfilePtr &profile)
{
    if (!profile || profile->scheme() == kSQLiteURLScheme)
        return nullptr;
    QMutexLocker locker(&m_lock);
    cacheDBProfile(profile);
    const auto entry = m_entries.constFind(profile->url());
    if (entry == m_entries.cend())
        return nullptr;
    const qint64 id = entry->connID;
    if (StorePtr store = m_storeCache.value(id))
        return store;
    if (profile->scheme() != kDerazURLScheme)
        return nullptr;
    DerazContainer &container = DerazContainer::sharedInstance();
    if (!container.canConnectToDBProfile(*profile))
        return nullptr;
    // Made with the registration's copy: the store reconnects to the server it was made
    // for, whatever the caller's object names later.
    StorePtr store = container.storeWithDBProfile(entry->snapshot);
    if (store)
        m_storeCache.insert(id, store);
    return store;
}

void DataStoreBO::cacheDBStore(const ProfilePtr &profile, const StorePtr &store)
{
    if (!profile || !store)
        return;
    QMutexLocker locker(&m_lock);
    cacheDBProfile(profile);
    if (const auto entry = m_entries.constFind(profile->url()); entry != m_entries.cend())
        m_storeCache.insert(entry->connID, store);
}

QList<DataStoreBO::ProfilePtr> DataStoreBO::dataStoreProfiles() const
{
    QMutexLocker locker(&m_lock);
    QList<ProfilePtr> profiles;
    for (const QString &url : m_profileOrder)
        profiles.append(entryProfile(url, m_entries.value(url)));
    return profiles;
}

DataStoreBO::ProfilePtr DataStoreBO::sqliteProfile()
{
    QMutexLocker locker(&m_lock);
    if (!m_sqliteProfile) {
        auto profile = std::make_shared<DBProfile>();
        profile->setHost(QStringLiteral(""));
        profile->setUsername(QStringLiteral(""));
        profile->setPassword(QStringLiteral(""));
        profile->setPort(0);
        profile->setScheme(kSQLiteURLScheme);
        profile->setUrl(QStringLiteral("sqlite-node"));
        profile->setConnID(generateConnectionID());
        m_sqliteProfile = profile;
    }
    return m_sqliteProfile;
}

// --- Look-ups ------------------------------------------------------------------------

DataStoreBO::StorePtr DataStoreBO::dbStoreByNodeURL(const QString &nodeURL) const
{
    const qint64 id = connIDByNodeURL(nodeURL);
    QMutexLocker locker(&m_lock);
    return m_storeCache.value(id);
}

DataStoreBO::ProfilePtr DataStoreBO::profileByNodeURL(const QString &nodeURL) const
{
    const qint64 id = connIDByNodeURL(nodeURL);
    QMutexLocker locker(&m_lock);
    const StorePtr store = m_storeCache.value(id);
    if (!store)
        return nullptr;
    const auto entry = entryOfConnection(id);
    return entry == m_entries.cend() ? store->profile() : entryProfile(entry.key(), *entry);
}

QString DataStoreBO::dbSchemaByNodeURL(const QString &nodeURL) const
{
    const ProfilePtr profile = profileByNodeURL(nodeURL);
    return profile ? profile->scheme() : QString();
}

std::shared_ptr<DBDatabase> DataStoreBO::databaseByNodeURL(const QString &nodeURL) const
{
    if (nodeURL.isNull())
        return nullptr;
    const QString name = dbNameByURL(nodeURL);
    if (name.isNull())
        return nullptr;
    const StorePtr store = dbStoreByNodeURL(nodeURL);
    return store ? store->databaseWithName(name) : nullptr;
}

std::shared_ptr<DBTable> DataStoreBO::tableByNodeURL(const QString &nodeURL, bool refresh) const
{
    const auto database = databaseByNodeURL(nodeURL);
    if (!database)
        return nullptr;
    const QString name = tableNameByURL(nodeURL);
    return refresh ? database->queryTableWithName(name) : database->tableWithName(name);
}

void DataStoreBO::cacheConnectionNode(const QString &nodeURL, const QVariant &node)
{
    if (nodeURL.isEmpty() || !node.isValid())
        return;
    QMutexLocker locker(&m_lock);
    m_connectionNodeMap.insert(nodeURL, node);
    m_connectionCache.insert(connIDByNodeURL(nodeURL), QVariantMap{{QStringLiteral("connectionNode"), node}});
}

QVariant DataStoreBO::findConnectionNodeByURLString(const QString &nodeURL) const
{
    if (nodeURL.isEmpty())
        return {};
    QMutexLocker locker(&m_lock);
    return m_connectionNodeMap.value(nodeURL);
}

QVariant DataStoreBO::connectionNodeByID(qint64 connID) const
{
    QMutexLocker locker(&m_lock);
    return m_connectionCache.value(connID).value(QStringLiteral("connectionNode"));
}

QVariant DataStoreBO::connectionNodeByNodeURL(const QString &nodeURL) const
{
    return connectionNodeByID(connIDByNodeURL(nodeURL));
}

QList<qint64> DataStoreBO::reConnect()
{
    QList<StorePtr> stores;
    QList<qint64> ids;
    {
        QMutexLocker locker(&m_lock);
        for (auto it = m_connectionNodeMap.cbegin(); it != m_connectionNodeMap.cend(); ++it) {
            const qint64 id = connIDByNodeURL(it.key());
            const StorePtr store = m_storeCache.value(id);
            if (!store || ids.contains(id))
                continue;
            ids.append(id);
            stores.append(store);
        }
    }
    // Outside the registry's lock: the stores take their own.
    for (const StorePtr &store : stores)
        store->reload();
    std::sort(ids.begin(), ids.end());
    return ids;
}

// --- Page controllers ----------------------------------------------------------------

int DataStoreBO::pageSize() const
{
    AppPreference *preference = m_preference ? m_preference : AppPreference::sharedPreference();
    return preference->pageSize();
}

DataStoreBO::PageControllPtr DataStoreBO::tablePageControllWithURL(const QString &nodeURL)
{
    // The row count may run a statement: taken before the registry's lock.
    const auto table = tableByNodeURL(nodeURL);
    const qint64 records = table ? table->numberOfRecords() : 0;
    const int size = pageSize();
    QMutexLocker locker(&m_lock);
    PageControllPtr controller = m_tablePageControllCache.value(nodeURL);
    if (!controller) {
        controller = std::make_shared<XXXTablePageControll>();
        m_tablePageControllCache.insert(nodeURL, controller);
    }
    controller->updatePageSize(size, records);
    controller->computeNumberOfPages();
    return controller;
}

DataStoreBO::PageControllPtr DataStoreBO::queryPageControllWithURL(const QString &nodeURL, const QString &sql)
{
    auto controller = std::make_shared<XXXTablePageControll>();
    const auto database = databaseByNodeURL(nodeURL);
    controller->updatePageSize(pageSize(), database ? database->numberOfQueryRecords(sql) : 0);
    controller->computeNumberOfPages();
    return controller;
}

DataStoreBO::PageControllPtr DataStoreBO::queryCollectionPageControllWithURL(const QString &nodeURL,
                                                                             const QString &sql,
                                                                             const QString &collection)
{
    Q_UNUSED(nodeURL);
    Q_UNUSED(sql);
    Q_UNUSED(collection);
    return std::make_shared<XXXTablePageControll>();
}

// --- Closing -------------------------------------------------------------------------

void DataStoreBO::closeDataStoreByProfile(const ProfilePtr &profile)
{
    if (!profile)
        return;
    QMutexLocker locker(&m_lock);
    // A profile object closes the connection it was last registered for, even when its
    // URL and identifier fields were edited since; a connection's own copy closes that
    // connection; any other object closes the entry under its URL.
    if (const std::optional<Registration> own = registrationOf(profile)) {
        closeEntry(own->url, own->connID);
        return;
    }
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (it->snapshot == profile) {
            closeEntry(it.key(), it->connID);
            return;
        }
    }
    const QString url = profile->url();
    if (url.isNull())
        return;
    const auto entry = m_entries.constFind(url);
    closeEntry(url, entry != m_entries.cend() ? entry->connID : profile->connID());
}

void DataStoreBO::closeEntry(QString url, qint64 id)
{
    // The entry under the URL goes only when it is still the connection being closed.
    if (const auto entry = m_entries.constFind(url); entry != m_entries.cend() && entry->connID == id) {
        m_entries.erase(entry);
        m_profileOrder.removeAll(url);
    }
    m_registrations.removeIf([id](const auto &registration) { return registration.value().connID == id; });
    // Closing ends at once whatever still waits on the server (a blocked console line).
    const StorePtr store = m_storeCache.take(id);
    if (const auto databases = store ? store->databases() : DBStore::DatabaseList(); !databases.isEmpty())
        if (const auto &connection = databases.constFirst()->connection())
            connection->close(nullptr);
}

void DataStoreBO::closeDataStoreByProfiles(const QList<ProfilePtr> &profiles)
{
    for (const ProfilePtr &profile : profiles)
        closeDataStoreByProfile(profile);
}

void DataStoreBO::closeDataStoreByConnIDs(const QVariantList &connIDs)
{
    // Each identifier closes its own connection, whichever profile object made it.
    QMutexLocker locker(&m_lock);
    for (const QVariant &value : connIDs) {
        const qint64 id = value.toLongLong();
        if (!m_storeCache.contains(id))
            continue;
        const auto entry = entryOfConnection(id);
        closeEntry(entry == m_entries.cend() ? QString() : entry.key(), id);
    }
}

void DataStoreBO::closeDataStore(const QString &nodeURL)
{
    QMutexLocker locker(&m_lock);
    m_connectionCache.remove(connIDByNodeURL(nodeURL));
    m_connectionNodeMap.remove(nodeURL);
}

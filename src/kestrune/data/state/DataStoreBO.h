#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QRecursiveMutex>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>

#include <memory>
#include <optional>

class AppPreference;
class DBDatabase;
class DBProfile;
class DBStore;
class DBTable;
class XXXTablePageControll;

// The registry through which the screens reach a server: it gives every registered
// profile a connection identifier, keeps one store per identifier, and resolves node
// URLs back to profiles, stores, databases and tables. It sends no command of its own.
//
// Node URLs: "<connection id>" for a connection, "<id>/<database>" for a database and
// "<id>/<database>/<key>" for a key or table. They split into at most three parts, so a
// key name may hold "/"; key bytes travel in them through Bastwick's lossless decoding.
//
// The connection identifier lives in the profile's connID (the row key ID is never
// touched). Identifiers count from 1, equal profile URLs share one, and none is reused
// while the program runs. Every operation may be called from any thread.
class DataStoreBO
{
public:
    using ProfilePtr = std::shared_ptr<DBProfile>;
    using StorePtr = std::shared_ptr<DBStore>;
    using PageControllPtr = std::shared_ptr<XXXTablePageControll>;

    static DataStoreBO &sharedInstance();

    // Page sizes are read from the given preferences (the shared ones when null).
    explicit DataStoreBO(AppPreference *preference = nullptr);
    ~DataStoreBO();
    DataStoreBO(const DataStoreBO &) = delete;
    DataStoreBO &operator=(const DataStoreBO &) = delete;

    // --- Node URLs (pure text operations) ---------------------------------------------
    // The leading decimal digits of the first part; 0 when there are none.
    static qint64 connIDByNodeURL(const QString &nodeURL);
    // The second part, or a null text when there is none.
    static QString dbNameByURL(const QString &nodeURL);
    // Everything after the second "/", or a null text when there is none.
    static QString tableNameByURL(const QString &nodeURL);
    // The key bytes of a key node URL (empty when there is no key part).
    static QByteArray keyNameByURL(const QString &nodeURL);
    // The database node URL of a database or key node; a null text for a connection node.
    static QString dbStoreURLFromNodeURL(const QString &nodeURL);
    static QString dbNodeURLFromURL(const QString &nodeURL) { return dbStoreURLFromNodeURL(nodeURL); }
    // "<connID>/<name>" for a store's profile.
    static QString dbNodeURLWithStore(const DBStore &store, const QString &dbName);
    // "<database node URL>/<key>", the key bytes decoded losslessly.
    static QString keyNodeURL(const QString &dbNodeURL, const QByteArray &key);

    // --- Registration -----------------------------------------------------------------
    qint64 generateConnectionID();
    ProfilePtr findProfileByURLString(const QString &url) const;
    // Gives the profile its connection identifier: that of the registered profile with
    // the same url, else a new one (and the profile is registered under its url). A
    // profile without a url is left as it is, with a warning.
    void cacheDBProfile(const ProfilePtr &profile);
    // Registers the profile and answers its store (made by the Deraz container the first
    // time); null for a scheme other than "deraz" (the registration stays). A profile
    // without a URL is neither registered nor given a store.
    StorePtr dbStoreWithDBProfile(const ProfilePtr &profile);
    // Registers the profile and keeps the given store for it: the store of an engine the
    // registry does not make itself. Later look-ups answer it like any other store; the
    // local-file scheme still answers none. A null store or a profile without a url: no
    // effect.
    void cacheDBStore(const ProfilePtr &profile, const StorePtr &store);
    QList<ProfilePtr> dataStoreProfiles() const;
    // The built-in local-file profile (its first read takes a connection identifier).
    ProfilePtr sqliteProfile();

    // --- Look-ups by node URL (null on every miss) ------------------------------------
    StorePtr dbStoreByNodeURL(const QString &nodeURL) const;
    ProfilePtr profileByNodeURL(const QString &nodeURL) const;
    QString dbSchemaByNodeURL(const QString &nodeURL) const;
    std::shared_ptr<DBDatabase> databaseByNodeURL(const QString &nodeURL) const;
    std::shared_ptr<DBTable> tableByNodeURL(const QString &nodeURL, bool refresh = false) const;

    // Connection nodes of the key tree, kept by node URL and by connection identifier.
    void cacheConnectionNode(const QString &nodeURL, const QVariant &node);
    QVariant findConnectionNodeByURLString(const QString &nodeURL) const;
    QVariant connectionNodeByID(qint64 connID) const;
    QVariant connectionNodeByNodeURL(const QString &nodeURL) const;
    // Visits every connection node: the store registered under each node's connection
    // identifier forgets its databases, so its next fetch opens a new connection. Sends
    // nothing itself. Answers the identifiers whose stores were reset, in ascending order.
    QList<qint64> reConnect();

    // --- Page controllers --------------------------------------------------------------
    // One controller per node URL, updated on every call with the page size and the
    // table's row count.
    PageControllPtr tablePageControllWithURL(const QString &nodeURL);
    // A new controller on every call, counting the rows of the query.
    PageControllPtr queryPageControllWithURL(const QString &nodeURL, const QString &sql);
    // A new, unconfigured controller.
    PageControllPtr queryCollectionPageControllWithURL(const QString &nodeURL, const QString &sql,
                                                       const QString &collection);

    // --- Closing (registry entries only; nothing is sent) ------------------------------
    // Closes by the URL and identifier the profile object was last registered with, so a
    // profile edited after it connected still closes its own entry.
    void closeDataStoreByProfile(const ProfilePtr &profile);
    void closeDataStoreByProfiles(const QList<ProfilePtr> &profiles);
    // Identifiers as numbers or decimal texts; each closes the connection registered
    // under it (an identifier without a store: nothing).
    void closeDataStoreByConnIDs(const QVariantList &connIDs);
    void closeDataStore(const QString &nodeURL);

private:
    // The URL and identifier a profile object was given when it was registered.
    struct Registration
    {
        std::weak_ptr<DBProfile> profile;
        QString url;
        qint64 connID = 0;
    };

    // One registered connection: the first profile object registered under its URL, the
    // copy of it taken then (its store is made with the copy), and its identifier.
    struct Entry
    {
        ProfilePtr profile;
        ProfilePtr snapshot;
        qint64 connID = 0;
    };

    int pageSize() const;
    void remember(const ProfilePtr &profile);
    std::optional<Registration> registrationOf(const ProfilePtr &profile) const;
    static ProfilePtr entryProfile(const QString &url, const Entry &entry);
    // The entry of the connection with that identifier, or the entries' end.
    QHash<QString, Entry>::const_iterator entryOfConnection(qint64 id) const;
    // Drops the entry of the URL (when it is still that identifier's) and the store of
    // the identifier, and closes the store's connection. Under the lock.
    // Takes the URL by value: callers pass keys of the entries this erases.
    void closeEntry(QString url, qint64 id);

    AppPreference *m_preference = nullptr;
    mutable QRecursiveMutex m_lock;
    qint64 m_connectionID = 0;
    QHash<QString, Entry> m_entries; // by profile URL
    QHash<const DBProfile *, Registration> m_registrations;
    QList<QString> m_profileOrder; // registration order of the entries' URLs
    QHash<qint64, StorePtr> m_storeCache;
    QHash<QString, PageControllPtr> m_tablePageControllCache;
    QHash<QString, QVariant> m_connectionNodeMap;
    QHash<qint64, QVariantMap> m_connectionCache;
    ProfilePtr m_sqliteProfile;
};

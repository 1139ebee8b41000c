#pragma once

#include <bastwick/platform/Error.h>
#include <bastwick/platform/SerialQueue.h>

#include <QtCore/QList>
#include <QtCore/QMutex>
#include <QtCore/QString>
#include <QtCore/QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class DBConnection;
class DBDatabase;
class DBProfile;

// The store of one registered profile: opens connections on its serial queue
// "com.fenwarp.dbstore.queue" and keeps the databases of the last successful open.
class DBStore : public std::enable_shared_from_this<DBStore>
{
public:
    using DatabaseList = QList<std::shared_ptr<DBDatabase>>;
    using FetchCallback =
        std::function<void(const DatabaseList &databases, const std::shared_ptr<DBProfile> &profile,
                           const std::optional<Bastwick::Error> &error)>;

    explicit DBStore(std::shared_ptr<DBProfile> profile);
    virtual ~DBStore();

    const std::shared_ptr<DBProfile> &profile() const { return m_profile; }
    // The loaded databases; empty before a successful fetch and after reload().
    DatabaseList databases() const;
    bool isLoaded() const;
    Bastwick::SerialQueuePtr queue() const { return m_queue; }

    // Answers the loaded databases at once (on the caller's thread), or opens a new
    // connection on the store's queue and calls back on the main queue.
    void fetchDatabasesWithCallback(FetchCallback callback);
    // Forgets the databases, so the next fetch connects anew.
    void reload();
    std::shared_ptr<DBDatabase> databaseWithName(const QString &name) const;

    // Database management (synchronous, on the caller's thread): each opens a fresh
    // connection for the profile and asks it for the operation of the same name. A
    // successful create or delete forgets the databases.
    bool createDatabase(const QString &name, const QVariantMap &schemeInfo);
    bool deleteDatabase(const QString &name);
    bool renameDatabase(const QString &name, const QString &toName);
    bool duplicateDatabase(const QString &name, const QString &toName);

    // The connection class hook: a new, unopened connection for the profile.
    virtual std::shared_ptr<DBConnection> newConnection(std::shared_ptr<DBProfile> profile) const;
    // A new connection for the profile; null (with a log line) when it has no url.
    std::shared_ptr<DBConnection> connectionWithDBProfile(std::shared_ptr<DBProfile> profile) const;

private:
    // A fresh connection for a management operation, opened (a failed open is logged
    // under the operation's name); held receives the databases it made, which keep it alive.
    std::shared_ptr<DBConnection> managementConnection(const QString &operation, bool *opened,
                                                       DatabaseList *held) const;

    std::shared_ptr<DBProfile> m_profile;
    Bastwick::SerialQueuePtr m_queue;
    mutable QMutex m_lock;
    std::optional<DatabaseList> m_databases;
};

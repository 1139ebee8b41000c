#include "kestrune/data/model/DBStore.h"

#include "kestrune/data/model/DBConnection.h"
#include "kestrune/data/model/DBDatabase.h"
#include "kestrune/data/records/DBProfile.h"

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QMutexLocker>

DBStore::DBStore(std::shared_ptr<DBProfile> profile)
    : m_profile(std::move(profile))
    , m_queue(std::make_shared<Bastwick::SerialQueue>(QStringLiteral("com.fenwarp.dbstore.queue")))
{
}

DBStore::~DBStore() = default;

DBStore::DatabaseList DBStore::databases() const
{
    QMutexLocker lock(&m_lock);
    return m_databases.value_or(DatabaseList());
}

bool DBStore::isLoaded() const
{
    QMutexLocker lock(&m_lock);
    return m_databases.has_value();
}

void DBStore::reload()
{
    QMutexLocker lock(&m_lock);
    m_databases.reset();
}

std::shared_ptr<DBDatabase> DBStore::databaseWithName(const QString &name) const
{
    for (const auto &db : databases())
        if (db && db->name() == name)
            return db;
    return nullptr;
}

std::shared_ptr<DBConnection> DBStore::newConnection(std::shared_ptr<DBProfile> profile) const
{
    return std::make_shared<DBConnection>(std::move(profile));
}

std::shared_ptr<DBConnection> DBStore::connectionWithDBProfile(std::shared_ptr<DBProfile> profile) const
{
    if (!profile || profile->url().isEmpty()) {
        XXXLog(QStringLiteral("storeWithURL is nil!"));
        return nullptr;
    }
    return newConnection(std::move(profile));
}

void DBStore::fetchDatabasesWithCallback(FetchCallback callback)
{
    {
        QMutexLocker lock(&m_lock);
        if (m_databases) {
            const DatabaseList loaded = *m_databases;
            lock.unlock();
            if (callback)
                callback(loaded, m_profile, std::nullopt);
            return;
        }
    }
    auto self = shared_from_this();
    m_queue->async([self, callback = std::move(callback)] {
        std::shared_ptr<DBConnection> connection = self->newConnection(self->m_profile);
        Bastwick::Error error;
        std::optional<Bastwick::Error> failure;
        if (connection && connection->open(&error)) {
            const DatabaseList opened = connection->takeDatabases();
            QMutexLocker lock(&self->m_lock);
            self->m_databases = opened;
        } else {
            failure = error;
        }
        Bastwick::mainQueue()->async([self, callback, failure] {
            if (callback)
                callback(self->databases(), self->m_profile, failure);
        });
    });
}

std::shared_ptr<DBConnection> DBStore::managementConnection(const QString &operation, bool *opened,
                                                            DatabaseList *held) const
{
    std::shared_ptr<DBConnection> connection = newConnection(m_profile);
    Bastwick::Error error;
    *opened = connection && connection->open(&error);
    if (*opened)
        *held = connection->takeDatabases(); // released with the operation, and the connection with them
    else if (connection)
        XXXLog(QStringLiteral("%1 connection error=%2").arg(operation, error.description));
    return connection;
}

bool DBStore::createDatabase(const QString &name, const QVariantMap &schemeInfo)
{
    bool opened = false;
    DatabaseList held;
    const auto connection = managementConnection(QStringLiteral("createDatabase"), &opened, &held);
    if (!opened || !connection->createDatabase(name, schemeInfo, nullptr))
        return false;
    reload();
    return true;
}

bool DBStore::deleteDatabase(const QString &name)
{
    bool opened = false;
    DatabaseList held;
    const auto connection = managementConnection(QStringLiteral("deleteDatabase"), &opened, &held);
    if (!connection || !connection->deleteDatabase(name, nullptr))
        return false;
    reload();
    return true;
}

bool DBStore::renameDatabase(const QString &name, const QString &toName)
{
    bool opened = false;
    DatabaseList held;
    const auto connection = managementConnection(QStringLiteral("renameDatabase"), &opened, &held);
    return connection && connection->renameDatabase(name, toName, nullptr);
}

bool DBStore::duplicateDatabase(const QString &name, const QString &toName)
{
    bool opened = false;
    DatabaseList held;
    const auto connection = managementConnection(QStringLiteral("duplicateDatabase"), &opened, &held);
    return connection && connection->duplicateDatabase(name, toName, nullptr);
}

#include "kestrune/data/deraz/DerazConnection.h"

#include "kestrune/data/deraz/DerazDatabase.h"
#include "kestrune/data/records/DBProfile.h"
#include "kestrune/data/records/DerazKeyList.h"

#include <bastwick/platform/Log.h>

#include <hiredis/hiredis.h>

#include <QtCore/QMutexLocker>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

const QString kConnectFailed = QStringLiteral("server connect failed!");
// Above this many keys the load hands the freed reply memory back to the system.
constexpr qsizetype kTrimAfterKeys = 100000;

bool isStatusOK(const redisReply *r)
{
    return r && (r->type == REDIS_REPLY_STATUS || r->type == REDIS_REPLY_STRING) && r->len == 2 &&
           r->str[0] == 'O' && r->str[1] == 'K';
}

} // namespace

DerazConnection::DerazConnection(std::shared_ptr<DBProfile> profile)
    : DBConnection(std::move(profile))
    , m_url(this->profile() ? QUrl(this->profile()->url()) : QUrl())
    , m_queue(std::make_shared<Bastwick::SerialQueue>(QStringLiteral("com.fenwarp.deraz.queue")))
{
}

DerazConnection::~DerazConnection() = default;

bool DerazConnection::close(Bastwick::Error *error)
{
    return m_deraz != nullptr;
}

DBConnection::ResultSetPtr DerazConnection::executeSQL(const QString &sql, Bastwick::Error *error)
{
    setLastErrorMessage(QString());
    return nullptr;
}

std::shared_ptr<DerazDatabase> DerazConnection::database() const
{
    QMutexLocker lock(&m_lock);
    return m_database.lock();
}

void DerazConnection::setDatabase(const std::shared_ptr<DerazDatabase> &database)
{
    QMutexLocker lock(&m_lock);
    m_database = database;
}

DerazKeyList DerazConnection::keys() const
{
    QMutexLocker lock(&m_lock);
    return m_keys;
}

DBConnection::DatabaseList DerazConnection::databases() const
{
    DatabaseList out;
    for (const auto &db : derazDatabases())
        out.append(db);
    return out;
}

DBConnection::DatabaseList DerazConnection::takeDatabases()
{
    DatabaseList out;
    for (const auto &db : m_opened)
        out.append(db);
    m_opened.clear();
    return out;
}

QList<std::shared_ptr<DerazDatabase>> DerazConnection::derazDatabases() const
{
    QMutexLocker lock(&m_lock);
    QList<std::shared_ptr<DerazDatabase>> out;
    for (const auto &weak : m_databases)
        if (auto db = weak.lock())
            out.append(db);
    return out;
}

bool DerazConnection::open(Bastwick::Error *error)
{
    const auto p = profile();
    if (!p || p->host().trimmed().isEmpty()) {
        XXXLogWarning(QStringLiteral("profile without host"));
        Bastwick::setError(error,
                           derazError(1, QStringLiteral("server connect failed! The profile has no host.")));
        return false;
    }

    auto client = std::make_unique<HiredisClient>();
    client->setPassword(p->password().toUtf8());
    if (!client->connect(p->host(), int(p->port()))) {
        // A refused password is the server's own message; an unreachable server is ours.
        const QString text = client->hasAuthError() ? client->lastError() : kConnectFailed;
        Bastwick::setError(error, derazError(1, text));
        return false;
    }

    // One batch: per database MULTI, SELECT i, KEYS *, EXEC.
    QList<DerazArgv> commands;
    commands.reserve(kDatabaseCount * 4);
    for (int i = 0; i < kDatabaseCount; ++i) {
        commands.append({QByteArrayLiteral("MULTI")});
        commands.append({QByteArrayLiteral("select"), QByteArray::number(i)});
        commands.append({QByteArrayLiteral("KEYS"), QByteArrayLiteral("*")});
        commands.append({QByteArrayLiteral("EXEC")});
    }

    QList<DerazKeyList> keyLists(kDatabaseCount);
    QList<bool> selected(kDatabaseCount, false);
    QString serverRefusal;
    qsizetype totalKeys = 0;
    QString ioError;
    const bool read = client->pipelineRaw(
        commands,
        [&](qsizetype index, const redisReply *reply) {
            if (reply->type == REDIS_REPLY_ERROR && serverRefusal.isEmpty() &&
                QByteArray(reply->str, qsizetype(reply->len)).startsWith("NOAUTH"))
                serverRefusal = QString::fromUtf8(reply->str, qsizetype(reply->len));
            if (index % 4 != 3)
                return;
            const int db = int(index / 4);
            // The key list counts only when this database's SELECT answered OK, so a
            // server with fewer databases never shows another database's keys.
            if (reply->type == REDIS_REPLY_ARRAY && reply->elements >= 2 && isStatusOK(reply->element[0]) &&
                reply->element[1]->type == REDIS_REPLY_ARRAY) {
                selected[db] = true;
                keyLists[db] = DerazKeyList::fromReply(reply->element[1]);
                totalKeys += keyLists[db].size();
            }
        },
        &ioError);

    if (!serverRefusal.isEmpty()) {
        XXXLogWarning(QStringLiteral("server refused the load: %1").arg(Bastwick::logText(serverRefusal)));
        Bastwick::setError(error, derazError(1, serverRefusal));
        return false;
    }
    if (!read) {
        XXXLogWarning(QStringLiteral("connection lost while loading: %1").arg(Bastwick::logText(ioError)));
        Bastwick::setError(error, derazError(1, ioError.isEmpty() ? kConnectFailed : ioError));
        return false;
    }

    std::optional<qint64> lastSelected;
    for (int i = 0; i < kDatabaseCount; ++i)
        if (selected[i])
            lastSelected = i;
    client->setSelectedDatabase(lastSelected);
    m_deraz = std::move(client);

#ifdef __GLIBC__
    if (totalKeys > kTrimAfterKeys)
        malloc_trim(0);
#endif

    auto self = std::static_pointer_cast<DerazConnection>(shared_from_this());
    QList<std::shared_ptr<DerazDatabase>> made;
    for (int i = 0; i < kDatabaseCount; ++i)
        made.append(std::make_shared<DerazDatabase>(self, QStringLiteral("DB%1").arg(i), keyLists[i]));
    {
        QMutexLocker lock(&m_lock);
        m_databases.clear();
        for (const auto &db : made)
            m_databases.push_back(db);
        m_keys = keyLists.constLast();
    }
    m_opened = made;
    return true;
}

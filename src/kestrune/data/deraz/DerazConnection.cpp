#include "kestrune/data/deraz/DerazConnection.h"

#include "kestrune/data/deraz/DerazDatabase.h"
#include "kestrune/data/records/DBProfile.h"
#include "kestrune/data/records/DerazKeyList.h"

#include <bastwick/platform/Log.h>

#include <QtCore/QMutexLocker>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

const QString kConnectFailed = QStringLiteral("server connect failed!");
// Above this many keys the load hands the freed reply memory back to the system.
constexpr qsizetype kTrimAfterKeys = 100000;

// The error of a database whose keys came back in a shape that is no key list.
QString unreadableKeys(int db, const DerazRawReply &reply)
{
    QString shape;
    switch (reply.kind()) {
    case DerazReply::Kind::Array:
        shape = QStringLiteral("an array of %1 element%2")
                    .arg(reply.size())
                    .arg(reply.size() == 1 ? QString() : QStringLiteral("s"));
        break;
    case DerazReply::Kind::Integer:
        shape = QStringLiteral("the integer %1").arg(reply.integer());
        break;
    case DerazReply::Kind::Nil:
        shape = QStringLiteral("nil");
        break;
    case DerazReply::Kind::NoReply:
        shape = QStringLiteral("nothing");
        break;
    default:
        shape = QStringLiteral("the text \"%1\"").arg(Bastwick::logText(reply.text().toByteArray(), 80));
        break;
    }
    return QStringLiteral("server connect failed! The keys of DB%1 could not be read: the server answered %2 "
                          "instead of a key list.")
        .arg(db)
        .arg(shape);
}

} // namespace

// The key lists of all databases, read in one batch: per database MULTI, SELECT i, KEYS *,
// EXEC.
struct DerazConnection::KeyListLoad
{
    QList<DerazKeyList> keyLists = QList<DerazKeyList>(kDatabaseCount);
    QList<bool> selected = QList<bool>(kDatabaseCount, false);
    // Per database: whether its SELECT was refused, and the server's refusal of its KEYS.
    QList<bool> selectRefused = QList<bool>(kDatabaseCount, false);
    QList<QString> keysRefused = QList<QString>(kDatabaseCount);
    QString serverRefusal;
    qsizetype totalKeys = 0;

    // Sends the batch and takes its replies; false with the reason when the server refused
    // it (a refused password, a database whose keys cannot be read) or the connection broke.
    bool read(HiredisClient &client, Bastwick::Error *error)
    {
        QList<DerazArgv> commands;
        commands.reserve(kDatabaseCount * 4);
        for (int i = 0; i < kDatabaseCount; ++i) {
            commands.append({QByteArrayLiteral("MULTI")});
            commands.append({QByteArrayLiteral("select"), QByteArray::number(i)});
            commands.append({QByteArrayLiteral("KEYS"), QByteArrayLiteral("*")});
            commands.append({QByteArrayLiteral("EXEC")});
        }
        QString ioError;
        const bool read = client.pipelineRaw(
            commands, [this](qsizetype index, const DerazRawReply &reply) { take(index, reply); }, &ioError);
        if (const QString refusal = refusalOfTheLoad(); !refusal.isEmpty()) {
            XXXLogWarning(QStringLiteral("server refused the load: %1").arg(Bastwick::logText(refusal)));
            Bastwick::setError(error, derazError(1, refusal));
            return false;
        }
        if (!read) {
            XXXLogWarning(
                QStringLiteral("connection lost while loading: %1").arg(Bastwick::logText(ioError)));
            Bastwick::setError(error, derazError(1, ioError.isEmpty() ? kConnectFailed : ioError));
            return false;
        }
        return true;
    }

    void take(qsizetype index, const DerazRawReply &reply)
    {
        const int db = int(index / 4);
        if (reply.isError() && serverRefusal.isEmpty() && reply.text().startsWith("NOAUTH"))
            serverRefusal = QString::fromUtf8(reply.text());
        switch (index % 4) {
        case 1: // SELECT, as queued
            selectRefused[db] = reply.isError();
            return;
        case 2: // KEYS, as queued: a refused or unknown command is answered here
            if (reply.isError())
                keysRefused[db] = QString::fromUtf8(reply.text());
            return;
        case 3:
            takeExec(db, reply);
            return;
        default:
            return;
        }
    }

    void takeExec(int db, const DerazRawReply &reply)
    {
        // A refusal while queueing aborted the transaction: its answer says nothing new.
        if (selectRefused[db] || !keysRefused[db].isEmpty())
            return;
        if (reply.isError()) {
            keysRefused[db] = QString::fromUtf8(reply.text());
            return;
        }
        if (!reply.isArray() || reply.size() != 2) {
            keysRefused[db] = unreadableKeys(db, reply);
            return;
        }
        // The key list counts only when this database's SELECT answered OK, so a server
        // with fewer databases (SELECT refused when run) never shows another database's
        // keys.
        const DerazRawReply select = reply.at(0);
        const DerazRawReply keys = reply.at(1);
        if (select.isError())
            return;
        if (!select.isOK()) {
            keysRefused[db] = unreadableKeys(db, select);
            return;
        }
        if (keys.isError()) {
            keysRefused[db] = QString::fromUtf8(keys.text());
            return;
        }
        DerazKeyList list = keys.toKeyList();
        if (!keys.isArray() || list.size() != keys.size()) {
            keysRefused[db] = unreadableKeys(db, keys);
            return;
        }
        selected[db] = true;
        totalKeys += list.size();
        keyLists[db] = std::move(list);
    }

    // The server's refusal, or else that of the first database whose SELECT went through
    // but whose keys could not be read (refused, or answered in a shape that is no key
    // list): such a database is never shown as an empty one.
    QString refusalOfTheLoad() const
    {
        if (!serverRefusal.isEmpty())
            return serverRefusal;
        for (int i = 0; i < kDatabaseCount; ++i)
            if (!selectRefused[i] && !keysRefused[i].isEmpty())
                return keysRefused[i];
        return {};
    }
};

DerazConnection::DerazConnection(std::shared_ptr<DBProfile> profile)
    : DBConnection(std::move(profile))
    , m_url(this->profile() ? QUrl(this->profile()->url()) : QUrl())
    , m_queue(std::make_shared<Bastwick::SerialQueue>(QStringLiteral("com.fenwarp.deraz.queue")))
{
}

DerazConnection::~DerazConnection()
{
    // No block that uses the client can still be queued (each holds the connection), but
    // the queue may hold others: its worker drains and frees it, never this thread.
    if (m_queue) {
        Bastwick::SerialQueuePtr queue = std::move(m_queue);
        queue->async([queue] {});
    }
}

bool DerazConnection::close(Bastwick::Error *error)
{
    QMutexLocker lock(&m_lock);
    if (!m_deraz)
        return false;
    m_deraz->shutdownSocket();
    return true;
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
    std::unique_ptr<HiredisClient> client = connectClient(error);
    if (!client)
        return false;
    KeyListLoad load;
    if (!load.read(*client, error))
        return false;
    installDatabases(std::move(client), load);
    return true;
}

// A client connected to the profile's server (AUTH with its password), or null with the
// reason: no host, a refused password, an unreachable server.
std::unique_ptr<HiredisClient> DerazConnection::connectClient(Bastwick::Error *error) const
{
    const auto p = profile();
    if (!p || p->host().trimmed().isEmpty()) {
        XXXLogWarning(QStringLiteral("profile without host"));
        Bastwick::setError(error,
                           derazError(1, QStringLiteral("server connect failed! The profile has no host.")));
        return nullptr;
    }
    auto client = std::make_unique<HiredisClient>();
    client->setPassword(p->password().toUtf8());
    client->setReplyTimeLimitMs(m_replyTimeLimitMs);
    if (client->connect(p->host(), int(p->port())))
        return client;
    // A refused password is the server's own message; an unreachable server is ours, with
    // the system's reason (refused, timed out, unknown host) after it.
    const QString reason = client->lastError().trimmed();
    const QString text = client->hasAuthError() ? client->lastError()
                         : reason.isEmpty()     ? kConnectFailed
                                                : kConnectFailed + QLatin1Char(' ') + reason;
    Bastwick::setError(error, derazError(1, text));
    return nullptr;
}

// The client becomes the connection's, with one database object per key list.
void DerazConnection::installDatabases(std::unique_ptr<HiredisClient> client, KeyListLoad &load)
{
    std::optional<qint64> lastSelected;
    for (int i = 0; i < kDatabaseCount; ++i)
        if (load.selected[i])
            lastSelected = i;
    client->setSelectedDatabase(lastSelected);
    {
        QMutexLocker lock(&m_lock);
        m_deraz = std::move(client);
    }

#ifdef __GLIBC__
    if (load.totalKeys > kTrimAfterKeys)
        malloc_trim(0);
#endif

    auto self = std::static_pointer_cast<DerazConnection>(shared_from_this());
    QList<std::shared_ptr<DerazDatabase>> made;
    for (int i = 0; i < kDatabaseCount; ++i)
        made.append(std::make_shared<DerazDatabase>(self, QStringLiteral("DB%1").arg(i), load.keyLists[i]));
    {
        QMutexLocker lock(&m_lock);
        m_databases.clear();
        for (const auto &db : made)
            m_databases.push_back(db);
        m_keys = load.keyLists.constLast();
    }
    m_opened = made;
}

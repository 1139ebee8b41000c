#include <corbelan/sqlite/XXXRWDatabaseQueue.h>

#include <corbelan/sqlite/DatabaseProbe_p.h>
#include <corbelan/sqlite/XXXRWResultSet.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/SerialQueue.h>

#include <QtCore/QMutex>

#include <atomic>

#include <sqlite3.h>

namespace {
std::atomic<qint64> g_queueSavePointCounter{0};
const char kReentranceCondition[] = "currentSyncQueue != self && \"inDatabase: was called reentrantly on the "
                                    "same queue, which would lead to a deadlock\"";
} // namespace

struct XXXRWDatabaseQueue::Private
{
    mutable QMutex pathMutex;
    QString path;
    std::unique_ptr<Bastwick::SerialQueue> queue;
    XXXRWDatabasePtr db;         // touched only on the queue
    Bastwick::Error openFailure; // why the connection could not be opened
};

std::shared_ptr<XXXRWDatabaseQueue> XXXRWDatabaseQueue::databaseQueueWithPath(const QString &path)
{
    return databaseQueueWithPath(path, kDefaultOpenFlags);
}

std::shared_ptr<XXXRWDatabaseQueue> XXXRWDatabaseQueue::databaseQueueWithPath(const QString &path, int flags,
                                                                              Bastwick::Error *error)
{
    return databaseQueueWithPath(path, flags, 0, error);
}

std::shared_ptr<XXXRWDatabaseQueue> XXXRWDatabaseQueue::databaseQueueWithPath(const QString &path, int flags,
                                                                              double busyTimeout,
                                                                              Bastwick::Error *error)
{
    // make_shared cannot reach the protected constructor that takes a time-out.
    std::shared_ptr<XXXRWDatabaseQueue> queue(
        new XXXRWDatabaseQueue(path, flags, databaseClass(), busyTimeout));
    if (!queue->isOpen()) {
        Bastwick::setError(error, queue->d->openFailure);
        return {};
    }
    return queue;
}

XXXRWDatabaseQueue::DatabaseFactory XXXRWDatabaseQueue::databaseClass()
{
    return [](const QString &path) { return XXXRWDatabase::databaseWithPath(path); };
}

XXXRWDatabaseQueue::XXXRWDatabaseQueue(const QString &path, int flags)
    : XXXRWDatabaseQueue(path, flags, databaseClass())
{
}

XXXRWDatabaseQueue::XXXRWDatabaseQueue(const QString &path, int flags, const DatabaseFactory &databaseClass,
                                       double busyTimeout)
    : d(std::make_unique<Private>())
    , m_openFlags(flags)
    , m_busyTimeout(qMax(busyTimeout, 0.0))
{
    XXXRWDatabasePtr db = databaseClass ? databaseClass(path) : nullptr;
    // Set before the open, so the first look at the file already waits for a writer.
    if (db && m_busyTimeout > 0)
        db->setBusyTimeout(m_busyTimeout);
    if (!db) {
        d->openFailure = Bastwick::Error(QStringLiteral("XXXRWDatabase"), SQLITE_CANTOPEN,
                                         QStringLiteral("no connection was made"));
    } else if (Corbelan::openProbed(*db, flags, &d->openFailure)) {
        d->path = path;
        d->db = std::move(db);
        d->queue = std::make_unique<Bastwick::SerialQueue>(QStringLiteral("XXXRWdb.%1").arg(description()));
        return;
    }
    XXXLogError(QStringLiteral("Could not create database queue for path %1: %2 (code %3)")
                    .arg(path, d->openFailure.description, QString::number(d->openFailure.code)));
}
XXXRWDatabaseQueue::~XXXRWDatabaseQueue()
{
    // Drain the queue before the connection goes.
    d->queue.reset();
    d->db.reset();
}

bool XXXRWDatabaseQueue::isOpen() const
{
    return d->queue != nullptr;
}

QString XXXRWDatabaseQueue::description() const
{
    return QStringLiteral("<XXXRWDatabaseQueue: 0x%1>").arg(QString::number(quintptr(this), 16));
}

QString XXXRWDatabaseQueue::label() const
{
    return d->queue ? d->queue->label() : QString();
}

QString XXXRWDatabaseQueue::path() const
{
    QMutexLocker lock(&d->pathMutex);
    return d->path;
}

void XXXRWDatabaseQueue::setPath(const QString &path)
{
    QMutexLocker lock(&d->pathMutex);
    d->path = path;
}

bool XXXRWDatabaseQueue::refuseReentrance(const char *operation) const
{
    if (!d->queue) {
        XXXLogError(
            QStringLiteral("%1 on a database queue that never opened").arg(QString::fromLatin1(operation)));
        return true;
    }
    if (!Bastwick::SerialQueue::isOnCurrentStack(d->queue.get()))
        return false;
    // Waiting for ourselves would never end: refuse, and say so as the failed assertion.
    XXXLogError(Bastwick::assertionText(kReentranceCondition, operation, __FILE__, __LINE__, QString()));
    return true;
}

XXXRWDatabase *XXXRWDatabaseQueue::database()
{
    if (d->db)
        return d->db.get();
    const QString p = path();
    auto db = XXXRWDatabase::databaseWithPath(p);
    if (m_busyTimeout > 0)
        db->setBusyTimeout(m_busyTimeout);
    if (!db->openWithFlags(m_openFlags)) {
        XXXLogError(QStringLiteral("XXXRWDatabaseQueue could not reopen database for path %1").arg(p));
        return nullptr;
    }
    d->db = std::move(db);
    return d->db.get();
}

bool XXXRWDatabaseQueue::inDatabase(const DatabaseBlock &block)
{
    if (refuseReentrance("inDatabase"))
        return false;
    d->queue->sync([&] {
        XXXRWDatabase *db = database();
        if (block)
            block(db);
        if (db && db->hasOpenResultSets()) {
            XXXLogWarning(QStringLiteral("Warning: there is at least one open result set around after "
                                         "performing [XXXRWDatabaseQueue inDatabase:]"));
            for (const auto &rs : db->openResultSets())
                XXXLogWarning(QStringLiteral("query: '%1'").arg(Bastwick::logText(rs->query())));
        }
    });
    return true;
}

bool XXXRWDatabaseQueue::inTransaction(const TransactionBlock &block)
{
    return beginTransaction(false, block);
}

bool XXXRWDatabaseQueue::inDeferredTransaction(const TransactionBlock &block)
{
    return beginTransaction(true, block);
}

bool XXXRWDatabaseQueue::beginTransaction(bool deferred, const TransactionBlock &block)
{
    if (refuseReentrance("beginTransaction"))
        return false;
    bool ok = false;
    d->queue->sync([&] {
        XXXRWDatabase *db = database();
        if (!db)
            return;
        ok = db->runTransaction(deferred, [&](bool *rollback) {
            if (block)
                block(db, rollback);
        });
    });
    return ok;
}

std::optional<Bastwick::Error> XXXRWDatabaseQueue::inSavePoint(const TransactionBlock &block)
{
    if (refuseReentrance("inSavePoint"))
        return Bastwick::Error(QStringLiteral("XXXRWDatabase"), 21,
                               QStringLiteral("re-entrant call refused"));
    std::optional<Bastwick::Error> result;
    d->queue->sync([&] {
        const QString name = QStringLiteral("savePoint%1").arg(g_queueSavePointCounter.fetch_add(1));
        XXXRWDatabase *db = database();
        if (!db) {
            result = Bastwick::Error(QStringLiteral("XXXRWDatabase"), 14,
                                     QStringLiteral("could not open the database"));
            return;
        }
        result = db->runInSavePoint(name, [&](bool *rollback) {
            if (block)
                block(db, rollback);
        });
    });
    return result;
}

void XXXRWDatabaseQueue::close()
{
    if (refuseReentrance("close"))
        return;
    d->queue->sync([&] {
        if (d->db)
            d->db->close();
        d->db.reset();
    });
}

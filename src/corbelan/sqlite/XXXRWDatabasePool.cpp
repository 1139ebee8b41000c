#include <corbelan/sqlite/XXXRWDatabasePool.h>

#include <corbelan/sqlite/DatabaseProbe_p.h>

#include <bastwick/platform/Exception.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/SerialQueue.h>

#include <QtCore/QList>
#include <QtCore/QMutex>
#include <QtCore/QScopeGuard>

#include <atomic>

namespace {
std::atomic<qint64> g_poolSavePointCounter{0};
}

XXXRWDatabasePoolDelegate::~XXXRWDatabasePoolDelegate() = default;

bool XXXRWDatabasePoolDelegate::databasePoolShouldAddDatabaseToPool(XXXRWDatabasePool *, XXXRWDatabase *)
{
    return true;
}

void XXXRWDatabasePoolDelegate::databasePoolDidAddDatabase(XXXRWDatabasePool *, XXXRWDatabase *) {}

struct XXXRWDatabasePool::Private
{
    mutable QMutex fieldMutex; // path, delegate and limit
    QString path;
    XXXRWDatabasePoolDelegate *delegate = nullptr;
    quint64 maximum = 0;
    std::unique_ptr<Bastwick::SerialQueue> lockQueue;
    QList<XXXRWDatabasePtr> inPool;  // free, in the order they came back
    QList<XXXRWDatabasePtr> outPool; // handed out
};

std::shared_ptr<XXXRWDatabasePool> XXXRWDatabasePool::databasePoolWithPath(const QString &path)
{
    return databasePoolWithPath(path, kDefaultOpenFlags);
}

std::shared_ptr<XXXRWDatabasePool> XXXRWDatabasePool::databasePoolWithPath(const QString &path, int flags,
                                                                           Bastwick::Error *error)
{
    // The pool opens its connections lazily: one trial connection shows now whether the
    // file can be opened and holds a database.
    Bastwick::Error failure;
    if (!Corbelan::openProbed(*XXXRWDatabase::databaseWithPath(path), flags, &failure)) {
        XXXLogError(QStringLiteral("Could not create database pool for path %1: %2 (code %3)")
                        .arg(path, failure.description, QString::number(failure.code)));
        Bastwick::setError(error, failure);
        return {};
    }
    return std::make_shared<XXXRWDatabasePool>(path, flags);
}

XXXRWDatabasePool::XXXRWDatabasePool(const QString &path, int flags)
    : d(std::make_unique<Private>())
    , m_openFlags(flags)
{
    d->path = path;
    d->lockQueue = std::make_unique<Bastwick::SerialQueue>(QStringLiteral("XXXRWdb.%1").arg(description()));
}

XXXRWDatabasePool::~XXXRWDatabasePool()
{
    setDelegate(nullptr);
    d->lockQueue.reset();
}

QString XXXRWDatabasePool::description() const
{
    return QStringLiteral("<XXXRWDatabasePool: 0x%1>").arg(QString::number(quintptr(this), 16));
}

QString XXXRWDatabasePool::label() const
{
    return d->lockQueue->label();
}

void XXXRWDatabasePool::executeLocked(const std::function<void()> &block)
{
    d->lockQueue->sync(block);
}

XXXRWDatabasePtr XXXRWDatabasePool::db()
{
    XXXRWDatabasePtr answer;
    executeLocked([&] {
        XXXRWDatabasePtr db;
        bool isNew = false;
        if (!d->inPool.isEmpty()) {
            db = d->inPool.takeLast();
            d->outPool.append(db);
        } else {
            const quint64 open = quint64(d->outPool.size() + d->inPool.size());
            const quint64 maximum = maximumNumberOfDatabasesToCreate();
            if (maximum != 0 && open >= maximum) {
                XXXLogError(
                    QStringLiteral("Maximum number of databases (%1) has already been reached!").arg(open));
                return;
            }
            db = XXXRWDatabase::databaseWithPath(path());
            isNew = true;
        }

        if (!db->openWithFlags(m_openFlags)) {
            XXXLogError(QStringLiteral("Could not open up the database at path %1").arg(path()));
            // A connection that cannot be opened is not counted as handed out.
            d->outPool.removeAll(db);
            return;
        }
        XXXRWDatabasePoolDelegate *del = delegate();
        if (del && !del->databasePoolShouldAddDatabaseToPool(this, db.get())) {
            db->close();
            d->outPool.removeAll(db);
            return;
        }
        if (!d->outPool.contains(db)) {
            d->outPool.append(db);
            if (isNew && del)
                del->databasePoolDidAddDatabase(this, db.get());
        }
        answer = db;
    });
    return answer;
}

void XXXRWDatabasePool::pushDatabaseBackInPool(const XXXRWDatabasePtr &db)
{
    if (!db)
        return;
    bool alreadyFree = false;
    executeLocked([&] {
        if (d->inPool.contains(db)) {
            alreadyFree = true;
            return;
        }
        d->inPool.append(db);
        d->outPool.removeAll(db);
    });
    if (alreadyFree)
        throw Bastwick::Exception(
            QStringLiteral("Database already in pool"),
            QStringLiteral("The XXXRWDatabase being put back into the pool is already present in the pool"));
}

quint64 XXXRWDatabasePool::countOfCheckedInDatabases()
{
    quint64 n = 0;
    executeLocked([&] { n = quint64(d->inPool.size()); });
    return n;
}

quint64 XXXRWDatabasePool::countOfCheckedOutDatabases()
{
    quint64 n = 0;
    executeLocked([&] { n = quint64(d->outPool.size()); });
    return n;
}

quint64 XXXRWDatabasePool::countOfOpenDatabases()
{
    quint64 n = 0;
    executeLocked([&] { n = quint64(d->outPool.size() + d->inPool.size()); });
    return n;
}

void XXXRWDatabasePool::releaseAllDatabases()
{
    QList<XXXRWDatabasePtr> released;
    executeLocked([&] {
        released = d->inPool + d->outPool;
        d->inPool.clear();
        d->outPool.clear();
    });
    // The connections close when their last holder lets go, outside the lock.
}

void XXXRWDatabasePool::inDatabase(const DatabaseBlock &block)
{
    XXXRWDatabasePtr db = this->db();
    withHandBack(db, [&] {
        if (block)
            block(db.get());
    });
}

void XXXRWDatabasePool::withHandBack(const XXXRWDatabasePtr &db, const std::function<void()> &work)
{
    {
        // A throwing block still gives the connection back to the pool.
        auto handBack = qScopeGuard([&] { pushDatabaseBackInPool(db); });
        work();
        handBack.dismiss();
    }
    pushDatabaseBackInPool(db); // outside the guard: a connection already free raises
}

bool XXXRWDatabasePool::inTransaction(const TransactionBlock &block)
{
    return beginTransaction(false, block);
}

bool XXXRWDatabasePool::inDeferredTransaction(const TransactionBlock &block)
{
    return beginTransaction(true, block);
}

bool XXXRWDatabasePool::beginTransaction(bool deferred, const TransactionBlock &block)
{
    XXXRWDatabasePtr db = this->db();
    if (!db)
        return false;
    bool ok = false;
    withHandBack(db, [&] {
        ok = db->runTransaction(deferred, [&](bool *rollback) {
            if (block)
                block(db.get(), rollback);
        });
    });
    return ok;
}

std::optional<Bastwick::Error> XXXRWDatabasePool::inSavePoint(const TransactionBlock &block)
{
    const QString name = QStringLiteral("savePoint%1").arg(g_poolSavePointCounter.fetch_add(1));
    XXXRWDatabasePtr db = this->db();
    if (!db)
        return Bastwick::Error(QStringLiteral("XXXRWDatabase"), 14,
                               QStringLiteral("could not open the database"));
    std::optional<Bastwick::Error> result;
    withHandBack(db, [&] {
        result = db->runInSavePoint(name, [&](bool *rollback) {
            if (block)
                block(db.get(), rollback);
        });
    });
    return result;
}

QString XXXRWDatabasePool::path() const
{
    QMutexLocker lock(&d->fieldMutex);
    return d->path;
}

void XXXRWDatabasePool::setPath(const QString &path)
{
    QMutexLocker lock(&d->fieldMutex);
    d->path = path;
}

XXXRWDatabasePoolDelegate *XXXRWDatabasePool::delegate() const
{
    QMutexLocker lock(&d->fieldMutex);
    return d->delegate;
}

void XXXRWDatabasePool::setDelegate(XXXRWDatabasePoolDelegate *delegate)
{
    QMutexLocker lock(&d->fieldMutex);
    d->delegate = delegate;
}

quint64 XXXRWDatabasePool::maximumNumberOfDatabasesToCreate() const
{
    QMutexLocker lock(&d->fieldMutex);
    return d->maximum;
}

void XXXRWDatabasePool::setMaximumNumberOfDatabasesToCreate(quint64 maximum)
{
    QMutexLocker lock(&d->fieldMutex);
    d->maximum = maximum;
}

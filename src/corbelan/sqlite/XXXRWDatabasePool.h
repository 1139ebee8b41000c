#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXRWDatabase.h>

#include <bastwick/platform/Error.h>

#include <QtCore/QString>

#include <functional>
#include <memory>
#include <optional>

class XXXRWDatabasePool;

// The pool's optional delegate; both calls run inside the pool's lock and must not call
// back into the pool.
class CORBELAN_EXPORT XXXRWDatabasePoolDelegate
{
public:
    virtual ~XXXRWDatabasePoolDelegate();
    // False refuses the connection: it is closed and not handed out.
    virtual bool databasePoolShouldAddDatabaseToPool(XXXRWDatabasePool *pool, XXXRWDatabase *db);
    virtual void databasePoolDidAddDatabase(XXXRWDatabasePool *pool, XXXRWDatabase *db);
};

// Hands out connections to one database file, one per caller at a time, and takes them
// back for reuse (last returned, first handed out). The work runs on the caller's
// thread; only the pool's bookkeeping is serialised on its queue "XXXRWdb.<description>".
class CORBELAN_EXPORT XXXRWDatabasePool
{
public:
    using DatabaseBlock = std::function<void(XXXRWDatabase *db)>;
    using TransactionBlock = std::function<void(XXXRWDatabase *db, bool *rollback)>;

    static constexpr int kDefaultOpenFlags = 6;

    // A pool on the file, or null when a trial connection can't open it or finds no
    // database in it (logged, and the reason in error). A pool made directly opens its
    // first connection only when one is asked for.
    static std::shared_ptr<XXXRWDatabasePool> databasePoolWithPath(const QString &path = QString());
    static std::shared_ptr<XXXRWDatabasePool> databasePoolWithPath(const QString &path, int flags,
                                                                   Bastwick::Error *error = nullptr);

    explicit XXXRWDatabasePool(const QString &path = QString(), int flags = kDefaultOpenFlags);
    ~XXXRWDatabasePool();

    XXXRWDatabasePool(const XXXRWDatabasePool &) = delete;
    XXXRWDatabasePool &operator=(const XXXRWDatabasePool &) = delete;

    // "<XXXRWDatabasePool: 0x...>"
    QString description() const;
    QString label() const;

    // Runs the block on the pool's queue and waits for it.
    void executeLocked(const std::function<void()> &block);

    // One open connection, or null (limit reached, open failure, delegate refusal).
    XXXRWDatabasePtr db();
    // Gives a connection back. Null does nothing; a connection that is already free
    // raises Bastwick::Exception "Database already in pool".
    void pushDatabaseBackInPool(const XXXRWDatabasePtr &db);

    quint64 countOfCheckedInDatabases();
    quint64 countOfCheckedOutDatabases();
    quint64 countOfOpenDatabases();
    // Lets go of every connection (those still held by callers stay usable by them).
    void releaseAllDatabases();

    void inDatabase(const DatabaseBlock &block);
    // A failed begin runs nothing; a failed commit rolls back. Answers whether the block
    // ran and its work was committed (or rolled back as it asked).
    bool inTransaction(const TransactionBlock &block);
    bool inDeferredTransaction(const TransactionBlock &block);
    bool beginTransaction(bool deferred, const TransactionBlock &block);
    std::optional<Bastwick::Error> inSavePoint(const TransactionBlock &block);

    QString path() const;
    void setPath(const QString &path);
    XXXRWDatabasePoolDelegate *delegate() const;
    void setDelegate(XXXRWDatabasePoolDelegate *delegate);
    quint64 maximumNumberOfDatabasesToCreate() const;
    void setMaximumNumberOfDatabasesToCreate(quint64 maximum);
    int openFlags() const { return m_openFlags; }

private:
    // Runs work, then gives db back to the pool, also when work throws.
    void withHandBack(const XXXRWDatabasePtr &db, const std::function<void()> &work);

    struct Private;
    std::unique_ptr<Private> d;
    int m_openFlags = kDefaultOpenFlags;
};

using XXXRWDatabasePoolPtr = std::shared_ptr<XXXRWDatabasePool>;

#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXRWDatabase.h>

#include <bastwick/platform/Error.h>

#include <QtCore/QString>

#include <functional>
#include <memory>
#include <optional>

namespace Bastwick {
class SerialQueue;
}

// One connection and a private serial queue labelled "XXXRWdb.<description>": every
// unit of database work runs as a block on it, synchronously for the caller, so any
// thread may call and the work is serialised.
//
// A block receives the connection, or null when reopening it failed. Calling any of
// the block-running operations from inside a block of the same queue (directly or
// through other queues) is refused with a logged assertion text and runs nothing.
class CORBELAN_EXPORT XXXRWDatabaseQueue : public std::enable_shared_from_this<XXXRWDatabaseQueue>
{
public:
    using DatabaseBlock = std::function<void(XXXRWDatabase *db)>;
    using TransactionBlock = std::function<void(XXXRWDatabase *db, bool *rollback)>;

    static constexpr int kDefaultOpenFlags = 6; // read-write + create

    // Makes the connection a new queue opens.
    using DatabaseFactory = std::function<XXXRWDatabasePtr(const QString &path)>;
    // The connection class of a new queue: plain XXXRWDatabase. A subclass that wants
    // another hands its own factory to the protected constructor. Reopening after
    // close() always makes a plain XXXRWDatabase.
    static DatabaseFactory databaseClass();

    // A queue with its connection open, or null when the file can't be opened or is not
    // a database (logged, and the reason in error). A null path is an in-memory database.
    static std::shared_ptr<XXXRWDatabaseQueue> databaseQueueWithPath(const QString &path = QString());
    static std::shared_ptr<XXXRWDatabaseQueue> databaseQueueWithPath(const QString &path, int flags,
                                                                     Bastwick::Error *error = nullptr);
    // The same, with a busy time-out (seconds) on every connection the queue opens, the
    // first one included: a statement that finds the file locked by another connection
    // or process waits up to that long instead of failing at once.
    static std::shared_ptr<XXXRWDatabaseQueue> databaseQueueWithPath(const QString &path, int flags,
                                                                     double busyTimeout,
                                                                     Bastwick::Error *error = nullptr);

    // Use databaseQueueWithPath; a queue made directly may have failed to open or found
    // no database in the file (isOpen()).
    explicit XXXRWDatabaseQueue(const QString &path = QString(), int flags = kDefaultOpenFlags);
    virtual ~XXXRWDatabaseQueue();

    XXXRWDatabaseQueue(const XXXRWDatabaseQueue &) = delete;
    XXXRWDatabaseQueue &operator=(const XXXRWDatabaseQueue &) = delete;

    // "<XXXRWDatabaseQueue: 0x...>"
    QString description() const;
    // The serial queue's label.
    QString label() const;

    // Runs the block on the queue and waits for it. Answers false (and runs nothing)
    // when the call is re-entrant.
    bool inDatabase(const DatabaseBlock &block);
    // Exclusive / deferred transactions. A failed begin runs nothing; a failed commit
    // rolls back. Answers true when the block ran and its work was committed (or rolled
    // back as it asked).
    bool inTransaction(const TransactionBlock &block);
    bool inDeferredTransaction(const TransactionBlock &block);
    bool beginTransaction(bool deferred, const TransactionBlock &block);
    // Runs the block inside a savepoint "savePoint<n>"; answers the last error, if any.
    std::optional<Bastwick::Error> inSavePoint(const TransactionBlock &block);

    // Closes the connection; the next block reopens the file with the same flags.
    void close();

    // The connection, reopened when missing (null when that fails). Call it only from a
    // block running on this queue.
    XXXRWDatabase *database();

    QString path() const;
    void setPath(const QString &path);
    int openFlags() const { return m_openFlags; }
    // The busy time-out its connections get (0: none, a locked file fails at once).
    double busyTimeout() const { return m_busyTimeout; }
    bool isOpen() const;

protected:
    // A busy time-out above 0 is set on the connection before it opens.
    XXXRWDatabaseQueue(const QString &path, int flags, const DatabaseFactory &databaseClass,
                       double busyTimeout = 0);

private:
    bool refuseReentrance(const char *operation) const;

    struct Private;
    std::unique_ptr<Private> d;
    int m_openFlags = kDefaultOpenFlags;
    double m_busyTimeout = 0;
};

using XXXRWDatabaseQueuePtr = std::shared_ptr<XXXRWDatabaseQueue>;

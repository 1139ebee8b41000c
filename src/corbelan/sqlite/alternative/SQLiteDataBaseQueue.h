#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

#include <functional>
#include <memory>

class SQLiteDataBaseAdapter;

namespace Bastwick {
class SerialQueue;
}

// Serialises all use of one SQLite file: owns an adapter and a serial queue labelled
// "sqlitedatabase.<description>" and runs caller blocks with the adapter on that queue,
// one at a time, while the caller waits.
class CORBELAN_EXPORT SQLiteDataBaseQueue
{
public:
    using Block = std::function<void(SQLiteDataBaseAdapter *db)>;

    // A new queue object of class T (this class or a subclass with a public default
    // constructor) on the path, or null when the file cannot be opened (logged).
    template <class T = SQLiteDataBaseQueue> static std::shared_ptr<T> dataBaseWithPath(const QString &path)
    {
        std::shared_ptr<T> queue(new T());
        if (!queue->initWithPath(path))
            return nullptr;
        return queue;
    }

    // Closes the adapter on the queue, then releases the queue.
    virtual ~SQLiteDataBaseQueue();

    SQLiteDataBaseQueue(const SQLiteDataBaseQueue &) = delete;
    SQLiteDataBaseQueue &operator=(const SQLiteDataBaseQueue &) = delete;

    QString dbPath() const { return m_dbPath; }
    // "<SQLiteDataBaseQueue: 0x...>", distinct for every object.
    QString description() const;
    // The label of the serial queue.
    QString label() const;

    // Runs the block with the adapter on the queue and returns once it has run. A call
    // made from a block already running on this queue (directly or through other queues)
    // would wait for itself: it is refused with the logged assertion text, runs nothing
    // and answers false.
    bool inDatabase(const Block &block);

    // The adapter; after close() a new, unopened one for the same path.
    SQLiteDataBaseAdapter *db();

    // Closes the adapter on the queue and lets it go (refused like inDatabase when
    // called from one of the queue's blocks).
    void close();

protected:
    SQLiteDataBaseQueue();
    // Stores the path, creates and opens the adapter; false (logged) when opening fails.
    bool initWithPath(const QString &path);

private:
    bool refuseReentrance(const char *operation) const;

    QString m_dbPath;
    std::unique_ptr<Bastwick::SerialQueue> m_queue;
    std::unique_ptr<SQLiteDataBaseAdapter> m_db;
};

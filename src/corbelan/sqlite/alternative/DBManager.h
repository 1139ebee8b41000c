#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/XXXRWDatabaseQueue.h>

#include <QtCore/QRecursiveMutex>
#include <QtCore/QString>

// The older database manager: like XXXDBManager it places a file in the user's
// Documents directory (copied from the application's resource of the same name when
// missing) and opens a database queue on it, and beside the queue it opens a second
// connection to the same file, which BaseDAO uses for its reads.
class CORBELAN_EXPORT DBManager
{
public:
    static DBManager *sharedDBManager();

    DBManager();
    // Closes nothing itself; the connection and the queue close when their last holder
    // lets go of them.
    virtual ~DBManager();

    DBManager(const DBManager &) = delete;
    DBManager &operator=(const DBManager &) = delete;

    // Opens Documents/<name>: the queue (statement caching on) and the second
    // connection. False when either does not open.
    bool openDataBase(const QString &name);
    // Closes the second connection only; the queue stays open.
    void closeDataBase();
    // Copies the seed to getDBPath() when no file is there; reports by logging.
    void createDatabaseIfNeeded();
    // Documents/<dbName>.
    QString getDBPath() const;

    XXXRWDatabasePtr db() const { return m_db; }
    XXXRWDatabaseQueuePtr queue() const { return m_queue; }
    QString dbName() const { return m_dbName; }

    // The folder the seed is looked up in; ":/" (the application's resources) unless set.
    QString resourcePath() const { return m_resourcePath; }
    void setResourcePath(const QString &path) { m_resourcePath = path; }

    // Serialises the callers that use the second connection directly (it is not safe
    // for two threads at once); the queue's work does not take it.
    QRecursiveMutex &dbMutex() { return m_dbMutex; }

private:
    XXXRWDatabasePtr m_db;
    XXXRWDatabaseQueuePtr m_queue;
    QString m_dbName;
    QString m_resourcePath = QStringLiteral(":/");
    QRecursiveMutex m_dbMutex;
};

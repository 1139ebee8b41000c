#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

#include <memory>

struct sqlite3;

// The raw SQLite manager: places a database file in the user's Documents directory
// (seeded from the application's resource of the same name when missing) and holds one
// raw connection to it, which every SQLiteBaseDAO made afterwards shares.
class CORBELAN_EXPORT SQLiteDBManager
{
public:
    // One raw connection, shared by the manager and the DAOs made while it was open.
    // Only the manager closes it; a DAO that outlives the close finds it empty, never a
    // dangling handle. Dropped by everyone, it closes itself.
    class CORBELAN_EXPORT Connection
    {
    public:
        explicit Connection(sqlite3 *handle);
        ~Connection();
        Connection(const Connection &) = delete;
        Connection &operator=(const Connection &) = delete;

        sqlite3 *handle() const { return m_handle; }
        void close();

    private:
        sqlite3 *m_handle = nullptr;
    };
    using ConnectionPtr = std::shared_ptr<Connection>;

    // The one manager of the process.
    static SQLiteDBManager &sharedInstance();

    SQLiteDBManager();
    // Closes a held connection.
    ~SQLiteDBManager();

    SQLiteDBManager(const SQLiteDBManager &) = delete;
    SQLiteDBManager &operator=(const SQLiteDBManager &) = delete;

    // The folder that holds the seeds (default ":/", the application's resources).
    static QString resourceDirectory();
    static void setResourceDirectory(const QString &directory);

    QString dbName() const { return m_dbName; }
    // The raw handle; null when closed.
    sqlite3 *dbHandler() const;
    // The shared connection, null when closed.
    ConnectionPtr connection() const;

    // Sets dbName, seeds the file when missing and opens Documents/<name>; true when
    // SQLite opened it. A connection already held is let go of, not closed: DAOs made
    // on it keep using it until they are gone.
    bool openDataBase(const QString &name);
    // Documents/<dbName>.
    QString getDBPath() const;
    // Copies the seed <resourceDirectory>/<dbName> to getDBPath() when no file is there.
    void createDatabaseIfNeeded();
    // Closes a held connection; DAOs that share it then answer NO / nothing.
    void closeDataBase();

private:
    QString m_dbName;
    ConnectionPtr m_dbHandler;
};

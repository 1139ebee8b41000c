#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXRWDatabaseQueue.h>

#include <QtCore/QString>

#include <memory>

// The one object of the process that knows the application's SQLite file. On first
// start it copies the seed file that ships with the application (the resource
// ":/<dbName>") into the user's Documents folder, readable and writable by the owner
// only; it opens one database queue on the file (statement caching on) and hands that
// queue to every table data-access object.
//
// Tests point the seed look-up (resourcePath) and the Documents folder (documentsPath)
// elsewhere, on the shared manager or on a manager of their own.
class CORBELAN_EXPORT XXXDBManager
{
public:
    static XXXDBManager *sharedXXXDBManager();

    XXXDBManager();
    virtual ~XXXDBManager(); // closes the queue

    XXXDBManager(const XXXDBManager &) = delete;
    XXXDBManager &operator=(const XXXDBManager &) = delete;

    // How long (seconds) a statement waits for another connection or process that holds
    // the file locked before it fails, so two instances of the program share one file.
    static constexpr double kBusyTimeout = 5.0;

    // Opens the file at path (copying the seed to Documents/<file name> first when that
    // is missing); true when a queue is open afterwards, else false with the reason in
    // error (the file is left as it is). A queue held before is closed.
    bool openDataBaseWithPath(const QString &path, Bastwick::Error *error = nullptr);
    // Opens Documents/<name>.
    bool openDataBaseWithName(const QString &name);
    // Closes the held queue, if any; the queue object stays held.
    void closeDataBase();
    // Copies the seed to Documents/<dbName> when no file is there; reports by logging.
    void createDatabaseIfNeeded();
    // Replaces the Documents copy with a fresh copy of the seed; true when copied.
    bool createNewDatabase();
    // Documents/<dbName>.
    QString defaultDBPath() const;

    XXXRWDatabaseQueuePtr queue() const;
    void setQueue(const XXXRWDatabaseQueuePtr &queue);
    QString dbName() const;
    void setDbName(const QString &name);

    // The folder the seed file is looked up in; ":" (the application's resources) unless set.
    QString resourcePath() const;
    void setResourcePath(const QString &path);
    // The Documents folder; the user's (created when missing) unless set.
    QString documentsPath() const;
    void setDocumentsPath(const QString &path);

private:
    bool copySeed(const char *function, int line);

    struct Private;
    std::unique_ptr<Private> d;
};

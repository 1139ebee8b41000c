#include <corbelan/sqlite/XXXDBManager.h>

#include <corbelan/sqlite/alternative/AltSqliteSupport_p.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QMutex>

struct XXXDBManager::Private
{
    mutable QMutex mutex;
    XXXRWDatabaseQueuePtr queue;
    QString dbName;
    QString resourcePath = QStringLiteral(":");
    QString documentsPath;
};

XXXDBManager *XXXDBManager::sharedXXXDBManager()
{
    static XXXDBManager *manager = new XXXDBManager(); // lives for the whole process
    return manager;
}

XXXDBManager::XXXDBManager()
    : d(std::make_unique<Private>())
{
}

XXXDBManager::~XXXDBManager()
{
    closeDataBase();
}

XXXRWDatabaseQueuePtr XXXDBManager::queue() const
{
    QMutexLocker lock(&d->mutex);
    return d->queue;
}

void XXXDBManager::setQueue(const XXXRWDatabaseQueuePtr &queue)
{
    QMutexLocker lock(&d->mutex);
    d->queue = queue;
}

QString XXXDBManager::dbName() const
{
    QMutexLocker lock(&d->mutex);
    return d->dbName;
}

void XXXDBManager::setDbName(const QString &name)
{
    QMutexLocker lock(&d->mutex);
    d->dbName = name;
}

QString XXXDBManager::resourcePath() const
{
    QMutexLocker lock(&d->mutex);
    return d->resourcePath;
}

void XXXDBManager::setResourcePath(const QString &path)
{
    QMutexLocker lock(&d->mutex);
    d->resourcePath = path;
}

QString XXXDBManager::documentsPath() const
{
    {
        QMutexLocker lock(&d->mutex);
        if (!d->documentsPath.isEmpty())
            return d->documentsPath;
    }
    return Bastwick::appPath();
}

void XXXDBManager::setDocumentsPath(const QString &path)
{
    QMutexLocker lock(&d->mutex);
    d->documentsPath = path;
}

QString XXXDBManager::defaultDBPath() const
{
    return QDir(documentsPath()).filePath(dbName());
}

bool XXXDBManager::openDataBaseWithPath(const QString &path, Bastwick::Error *error)
{
    XXXLog(QStringLiteral("dbPath= %1 \n").arg(path));
    setDbName(QFileInfo(path).fileName());
    createDatabaseIfNeeded();

    XXXRWDatabaseQueuePtr previous = queue();
    if (previous)
        previous->close(); // no second connection stays open behind the new one
    // The queue refuses a file that is not a database (and leaves it as it is).
    Bastwick::Error failure;
    XXXRWDatabaseQueuePtr opened = XXXRWDatabaseQueue::databaseQueueWithPath(
        path, XXXRWDatabaseQueue::kDefaultOpenFlags, kBusyTimeout, &failure);
    setQueue(opened);
    if (!opened) {
        XXXLogError(QStringLiteral("error opening the database with queue!"));
        Bastwick::setError(error, failure);
        return false;
    }
    opened->inDatabase([](XXXRWDatabase *db) {
        if (db)
            db->setShouldCacheStatements(true);
    });
    return true;
}

bool XXXDBManager::openDataBaseWithName(const QString &name)
{
    setDbName(name);
    XXXLog(QStringLiteral("dbName= %1 \n").arg(name));
    createDatabaseIfNeeded();
    return openDataBaseWithPath(defaultDBPath());
}

void XXXDBManager::closeDataBase()
{
    if (XXXRWDatabaseQueuePtr q = queue())
        q->close();
}

bool XXXDBManager::copySeed(const char *function, int line)
{
    const QString target = defaultDBPath();
    const QString source = QDir(resourcePath()).filePath(dbName());
    if (!QFile::exists(source)) {
        XXXLogError(QStringLiteral("\n bundle database doesnot exists!"));
        return false;
    }
    QDir().mkpath(QFileInfo(target).absolutePath());
    QString problem;
    if (!Corbelan::AltSqlite::copySeed(source, target, &problem)) {
        XXXLogError(Corbelan::AltSqlite::seedCopyFailure(function, "XXXDBManager", line, problem));
        return false;
    }
    XXXLog(QStringLiteral("\n create database success"));
    return true;
}

void XXXDBManager::createDatabaseIfNeeded()
{
    const QString target = defaultDBPath();
    QDir().mkpath(documentsPath()); // the Documents folder is created when missing
    const bool exists = QFileInfo::exists(target);
    XXXLog(QStringLiteral("\n createEditableCopyOfDatabaseIfNeeded database %1 \n").arg(dbName()));
    if (exists) {
        XXXLog(QStringLiteral("\n database exists!"));
        return;
    }
    copySeed(__func__, __LINE__);
}

bool XXXDBManager::createNewDatabase()
{
    const QString target = defaultDBPath();
    const bool exists = QFileInfo::exists(target);
    XXXLog(QStringLiteral("\n createEditableCopyOfDatabaseIfNeeded database %1 \n").arg(dbName()));
    if (exists) {
        XXXLog(QStringLiteral("\n database exists!")); // replaced once the fresh copy is ready
    }
    return copySeed(__func__, __LINE__);
}

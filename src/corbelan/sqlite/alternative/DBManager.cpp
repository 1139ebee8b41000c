#include <corbelan/sqlite/alternative/DBManager.h>

#include <corbelan/sqlite/alternative/AltSqliteSupport.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QDir>
#include <QtCore/QLoggingCategory>

namespace {

// The lines of openDataBase carry no function-and-line prefix.
void logPlain(const QString &message, QtMsgType type = QtDebugMsg)
{
    const QLoggingCategory &category = Bastwick::logCategory(KESTRUNE_LOG_CATEGORY);
    if (!category.isEnabled(type))
        return;
    QMessageLogger logger(nullptr, 0, nullptr, category.categoryName());
    if (type == QtDebugMsg)
        logger.debug().noquote() << message;
    else
        logger.warning().noquote() << message;
}

} // namespace

DBManager *DBManager::sharedDBManager()
{
    static DBManager *manager = new DBManager();
    return manager;
}

DBManager::DBManager() = default;
DBManager::~DBManager() = default;

QString DBManager::getDBPath() const
{
    return QDir::cleanPath(Bastwick::appPath() + QLatin1Char('/') + m_dbName);
}

bool DBManager::openDataBase(const QString &name)
{
    m_dbName = name;
    const QString path = getDBPath();
    createDatabaseIfNeeded();
    logPlain(QStringLiteral("dbPath= ") + path + QStringLiteral(" \n"));

    QMutexLocker lock(&m_dbMutex);
    m_db = XXXRWDatabase::databaseWithPath(path);
    m_queue = XXXRWDatabaseQueue::databaseQueueWithPath(path);
    if (!m_queue) {
        logPlain(QStringLiteral("error opening the database with queue!"), QtWarningMsg);
        return false;
    }
    m_queue->inDatabase([](XXXRWDatabase *db) {
        if (db)
            db->setShouldCacheStatements(true);
    });
    if (!m_db->open()) {
        logPlain(QStringLiteral("error opening the database!"), QtWarningMsg);
        return false;
    }
    return true;
}

void DBManager::closeDataBase()
{
    QMutexLocker lock(&m_dbMutex);
    if (m_db)
        m_db->close();
}

void DBManager::createDatabaseIfNeeded()
{
    const QString target = getDBPath();
    const bool exists = Bastwick::fileExistsAtPath(target);
    XXXLog(QStringLiteral("\n createEditableCopyOfDatabaseIfNeeded database ") + m_dbName +
           QStringLiteral(" \n"));
    if (exists)
        return;
    QString problem;
    if (Corbelan::AltSqlite::copySeed(QDir::cleanPath(m_resourcePath + QLatin1Char('/') + m_dbName), target,
                                      &problem)) {
        XXXLog(QStringLiteral("\n create database success"));
        return;
    }
    XXXLogError(Corbelan::AltSqlite::seedCopyFailure(__func__, "DBManager", __LINE__, problem));
}

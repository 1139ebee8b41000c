#include <corbelan/sqlite/alternative/SQLiteDBManager.h>

#include <corbelan/sqlite/alternative/AltSqliteSupport.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QDir>

#include <sqlite3.h>

namespace {

Corbelan::AltSqlite::ResourceFolder &resources()
{
    static Corbelan::AltSqlite::ResourceFolder folder;
    return folder;
}

} // namespace

SQLiteDBManager::Connection::Connection(sqlite3 *handle)
    : m_handle(handle)
{
}

SQLiteDBManager::Connection::~Connection()
{
    close();
}

void SQLiteDBManager::Connection::close()
{
    if (!m_handle)
        return;
    sqlite3_close_v2(m_handle);
    m_handle = nullptr;
}

SQLiteDBManager &SQLiteDBManager::sharedInstance()
{
    static SQLiteDBManager *manager = new SQLiteDBManager();
    return *manager;
}

SQLiteDBManager::SQLiteDBManager() = default;

SQLiteDBManager::~SQLiteDBManager()
{
    closeDataBase();
}

QString SQLiteDBManager::resourceDirectory()
{
    return resources().path();
}

void SQLiteDBManager::setResourceDirectory(const QString &directory)
{
    resources().setPath(directory);
}

sqlite3 *SQLiteDBManager::dbHandler() const
{
    return m_dbHandler ? m_dbHandler->handle() : nullptr;
}

SQLiteDBManager::ConnectionPtr SQLiteDBManager::connection() const
{
    return m_dbHandler && m_dbHandler->handle() ? m_dbHandler : nullptr;
}

bool SQLiteDBManager::openDataBase(const QString &name)
{
    m_dbName = name;
    const QString path = getDBPath();
    createDatabaseIfNeeded();
    XXXLog(QStringLiteral("dbPath= ") + path + QStringLiteral(" \n"));
    sqlite3 *handle = nullptr;
    const int rc = sqlite3_open(path.toUtf8().constData(), &handle);
    if (rc != SQLITE_OK) {
        // SQLite may hand back a handle even when opening failed; it must still be closed.
        sqlite3_close_v2(handle);
        // The connection held before belongs to another file (or an older open): DAOs made
        // from now on must not write there under this name.
        m_dbHandler.reset();
        return false;
    }
    m_dbHandler = std::make_shared<Connection>(handle);
    return true;
}

QString SQLiteDBManager::getDBPath() const
{
    return QDir::cleanPath(Bastwick::appPath() + QLatin1Char('/') + m_dbName);
}

void SQLiteDBManager::createDatabaseIfNeeded()
{
    const QString target = getDBPath();
    const bool exists = Bastwick::fileExistsAtPath(target);
    XXXLog(QStringLiteral("\n createEditableCopyOfDatabaseIfNeeded database ") + m_dbName +
           QStringLiteral(" \n"));
    if (exists)
        return;
    QString problem;
    if (Corbelan::AltSqlite::copySeed(QDir::cleanPath(resourceDirectory() + QLatin1Char('/') + m_dbName),
                                      target, &problem)) {
        XXXLog(QStringLiteral("\n create database success"));
    } else {
        XXXLogError(Corbelan::AltSqlite::seedCopyFailure(__func__, "SQLiteDBManager", __LINE__, problem));
    }
}

void SQLiteDBManager::closeDataBase()
{
    if (m_dbHandler)
        m_dbHandler->close();
    m_dbHandler.reset();
}

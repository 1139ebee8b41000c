#include <corbelan/sqlite/alternative/SQLiteDataBaseAdapter.h>

#include <bastwick/platform/Log.h>

#include <sqlite3.h>

SQLiteDataBaseAdapter::SQLiteDataBaseAdapter(const QString &path)
    : m_dbPath(path)
{
}

SQLiteDataBaseAdapter::~SQLiteDataBaseAdapter()
{
    close();
}

bool SQLiteDataBaseAdapter::open()
{
    if (m_db)
        return true;
    sqlite3 *handle = nullptr;
    const int rc = sqlite3_open(m_dbPath.toUtf8().constData(), &handle);
    if (rc != SQLITE_OK) {
        // SQLite may hand back a handle even when opening failed; it must still be closed.
        sqlite3_close_v2(handle);
        return false;
    }
    m_db = handle;
    return true;
}

void SQLiteDataBaseAdapter::close()
{
    if (!m_db)
        return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

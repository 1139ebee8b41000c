#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

struct sqlite3;

// One raw SQLite connection to one file, opened and closed on request. The queue
// (SQLiteDataBaseQueue) owns an adapter and hands it to its blocks.
class CORBELAN_EXPORT SQLiteDataBaseAdapter
{
public:
    // Stores the path; does not open.
    explicit SQLiteDataBaseAdapter(const QString &path);
    // Its owner closes it first; a handle still held here is closed so it never leaks.
    ~SQLiteDataBaseAdapter();

    SQLiteDataBaseAdapter(const SQLiteDataBaseAdapter &) = delete;
    SQLiteDataBaseAdapter &operator=(const SQLiteDataBaseAdapter &) = delete;

    QString dbPath() const { return m_dbPath; }
    // The raw handle; null while closed.
    sqlite3 *db() const { return m_db; }

    // True at once when a handle is held; else opens dbPath and answers whether SQLite
    // reported success.
    bool open();
    // Closes a held handle and forgets it.
    void close();
    // The adapter keeps no result sets; answers true, as its queue expects.
    bool hasOpenResultSets() const { return true; }

private:
    QString m_dbPath;
    sqlite3 *m_db = nullptr;
};

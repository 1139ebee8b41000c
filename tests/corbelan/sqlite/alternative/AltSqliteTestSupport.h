#pragma once

// Helpers of the tests of the raw, adapter, Litesql, older DAO and active-record stacks:
// seed files made with SQLite itself, statement tracing on a raw handle, and direct reads.

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QStandardPaths>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace AltSqliteTest {

// Runs the SQL script into a new database file at path (replacing any file there).
inline bool makeDatabase(const QString &path, const QString &script)
{
    QFile::remove(path);
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    char *error = nullptr;
    const int rc = sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, &error);
    if (error) {
        ADD_FAILURE() << "seed script failed: " << error;
        sqlite3_free(error);
    }
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

inline QString documentsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

// Records the text of every statement a connection runs (as written, parameters unbound).
class SqlTrace
{
public:
    explicit SqlTrace(sqlite3 *db)
        : m_db(db)
    {
        if (m_db)
            sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT, &SqlTrace::callback, this);
    }
    ~SqlTrace()
    {
        if (m_db)
            sqlite3_trace_v2(m_db, 0, nullptr, nullptr);
    }
    SqlTrace(const SqlTrace &) = delete;
    SqlTrace &operator=(const SqlTrace &) = delete;

    const QStringList &statements() const { return m_statements; }
    void clear() { m_statements.clear(); }

private:
    static int callback(unsigned type, void *context, void *, void *x)
    {
        if (type == SQLITE_TRACE_STMT) {
            const QString text = QString::fromUtf8(static_cast<const char *>(x));
            if (!text.startsWith(QLatin1String("--")))
                static_cast<SqlTrace *>(context)->m_statements.append(text);
        }
        return 0;
    }

    sqlite3 *m_db;
    QStringList m_statements;
};

// The first column of every row of a query run straight on the handle, each as
// "<typeof>:<quote>" (for example "integer:1", "text:'a'", "blob:X''", "null:NULL").
inline QStringList typedColumn(sqlite3 *db, const QString &sql)
{
    QStringList out;
    sqlite3_stmt *statement = nullptr;
    const QString wrapped =
        QStringLiteral("SELECT typeof(v) || ':' || quote(v) FROM (") + sql + QStringLiteral(")");
    if (sqlite3_prepare_v2(db, wrapped.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot read back: " << sqlite3_errmsg(db);
        return out;
    }
    while (sqlite3_step(statement) == SQLITE_ROW)
        out.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0))));
    sqlite3_finalize(statement);
    return out;
}

} // namespace AltSqliteTest

#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QString>

#include <memory>

struct sqlite3_stmt;

// One prepared statement as a connection (XXXRWDatabase) hands it out and caches it.
// The text and blob buffers bound to it are kept here until the statement is reset or
// finalised, so SQLite can read them in place.
class CORBELAN_EXPORT XXXRWStatement
{
public:
    XXXRWStatement();
    explicit XXXRWStatement(sqlite3_stmt *statement);
    ~XXXRWStatement(); // runs close()

    XXXRWStatement(const XXXRWStatement &) = delete;
    XXXRWStatement &operator=(const XXXRWStatement &) = delete;

    // Finalises the handle (when one is held) and forgets it; inUse := false.
    void close();
    // Resets the handle (when one is held) and clears its bindings; inUse := false.
    void reset();

    // "<XXXRWStatement: 0x...> <n> hit(s) for query <sql>"
    QString description() const;

    sqlite3_stmt *statement() const { return m_statement; }
    void setStatement(sqlite3_stmt *statement) { m_statement = statement; }
    QString query() const { return m_query; }
    void setQuery(const QString &query) { m_query = query; }
    qint64 useCount() const { return m_useCount; }
    void setUseCount(qint64 count) { m_useCount = count; }
    bool inUse() const { return m_inUse; }
    void setInUse(bool inUse) { m_inUse = inUse; }

    // The buffers bound to the handle; released by reset() and close().
    void keepBoundBuffers(QList<QByteArray> buffers);

private:
    sqlite3_stmt *m_statement = nullptr;
    QString m_query;
    qint64 m_useCount = 0;
    bool m_inUse = false;
    QList<QByteArray> m_boundBuffers;
};

using XXXRWStatementPtr = std::shared_ptr<XXXRWStatement>;

#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/XXXRWStatement.h>

#include <QtCore/QByteArray>
#include <QtCore/QDateTime>
#include <QtCore/QHash>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

#include <functional>
#include <memory>

class QObject;
class XXXRWDatabase;

// The cursor over the rows of one query of an XXXRWDatabase. Step with next(); read
// columns by 0-based index or by name (names are matched without regard to letter
// case). The first next() that answers false closes it; close() and its destruction
// close it too, which resets the statement for reuse and unregisters it from the
// connection. After closing every getter answers null, 0 or false.
//
// A result set keeps its connection alive while it is open.
// Lives on the thread that ran the query (inside the queue block), and is read there.
class CORBELAN_EXPORT XXXRWResultSet
{
public:
    // A new result set reading the statement, which must not be in use (it is marked so).
    static std::shared_ptr<XXXRWResultSet>
    resultSetWithStatement(const XXXRWStatementPtr &statement,
                           const std::shared_ptr<XXXRWDatabase> &parentDB);

    XXXRWResultSet(const XXXRWStatementPtr &statement, const std::shared_ptr<XXXRWDatabase> &parentDB);
    ~XXXRWResultSet(); // runs close()

    XXXRWResultSet(const XXXRWResultSet &) = delete;
    XXXRWResultSet &operator=(const XXXRWResultSet &) = delete;

    bool next();
    bool hasAnotherRow() const;
    void close();

    std::shared_ptr<XXXRWDatabase> parentDB() const { return m_parentDB; }
    void setParentDB(const std::shared_ptr<XXXRWDatabase> &db) { m_parentDB = db; }
    XXXRWStatementPtr statement() const { return m_statement; }
    void setStatement(const XXXRWStatementPtr &statement) { m_statement = statement; }
    QString query() const { return m_query; }
    void setQuery(const QString &query) { m_query = query; }

    int columnCount() const;
    // Lower-case column name -> index (a later column of the same name wins).
    QHash<QString, int> columnNameToIndexMap();
    int columnIndexForName(const QString &columnName);
    QString columnNameForIndex(int columnIdx) const;

    // Typed getters; a negative index or SQL NULL reads as null, 0 or false.
    int intForColumnIndex(int columnIdx) const;
    int intForColumn(const QString &columnName);
    qint64 longForColumnIndex(int columnIdx) const;
    qint64 longForColumn(const QString &columnName);
    qint64 longLongIntForColumnIndex(int columnIdx) const;
    qint64 longLongIntForColumn(const QString &columnName);
    quint64 unsignedLongLongIntForColumnIndex(int columnIdx) const;
    quint64 unsignedLongLongIntForColumn(const QString &columnName);
    bool boolForColumnIndex(int columnIdx) const;
    bool boolForColumn(const QString &columnName);
    double doubleForColumnIndex(int columnIdx) const;
    double doubleForColumn(const QString &columnName);
    // Null QString for NULL.
    QString stringForColumnIndex(int columnIdx) const;
    QString stringForColumn(const QString &columnName);
    // Invalid QDateTime for NULL.
    QDateTime dateForColumnIndex(int columnIdx) const;
    QDateTime dateForColumn(const QString &columnName);
    // Null QByteArray for NULL; a zero-length blob gives an empty, non-null array.
    QByteArray dataForColumnIndex(int columnIdx) const;
    QByteArray dataForColumn(const QString &columnName);
    // Points at SQLite's bytes without copying: valid until the next step or close.
    QByteArray dataNoCopyForColumnIndex(int columnIdx) const;
    QByteArray dataNoCopyForColumn(const QString &columnName);
    const unsigned char *UTF8StringForColumnIndex(int columnIdx) const;
    const unsigned char *UTF8StringForColumnName(const QString &columnName);
    bool columnIndexIsNull(int columnIdx) const;
    bool columnIsNull(const QString &columnName);
    // qint64 for integers, double for floats, QByteArray for blobs, QString otherwise;
    // the null marker (Bastwick::nullValue()) for NULL. Never an invalid QVariant.
    QVariant objectForColumnIndex(int columnIdx) const;
    QVariant objectForColumnName(const QString &columnName);
    QVariant operator[](int columnIdx) const { return objectForColumnIndex(columnIdx); }
    QVariant operator[](const QString &columnName) { return objectForColumnName(columnName); }

    // The current row: column name (case kept) -> value; an empty map with a warning
    // when there is no current row.
    QVariantMap resultDictionary() const;
    // The same keyed by lower-case names.
    QVariantMap resultDict();
    // Writes each non-NULL column, as text, into the property of the same name.
    void kvcMagic(QObject *object) const;
    void kvcMagic(QVariant &holder) const;

private:
    bool hasStatement() const;
    sqlite3_stmt *handle() const;
    // Calls fn with the name and text of every column of the current row that is not NULL.
    void forEachColumnText(const std::function<void(const QString &, const QString &)> &fn) const;

    std::shared_ptr<XXXRWDatabase> m_parentDB;
    XXXRWStatementPtr m_statement;
    QString m_query;
    QHash<QString, int> m_columnNameToIndexMap;
    bool m_mapBuilt = false;
};

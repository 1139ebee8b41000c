#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/alternative/SQLiteDBManager.h>

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The table data-access base of the raw SQLite stack. It runs SQL synchronously on the
// caller's thread against the shared connection of SQLiteDBManager, binds arguments by
// their kind and turns rows into models: objects of the registered QObject class whose
// name is the table's name, each non-null column set by key-value access under its name.
//
// Every failure is logged and reported by the result: false for updates, an empty list
// (no rows) or a null model for queries, 0 for getCount. Once the manager has closed the
// connection, every operation answers that way.
class CORBELAN_EXPORT SQLiteBaseDAO
{
public:
    using Model = std::shared_ptr<QObject>;
    using ModelList = QList<Model>;

    // Takes the manager's connection; without an open one the DAO answers nothing.
    SQLiteBaseDAO();
    virtual ~SQLiteBaseDAO();

    // A new DAO of class T, or null when the shared manager holds no open connection.
    template <class T> static std::shared_ptr<T> create()
    {
        if (!SQLiteDBManager::sharedInstance().connection())
            return nullptr;
        return std::make_shared<T>();
    }

    int errorCode() const { return m_errorCode; }
    qint64 count() const { return m_count; }
    // The raw handle of the shared connection; null once the manager closed it.
    sqlite3 *db() const;

    QString tableName() const { return m_tableName; }
    void setTableName(const QString &tableName) { m_tableName = tableName; }
    QStringList fldList() const { return m_fldList; }
    void setFldList(const QStringList &list) { m_fldList = list; }
    QStringList keyList() const { return m_keyList; }
    void setKeyList(const QStringList &list) { m_keyList = list; }

    // The table's row count (0 without a table name).
    qint64 getCount();

    // Hooks for subclasses; the base answers false and does nothing.
    virtual bool insert(const QVariant &object);
    virtual bool update(const QVariant &object);
    virtual bool deleteObject(const QVariant &object);

    bool sqlUpdate(const QString &sql);
    bool sqlUpdate(const QString &sql, const QVariantList &arguments);
    // Keys carry the parameter's prefix (":name").
    bool sqlUpdate(const QString &sql, const QVariantMap &parameters);

    ModelList sqlQuery(const QString &sql);
    ModelList sqlQuery(const QString &sql, const QVariantList &arguments);
    // Keys are parameter names without the colon.
    ModelList sqlQuery(const QString &sql, const QVariantMap &parameters);
    // Reads every row of the prepared statement and finalises it.
    ModelList sqlQueryFetch(sqlite3_stmt *statement);

    bool clearAll();
    ModelList findAll();
    // The one row whose key columns equal the object's (a QObject*, a gadget or a map).
    Model findByKey(const QVariant &object);
    ModelList findByAttributes(const QVariantMap &attributes);
    ModelList findByPage(qint64 page, qint64 pageSize);

    void showSQLiteDBErrorMessage();
    void bindObject(const QVariant &value, int column, sqlite3_stmt *statement);
    QString columnNameForIndex(int column, sqlite3_stmt *statement);
    // The column's value: qint64, double, QByteArray or QString; the null marker for
    // NULL and for a negative index.
    QVariant objectForColumnIndex(int column, sqlite3_stmt *statement);

private:
    sqlite3_stmt *prepare(const QString &sql, int *result);
    bool stepAndFinalize(const QString &sql, sqlite3_stmt *statement);

    int m_errorCode = -1;
    qint64 m_count = 0;
    SQLiteDBManager::ConnectionPtr m_db;
    QString m_tableName;
    QStringList m_fldList;
    QStringList m_keyList;
};

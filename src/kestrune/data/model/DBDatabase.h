#pragma once

#include <bastwick/platform/Error.h>

#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QMutex>
#include <QtCore/QObject>
#include <QtCore/QRecursiveMutex>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>

#include <functional>
#include <memory>
#include <optional>

class DBConnection;
class DBExport;
class DBField;
class DBImport;
class DBResultSet;
class DBTable;

namespace Bastwick {
class IndexSet;
}

// The domain of the errors the generic database reports itself (a statement it cannot
// form, an operation no connection provides).
extern const QString DBDatabaseErrorDomain;

// One named database of an open connection, with its table list and the table operations
// of an SQL engine. The Deraz database object derives from it; for Deraz the SQL half is
// inert (the connection runs no SQL), so the table list stays empty and every query
// yields nothing.
//
// Owned through std::shared_ptr; the database holds its connection strongly.
class DBDatabase : public QObject, public std::enable_shared_from_this<DBDatabase>
{
    Q_OBJECT
    Q_PROPERTY(QString url READ url WRITE setUrl)
    Q_PROPERTY(QString name READ name WRITE setName)
    Q_PROPERTY(bool isSystemDB READ isSystemDB WRITE setIsSystemDB)
    Q_PROPERTY(QString enconding READ enconding WRITE setEnconding)
    Q_PROPERTY(QString collation READ collation WRITE setCollation)
    Q_PROPERTY(qint64 connID READ connID)
    Q_PROPERTY(int lastErrorCode READ lastErrorCode WRITE setLastErrorCode)
    Q_PROPERTY(QString lastErrorMessage READ lastErrorMessage WRITE setLastErrorMessage)
    Q_PROPERTY(qint64 lastInsertRowId READ lastInsertRowId WRITE setLastInsertRowId)

public:
    using TablePtr = std::shared_ptr<DBTable>;
    using TableList = QList<TablePtr>;
    using ResultSetPtr = std::shared_ptr<DBResultSet>;
    using ResultSetSuccess = std::function<void(ResultSetPtr)>;
    using Failure = std::function<void(const Bastwick::Error &)>;

    // With the UTF-8 encoding code (4).
    DBDatabase(std::shared_ptr<DBConnection> connection, const QString &name);
    // The encoding code is not kept.
    DBDatabase(std::shared_ptr<DBConnection> connection, const QString &name, quint64 stringEncoding);
    explicit DBDatabase(const QString &urlString);
    // No database is built from JSON: always nothing.
    static std::shared_ptr<DBDatabase> initWithJSONObject(const QVariant &json, Bastwick::Error *error);
    ~DBDatabase() override;

    QString url() const { return m_url; }
    void setUrl(const QString &url) { m_url = url; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    bool isSystemDB() const { return m_isSystemDB; }
    void setIsSystemDB(bool value) { m_isSystemDB = value; }
    QString enconding() const { return m_enconding; }
    void setEnconding(const QString &value) { m_enconding = value; }
    QString collation() const { return m_collation; }
    void setCollation(const QString &value) { m_collation = value; }
    int lastErrorCode() const { return m_lastErrorCode; }
    void setLastErrorCode(int value) { m_lastErrorCode = value; }
    QString lastErrorMessage() const { return m_lastErrorMessage; }
    void setLastErrorMessage(const QString &value) { m_lastErrorMessage = value; }
    qint64 lastInsertRowId() const { return m_lastInsertRowId; }
    void setLastInsertRowId(qint64 value) { m_lastInsertRowId = value; }

    // The owning connection's profile connID (0 without a connection or profile).
    qint64 connID() const;

    const std::shared_ptr<DBConnection> &connection() const { return m_connection; }
    void setConnection(std::shared_ptr<DBConnection> connection) { m_connection = std::move(connection); }

    // The importer and exporter the import and export operations go through. The base
    // answers what was set; the Deraz database answers its own kits.
    virtual std::shared_ptr<DBImport> dbImport();
    void setDbImport(std::shared_ptr<DBImport> kit) { m_import = std::move(kit); }
    virtual std::shared_ptr<DBExport> dbExport();
    void setDbExport(std::shared_ptr<DBExport> kit) { m_export = std::move(kit); }

    // No JSON form.
    QString JSONText() const { return {}; }
    // Hook before SQL runs; nothing in the base.
    virtual void activeConnect() {}

    // Table list.
    TableList tables() const;
    void setTables(const TableList &tables);
    QStringList tableNames() const;
    void setTableNames(const QStringList &names);
    bool containsTable(const DBTable &table) const;
    TablePtr tableWithName(const QString &name) const;         // case-insensitive
    virtual TablePtr queryTableWithName(const QString &name);  // nothing in the base
    TableList tablesWithNames(const QStringList &names) const; // via the name map
    TableList tablesWithNodeURLs(const QStringList &nodeURLs) const;
    void addTables(const TableList &tables);
    void addTable(const TablePtr &table) { addTables({table}); }
    void removeTable(const QString &name); // exact name
    void removeTable(const TablePtr &table);
    void removeTables(const TableList &tables);
    void removeTables(const QString &name) { removeTable(name); }
    void removeTables(const TablePtr &table) { removeTable(table); }
    TablePtr tableWithIndex(qsizetype index) const;
    qsizetype indexOfTable(const QString &name) const; // position in tableNames(), -1 when absent
    qsizetype indexOfTable(const TablePtr &table) const;
    TableList tablesAtIndexes(const Bastwick::IndexSet &indexes) const;
    TableList mutableTables() const { return tables(); }
    void refresh();
    QHash<QString, TablePtr> tablesNameMap() const;
    void setTableInNameMap(const QString &name, const TablePtr &table);

    // SQL table operations.
    bool dropTable(const QString &name);
    bool dropTable(const TablePtr &table);
    bool dropAllTable();
    // The table's own creation text.
    QString createTableSQL(const DBTable &table) const;
    // Runs the table's creation text; the table is not added to the list.
    bool createTable(const DBTable &table, Bastwick::Error *error);
    // Runs the table's rename text; on success the old table leaves the list and
    // queryTableWithName() is asked for the new name.
    bool renameTable(const DBTable &table, const QString &newName, Bastwick::Error *error);
    // Runs the table's duplicate text; on success queryTableWithName() is asked for the
    // new name.
    bool duplicateTable(const DBTable &table, const QString &newName, Bastwick::Error *error);
    bool emptyTable(const DBTable &table);
    bool emptyAllTable();
    // Engine hooks: each answers false and does nothing in the base.
    virtual bool updateTableField(const DBField &field, const DBTable &table, Bastwick::Error *error);
    virtual bool modifyTableField(const DBField &field, const DBField &newField, const DBTable &table,
                                  Bastwick::Error *error);
    virtual bool removeTableField(const DBField &field, const DBTable &table, Bastwick::Error *error);
    virtual bool changeTable(const DBTable &table, const QVariantMap &metaInfo, Bastwick::Error *error);
    virtual bool addTableIndex(const QString &name, const DBTable &table,
                               const QList<std::shared_ptr<DBField>> &fields, const QString &indexType,
                               Bastwick::Error *error);
    virtual bool addTableIndex(const QString &name, const DBTable &table,
                               const QList<std::shared_ptr<DBField>> &fields, const QString &indexType,
                               const QString &indexDataType, Bastwick::Error *error);
    virtual bool removeTableIndex(const QString &name, const DBTable &table, Bastwick::Error *error);
    virtual bool removeTableIndexs(const QStringList &names, const DBTable &table, Bastwick::Error *error);
    // False, or what updateTableField() answers when the table has a column of that name.
    bool addTableField(const DBField &field, const DBTable &table, Bastwick::Error *error);
    // removeTableField() for each column at the positions; true.
    bool removeTableFieldsAtIndexes(const Bastwick::IndexSet &indexes, const DBTable &table,
                                    Bastwick::Error *error);

    // Generated rows for an SQL table.
    bool magicData(const DBTable &table, qint64 nums, Bastwick::Error *error);

    // Import forwards (false without an importer).
    bool importData2Table(const TablePtr &table, const QVariantList &data, Bastwick::Error *error);
    bool importData2TableWithName(const QString &name, const QVariantList &data, Bastwick::Error *error);
    bool importSQL(const QString &sql, Bastwick::Error *error);
    // No importer provides a row update: false.
    bool updataDataWithTable(const TablePtr &table, const QVariantList &data);

    // Query: statements through the connection.
    std::shared_ptr<DBResultSet> executeSQLResult(const QString &sql, Bastwick::Error *error);
    bool executeSQL(const QString &sql, Bastwick::Error *error);
    std::shared_ptr<DBResultSet> tableData(const QString &tableName, Bastwick::Error *error);
    std::shared_ptr<DBResultSet> tableData(const QString &tableName, const Bastwick::IndexSet *indexes,
                                           Bastwick::Error *error);
    std::shared_ptr<DBResultSet> executeSQLResult(const QString &sql, const Bastwick::IndexSet *indexes,
                                                  Bastwick::Error *error);
    qint64 numberOfQueryRecords(const QString &sql);
    QString namespaceForTable(const QString &tableName) const;

    // Reads of a table through its namespace ("<database>.<table>"): forwarded to the
    // connection's fetchResultSetForNamespace of the same shape, which answers (or
    // reports). Without a table, a query where one is taken, or a connection, nothing is
    // forwarded: no result and the reason (the callback forms call the failure callback
    // with it on the main queue).
    void fetchResultSetForTable(const QString &tableName, const Bastwick::IndexSet *indexes,
                                ResultSetSuccess success, Failure failure);
    void fetchResultSetForTable(const QString &tableName, const QString &query,
                                const Bastwick::IndexSet *indexes, ResultSetSuccess success, Failure failure);
    ResultSetPtr fetchResultSetForTable(const QString &tableName, const Bastwick::IndexSet *indexes,
                                        Bastwick::Error *error);
    ResultSetPtr fetchResultSetForTable(const QString &tableName, const QString &query,
                                        const Bastwick::IndexSet *indexes, Bastwick::Error *error);

    // The statement texts of the paged reads (nothing for an empty index set).
    static std::optional<QString> pagedSQL(const QString &sql, const Bastwick::IndexSet *indexes);
    static std::optional<QString> countSQL(const QString &sql);

private:
    bool runTableStatement(const QString &sql, const Bastwick::Error &noStatement, Bastwick::Error &local,
                           Bastwick::Error *error);

    QString m_url;
    QString m_name;
    bool m_isSystemDB = false;
    QString m_enconding;
    QString m_collation;
    int m_lastErrorCode = 0;
    QString m_lastErrorMessage;
    qint64 m_lastInsertRowId = 0;
    std::shared_ptr<DBConnection> m_connection;
    std::shared_ptr<DBImport> m_import;
    std::shared_ptr<DBExport> m_export;

    mutable QRecursiveMutex m_lock;
    TableList m_tables;
    QStringList m_tableNames;
    QHash<QString, TablePtr> m_tablesNameMap;
};

// SQL type lists and SQL text tests.
namespace DBHelper {
QStringList sqliteDataTypes();
QStringList mysqlDataTypes();
QStringList mysqlKeyTypes();
QStringList sqliteEncodingTypes();
QStringList sqliteCollectionTypes();
QString tableNameFromSQL(const QString &sql);
bool isCreateTableSQL(const QString &sql);
bool isSelectSQL(const QString &sql);
bool isSQLiteVersion();
bool isMySQLVersion();
bool isPostgreSQLVersion();
} // namespace DBHelper

// Type groups: none are defined.
namespace DBDataType {
QStringList dataTypes();
QStringList numbers();
QStringList datetime();
QStringList string();
QStringList spatial();
} // namespace DBDataType

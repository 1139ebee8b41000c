#include <kestrune/data/model/DBDatabase.h>

#include <kestrune/data/model/DBConnection.h>
#include <kestrune/data/model/DBExport.h>
#include <kestrune/data/model/DBImport.h>
#include <kestrune/data/model/DBTable.h>
#include <kestrune/data/records/DBProfile.h>

#include <bastwick/IndexSet.h>
#include <bastwick/StringAdditions.h>
#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QRegularExpression>

const QString DBDatabaseErrorDomain = QStringLiteral("DBDatabase");

// An error counts as reported when the execution left any part of an error value.
static bool errorReported(const Bastwick::Error &error)
{
    return error.code != 0 || !error.description.isEmpty() || !error.domain.isEmpty();
}

// The error for a table operation whose statement text the table cannot form.
static Bastwick::Error noStatementError(const QString &operation, const DBTable &table)
{
    return Bastwick::Error(DBDatabaseErrorDomain, 1,
                           Bastwick::format("No %@ statement for the table \"%@\"", operation, table.name()));
}

DBDatabase::DBDatabase(std::shared_ptr<DBConnection> connection, const QString &name)
    : DBDatabase(std::move(connection), name, 4)
{
}

DBDatabase::DBDatabase(std::shared_ptr<DBConnection> connection, const QString &name, quint64 stringEncoding)
    : m_name(name)
    , m_connection(std::move(connection))
{
    Q_UNUSED(stringEncoding);
}

DBDatabase::DBDatabase(const QString &urlString)
    : m_url(urlString)
{
}

DBDatabase::~DBDatabase() = default;

std::shared_ptr<DBDatabase> DBDatabase::initWithJSONObject(const QVariant &json, Bastwick::Error *error)
{
    Q_UNUSED(json);
    Q_UNUSED(error);
    return nullptr;
}

qint64 DBDatabase::connID() const
{
    if (!m_connection || !m_connection->profile())
        return 0;
    return m_connection->profile()->connID();
}

std::shared_ptr<DBImport> DBDatabase::dbImport()
{
    return m_import;
}

std::shared_ptr<DBExport> DBDatabase::dbExport()
{
    return m_export;
}

DBDatabase::TablePtr DBDatabase::queryTableWithName(const QString &name)
{
    return nullptr;
}

// --- Table list ---------------------------------------------------------------------

DBDatabase::TableList DBDatabase::tables() const
{
    QMutexLocker locker(&m_lock);
    return m_tables;
}

void DBDatabase::setTables(const TableList &tables)
{
    QMutexLocker locker(&m_lock);
    m_tables = tables;
}

QStringList DBDatabase::tableNames() const
{
    QMutexLocker locker(&m_lock);
    return m_tableNames;
}

void DBDatabase::setTableNames(const QStringList &names)
{
    QMutexLocker locker(&m_lock);
    m_tableNames = names;
}

bool DBDatabase::containsTable(const DBTable &table) const
{
    QMutexLocker locker(&m_lock);
    const QString wanted = table.name().toUpper();
    for (const TablePtr &t : m_tables) {
        if (t && t->name().toUpper() == wanted)
            return true;
    }
    return false;
}

DBDatabase::TablePtr DBDatabase::tableWithName(const QString &name) const
{
    if (name.isNull())
        return nullptr;
    QMutexLocker locker(&m_lock);
    const QString wanted = name.toUpper();
    for (const TablePtr &t : m_tables) {
        if (t && t->name().toUpper() == wanted)
            return t;
    }
    return nullptr;
}

DBDatabase::TableList DBDatabase::tablesWithNames(const QStringList &names) const
{
    QMutexLocker locker(&m_lock);
    TableList found;
    for (const QString &name : names) {
        const auto it = m_tablesNameMap.constFind(name);
        if (it == m_tablesNameMap.cend() || !*it) {
            XXXLog(Bastwick::format("tableName=%@ does not exsist tablesNameMap", name));
            continue;
        }
        found.append(*it);
    }
    return found;
}

DBDatabase::TableList DBDatabase::tablesWithNodeURLs(const QStringList &nodeURLs) const
{
    QStringList names;
    names.reserve(nodeURLs.size());
    for (const QString &url : nodeURLs)
        names.append(url.section(QLatin1Char('/'), -1));
    return tablesWithNames(names);
}

void DBDatabase::addTables(const TableList &tables)
{
    QMutexLocker locker(&m_lock);
    for (const TablePtr &t : tables) {
        if (t && containsTable(*t)) {
            XXXLog(Bastwick::format("tables =%@ Exsist!", t->description()));
            continue;
        }
        // A missing table is logged and not added.
        Bastwick::addSafeObject(m_tables, t);
    }
}

void DBDatabase::removeTable(const QString &name)
{
    QMutexLocker locker(&m_lock);
    for (qsizetype i = 0; i < m_tables.size(); ++i) {
        if (m_tables[i] && m_tables[i]->name() == name) {
            m_tables.removeAt(i);
            m_tablesNameMap.remove(name);
            return;
        }
    }
}

void DBDatabase::removeTable(const TablePtr &table)
{
    if (table)
        removeTable(table->name());
}

void DBDatabase::removeTables(const TableList &tables)
{
    for (const TablePtr &t : tables)
        removeTable(t);
}

DBDatabase::TablePtr DBDatabase::tableWithIndex(qsizetype index) const
{
    QMutexLocker locker(&m_lock);
    if (index < 0 || index >= m_tables.size())
        return nullptr;
    return m_tables[index];
}

qsizetype DBDatabase::indexOfTable(const QString &name) const
{
    QMutexLocker locker(&m_lock);
    return m_tableNames.indexOf(name);
}

qsizetype DBDatabase::indexOfTable(const TablePtr &table) const
{
    return table ? indexOfTable(table->name()) : -1;
}

DBDatabase::TableList DBDatabase::tablesAtIndexes(const Bastwick::IndexSet &indexes) const
{
    QMutexLocker locker(&m_lock);
    TableList out;
    for (qint64 i : indexes) {
        if (i >= 0 && i < m_tables.size())
            out.append(m_tables[i]);
    }
    return out;
}

void DBDatabase::refresh()
{
    QMutexLocker locker(&m_lock);
    m_tableNames.clear();
    m_tablesNameMap.clear();
    m_tables.clear();
}

QHash<QString, DBDatabase::TablePtr> DBDatabase::tablesNameMap() const
{
    QMutexLocker locker(&m_lock);
    return m_tablesNameMap;
}

void DBDatabase::setTableInNameMap(const QString &name, const TablePtr &table)
{
    QMutexLocker locker(&m_lock);
    m_tablesNameMap.insert(name, table);
}

// --- SQL table operations -----------------------------------------------------------

bool DBDatabase::dropTable(const QString &name)
{
    activeConnect();
    const QString sql = Bastwick::format("DROP TABLE %@", name);
    Bastwick::Error error;
    executeSQLResult(sql, &error);
    if (errorReported(error)) {
        XXXLog(Bastwick::format("sql =%@ error=%@", sql, error.toString()));
        return false;
    }
    removeTable(name);
    return true;
}

bool DBDatabase::dropTable(const TablePtr &table)
{
    return table ? dropTable(table->name()) : false;
}

bool DBDatabase::dropAllTable()
{
    bool all = true;
    for (const TablePtr &t : tables()) {
        if (t && !dropTable(t->name()))
            all = false;
    }
    if (all)
        refresh();
    return all;
}

QString DBDatabase::createTableSQL(const DBTable &table) const
{
    return table.createTableSQLString();
}

// Runs one statement of a table operation; an empty text (nothing the table could form)
// is not sent and reports the given error instead. The error lands in local and, when
// given, in the caller's error value. True when no error was reported.
bool DBDatabase::runTableStatement(const QString &sql, const Bastwick::Error &noStatement,
                                   Bastwick::Error &local, Bastwick::Error *error)
{
    activeConnect();
    local = Bastwick::Error();
    if (sql.isEmpty())
        local = noStatement;
    else
        executeSQLResult(sql, &local);
    Bastwick::setError(error, local);
    return !errorReported(local);
}

bool DBDatabase::createTable(const DBTable &table, Bastwick::Error *error)
{
    const QString name = table.name();
    const QString sql = createTableSQL(table);
    Bastwick::Error local;
    if (!runTableStatement(sql, noStatementError(QStringLiteral("create"), table), local, error)) {
        XXXLog(Bastwick::format("createTable sql =%@ error=%@", sql, local.toString()));
        return false;
    }
    XXXLog(Bastwick::format("createTable sql =%@", sql));
    queryTableWithName(name);
    return true;
}

bool DBDatabase::renameTable(const DBTable &table, const QString &newName, Bastwick::Error *error)
{
    // The table may be one of the list: keep its name before the list lets it go.
    const QString oldName = table.name();
    const QString sql = table.renameTableSQL(newName);
    Bastwick::Error local;
    if (!runTableStatement(sql, noStatementError(QStringLiteral("rename"), table), local, error)) {
        XXXLog(Bastwick::format("renameTable sql =%@ error=%@", sql, local.toString()));
        return false;
    }
    removeTable(oldName);
    XXXLog(Bastwick::format("renameTable sql =%@", sql));
    queryTableWithName(newName);
    return true;
}

bool DBDatabase::duplicateTable(const DBTable &table, const QString &newName, Bastwick::Error *error)
{
    const QString sql = table.duplicateTableSQL(newName);
    Bastwick::Error local;
    if (!runTableStatement(sql, noStatementError(QStringLiteral("duplicate"), table), local, error)) {
        XXXLog(Bastwick::format("duplicateTable sql =%@ error=%@", sql, local.toString()));
        return false;
    }
    XXXLog(Bastwick::format("duplicateTable sql =%@", sql));
    queryTableWithName(newName);
    return true;
}

bool DBDatabase::emptyTable(const DBTable &table)
{
    activeConnect();
    const QString sql = Bastwick::format("DELETE  FROM %@", table.name());
    Bastwick::Error error;
    executeSQLResult(sql, &error);
    if (errorReported(error)) {
        XXXLog(Bastwick::format("sql =%@ error=%@", sql, error.toString()));
        return false;
    }
    return true;
}

bool DBDatabase::emptyAllTable()
{
    bool all = true;
    for (const TablePtr &t : tables()) {
        if (t && !emptyTable(*t))
            all = false;
    }
    return all;
}

bool DBDatabase::updateTableField(const DBField &field, const DBTable &table, Bastwick::Error *error)
{
    return false;
}

bool DBDatabase::modifyTableField(const DBField &field, const DBField &newField, const DBTable &table,
                                  Bastwick::Error *error)
{
    return false;
}

bool DBDatabase::removeTableField(const DBField &field, const DBTable &table, Bastwick::Error *error)
{
    return false;
}

bool DBDatabase::changeTable(const DBTable &table, const QVariantMap &metaInfo, Bastwick::Error *error)
{
    return false;
}

bool DBDatabase::addTableIndex(const QString &name, const DBTable &table,
                               const QList<std::shared_ptr<DBField>> &fields, const QString &indexType,
                               Bastwick::Error *error)
{
    return false;
}

bool DBDatabase::addTableIndex(const QString &name, const DBTable &table,
                               const QList<std::shared_ptr<DBField>> &fields, const QString &indexType,
                               const QString &indexDataType, Bastwick::Error *error)
{
    return false;
}

bool DBDatabase::removeTableIndex(const QString &name, const DBTable &table, Bastwick::Error *error)
{
    return false;
}

bool DBDatabase::removeTableIndexs(const QStringList &names, const DBTable &table, Bastwick::Error *error)
{
    return false;
}

bool DBDatabase::addTableField(const DBField &field, const DBTable &table, Bastwick::Error *error)
{
    if (table.fieldWithName(field.name()))
        return updateTableField(field, table, error);
    return false;
}

bool DBDatabase::removeTableFieldsAtIndexes(const Bastwick::IndexSet &indexes, const DBTable &table,
                                            Bastwick::Error *error)
{
    for (const DBFieldPtr &f : table.fieldsAtindexes(indexes))
        removeTableField(*f, table, error);
    return true;
}

// --- Import forwards ----------------------------------------------------------------

bool DBDatabase::importData2Table(const TablePtr &table, const QVariantList &data, Bastwick::Error *error)
{
    const auto kit = dbImport();
    return kit ? kit->importData2Table(table, data, error) : false;
}

bool DBDatabase::importData2TableWithName(const QString &name, const QVariantList &data,
                                          Bastwick::Error *error)
{
    const auto kit = dbImport();
    return kit ? kit->importData2TableWithName(name, data, error) : false;
}

bool DBDatabase::importSQL(const QString &sql, Bastwick::Error *error)
{
    const auto kit = dbImport();
    return kit ? kit->importSQL(sql, error) : false;
}

bool DBDatabase::updataDataWithTable(const TablePtr &table, const QVariantList &data)
{
    // The import kits offer no row update, so there is nothing to forward to, with an
    // importer or without one.
    Q_UNUSED(table);
    Q_UNUSED(data);
    return false;
}

// --- Query ----------------------------------------------------------------------------

std::shared_ptr<DBResultSet> DBDatabase::executeSQLResult(const QString &sql, Bastwick::Error *error)
{
    activeConnect();
    if (!m_connection)
        return nullptr;
    return m_connection->executeSQL(sql, error);
}

bool DBDatabase::executeSQL(const QString &sql, Bastwick::Error *error)
{
    Bastwick::Error local;
    executeSQLResult(sql, &local);
    Bastwick::setError(error, local);
    return !errorReported(local);
}

std::shared_ptr<DBResultSet> DBDatabase::tableData(const QString &tableName, Bastwick::Error *error)
{
    return executeSQLResult(Bastwick::format("SELECT * FROM %@  ", tableName), error);
}

std::optional<QString> DBDatabase::pagedSQL(const QString &sql, const Bastwick::IndexSet *indexes)
{
    if (!indexes)
        return sql;
    if (indexes->isEmpty())
        return std::nullopt;
    // Only the first index and the count matter: a set with gaps reads a contiguous page.
    return Bastwick::format("%@ LIMIT %ld OFFSET %ld ", sql, indexes->count(), indexes->firstIndex());
}

std::shared_ptr<DBResultSet> DBDatabase::tableData(const QString &tableName,
                                                   const Bastwick::IndexSet *indexes, Bastwick::Error *error)
{
    if (!indexes)
        return tableData(tableName, error);
    const auto sql = pagedSQL(Bastwick::format("SELECT * FROM %@", tableName), indexes);
    return sql ? executeSQLResult(*sql, error) : nullptr;
}

std::shared_ptr<DBResultSet>
DBDatabase::executeSQLResult(const QString &sql, const Bastwick::IndexSet *indexes, Bastwick::Error *error)
{
    const auto paged = pagedSQL(sql, indexes);
    return paged ? executeSQLResult(*paged, error) : nullptr;
}

std::optional<QString> DBDatabase::countSQL(const QString &sql)
{
    // The word from, not the letters of a name such as from_date.
    static const QRegularExpression fromWord(QStringLiteral("\\bfrom\\b"),
                                             QRegularExpression::UseUnicodePropertiesOption);
    const auto match = fromWord.match(sql);
    if (!match.hasMatch())
        return std::nullopt;
    return Bastwick::format("SELECT COUNT(*) as count FROM %@", sql.mid(match.capturedEnd()));
}

QString DBDatabase::namespaceForTable(const QString &tableName) const
{
    return Bastwick::format("%@.%@", m_name, tableName);
}

// --- Helpers ----------------------------------------------------------------------------

namespace DBHelper {

QStringList sqliteDataTypes()
{
    return {QStringLiteral("INTEGER"),  QStringLiteral("BOOL"),    QStringLiteral("DOUBLE"),
            QStringLiteral("FLOAT"),    QStringLiteral("VARCHAR"), QStringLiteral("TEXT"),
            QStringLiteral("DATETIME"), QStringLiteral("NUMERIC"), QStringLiteral("BLOB")};
}

QStringList mysqlDataTypes()
{
    return {QStringLiteral("INTEGER"),  QStringLiteral("INT"),       QStringLiteral("SMALLINT"),
            QStringLiteral("TINYINT"),  QStringLiteral("MEDIUMINT"), QStringLiteral("BIGINT"),
            QStringLiteral("FLOAT"),    QStringLiteral("DOUBLE"),    QStringLiteral("DECIMAL"),
            QStringLiteral("NUMERIC"),  QStringLiteral("REAL"),      QStringLiteral("BIT"),
            QStringLiteral("BOOL"),     QStringLiteral("VARCHAR"),   QStringLiteral("TEXT"),
            QStringLiteral("DATETIME"), QStringLiteral("NUMERIC"),   QStringLiteral("BLOB")};
}

QStringList mysqlKeyTypes()
{
    return {QStringLiteral("PRI"), QStringLiteral("UNI"), QStringLiteral("MUL")};
}

QStringList sqliteEncodingTypes()
{
    return {QStringLiteral("utf8"),     QStringLiteral("utf16"),   QStringLiteral("DOUBLE"),
            QStringLiteral("FLOAT"),    QStringLiteral("VARCHAR"), QStringLiteral("TEXT"),
            QStringLiteral("DATETIME"), QStringLiteral("NUMERIC"), QStringLiteral("BLOB")};
}

QStringList sqliteCollectionTypes()
{
    return sqliteEncodingTypes();
}

QString tableNameFromSQL(const QString &sql)
{
    QString text = sql;
    text.replace(QLatin1String("from"), QLatin1String("FROM"));
    static const QRegularExpression pattern(QStringLiteral("FROM\\s+(\\w+)\\s*"),
                                            QRegularExpression::CaseInsensitiveOption |
                                                QRegularExpression::UseUnicodePropertiesOption);
    const auto match = pattern.match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

bool isCreateTableSQL(const QString &sql)
{
    return Bastwick::trim(sql.toLower()).startsWith(QLatin1String("create"));
}

bool isSelectSQL(const QString &sql)
{
    return Bastwick::trim(sql.toLower()).startsWith(QLatin1String("select"));
}

bool isSQLiteVersion()
{
    return false;
}

bool isMySQLVersion()
{
    return false;
}

bool isPostgreSQLVersion()
{
    return false;
}

} // namespace DBHelper

namespace DBDataType {
QStringList dataTypes()
{
    return {};
}
QStringList numbers()
{
    return {};
}
QStringList datetime()
{
    return {};
}
QStringList string()
{
    return {};
}
QStringList spatial()
{
    return {};
}
} // namespace DBDataType

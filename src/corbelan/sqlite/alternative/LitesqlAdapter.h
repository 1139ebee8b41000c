#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/alternative/LitesqlDriver.h>
#include <corbelan/sqlite/alternative/LitesqlResult.h>

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

#include <memory>
#include <optional>

// The SQL builder of the text-only SQLite stack: bound to one database file and,
// optionally, one table, it builds SELECT, INSERT, UPDATE, DELETE, CREATE TABLE and
// DROP TABLE statements and runs them through its own driver. Every run answers the
// driver's result, or nothing when the driver could not open the database.
//
// Conditions and field texts are put into the statements as they are; values are bound.
// A builder given an empty field, value or definition list answers a failed result
// (code SQLITE_ERROR) without running anything.
class CORBELAN_EXPORT LitesqlAdapter
{
public:
    using Result = std::optional<LitesqlResult>;

    // An adapter with its own driver for the database (the driver is null when the
    // database cannot be opened).
    explicit LitesqlAdapter(const QString &databaseName);
    virtual ~LitesqlAdapter();

    LitesqlAdapter(const LitesqlAdapter &) = delete;
    LitesqlAdapter &operator=(const LitesqlAdapter &) = delete;

    // A new adapter bound to the table, or null when probing the table fails with
    // SQLITE_ERROR (for example, no such table).
    static std::shared_ptr<LitesqlAdapter> create(const QString &databaseName, const QString &tableName);

    // The pooled adapter of a database (one per name, kept for the process's life).
    static std::shared_ptr<LitesqlAdapter> database(const QString &databaseName);
    // The pooled adapter of a table ("<database>.<table>"), or null when the probe of
    // the table does not finish with SQLITE_DONE; a failed probe stores nothing.
    static std::shared_ptr<LitesqlAdapter> database(const QString &databaseName, const QString &tableName);

    QString databaseName() const { return m_databaseName; }
    QString tableName() const { return m_tableName; }
    void setTableName(const QString &tableName) { m_tableName = tableName; }
    LitesqlDriver *litesqlDrv() const { return m_litesqlDrv.get(); }

    // A non-empty value list runs the statement with them bound, anything else alone.
    Result excuteSQL(const QString &sql, const QVariantList &bind = QVariantList());

    Result selectFields(const QStringList &fields, const QString &condition,
                        const QVariantList &bind = QVariantList());
    Result insertData(const QVariantMap &data);
    Result updateData(const QVariantMap &data, const QString &condition,
                      const QVariantList &bind = QVariantList());
    Result deleteByCondition(const QString &condition, const QVariantList &bind = QVariantList());
    Result createTable(const QString &tableName, const QStringList &info);
    Result dropTable(const QString &tableName);

private:
    static LitesqlResult emptyListResult(const QString &what);
    LitesqlResult probeTable();

    QString m_databaseName;
    QString m_tableName;
    std::unique_ptr<LitesqlDriver> m_litesqlDrv;
};

#pragma once

#include <kestrune/data/model/DBTable.h>

#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

#include <optional>

// The table model with the SQL statements of a table: a row count, parameterised
// INSERT, UPDATE and DELETE statements, a key condition, and literal INSERT and UPDATE
// statements built from one row's values.
//
// Literal values: NULL for a missing or null value, a number as it is for a column whose
// declared type is numeric, bytes of a BLOB column as X'…', and everything else as a
// single-quoted literal with its quotes doubled. A row that cannot be addressed (no key
// values) gives no statement.
class DerazTable : public DBTable
{
public:
    using DBTable::DBTable;

    // "INSERT OR REPLACE INTO t ('a','b') values (?,?) "
    QString insertSQLString() const;
    // "UPDATE t SET  b = ?  where  a = ?  ": the non-key columns in table order.
    QString updateSQLString();
    // The key columns each as " a = ? ", joined by " AND ".
    QString keySQLString() const;
    // "DELETE  FROM t "
    QString deleteSQLString() const;

    // The row count read through the owning database's connection; 0 when nothing
    // comes back.
    qint64 numberOfRecords() const override;

    // The text with every single quote doubled.
    static QString valueFormat(const QString &text);

    // " 1=1  and a=1" for the key columns (" rowid = 7 " for a table without keys); no
    // condition when a key value is missing (auto-increment keys may be absent).
    std::optional<QString> keyWhereStringWithData(const QVariantMap &row) const;
    // "insert  into  t ('a','b')  values ( 1,'x' ) " from the row's values of the
    // table's columns, in table order; an empty auto-increment key is written NULL.
    std::optional<QString> buildInsertSQLWithData(const QVariantMap &row) const;
    // "UPDATE t set b='x' WHERE  1=1  and a=1  " with the row's non-key columns; no
    // statement without a condition or without a column to set.
    std::optional<QString> buildUpdateSQLWithData(const QVariantMap &row) const;

    // True when the column's declared type is numeric (integers, reals, decimals, flags).
    static bool isNumberColumn(const DBField &field);
    // The SQL literal of a value for a column.
    static QString sqlLiteral(const DBField &field, const QVariant &value);
};

#pragma once

// The statements the table data-access bases (XXXBaseDAO, BaseDAO and SQLiteBaseDAO)
// build from a table's name, field list and key list, with the exact spacing they log;
// internal to the library.

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>

class XXXRWDatabase;

namespace Corbelan::DAOStatements {

// A column's value for binding: an absent (invalid) value is SQL NULL.
QVariant bindable(const QVariant &value);
// The holder's values of the key columns, in order, ready for binding.
QVariantList keyValues(const QVariant &holder, const QStringList &keys);
// SQLite would store a NaN as NULL: a write whose value for one of the columns (values
// in the columns' order) is NaN is refused with an error line naming the table and the
// column. True when refused, with that line's text in reason.
bool refuseNaN(const QString &table, const QStringList &columns, const QVariantList &values,
               QString *reason = nullptr);

// "k1 = ? AND k2 = ? ".
QString keyCondition(const QStringList &keys);
// "a = :a AND b = :b ".
QString attributesCondition(const QStringList &names);
// "a = ? , b = ? ".
QString setList(const QStringList &columns);

QString countSql(const QString &table);
QString insertSql(const QString &table, const QStringList &fields);
QString updateSql(const QString &table, const QStringList &setColumns, const QStringList &keys);
QString deleteSql(const QString &table, const QStringList &keys);
QString clearSql(const QString &table);
QString selectAllSql(const QString &table);
QString selectWhereSql(const QString &table, const QString &condition);
QString maxKeySql(const QString &table, const QString &key);
QString pageSql(const QString &table, qint64 page, qint64 pageSize);

// The largest value of the numbered key column, read on db; nil (invalid) when the table
// has no key column, is empty or the read fails. Each base answers its own default then.
QVariant queryMaxKey(XXXRWDatabase *db, const QString &table, const QStringList &keys);

} // namespace Corbelan::DAOStatements

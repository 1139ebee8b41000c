#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

class XXXBaseDAO;

// Shared field handling of the small record models of the local store (command
// reference, version records): each model lists its column names and which of them
// hold integers; every other column holds text.
namespace Kestrune::RecordFields {

// Fills the fields present in the dictionary: integers by their long-integer value,
// texts unchanged. Missing keys and null values leave a field untouched.
void fill(QObject *model, const QStringList &fields, const QStringList &integerFields,
          const QVariantMap &dictionary);

// The value of a column, or nothing with the line "Undefined Key: <key>" for a key the
// model does not define.
QVariant value(const QObject *model, const QStringList &fields, const QString &key);
// Sets a column; a key the model does not define logs "Undefined Key: <key>" and is
// dropped.
bool setValue(QObject *model, const QStringList &fields, const QString &key, const QVariant &value);

// One entry per column; text columns only when present.
QVariantMap archive(const QObject *model, const QStringList &fields, const QStringList &integerFields);

// Every column equal, in column order; a text absent on both sides counts as equal.
bool equal(const QObject *a, const QObject *b, const QStringList &fields, const QStringList &integerFields);

// The columns that are not keys, in table order (statements bind their values in this
// order).
QStringList nonKeyFields(const QStringList &fields, const QStringList &keys);
// Describes the table of an access object: its name, its columns in table order, its
// key columns and the other columns (nonKeyFields).
void describeTable(XXXBaseDAO &dao, const QString &tableName, const QStringList &fields,
                   const QStringList &keys);

} // namespace Kestrune::RecordFields

#pragma once

#include <bastwick/IndexSet.h>
#include <bastwick/platform/Error.h>

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>

#include <memory>
#include <optional>

class AppExportConfig;
class DBExport;
class DBTable;

// What the table writers put in their files: the rows of a table or of a query, read
// through an export registry's database, and their SQL, XML, JSON, CSV and property-list
// forms. A read that fails gives nothing and sets the error.
namespace DBExportProducers {

using TablePtr = std::shared_ptr<DBTable>;

// The rows of a table (dictionaries keyed by field name), all of them without indexes.
std::optional<QVariantList> tableRows(DBExport &kit, const TablePtr &table, const Bastwick::IndexSet *indexes,
                                      Bastwick::Error *error);
// The rows of a query and the table it reads (the word after FROM).
std::optional<QVariantList> queryRows(DBExport &kit, const QString &sql, const Bastwick::IndexSet *indexes,
                                      TablePtr *table, Bastwick::Error *error);

// Whether every value of the rows (and, for XML and property lists, every name that goes
// into the markup) can be written so that it reads back unchanged; false, with an
// error naming the row and the column of the first one that cannot, when not. JSON
// holds any text and needs no such test.
bool checkWritable(const DBTable &table, const QVariantList &rows, bool namesInMarkup,
                   Bastwick::Error *error);

// SQL: the DROP line and the create statement, as the settings ask. A Deraz registry
// names the table between double quotes.
QString sqlHead(DBExport &kit, const AppExportConfig &config, const DBTable &table);
// One insert line per row; text values quoted with their quotes doubled (in any field:
// a text is never written bare), null as null.
QString sqlInsert(DBExport &kit, const DBTable &table, const QVariantList &rows);

// XML: one table element with a row element per row and a column element per field; a
// value XML cannot hold as text is written as Base64 (FileFormats::kXmlBase64).
QString xmlRows(const DBTable &table, const QVariantList &rows);

// {table name: rows}, the entry of a table in JSON and property-list files.
QVariantMap tableEntry(const DBTable &table, const QVariantList &rows);

// CSV: a header line when the settings ask for one, then one record per row.
QByteArray csvRows(const AppExportConfig &config, const DBTable &table, const QVariantList &rows);

} // namespace DBExportProducers

#pragma once

#include <bastwick/platform/Error.h>

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariantList>

#include <memory>
#include <optional>

class AppExportConfig;
class DBImport;
class DBTable;

// Reads files in the five table formats back into a database through its import kit:
// SQL statements run one by one (split outside quoted literals), JSON, CSV, XML and
// property-list rows go to the kit's row insertion. Each operation answers false when
// anything failed, with the first error, and goes on with the rest.
//
// Used on the calling thread.
namespace DBFileImport {

using TablePtr = std::shared_ptr<DBTable>;

// Type code <-> list index of the import formats (0 SQL, 8 JSON, 9 CSV, 10 XML,
// 11 property list); -1 for any other.
qint64 importTypeAsindex(qint64 type);
qint64 importTypeFromIndex(qint64 index);

// Each file by its extension (lower case): sql, json, csv, xml, plist; the table is the
// file name without its extension. A file of another kind fails with a message.
bool importAtPath(DBImport &kit, const QStringList &paths, Bastwick::Error *error);

bool importSQLAtPath(DBImport &kit, const QString &path, Bastwick::Error *error);
bool importJSONAtPath(DBImport &kit, const QString &path, const TablePtr &table, Bastwick::Error *error);
bool importCSVAtPath(DBImport &kit, const QString &path, const TablePtr &table, Bastwick::Error *error,
                     const AppExportConfig *config = nullptr);
bool importXMLAtPath(DBImport &kit, const QString &path, const TablePtr &table, Bastwick::Error *error);
bool importPListAtPath(DBImport &kit, const QString &path, const TablePtr &table, Bastwick::Error *error);

// The rows of each format's text for a table (dictionaries keyed by field name).
std::optional<QVariantList> jsonRows(const QByteArray &text, const QString &tableName, QString *problem);
QVariantList csvRows(const QByteArray &text, const DBTable &table, bool header);
std::optional<QVariantList> xmlRows(const QByteArray &text, QString *problem);
std::optional<QVariantList> plistRows(const QByteArray &text, const QString &tableName, QString *problem);

} // namespace DBFileImport

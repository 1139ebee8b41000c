#pragma once

#include <bastwick/IndexSet.h>
#include <bastwick/platform/Error.h>

#include <QtCore/QList>
#include <QtCore/QString>

#include <memory>

class DBExport;
class DBBaseExport;
class DBTable;

// The table and query exports of an export registry: each takes the registry's writer
// for the type code and hands it the work; a code without a writer answers false and sets
// no error. No indexes means all rows.
namespace DBExportFacade {

using TablePtr = std::shared_ptr<DBTable>;

// The registry's writer of the type code, bound to the registry; null when there is none.
DBBaseExport *writerForType(DBExport &registry, int type);

bool exportTables(DBExport &registry, const QList<TablePtr> &tables, const QString &folder, int type,
                  Bastwick::Error *error);
bool exportTable(DBExport &registry, const TablePtr &table, const QString &folder,
                 const Bastwick::IndexSet *indexes, int type, Bastwick::Error *error);
bool exportTableToFile(DBExport &registry, const TablePtr &table, const QString &filePath,
                       const Bastwick::IndexSet *indexes, int type, Bastwick::Error *error);
bool exportQuery(DBExport &registry, const QString &sql, const QString &folder,
                 const Bastwick::IndexSet *indexes, int type, Bastwick::Error *error);
bool exportQueryToFile(DBExport &registry, const QString &sql, const QString &filePath,
                       const Bastwick::IndexSet *indexes, int type, Bastwick::Error *error);

} // namespace DBExportFacade

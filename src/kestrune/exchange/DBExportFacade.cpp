#include <kestrune/exchange/DBExportFacade.h>

#include <kestrune/exchange/DBBaseExport.h>

#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBExport.h>

namespace DBExportFacade {

DBBaseExport *writerForType(DBExport &registry, int type)
{
    auto *writer = qobject_cast<DBBaseExport *>(registry.exportKitByExportType(type).get());
    if (writer)
        writer->setExportDataKit(&registry);
    return writer;
}

bool exportTables(DBExport &registry, const QList<TablePtr> &tables, const QString &folder, int type,
                  Bastwick::Error *error)
{
    DBBaseExport *writer = writerForType(registry, type);
    const auto db = registry.database();
    return writer && writer->exportTables(tables, db ? db->name() : QString(), folder, error);
}

bool exportTable(DBExport &registry, const TablePtr &table, const QString &folder,
                 const Bastwick::IndexSet *indexes, int type, Bastwick::Error *error)
{
    DBBaseExport *writer = writerForType(registry, type);
    return writer && writer->exportTable(table, folder, indexes, error);
}

bool exportTableToFile(DBExport &registry, const TablePtr &table, const QString &filePath,
                       const Bastwick::IndexSet *indexes, int type, Bastwick::Error *error)
{
    DBBaseExport *writer = writerForType(registry, type);
    return writer && writer->exportTableToFile(table, filePath, indexes, error);
}

bool exportQuery(DBExport &registry, const QString &sql, const QString &folder,
                 const Bastwick::IndexSet *indexes, int type, Bastwick::Error *error)
{
    DBBaseExport *writer = writerForType(registry, type);
    return writer && writer->exportQuery(sql, folder, indexes, error);
}

bool exportQueryToFile(DBExport &registry, const QString &sql, const QString &filePath,
                       const Bastwick::IndexSet *indexes, int type, Bastwick::Error *error)
{
    DBBaseExport *writer = writerForType(registry, type);
    return writer && writer->exportQueryToFile(sql, filePath, indexes, error);
}

} // namespace DBExportFacade

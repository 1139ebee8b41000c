#include <kestrune/exchange/DBJSONExport.h>

#include <kestrune/exchange/DBExportProducers.h>
#include <kestrune/exchange/FileFormats_p.h>

DBJSONExport::DBJSONExport(QObject *parent)
    : DBBaseExport(Format{
                       QStringLiteral("json"),
                       tr("JSON files (*.json)"),
                       nullptr,
                       [](DBBaseExport &, const DBTable &table, const QVariantList &rows, Bastwick::Error *) {
                           if (rows.isEmpty())
                               return std::optional<QByteArray>(QByteArray());
                           return std::optional<QByteArray>(
                               FileFormats::jsonText(DBExportProducers::tableEntry(table, rows)));
                       },
                       nullptr,
                       [](DBBaseExport &, const TableRows &tables) {
                           QVariantList all;
                           for (const auto &[table, rows] : tables)
                               all.append(DBExportProducers::tableEntry(*table, rows));
                           return FileFormats::jsonText(all);
                       },
                       true,  // holdsAnyText
                       false, // namesInMarkup
                       {QStringLiteral("exportJSON error=%1"),
                        QStringLiteral("exportJSON error=%1"),
                        false,
                        {},
                        {},
                        {},
                        QStringLiteral("exportQuery table is nil!")},
                   },
                   parent)
{
}

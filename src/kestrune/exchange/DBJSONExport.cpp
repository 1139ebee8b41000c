#include <kestrune/exchange/DBJSONExport.h>

#include <kestrune/exchange/DBExportProducers.h>
#include <kestrune/exchange/FileFormats_p.h>

DBJSONExport::DBJSONExport(QObject *parent)
    : DBBaseExport(
          Format{
              .ext = QStringLiteral("json"),
              .nameFilter = tr("JSON files (*.json)"),
              .tableFile =
                  [](DBBaseExport &, const DBTable &table, const QVariantList &rows, Bastwick::Error *) {
                      if (rows.isEmpty())
                          return std::optional<QByteArray>(QByteArray());
                      return std::optional<QByteArray>(
                          FileFormats::jsonText(DBExportProducers::tableEntry(table, rows)));
                  },
              .databaseFile =
                  [](DBBaseExport &, const TableRows &tables) {
                      QVariantList all;
                      for (const auto &[table, rows] : tables)
                          all.append(DBExportProducers::tableEntry(*table, rows));
                      return FileFormats::jsonText(all);
                  },
              .holdsAnyText = true,
              .logs =
                  {
                      .tableFile = QStringLiteral("exportJSON error=%1"),
                      .databaseFile = QStringLiteral("exportJSON error=%1"),
                      .queryTable = QStringLiteral("exportQuery table is nil!"),
                  },
          },
          parent)
{
}

#include <kestrune/exchange/DBPListExport.h>

#include <kestrune/exchange/DBExportProducers.h>
#include <kestrune/exchange/FileFormats_p.h>

#include <kestrune/data/model/DBTable.h>

DBPListExport::DBPListExport(QObject *parent)
    : DBBaseExport(
          Format{
              .ext = QStringLiteral("plist"),
              .nameFilter = tr("Property lists (*.plist)"),
              .tableFile =
                  [](DBBaseExport &, const DBTable &table, const QVariantList &rows, Bastwick::Error *error) {
                      if (rows.isEmpty()) {
                          Bastwick::setError(
                              error, Bastwick::Error(QStringLiteral("com.fenwarp.Deraz.error"), 1,
                                                     tr("%1 has no rows to write").arg(table.name())));
                          return std::optional<QByteArray>();
                      }
                      return std::optional<QByteArray>(
                          FileFormats::plistText(DBExportProducers::tableEntry(table, rows)));
                  },
              .databaseFile =
                  [](DBBaseExport &, const TableRows &tables) {
                      QVariantList all;
                      for (const auto &[table, rows] : tables)
                          all.append(DBExportProducers::tableEntry(*table, rows));
                      return FileFormats::plistText(all);
                  },
              .namesInMarkup = true,
              .logs =
                  {
                      .tableFile = QStringLiteral("exportPListFileAtPath filePath=%1 Error!"),
                      .databaseFile = QStringLiteral("exportPListFileAtPath filePath=%1 Error!"),
                      .pathInLog = true,
                      .noContent = QStringLiteral("exportPListFileAtPath content nil!"),
                      .fileFailed = QStringLiteral("exportPListFileAtPath Error!"),
                      .queryTable = QStringLiteral("exportQuery table is nil!"),
                  },
          },
          parent)
{
}

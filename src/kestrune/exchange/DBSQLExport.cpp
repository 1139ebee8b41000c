#include <kestrune/exchange/DBSQLExport.h>

#include <kestrune/exchange/AppExportConfig.h>
#include <kestrune/exchange/DBExportProducers.h>
#include <kestrune/exchange/FileFormats_p.h>

DBSQLExport::DBSQLExport(QObject *parent)
    : DBBaseExport(
          Format{
              .ext = QStringLiteral("sql"),
              .nameFilter = tr("SQL files (*.sql)"),
              .needsRows = [](DBBaseExport &w) { return w.config()->isSQLExportIncludeData(); },
              .tableFile =
                  [](DBBaseExport &w, const DBTable &table, const QVariantList &rows, Bastwick::Error *) {
                      const AppExportConfig &config = *w.config();
                      QString text = DBExportProducers::sqlHead(*w.exportDataKit(), config, table);
                      if (config.isSQLExportIncludeData())
                          text += DBExportProducers::sqlInsert(*w.exportDataKit(), table, rows);
                      return std::optional<QByteArray>(FileFormats::fileBytes(text));
                  },
              .queryFile =
                  [](DBBaseExport &w, const DBTable &table, const QVariantList &rows, Bastwick::Error *) {
                      return std::optional<QByteArray>(FileFormats::fileBytes(
                          DBExportProducers::sqlInsert(*w.exportDataKit(), table, rows)));
                  },
              .databaseFile =
                  [](DBBaseExport &w, const TableRows &tables) {
                      QString all;
                      for (const auto &[table, rows] : tables)
                          all += QLatin1Char('\n') +
                                 DBExportProducers::sqlHead(*w.exportDataKit(), *w.config(), *table) +
                                 DBExportProducers::sqlInsert(*w.exportDataKit(), *table, rows) +
                                 QLatin1Char('\n');
                      return FileFormats::fileBytes(all);
                  },
              .logs =
                  {
                      .tableFile = QStringLiteral("exportSQL error=%1"),
                      .databaseFile = QStringLiteral("exportSQL error=%1"),
                      .queryTable = QStringLiteral("exportQuerySQLData table is nil!"),
                  },
          },
          parent)
{
}

#include <kestrune/exchange/DBCSVExport.h>

#include <kestrune/exchange/AppExportConfig.h>
#include <kestrune/exchange/DBExportProducers.h>

DBCSVExport::DBCSVExport(QObject *parent)
    : DBBaseExport(
          Format{
              .ext = QStringLiteral("csv"),
              .nameFilter = tr("CSV files (*.csv)"),
              .tableFile =
                  [](DBBaseExport &w, const DBTable &table, const QVariantList &rows, Bastwick::Error *) {
                      return std::optional<QByteArray>(DBExportProducers::csvRows(*w.config(), table, rows));
                  },
              .databaseFile =
                  [](DBBaseExport &w, const TableRows &tables) {
                      QByteArray all;
                      for (const auto &[table, rows] : tables)
                          all += DBExportProducers::csvRows(*w.config(), *table, rows);
                      return all;
                  },
              .logs =
                  {
                      .tableFile = QStringLiteral("exportCSVFileAtPath=%1 Error"),
                      .databaseFile = QStringLiteral("exportCSVFileAtPath %1"),
                      .pathInLog = true,
                      .tableRead = QStringLiteral("exportCSVFileAtPath tableData error %1"),
                      .queryTable = QStringLiteral("exportQuery table is nil!"),
                  },
          },
          parent)
{
}

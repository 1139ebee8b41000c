#include <kestrune/exchange/DBCSVExport.h>

#include <kestrune/exchange/AppExportConfig.h>
#include <kestrune/exchange/DBExportProducers.h>

DBCSVExport::DBCSVExport(QObject *parent)
    : DBBaseExport(
          Format{
              QStringLiteral("csv"),
              tr("CSV files (*.csv)"),
              nullptr,
              [](DBBaseExport &w, const DBTable &table, const QVariantList &rows, Bastwick::Error *) {
                  return std::optional<QByteArray>(DBExportProducers::csvRows(*w.config(), table, rows));
              },
              nullptr,
              [](DBBaseExport &w, const TableRows &tables) {
                  QByteArray all;
                  for (const auto &[table, rows] : tables)
                      all += DBExportProducers::csvRows(*w.config(), *table, rows);
                  return all;
              },
              false, // holdsAnyText
              false, // namesInMarkup
              {QStringLiteral("exportCSVFileAtPath=%1 Error"),
               QStringLiteral("exportCSVFileAtPath %1"),
               true,
               QStringLiteral("exportCSVFileAtPath tableData error %1"),
               {},
               {},
               QStringLiteral("exportQuery table is nil!")},
          },
          parent)
{
}

#include <kestrune/exchange/DBXMLExport.h>

#include <kestrune/exchange/DBExportProducers.h>

DBXMLExport::DBXMLExport(QObject *parent)
    : DBBaseExport(
          Format{
              .ext = QStringLiteral("xml"),
              .nameFilter = tr("XML files (*.xml)"),
              .tableFile =
                  [](DBBaseExport &, const DBTable &table, const QVariantList &rows, Bastwick::Error *) {
                      return std::optional<QByteArray>("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" +
                                                       DBExportProducers::xmlRows(table, rows).toUtf8());
                  },
              .databaseFile =
                  [](DBBaseExport &, const TableRows &tables) {
                      QString all;
                      for (const auto &[table, rows] : tables)
                          all += QLatin1Char('\n') + DBExportProducers::xmlRows(*table, rows) +
                                 QLatin1Char('\n');
                      return all.toUtf8();
                  },
              .namesInMarkup = true,
              .logs =
                  {
                      .tableFile = QStringLiteral("exportXML error=%1"),
                      .databaseFile = QStringLiteral("exportXML error=%1"),
                      .queryTable = QStringLiteral("exportQuery table is nil!"),
                  },
          },
          parent)
{
}

#include <kestrune/exchange/DBXMLExport.h>

#include <kestrune/exchange/DBExportProducers.h>

DBXMLExport::DBXMLExport(QObject *parent)
    : DBBaseExport(Format{
                       QStringLiteral("xml"),
                       tr("XML files (*.xml)"),
                       nullptr,
                       [](DBBaseExport &, const DBTable &table, const QVariantList &rows, Bastwick::Error *) {
                           return std::optional<QByteArray>("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" +
                                                            DBExportProducers::xmlRows(table, rows).toUtf8());
                       },
                       nullptr,
                       [](DBBaseExport &, const TableRows &tables) {
                           QString all;
                           for (const auto &[table, rows] : tables)
                               all += QLatin1Char('\n') + DBExportProducers::xmlRows(*table, rows) +
                                      QLatin1Char('\n');
                           return all.toUtf8();
                       },
                       false, // holdsAnyText
                       true,  // namesInMarkup
                       {QStringLiteral("exportXML error=%1"),
                        QStringLiteral("exportXML error=%1"),
                        false,
                        {},
                        {},
                        {},
                        QStringLiteral("exportQuery table is nil!")},
                   },
                   parent)
{
}

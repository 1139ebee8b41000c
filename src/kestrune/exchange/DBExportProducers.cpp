#include <kestrune/exchange/DBExportProducers.h>

#include <kestrune/exchange/AppExportConfig.h>
#include <kestrune/exchange/FileFormats_p.h>

#include <kestrune/data/deraz/DerazExport.h>
#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBExport.h>
#include <kestrune/data/model/DBField.h>
#include <kestrune/data/model/DBResultSet.h>
#include <kestrune/data/model/DBTable.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

namespace DBExportProducers {

namespace {

const QString kExportDomain = QStringLiteral("com.fenwarp.Deraz.error");

void fail(Bastwick::Error *error, const QString &text)
{
    XXXLog(text);
    Bastwick::setError(error, Bastwick::Error(kExportDomain, 1, text));
}

std::optional<QVariantList> readResult(const std::shared_ptr<DBResultSet> &result,
                                       const Bastwick::Error &local, Bastwick::Error *error)
{
    if (!local.description.isEmpty() || local.code != 0) {
        XXXLog(Bastwick::format("tableData error %@", local.toString()));
        Bastwick::setError(error, local);
        return std::nullopt;
    }
    if (!result) {
        fail(error, QStringLiteral("tableData error: the database gave no rows"));
        return std::nullopt;
    }
    return result->tupleAsDictionaryData();
}

bool isDeraz(DBExport &kit)
{
    return dynamic_cast<DerazExport *>(&kit) != nullptr;
}

} // namespace

std::optional<QVariantList> tableRows(DBExport &kit, const TablePtr &table, const Bastwick::IndexSet *indexes,
                                      Bastwick::Error *error)
{
    const auto db = kit.database();
    if (!table || !db) {
        fail(error, QStringLiteral("no table or no database to export"));
        return std::nullopt;
    }
    Bastwick::Error local;
    const auto result = db->tableData(table->name(), indexes, &local);
    return readResult(result, local, error);
}

std::optional<QVariantList> queryRows(DBExport &kit, const QString &sql, const Bastwick::IndexSet *indexes,
                                      TablePtr *table, Bastwick::Error *error)
{
    const auto db = kit.database();
    if (!db) {
        fail(error, QStringLiteral("no database to export"));
        return std::nullopt;
    }
    *table = db->tableWithName(DBHelper::tableNameFromSQL(sql));
    if (!*table) {
        // The writer logs the missing table in its own words; the query stays out of the log.
        Bastwick::setError(error, Bastwick::Error(kExportDomain, 1,
                                                  Bastwick::format("exportQuery table is nil! sql=%@",
                                                                   Bastwick::logText(sql))));
        return std::nullopt;
    }
    Bastwick::Error local;
    const auto result = db->executeSQLResult(sql, indexes, &local);
    return readResult(result, local, error);
}

bool checkWritable(const DBTable &table, const QVariantList &rows, bool namesInMarkup, Bastwick::Error *error)
{
    const auto refuse = [&](const QString &why) {
        fail(error, why);
        return false;
    };
    if (namesInMarkup && !FileFormats::xmlCanHold(table.name()))
        return refuse(QStringLiteral("the table name %1 holds characters that cannot be written")
                          .arg(Bastwick::logText(table.name())));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QVariantMap values = rows.at(i).toMap();
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (namesInMarkup && !FileFormats::xmlCanHold(it.key()))
                return refuse(QStringLiteral("%1: the column name %2 holds characters that cannot be written")
                                  .arg(table.name(), Bastwick::logText(it.key())));
            if (it.value().metaType() == QMetaType::fromType<QString>() &&
                !FileFormats::survivesAsBytes(it.value().toString()))
                return refuse(
                    QStringLiteral("%1, row %2, column %3: the value cannot be written so that it "
                                   "reads back: it holds a lone surrogate that stands for no byte, or "
                                   "raw bytes that would read back as other text")
                        .arg(table.name())
                        .arg(i + 1)
                        .arg(it.key()));
        }
    }
    return true;
}

QString sqlHead(DBExport &kit, const AppExportConfig &config, const DBTable &table)
{
    QString text;
    if (config.isSQLExportIncludeDropTable()) {
        const QString quote = isDeraz(kit) ? QStringLiteral("\"") : table.seperatorStr();
        text += QStringLiteral("DROP TABLE IF EXISTS %1;\n").arg(FileFormats::sqlQuoted(table.name(), quote));
    }
    if (config.isSQLExportIncludeSchema())
        text += table.createTableSQL() + QStringLiteral(";\n");
    return text;
}

QString sqlInsert(DBExport &kit, const DBTable &table, const QVariantList &rows)
{
    const QString quote = isDeraz(kit) ? QStringLiteral("'") : table.seperatorStr();
    const QString columns = table.insertSQLColsString();
    QString text;
    for (const QVariant &row : rows) {
        const QVariantMap values = row.toMap();
        QStringList list;
        for (const auto &field : table.fields()) {
            const QVariant value = values.value(field->name());
            if (FileFormats::isNull(value))
                list.append(QStringLiteral("null"));
            else if (field->isTEXT() || field->isVARCHAR() || field->isDATETIME() ||
                     value.metaType() == QMetaType::fromType<QString>())
                list.append(FileFormats::sqlQuoted(FileFormats::valueText(value), quote));
            else
                list.append(FileFormats::valueText(value));
        }
        text +=
            QStringLiteral("insert into %1(%2)  values(%3);\n").arg(table.name(), columns, list.join(','));
    }
    return text;
}

QString xmlRows(const DBTable &table, const QVariantList &rows)
{
    QString text = QStringLiteral("  <table name=\"%1\">\n").arg(FileFormats::xmlEscaped(table.name(), true));
    for (const QVariant &row : rows) {
        const QVariantMap values = row.toMap();
        text += QStringLiteral("    <row>\n");
        for (const auto &field : table.fields()) {
            const QVariant value = values.value(field->name());
            const QString name = FileFormats::xmlEscaped(field->name(), true);
            const QString valueText = FileFormats::valueText(value);
            if (FileFormats::isNull(value)) {
                text += QStringLiteral("      <column name=\"%1\">null</column>\n").arg(name);
            } else if (FileFormats::xmlCanHold(valueText)) {
                text += QStringLiteral("      <column name=\"%1\">%2</column>\n")
                            .arg(name, FileFormats::xmlEscaped(valueText));
            } else {
                text += QStringLiteral("      <column name=\"%1\" %2=\"%3\">%4</column>\n")
                            .arg(name, QLatin1String(FileFormats::kXmlEncodingAttribute),
                                 QLatin1String(FileFormats::kXmlBase64),
                                 QString::fromLatin1(FileFormats::fileBytes(valueText).toBase64()));
            }
        }
        text += QStringLiteral("    </row>\n");
    }
    return text + QStringLiteral("  </table>\n");
}

QVariantMap tableEntry(const DBTable &table, const QVariantList &rows)
{
    return {{table.name(), rows}};
}

QByteArray csvRows(const AppExportConfig &config, const DBTable &table, const QVariantList &rows)
{
    QByteArray text;
    if (config.isCSVExportIncludeColumnHeader()) {
        QStringList header;
        for (const auto &field : table.fields())
            header.append(field->name());
        text += FileFormats::csvRecord(header);
    }
    for (const QVariant &row : rows) {
        const QVariantMap values = row.toMap();
        QStringList fields;
        for (const auto &field : table.fields())
            fields.append(FileFormats::valueText(values.value(field->name())));
        text += FileFormats::csvRecord(fields);
    }
    return text;
}

} // namespace DBExportProducers

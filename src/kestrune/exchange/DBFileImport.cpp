#include <kestrune/exchange/DBFileImport.h>

#include <kestrune/exchange/AppExportConfig.h>
#include <kestrune/exchange/FileFormats_p.h>

#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBExport.h>
#include <kestrune/data/model/DBField.h>
#include <kestrune/data/model/DBImport.h>
#include <kestrune/data/model/DBTable.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QXmlStreamReader>
#include <functional>

namespace DBFileImport {

namespace {

const QString kImportDomain = QStringLiteral("com.fenwarp.Deraz.error");

// Keeps the first error of an operation in the caller's slot.
bool keep(Bastwick::Error *error, const QString &text)
{
    if (error && error->description.isEmpty() && error->code == 0)
        *error = Bastwick::Error(kImportDomain, 1, text);
    return false;
}

// Keeps the error and logs logLine ("%1": its value), or the error's text when the
// format has no line of its own for it.
bool fail(Bastwick::Error *error, const QString &text, const QString &logLine = {}, const QString &value = {})
{
    if (logLine.isEmpty())
        XXXLog(text);
    else
        XXXLog(logLine.contains(QLatin1String("%1")) ? logLine.arg(value) : logLine);
    return keep(error, text);
}

// The diagnostic lines of a row format's failures (empty: the error's text).
struct FormatLogs
{
    const char *format = nullptr;
    bool markup = false;    // XML and property lists: the reader detects the encoding
    QString unreadable{};   // the file cannot be read ("%1": the path)
    QString unparsable{};   // the file holds no rows in the format ("%1": the path)
    QString insertFailed{}; // the database took no rows ("%1": the error)
};

std::optional<QByteArray> readFile(const QString &path, Bastwick::Error *error, const QString &logLine = {})
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, QStringLiteral("read file content from path(%1) error: %2").arg(path, file.errorString()),
             logLine, path);
        return std::nullopt;
    }
    return file.readAll();
}

// The text of a file read as bytes, its encoding detected as the platform's text reader
// does it: a byte-order mark names UTF-8, UTF-16 or UTF-32, and such text goes on as
// UTF-8; without a mark the bytes stand as they are (UTF-8, with the raw bytes that our
// SQL and CSV writers keep). XML and property lists name their encoding themselves and
// are read by the XML reader, which follows it.
std::optional<QByteArray> utf8Text(QByteArray bytes, const QString &path, Bastwick::Error *error,
                                   const QString &logLine)
{
    QString encoding;
    std::optional<QByteArray> utf8 = Bastwick::utf8FromMarkedBytes(std::move(bytes), &encoding);
    if (!utf8)
        fail(error,
             QStringLiteral("read file content from path(%1) error: not valid %2 text").arg(path, encoding),
             logLine, path);
    return utf8;
}

// A file of a format that is plain text (SQL, JSON, CSV), as UTF-8.
std::optional<QByteArray> readTextFile(const QString &path, Bastwick::Error *error,
                                       const QString &logLine = {})
{
    auto bytes = readFile(path, error, logLine);
    return bytes ? utf8Text(std::move(*bytes), path, error, logLine) : std::nullopt;
}

bool insertRows(DBImport &kit, const TablePtr &table, const QVariantList &rows, const FormatLogs &logs,
                Bastwick::Error *error)
{
    Bastwick::Error local;
    if (kit.importData2Table(table, rows, &local))
        return true;
    if (local.description.isEmpty())
        local = Bastwick::Error(
            kImportDomain, 1,
            QStringLiteral("%1 rows could not be inserted into %2: this database takes no rows")
                .arg(QLatin1String(logs.format), table->name()));
    return fail(error, local.description, logs.insertFailed, local.toString());
}

// Reads the file, makes its rows with parse (nothing and a problem text when they cannot
// be made) and hands them to the kit.
bool importRows(DBImport &kit, const QString &path, const TablePtr &table, const FormatLogs &logs,
                const std::function<std::optional<QVariantList>(const QByteArray &, QString *)> &parse,
                Bastwick::Error *error)
{
    if (!table || table->name().isEmpty())
        return fail(error, QStringLiteral("%1: no table to import into").arg(path));
    const auto bytes =
        logs.markup ? readFile(path, error, logs.unreadable) : readTextFile(path, error, logs.unreadable);
    if (!bytes)
        return false;
    QString problem;
    const auto rows = parse(*bytes, &problem);
    if (!rows)
        return fail(error, QStringLiteral("%1: %2").arg(path, problem), logs.unparsable, path);
    return insertRows(kit, table, *rows, logs, error);
}

} // namespace

qint64 importTypeAsindex(qint64 type)
{
    // The formats are listed as the export registry lists them; only known codes match.
    for (qint64 index = 0; index < 5; ++index)
        if (DBExport::exportTypeFromIndex(index) == type)
            return index;
    return -1;
}

qint64 importTypeFromIndex(qint64 index)
{
    return DBExport::exportTypeFromIndex(index);
}

bool importAtPath(DBImport &kit, const QStringList &paths, Bastwick::Error *error)
{
    bool ok = true;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        const QString ext = info.suffix().toLower();
        const auto db = kit.database();
        const TablePtr table = db ? db->tableWithName(info.completeBaseName()) : nullptr;
        bool done = false;
        if (ext == QLatin1String("sql"))
            done = importSQLAtPath(kit, path, error);
        else if (ext == QLatin1String("json"))
            done = importJSONAtPath(kit, path, table, error);
        else if (ext == QLatin1String("csv"))
            done = importCSVAtPath(kit, path, table, error);
        else if (ext == QLatin1String("xml"))
            done = importXMLAtPath(kit, path, table, error);
        else if (ext == QLatin1String("plist"))
            done = importPListAtPath(kit, path, table, error);
        else
            done = fail(error, QStringLiteral("%1: files of this kind cannot be imported").arg(path));
        ok = ok && done;
    }
    return ok;
}

bool importSQLAtPath(DBImport &kit, const QString &path, Bastwick::Error *error)
{
    const auto bytes = readTextFile(path, error);
    if (!bytes)
        return false;
    Bastwick::Error local;
    if (kit.importSQL(FileFormats::fileText(*bytes), &local))
        return true;
    // The kit logs each statement that failed.
    return keep(error, local.description.isEmpty() ? QStringLiteral("%1: the statements failed").arg(path)
                                                   : local.description);
}

std::optional<QVariantList> jsonRows(const QByteArray &text, const QString &tableName, QString *problem)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *problem = parseError.errorString();
        return std::nullopt;
    }
    if (doc.isArray())
        return doc.array().toVariantList();
    const QJsonValue member = doc.object().value(tableName);
    if (!member.isArray()) {
        *problem = QStringLiteral("json error! no array of rows under %1").arg(tableName);
        return std::nullopt;
    }
    return member.toArray().toVariantList();
}

bool importJSONAtPath(DBImport &kit, const QString &path, const TablePtr &table, Bastwick::Error *error)
{
    const QString name = table ? table->name() : QString();
    return importRows(
        kit, path, table,
        {.format = "JSON",
         .unreadable = QStringLiteral("SQLiteJSONImport read file content from path(%1) error!"),
         .unparsable = QStringLiteral("SQLiteJSONImport json error!"),
         .insertFailed = QStringLiteral("JSONImport importJSON error.userInfo=%1")},
        [&](const QByteArray &text, QString *problem) { return jsonRows(text, name, problem); }, error);
}

QVariantList csvRows(const QByteArray &text, const DBTable &table, bool header)
{
    QVariantList rows;
    QList<QStringList> records = FileFormats::csvRecords(text);
    if (header && !records.isEmpty())
        records.removeFirst();
    const auto fields = table.fields();
    for (const QStringList &record : records) {
        QVariantMap row;
        for (qsizetype i = 0; i < fields.size() && i < record.size(); ++i)
            row.insert(fields.at(i)->name(), record.at(i));
        rows.append(row);
    }
    return rows;
}

bool importCSVAtPath(DBImport &kit, const QString &path, const TablePtr &table, Bastwick::Error *error,
                     const AppExportConfig *config)
{
    const AppExportConfig *settings = config ? config : AppExportConfig::sharedInstance();
    return importRows(
        kit, path, table, {.format = "CSV", .insertFailed = QStringLiteral("CSVImport error.userInfo=%1")},
        [&](const QByteArray &text, QString *problem) -> std::optional<QVariantList> {
            QVariantList rows = csvRows(text, *table, settings->isCSVExportIncludeColumnHeader());
            if (rows.isEmpty()) {
                *problem = QStringLiteral("no rows");
                return std::nullopt;
            }
            return rows;
        },
        error);
}

std::optional<QVariantList> xmlRows(const QByteArray &text, QString *problem)
{
    QXmlStreamReader r(text);
    QVariantList rows;
    if (!r.readNextStartElement()) {
        *problem = QStringLiteral("xml parser error! %1").arg(r.errorString());
        return std::nullopt;
    }
    while (r.readNextStartElement()) {
        if (r.name() != QLatin1String("row")) {
            r.skipCurrentElement();
            continue;
        }
        QVariantMap row;
        while (r.readNextStartElement()) {
            if (r.name() != QLatin1String("column")) {
                r.skipCurrentElement();
                continue;
            }
            const QString name = r.attributes().value(QLatin1String("name")).toString();
            const bool base64 = r.attributes().value(QLatin1String(FileFormats::kXmlEncodingAttribute)) ==
                                QLatin1String(FileFormats::kXmlBase64);
            auto value = FileFormats::elementText(r);
            if (!value)
                break;
            if (base64) {
                value = FileFormats::textFromBase64(*value);
                if (!value) {
                    r.raiseError(QStringLiteral("row %1, column %2 does not hold Base64")
                                     .arg(rows.size() + 1)
                                     .arg(name));
                    break;
                }
            }
            if (!name.isEmpty())
                row.insert(name, *value);
        }
        rows.append(row);
    }
    if (r.hasError()) {
        *problem = QStringLiteral("xml parser error! %1").arg(r.errorString());
        return std::nullopt;
    }
    return rows;
}

bool importXMLAtPath(DBImport &kit, const QString &path, const TablePtr &table, Bastwick::Error *error)
{
    const QString parserError = QStringLiteral("xml parser error!");
    return importRows(kit, path, table,
                      {.format = "XML",
                       .markup = true,
                       .unreadable = parserError,
                       .unparsable = parserError,
                       .insertFailed = QStringLiteral("XMLImport error.userInfo=%1")},
                      xmlRows, error);
}

std::optional<QVariantList> plistRows(const QByteArray &text, const QString &tableName, QString *problem)
{
    const auto root = FileFormats::plistObject(text, problem);
    if (!root)
        return std::nullopt;
    const QVariant member = root->toMap().value(tableName);
    if (member.metaType() != QMetaType::fromType<QVariantList>()) {
        *problem = QStringLiteral("no array of rows under %1").arg(tableName);
        return std::nullopt;
    }
    return member.toList();
}

bool importPListAtPath(DBImport &kit, const QString &path, const TablePtr &table, Bastwick::Error *error)
{
    const QString name = table ? table->name() : QString();
    return importRows(
        kit, path, table,
        {.format = "property-list",
         .markup = true,
         .unreadable = QStringLiteral("SQLitePListImport readPlistFilesAtPath =%1 Error!"),
         .unparsable = QStringLiteral("SQLitePListImport readPlistFilesAtPath =%1 Error!"),
         .insertFailed = QStringLiteral("SQLitePListImport  error.userInfo=%1")},
        [&](const QByteArray &text, QString *problem) { return plistRows(text, name, problem); }, error);
}

} // namespace DBFileImport

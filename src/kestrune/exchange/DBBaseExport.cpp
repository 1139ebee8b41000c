#include <kestrune/exchange/DBBaseExport.h>

#include <kestrune/exchange/AppExportConfig.h>
#include <kestrune/exchange/DBExportProducers.h>

#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBExport.h>
#include <kestrune/data/model/DBTable.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

namespace {

const QString kExportDomain = QStringLiteral("com.fenwarp.Deraz.error");

} // namespace

DBBaseExport::DBBaseExport(QObject *parent)
    : QObject(parent)
{
}

DBBaseExport::DBBaseExport(Format format, QObject *parent)
    : QObject(parent)
    , m_format(std::move(format))
{
}

DBBaseExport::~DBBaseExport() = default;

AppExportConfig *DBBaseExport::config() const
{
    return m_config ? m_config.data() : AppExportConfig::sharedInstance();
}

void DBBaseExport::setConfig(AppExportConfig *config)
{
    m_config = config;
}

bool DBBaseExport::failed(Bastwick::Error *error, const Bastwick::Error &cause)
{
    m_errorString = cause.description;
    if (error && error->description.isEmpty() && error->code == 0)
        *error = cause;
    return false;
}

bool DBBaseExport::notImplemented(const QString &operation, Bastwick::Error *error)
{
    XXXLog(operation);
    return failed(error, Bastwick::Error(kExportDomain, 1, operation));
}

QString DBBaseExport::fileFailedLine(const QString &line, const QString &path) const
{
    return line.arg(m_format.logs.pathInLog ? path : m_errorString);
}

void DBBaseExport::logTableRead(const Bastwick::Error &cause) const
{
    if (!m_format.logs.tableRead.isEmpty())
        XXXLog(m_format.logs.tableRead.arg(cause.toString()));
}

bool DBBaseExport::rowsWritable(const DBTable &table, const QVariantList &rows, Bastwick::Error *error) const
{
    return m_format.holdsAnyText ||
           DBExportProducers::checkWritable(table, rows, m_format.namesInMarkup, error);
}

std::optional<QByteArray> DBBaseExport::tableContent(const TablePtr &table, const Bastwick::IndexSet *indexes,
                                                     Bastwick::Error *error)
{
    if (!m_exportDataKit || !table) {
        failed(error, Bastwick::Error(kExportDomain, 1, QStringLiteral("no table or no database to export")));
        return std::nullopt;
    }
    std::optional<QVariantList> rows = QVariantList();
    if (!m_format.needsRows || m_format.needsRows(*this)) {
        rows = DBExportProducers::tableRows(*m_exportDataKit, table, indexes, error);
        if (!rows && error)
            logTableRead(*error);
    }
    if (!rows || !rowsWritable(*table, *rows, error))
        return std::nullopt;
    return m_format.tableFile(*this, *table, *rows, error);
}

bool DBBaseExport::exportTextFileAtPath(const QString &path, const QByteArray &content,
                                        Bastwick::Error *error)
{
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        XXXLog(Bastwick::format("createPathIfNeded %@ failed", info.absolutePath()));
    QString reason;
    if (!Bastwick::writeFileAtomically(path, content, &reason)) {
        const Bastwick::Error cause(kExportDomain, 1, reason);
        XXXLog(Bastwick::format("exportTextFileAtPath SQL error=%@", cause.toString()));
        return failed(error, cause);
    }
    return true;
}

bool DBBaseExport::writeContent(const QString &path, const std::optional<QByteArray> &content,
                                const Bastwick::Error &cause, Bastwick::Error *error)
{
    if (!content)
        return failed(error, cause);
    return exportTextFileAtPath(path, *content, error);
}

bool DBBaseExport::exportTables(const TableList &tables, const QString &dbName, const QString &folder,
                                Bastwick::Error *error)
{
    if (!m_format.tableFile || !m_format.databaseFile || !m_exportDataKit)
        return notImplemented(QStringLiteral("exportTables no implement"), error);
    const QString dbFolder = QDir(folder).filePath(dbName);
    if (!QDir().mkpath(dbFolder)) {
        return failed(error,
                      Bastwick::Error(kExportDomain, 1,
                                      QStringLiteral("the folder %1 could not be made").arg(dbFolder)));
    }
    bool ok = true;
    if (config()->isExportSaveAsSingleFile()) {
        for (const auto &table : tables) {
            if (!table)
                continue;
            Bastwick::Error cause;
            const auto content = tableContent(table, nullptr, &cause);
            const QString path = QDir(dbFolder).filePath(QStringLiteral("%1.%2").arg(table->name(), ext()));
            if (!writeContent(path, content, cause, error)) {
                XXXLog(fileFailedLine(m_format.logs.tableFile, path));
                ok = false; // the other tables are still written
            }
        }
        return ok;
    }
    // A table that cannot be read is left out of the file and still fails the export.
    Bastwick::Error cause;
    TableRows read;
    for (const auto &table : tables) {
        Bastwick::Error local;
        if (const auto rows = DBExportProducers::tableRows(*m_exportDataKit, table, nullptr, &local)) {
            read.append({table, *rows});
            continue;
        }
        logTableRead(local);
        if (cause.description.isEmpty())
            cause = local;
    }
    const QString path = QDir(dbFolder).filePath(QStringLiteral("%1.%2").arg(dbName, ext()));
    Bastwick::Error unwritable;
    for (const auto &[table, rows] : std::as_const(read))
        if (!rowsWritable(*table, rows, &unwritable))
            return failed(error, unwritable);
    if (!writeContent(path, m_format.databaseFile(*this, read), cause, error)) {
        XXXLog(fileFailedLine(m_format.logs.databaseFile, path));
        return false;
    }
    if (!cause.description.isEmpty())
        return failed(error, cause);
    return true;
}

bool DBBaseExport::exportTable(const TablePtr &table, const QString &folder, const QString &query,
                               const Bastwick::IndexSet *indexes, Bastwick::Error *error)
{
    Q_UNUSED(table);
    Q_UNUSED(folder);
    Q_UNUSED(query);
    Q_UNUSED(indexes);
    return failed(error,
                  Bastwick::Error(kExportDomain, 1,
                                  QStringLiteral("a table cannot be exported by a query into a folder")));
}

bool DBBaseExport::exportTable(const TablePtr &table, const QString &folder,
                               const Bastwick::IndexSet *indexes, Bastwick::Error *error)
{
    if (!m_format.tableFile)
        return notImplemented(QStringLiteral("exportTable no implement"), error);
    if (!table)
        return failed(error, Bastwick::Error(kExportDomain, 1, QStringLiteral("no table to export")));
    const QString dbName = table->database() ? table->database()->name() : QString();
    const QString path =
        QDir(QDir(folder).filePath(dbName)).filePath(QStringLiteral("%1.%2").arg(table->name(), ext()));
    return exportTableToFile(table, path, indexes, error);
}

bool DBBaseExport::exportTableToFile(const TablePtr &table, const QString &filePath,
                                     const Bastwick::IndexSet *indexes, Bastwick::Error *error)
{
    if (!m_format.tableFile)
        return notImplemented(QStringLiteral("exportTable filePath no implement"), error);
    Bastwick::Error cause;
    return writeOneFile(filePath, tableContent(table, indexes, &cause), cause, error);
}

bool DBBaseExport::exportQuery(const QString &sql, const QString &folder, const Bastwick::IndexSet *indexes,
                               Bastwick::Error *error)
{
    if (!m_format.tableFile)
        return notImplemented(QStringLiteral("exportQuery query no implement"), error);
    const auto db = m_exportDataKit ? m_exportDataKit->database() : nullptr;
    const auto table = db ? db->tableWithName(DBHelper::tableNameFromSQL(sql)) : nullptr;
    if (!table) {
        XXXLog(m_format.logs.queryTable);
        return failed(error, Bastwick::Error(kExportDomain, 1,
                                             QStringLiteral("no table named in the query: %1").arg(sql)));
    }
    const QString path =
        QDir(QDir(folder).filePath(db->name())).filePath(QStringLiteral("%1.%2").arg(table->name(), ext()));
    return exportQueryToFile(sql, path, indexes, error);
}

bool DBBaseExport::exportQueryToFile(const QString &sql, const QString &filePath,
                                     const Bastwick::IndexSet *indexes, Bastwick::Error *error)
{
    const auto &queryFile = m_format.queryFile ? m_format.queryFile : m_format.tableFile;
    if (!queryFile || !m_exportDataKit)
        return notImplemented(QStringLiteral("exportQuery query filePath no implement"), error);
    Bastwick::Error cause;
    TablePtr table;
    std::optional<QByteArray> content;
    const auto rows = DBExportProducers::queryRows(*m_exportDataKit, sql, indexes, &table, &cause);
    if (!rows && !table)
        XXXLog(m_format.logs.queryTable);
    else if (!rows)
        logTableRead(cause);
    else if (rowsWritable(*table, *rows, &cause))
        content = queryFile(*this, *table, *rows, &cause);
    return writeOneFile(filePath, content, cause, error);
}

bool DBBaseExport::writeOneFile(const QString &path, const std::optional<QByteArray> &content,
                                const Bastwick::Error &cause, Bastwick::Error *error)
{
    if (!content && !m_format.logs.noContent.isEmpty())
        XXXLog(m_format.logs.noContent);
    if (writeContent(path, content, cause, error))
        return true;
    if (content && !m_format.logs.fileFailed.isEmpty())
        XXXLog(m_format.logs.fileFailed);
    return false;
}

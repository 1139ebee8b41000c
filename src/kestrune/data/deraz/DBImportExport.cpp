#include <kestrune/data/deraz/DerazExport.h>
#include <kestrune/data/deraz/DerazImport.h>
#include <kestrune/data/model/DBExport.h>
#include <kestrune/data/model/DBImport.h>

#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBTable.h>

#include <bastwick/StringAdditions.h>
#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

namespace {

// The statements of an SQL text: split at each ";" that stands outside a quoted literal
// ('…', "…" or `…`, a doubled quote staying inside), the ";" dropped.
QStringList splitStatements(const QString &sql)
{
    QStringList statements;
    QString current;
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            current.append(c);
            if (c == quote) {
                if (i + 1 < sql.size() && sql.at(i + 1) == quote)
                    current.append(sql.at(++i));
                else
                    quote = QChar();
            }
        } else if (c == QLatin1Char(';')) {
            statements.append(current);
            current.clear();
        } else {
            if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`'))
                quote = c;
            current.append(c);
        }
    }
    statements.append(current);
    return statements;
}

} // namespace

DBImport::~DBImport() = default;

bool DBImport::importData2Table(const std::shared_ptr<DBTable> &table, const QVariantList &data,
                                Bastwick::Error *error)
{
    return false;
}

bool DBImport::importData2TableWithName(const QString &name, const QVariantList &data, Bastwick::Error *error)
{
    const auto db = database();
    return importData2Table(db ? db->tableWithName(name) : nullptr, data, error);
}

bool DBImport::importSQL(const QString &sql, Bastwick::Error *error)
{
    const auto db = database();
    if (!db)
        return false;
    bool all = true;
    const QStringList statements = splitStatements(sql);
    for (const QString &statement : statements) {
        if (Bastwick::trim(statement).isEmpty())
            continue;
        Bastwick::Error local;
        if (!db->executeSQL(statement, &local)) {
            // The statement stays out of the log: it holds the file's values.
            XXXLog(Bastwick::format("importSQL error.userInfo=%@", local.toString()));
            Bastwick::setError(error, local);
            all = false;
        }
    }
    return all;
}

DBExport::~DBExport() = default;

qint64 DBExport::exportTypeAsindex(qint64 type)
{
    switch (type) {
    case 8:
        return 1;
    case 9:
        return 2;
    case 10:
        return 3;
    case 11:
        return 4;
    default:
        return 0;
    }
}

qint64 DBExport::exportTypeFromIndex(qint64 index)
{
    static const qint64 types[] = {0, 8, 9, 10, 11};
    return (index >= 0 && index < 5) ? types[index] : -1;
}

QString DBExport::defaultExportClassName(int type)
{
    switch (type) {
    case 0:
        return QStringLiteral("DBSQLExport");
    case 8:
        return QStringLiteral("DBJSONExport");
    case 9:
        return QStringLiteral("DBCSVExport");
    case 10:
        return QStringLiteral("DBXMLExport");
    case 11:
        return QStringLiteral("DBPListExport");
    default:
        return QString();
    }
}

std::shared_ptr<QObject> DBExport::exportKitByExportType(int type)
{
    {
        QMutexLocker lock(&m_kitLock);
        if (auto kit = m_exportCache.value(type))
            return kit;
    }
    return defaultExportWithType(type);
}

void DBExport::registerExportKit(std::shared_ptr<QObject> kit, int type)
{
    if (!kit)
        return;
    QMutexLocker lock(&m_kitLock);
    m_exportCache.insert(type, std::move(kit));
}

std::shared_ptr<QObject> DBExport::defaultExportWithType(int type)
{
    const QString name = defaultExportClassName(type);
    if (name.isEmpty())
        return nullptr;
    QMutexLocker lock(&m_kitLock);
    if (auto kit = m_defaultKits.value(type))
        return kit;
    std::shared_ptr<QObject> kit(Bastwick::ClassRegistry::instance().createObject(name));
    if (!kit) {
        XXXLog(Bastwick::format("no writer class %@ is registered", name));
        return nullptr;
    }
    m_defaultKits.insert(type, kit);
    return kit;
}

DerazImport::DerazImport(const std::shared_ptr<DBDatabase> &database)
    : DBImport(database)
{
}

DerazImport::~DerazImport() = default;

DerazExport::DerazExport(const std::shared_ptr<DBDatabase> &database)
    : DBExport(database)
{
    registerExportKit();
}

DerazExport::~DerazExport() = default;

void DerazExport::registerExportKit() {}

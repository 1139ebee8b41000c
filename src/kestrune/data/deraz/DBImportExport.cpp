#include <kestrune/data/deraz/DerazExport.h>
#include <kestrune/data/deraz/DerazImport.h>
#include <kestrune/data/model/DBExport.h>
#include <kestrune/data/model/DBImport.h>

#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBTable.h>

#include <bastwick/StringAdditions.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

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
    const QStringList statements = sql.split(QLatin1Char(';'));
    for (const QString &statement : statements) {
        if (Bastwick::trim(statement).isEmpty())
            continue;
        Bastwick::Error local;
        if (!db->executeSQL(statement, &local)) {
            XXXLog(Bastwick::format("importSQL sql =%@ error=%@", Bastwick::logText(statement),
                                    local.toString()));
            Bastwick::setError(error, local);
            all = false;
        }
    }
    return all;
}

DBExport::~DBExport() = default;

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

#include <kestrune/data/model/DBDatabase.h>

#include <kestrune/data/model/DBConnection.h>
#include <kestrune/data/model/DBResultSet.h>
#include <kestrune/data/model/DBTable.h>
#include <kestrune/data/records/DataResources.h>

#include <bastwick/IndexSet.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QRandomGenerator>

// The operations that read values out of a result set.

// The value of a column in the last record of a result's first row, or nothing.
static QVariant lastRecordValue(const std::shared_ptr<DBResultSet> &result, const QString &column)
{
    if (!result)
        return {};
    const auto records = result->recordsAtIndexes(Bastwick::IndexSet(0));
    if (records.isEmpty() || !records.last())
        return {};
    return records.last()->valueForKey(column);
}

qint64 DBDatabase::numberOfQueryRecords(const QString &sql)
{
    const auto count = countSQL(sql);
    if (!count)
        return 0;
    const QVariant value = lastRecordValue(executeSQLResult(*count, nullptr), QStringLiteral("count"));
    const qint64 n = value.isValid() ? value.toLongLong() : 0;
    return n < 0 ? 0 : n;
}

// --- Generated rows -------------------------------------------------------------------

bool DBDatabase::magicData(const DBTable &table, qint64 nums, Bastwick::Error *error)
{
    if (table.name().isEmpty() || nums <= 0)
        return false;
    qint64 next = 1;
    const auto keys = table.keys();
    if (!keys.isEmpty() && m_connection) {
        const QString sql =
            Bastwick::format("select max(%@) as max from %@  ", keys.first()->name(), table.name());
        const QVariant max = lastRecordValue(m_connection->executeSQL(sql, nullptr), QStringLiteral("max"));
        if (max.isValid() && !max.isNull())
            next = max.toLongLong() + 1;
    }
    const QStringList words = Kestrune::magicDataWords();
    const auto fields = table.fields();
    const QString columns = table.insertSQLColsString();
    auto *random = QRandomGenerator::global();
    for (qint64 row = 0; row < nums; ++row) {
        QStringList values;
        for (const DBFieldPtr &f : fields) {
            if (f->isKey()) {
                const QString number = QString::number(next++);
                values.append(f->isSimpleType() ? number : QLatin1Char('\'') + number + QLatin1Char('\''));
            } else if (f->isTEXT() || f->isVARCHAR() || f->isDATETIME()) {
                const QString word = words.isEmpty() ? QStringLiteral("text")
                                                     : words.at(int(random->bounded(quint32(words.size()))));
                values.append(QLatin1Char('"') + word + QLatin1Char('"'));
            } else {
                values.append(QString::number(random->bounded(2000)));
            }
        }
        const QString sql = Bastwick::format("insert  into  %@ (%@)  values ( %@ ) ", table.name(), columns,
                                             values.join(QLatin1Char(',')));
        Bastwick::Error local;
        const bool ok = executeSQL(sql, &local);
        XXXLog(Bastwick::format("sql = %@ \n execute result =%d", sql, int(ok)));
    }
    return true;
}

// --- Reads through a table's namespace ---------------------------------------------------
//
// Each form names the table by its namespace and forwards to the connection's read of the
// same shape, which answers or reports.

// The error of a read that cannot be forwarded: no table, no query or no connection.
static Bastwick::Error cannotForwardError(const char *missing)
{
    return Bastwick::Error(DBDatabaseErrorDomain, 3,
                           Bastwick::format("No %@ to fetch a result set for", QLatin1String(missing)));
}

static void failOnMainQueue(DBDatabase::Failure failure, const Bastwick::Error &error)
{
    if (failure)
        Bastwick::mainQueue()->async([failure = std::move(failure), error] { failure(error); });
}

static DBDatabase::ResultSetPtr noResult(const Bastwick::Error &error, Bastwick::Error *out)
{
    Bastwick::setError(out, error);
    return nullptr;
}

void DBDatabase::fetchResultSetForTable(const QString &tableName, const Bastwick::IndexSet *indexes,
                                        ResultSetSuccess success, Failure failure)
{
    if (tableName.isEmpty())
        return failOnMainQueue(std::move(failure), cannotForwardError("table"));
    if (!m_connection)
        return failOnMainQueue(std::move(failure), cannotForwardError("connection"));
    m_connection->fetchResultSetForNamespace(namespaceForTable(tableName), indexes, std::move(success),
                                             std::move(failure));
}

void DBDatabase::fetchResultSetForTable(const QString &tableName, const QString &query,
                                        const Bastwick::IndexSet *indexes, ResultSetSuccess success,
                                        Failure failure)
{
    if (tableName.isEmpty())
        return failOnMainQueue(std::move(failure), cannotForwardError("table"));
    if (query.isEmpty())
        return failOnMainQueue(std::move(failure), cannotForwardError("query"));
    if (!m_connection)
        return failOnMainQueue(std::move(failure), cannotForwardError("connection"));
    m_connection->fetchResultSetForNamespace(namespaceForTable(tableName), query, indexes, std::move(success),
                                             std::move(failure));
}

DBDatabase::ResultSetPtr DBDatabase::fetchResultSetForTable(const QString &tableName,
                                                            const Bastwick::IndexSet *indexes,
                                                            Bastwick::Error *error)
{
    if (tableName.isEmpty())
        return noResult(cannotForwardError("table"), error);
    if (!m_connection)
        return noResult(cannotForwardError("connection"), error);
    return m_connection->fetchResultSetForNamespace(namespaceForTable(tableName), indexes, error);
}

DBDatabase::ResultSetPtr DBDatabase::fetchResultSetForTable(const QString &tableName, const QString &query,
                                                            const Bastwick::IndexSet *indexes,
                                                            Bastwick::Error *error)
{
    if (tableName.isEmpty())
        return noResult(cannotForwardError("table"), error);
    if (query.isEmpty())
        return noResult(cannotForwardError("query"), error);
    if (!m_connection)
        return noResult(cannotForwardError("connection"), error);
    return m_connection->fetchResultSetForNamespace(namespaceForTable(tableName), query, indexes, error);
}

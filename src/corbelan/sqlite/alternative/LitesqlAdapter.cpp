#include <corbelan/sqlite/alternative/LitesqlAdapter.h>

#include <QtCore/QHash>
#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>

#include <sqlite3.h>

namespace {

// Appends each item followed by the separator, then drops the last character.
QString joined(const QStringList &items, const QString &separator)
{
    QString text;
    for (const QString &item : items)
        text += item + separator;
    text.chop(1);
    return text;
}

QString whereClause(const QString &condition)
{
    if (condition.isEmpty())
        return QString();
    return QStringLiteral(" WHERE ") + condition;
}

struct Pools
{
    QMutex mutex;
    QHash<QString, std::shared_ptr<LitesqlAdapter>> databases;
    QHash<QString, std::shared_ptr<LitesqlAdapter>> tables;
};

Pools &pools()
{
    static Pools p;
    return p;
}

} // namespace

LitesqlAdapter::LitesqlAdapter(const QString &databaseName)
    : m_databaseName(databaseName)
    , m_litesqlDrv(LitesqlDriver::create(databaseName))
{
}

LitesqlAdapter::~LitesqlAdapter() = default;

LitesqlResult LitesqlAdapter::emptyListResult(const QString &what)
{
    LitesqlResult result;
    result.setCode(SQLITE_ERROR);
    result.setMsg(QStringLiteral("no %1 given").arg(what));
    return result;
}

LitesqlResult LitesqlAdapter::probeTable()
{
    const Result probe = selectFields(QStringList{QStringLiteral("1")}, QString());
    // Without a driver there is no result: an empty one (code 0) stands for it.
    return probe ? *probe : LitesqlResult();
}

std::shared_ptr<LitesqlAdapter> LitesqlAdapter::create(const QString &databaseName, const QString &tableName)
{
    auto adapter = std::make_shared<LitesqlAdapter>(databaseName);
    adapter->setTableName(tableName);
    if (adapter->probeTable().code() == SQLITE_ERROR)
        return nullptr;
    return adapter;
}

std::shared_ptr<LitesqlAdapter> LitesqlAdapter::database(const QString &databaseName)
{
    Pools &p = pools();
    QMutexLocker lock(&p.mutex);
    auto it = p.databases.constFind(databaseName);
    if (it != p.databases.constEnd())
        return *it;
    auto adapter = std::make_shared<LitesqlAdapter>(databaseName);
    p.databases.insert(databaseName, adapter);
    return p.databases.value(databaseName);
}

std::shared_ptr<LitesqlAdapter> LitesqlAdapter::database(const QString &databaseName,
                                                         const QString &tableName)
{
    Pools &p = pools();
    QMutexLocker lock(&p.mutex);
    const QString key = databaseName + QLatin1Char('.') + tableName;
    auto it = p.tables.constFind(key);
    if (it != p.tables.constEnd())
        return *it;
    auto adapter = std::make_shared<LitesqlAdapter>(databaseName);
    adapter->setTableName(tableName);
    if (adapter->probeTable().code() != SQLITE_DONE)
        return nullptr;
    p.tables.insert(key, adapter);
    return adapter;
}

LitesqlAdapter::Result LitesqlAdapter::excuteSQL(const QString &sql, const QVariantList &bind)
{
    if (!m_litesqlDrv)
        return std::nullopt;
    if (!bind.isEmpty())
        return m_litesqlDrv->querySql(sql, bind);
    return m_litesqlDrv->querySql(sql);
}

LitesqlAdapter::Result LitesqlAdapter::selectFields(const QStringList &fields, const QString &condition,
                                                    const QVariantList &bind)
{
    if (!m_litesqlDrv)
        return std::nullopt;
    if (fields.isEmpty())
        return emptyListResult(QStringLiteral("fields"));
    const QString sql = QStringLiteral("SELECT ") + joined(fields, QStringLiteral(",")) +
                        QStringLiteral(" FROM ") + m_tableName + whereClause(condition);
    return excuteSQL(sql, bind);
}

LitesqlAdapter::Result LitesqlAdapter::insertData(const QVariantMap &data)
{
    if (!m_litesqlDrv)
        return std::nullopt;
    if (data.isEmpty())
        return emptyListResult(QStringLiteral("values"));
    QStringList keys;
    QStringList marks;
    QVariantList values;
    for (auto it = data.constBegin(); it != data.constEnd(); ++it) {
        keys.append(it.key());
        marks.append(QStringLiteral("?"));
        values.append(it.value());
    }
    const QString sql = QStringLiteral("INSERT INTO ") + m_tableName + QStringLiteral(" (") +
                        joined(keys, QStringLiteral(",")) + QStringLiteral(") VALUES (") +
                        joined(marks, QStringLiteral(",")) + QStringLiteral(")");
    return excuteSQL(sql, values);
}

LitesqlAdapter::Result LitesqlAdapter::updateData(const QVariantMap &data, const QString &condition,
                                                  const QVariantList &bind)
{
    if (!m_litesqlDrv)
        return std::nullopt;
    if (data.isEmpty())
        return emptyListResult(QStringLiteral("values"));
    QString sets;
    QVariantList values;
    for (auto it = data.constBegin(); it != data.constEnd(); ++it) {
        sets += it.key() + QStringLiteral("=? ,");
        values.append(it.value());
    }
    sets.chop(1);
    values += bind;
    const QString sql =
        QStringLiteral("UPDATE ") + m_tableName + QStringLiteral(" SET ") + sets + whereClause(condition);
    return m_litesqlDrv->querySql(sql, values);
}

LitesqlAdapter::Result LitesqlAdapter::deleteByCondition(const QString &condition, const QVariantList &bind)
{
    if (!m_litesqlDrv)
        return std::nullopt;
    const QString sql = QStringLiteral("DELETE FROM ") + m_tableName + whereClause(condition);
    return excuteSQL(sql, bind);
}

LitesqlAdapter::Result LitesqlAdapter::createTable(const QString &tableName, const QStringList &info)
{
    if (!m_litesqlDrv)
        return std::nullopt;
    if (info.isEmpty())
        return emptyListResult(QStringLiteral("column definitions"));
    const QString sql = QStringLiteral("CREATE TABLE IF NOT EXISTS ") + tableName + QStringLiteral(" (") +
                        joined(info, QStringLiteral(",")) + QStringLiteral(")");
    return m_litesqlDrv->querySql(sql);
}

LitesqlAdapter::Result LitesqlAdapter::dropTable(const QString &tableName)
{
    if (!m_litesqlDrv)
        return std::nullopt;
    return excuteSQL(QStringLiteral("DROP TABLE ") + tableName + QStringLiteral(" "));
}

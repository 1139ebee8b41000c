#include <corbelan/sqlite/DAOStatements_p.h>

#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/XXXRWResultSet.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

#include <functional>

namespace Corbelan::DAOStatements {

namespace {

// Each name followed by its clause, the clauses joined by separator and the last one
// closed by a space.
QString joinedClauses(const QStringList &names, const std::function<QString(const QString &)> &clause,
                      const QString &separator)
{
    QString text;
    for (qsizetype i = 0; i < names.size(); ++i)
        text += clause(names.at(i)) + (i + 1 < names.size() ? separator : QStringLiteral(" "));
    return text;
}

} // namespace

QVariant bindable(const QVariant &value)
{
    return value.isValid() ? value : Bastwick::nullValue();
}

QVariantList keyValues(const QVariant &holder, const QStringList &keys)
{
    QVariantList values;
    for (const QString &key : keys)
        values.append(bindable(Bastwick::valueForKey(holder, key)));
    return values;
}

bool refuseNaN(const QString &table, const QStringList &columns, const QVariantList &values, QString *reason)
{
    for (qsizetype i = 0; i < values.size() && i < columns.size(); ++i) {
        if (Bastwick::isNaNNumber(values.at(i))) {
            const QString text =
                QStringLiteral("the value of column %1 of table %2 is NaN, which cannot be stored")
                    .arg(columns.at(i), table);
            XXXLogError(text);
            if (reason)
                *reason = text;
            return true;
        }
    }
    return false;
}

QString keyCondition(const QStringList &keys)
{
    return joinedClauses(
        keys, [](const QString &key) { return key + QStringLiteral(" = ?"); }, QStringLiteral(" AND "));
}

QString attributesCondition(const QStringList &names)
{
    return joinedClauses(
        names, [](const QString &name) { return name + QStringLiteral(" = :") + name; },
        QStringLiteral(" AND "));
}

QString setList(const QStringList &columns)
{
    return joinedClauses(
        columns, [](const QString &column) { return column + QStringLiteral(" = ?"); },
        QStringLiteral(" , "));
}

QString countSql(const QString &table)
{
    return QStringLiteral("SELECT count(*) as count FROM ") + table;
}

QString insertSql(const QString &table, const QStringList &fields)
{
    QStringList marks;
    for (qsizetype i = 0; i < fields.size(); ++i)
        marks.append(QStringLiteral("?"));
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + fields.join(QLatin1Char(',')) +
           QStringLiteral(") VALUES ( ") + marks.join(QLatin1Char(',')) + QStringLiteral(" )");
}

QString updateSql(const QString &table, const QStringList &setColumns, const QStringList &keys)
{
    return QStringLiteral("UPDATE ") + table + QStringLiteral(" SET ") + setList(setColumns) +
           QStringLiteral(" WHERE ") + keyCondition(keys) + QStringLiteral(" ");
}

QString deleteSql(const QString &table, const QStringList &keys)
{
    return QStringLiteral("DELETE FROM  ") + table + QStringLiteral(" WHERE ") + keyCondition(keys) +
           QStringLiteral(" ");
}

QString clearSql(const QString &table)
{
    return QStringLiteral("DELETE FROM  ") + table + QStringLiteral(" ");
}

QString selectAllSql(const QString &table)
{
    return QStringLiteral("SELECT * FROM  ") + table + QStringLiteral("  ");
}

QString selectWhereSql(const QString &table, const QString &condition)
{
    return QStringLiteral("SELECT * FROM  ") + table + QStringLiteral("  WHERE ") + condition +
           QStringLiteral(" ");
}

QString maxKeySql(const QString &table, const QString &key)
{
    return QStringLiteral("SELECT max(") + key + QStringLiteral(") FROM  ") + table + QStringLiteral("  ");
}

QString pageSql(const QString &table, qint64 page, qint64 pageSize)
{
    return QStringLiteral("SELECT * FROM  ") + table + QStringLiteral("  LIMIT ") +
           QString::number(pageSize) + QStringLiteral(" OFFSET ") + QString::number(pageSize * page) +
           QStringLiteral(" ");
}

QVariant queryMaxKey(XXXRWDatabase *db, const QString &table, const QStringList &keys)
{
    if (keys.isEmpty()) {
        XXXLog(QStringLiteral("table no primary key field!"));
        return {};
    }
    const QString sql = maxKeySql(table, keys.first());
    XXXLog(QStringLiteral("findMaxKey sql=%1").arg(sql));
    QVariant answer;
    XXXRWResultSetPtr rs = db->executeQuery(sql);
    if (rs && rs->next())
        answer = rs->objectForColumnIndex(0);
    if (rs)
        rs->close();
    return answer;
}

} // namespace Corbelan::DAOStatements

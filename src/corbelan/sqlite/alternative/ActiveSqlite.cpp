#include <corbelan/sqlite/alternative/ActiveSqlite.h>

#include <corbelan/sqlite/XXXRWResultSet.h>

#include <bastwick/DateHelpers.h>
#include <bastwick/platform/Exception.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

#include <algorithm>
#include <cmath>

namespace {

using Bastwick::isNilOrNull;
using Bastwick::isNumber;

// Quotes inside a name would end the literal it is written into.
QString literalText(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return escaped;
}

[[noreturn]] void raise(const QString &reason)
{
    throw Bastwick::Exception(QString::fromLatin1(Bastwick::Exception::kInternalInconsistency), reason);
}

} // namespace

ActiveSqlite::ActiveSqlite()
    : ActiveSqlite("ActiveSqlite")
{
}

ActiveSqlite::ActiveSqlite(const char *className)
{
    raise(QStringLiteral("请使用 initWithRWDB: 初始化") + QString::fromLatin1(className));
}

ActiveSqlite::ActiveSqlite(const XXXRWDatabasePtr &database)
    : m_database(database)
{
}

ActiveSqlite::~ActiveSqlite() = default;

QString ActiveSqlite::classTableName()
{
    raise(QStringLiteral("子类必需实现：+(NSString *)tableName"));
}

QStringList ActiveSqlite::classFields()
{
    raise(QStringLiteral("子类必需实现：+(NSString *)fields"));
}

QString ActiveSqlite::fieldPrimary()
{
    return QStringLiteral("id");
}

QString ActiveSqlite::sqlForCreateTable()
{
    return QString();
}

// ---- value helpers

QString ActiveSqlite::getString(const QString &string)
{
    return string.isNull() ? QString(QLatin1String("")) : string;
}

QVariant ActiveSqlite::nilFilter(const QVariant &value)
{
    return value.isValid() ? value : QVariant::fromValue(nullptr);
}

QVariant ActiveSqlite::stringToValue(const QVariant &value)
{
    return nilFilter(value);
}

bool ActiveSqlite::isDBNull(const QVariant &value)
{
    return Bastwick::isNull(value);
}

QVariant ActiveSqlite::dateToValue(const QDateTime &date)
{
    if (!date.isValid())
        return QVariant::fromValue(nullptr);
    return QVariant::fromValue<double>(date.toMSecsSinceEpoch() / 1000.0);
}

bool ActiveSqlite::valueToBool(const QVariant &value, bool defaultValue)
{
    if (isNilOrNull(value))
        return defaultValue;
    // A number is true when it is not zero (0.1 too).
    if (isNumber(value))
        return value.toDouble() != 0.0;
    return value.toBool();
}

qint64 ActiveSqlite::valueToInt(const QVariant &value, qint64 defaultValue)
{
    return isNilOrNull(value) ? defaultValue : qint64(value.toInt());
}

double ActiveSqlite::valueToFloat(const QVariant &value, double defaultValue)
{
    return isNilOrNull(value) ? defaultValue : double(value.toFloat());
}

QString ActiveSqlite::valueToString(const QVariant &value, const QString &defaultValue)
{
    return isNilOrNull(value) ? defaultValue : value.toString();
}

QDateTime ActiveSqlite::valueToDate(const QVariant &value, const QDateTime &defaultValue)
{
    if (isDBNull(value))
        return defaultValue;
    if (isNumber(value))
        return QDateTime::fromMSecsSinceEpoch(qRound64(value.toDouble() * 1000.0));
    if (value.metaType().id() == QMetaType::QString)
        return Bastwick::dateFromString(value.toString());
    return defaultValue;
}

bool ActiveSqlite::valueToBool(const QVariant &value)
{
    return valueToBool(value, false);
}

qint64 ActiveSqlite::valueToInt(const QVariant &value)
{
    return valueToInt(value, kNotStored);
}

double ActiveSqlite::valueToFloat(const QVariant &value)
{
    return valueToFloat(value, 2.2250738585072014e-308);
}

QString ActiveSqlite::valueToString(const QVariant &value)
{
    return valueToString(value, QString());
}

QDateTime ActiveSqlite::valueToDate(const QVariant &value)
{
    return valueToDate(value, QDateTime());
}

// ---- connection

XXXRWDatabase *ActiveSqlite::openDatabase()
{
    if (!m_database || !m_database->open())
        return nullptr;
    return m_database.get();
}

void ActiveSqlite::closeDatabase()
{
    if (m_database)
        m_database->close();
}

// ---- row operations

bool ActiveSqlite::save()
{
    if (m_primaryId == kNotStored) {
        const qint64 id = insert();
        // A negative id (-1 from insertWithSql) is a failed insert too.
        return id != kNotStored && id >= 0;
    }
    return update();
}

qint64 ActiveSqlite::insert()
{
    XXXLog(QStringLiteral("子类必需实现此方法"));
    return kNotStored;
}

bool ActiveSqlite::update()
{
    XXXLog(QStringLiteral("子类必需实现此方法"));
    return false;
}

void ActiveSqlite::parseFromDictionary(const QVariantMap &)
{
    XXXLog(QStringLiteral("子类必需实现此方法"));
}

qint64 ActiveSqlite::insertWithSql(const QString &sql, const QVariantList &parameters)
{
    XXXRWDatabase *db = openDatabase();
    qint64 id = -1;
    if (db && db->executeUpdate(sql, parameters))
        id = db->lastInsertRowId();
    closeDatabase();
    return id;
}

bool ActiveSqlite::executeWithSql(const QString &sql, const QVariantList &parameters)
{
    XXXRWDatabase *db = openDatabase();
    const bool ok = db && db->executeUpdate(sql, parameters);
    closeDatabase();
    return ok;
}

QVariant ActiveSqlite::scalarWithSql(const QString &sql, const QVariantList &parameters)
{
    XXXRWDatabase *db = openDatabase();
    QVariant value;
    if (db) {
        if (XXXRWResultSetPtr rs = db->executeQuery(sql, parameters)) {
            if (rs->next())
                value = rs->objectForColumnIndex(0);
            rs->close();
        }
    }
    closeDatabase();
    return value;
}

qint64 ActiveSqlite::countWithSql(const QString &sql, const QVariantList &parameters)
{
    const QVariant value = scalarWithSql(sql, parameters);
    return isNilOrNull(value) ? 0 : value.toLongLong();
}

double ActiveSqlite::sumWithSql(const QString &sql, const QVariantList &parameters)
{
    const QVariant value = scalarWithSql(sql, parameters);
    return isNilOrNull(value) ? 0.0 : value.toDouble();
}

qint64 ActiveSqlite::countWithCondition(const QString &condition, const QVariantList &parameters)
{
    const QString sql = QStringLiteral("SELECT COUNT(") + m_primaryField + QStringLiteral(") total FROM ") +
                        m_tableName + QStringLiteral(" WHERE 1 = 1 ") + getString(condition);
    return countWithSql(sql, parameters);
}

double ActiveSqlite::sumWithCondition(const QString &condition, const QString &field,
                                      const QVariantList &parameters)
{
    const QString sql = QStringLiteral("SELECT sum(") + field + QStringLiteral(") total FROM ") +
                        m_tableName + QStringLiteral(" WHERE 1 = 1 ") + getString(condition);
    return sumWithSql(sql, parameters);
}

bool ActiveSqlite::deleteWithCondition(const QString &condition, const QVariantList &parameters)
{
    const QString sql =
        QStringLiteral("DELETE FROM ") + m_tableName + QStringLiteral(" WHERE 1 = 1") + getString(condition);
    return executeWithSql(sql, parameters);
}

bool ActiveSqlite::deleteWithPrimary(qint64 id)
{
    return deleteWithCondition(QStringLiteral(" AND ") + m_primaryField + QStringLiteral(" = ") +
                                   QString::number(id),
                               QVariantList());
}

bool ActiveSqlite::findOneWithCondition(const QString &condition, const QVariantList &parameters,
                                        const QString &orderBy)
{
    const QString sql = QStringLiteral("SELECT ") + m_fields.join(QLatin1Char(',')) +
                        QStringLiteral(" FROM ") + m_tableName + QStringLiteral(" WHERE 1 = 1 ") +
                        getString(condition) + QLatin1Char(' ') + getString(orderBy) +
                        QStringLiteral(" LIMIT 1");
    XXXRWDatabase *db = openDatabase();
    bool found = false;
    if (db) {
        if (XXXRWResultSetPtr rs = db->executeQuery(sql, parameters)) {
            if (rs->next()) {
                parseFromDictionary(rs->resultDictionary());
                found = true;
            }
            rs->close();
        }
    }
    closeDatabase();
    return found;
}

bool ActiveSqlite::findOneWithPrimaryId(qint64 id)
{
    return findOneWithCondition(QStringLiteral(" AND ") + m_primaryField + QStringLiteral(" = ") +
                                    QString::number(id),
                                QVariantList(), QString());
}

QList<QVariantMap> ActiveSqlite::findWithSql(const QString &sql, const QVariantList &parameters)
{
    QList<QVariantMap> rows;
    XXXRWDatabase *db = openDatabase();
    if (db) {
        if (XXXRWResultSetPtr rs = db->executeQuery(sql, parameters)) {
            while (rs->next())
                rows.append(rs->resultDictionary());
            rs->close();
        }
    }
    closeDatabase();
    return rows;
}

QList<QVariantMap> ActiveSqlite::findWithSql(const QString &sql, const QVariantList &parameters,
                                             qint64 startIndex, qint64 endIndex)
{
    return findWithSql(sql + QStringLiteral(" LIMIT ") + QString::number(startIndex) + QStringLiteral(", ") +
                           QString::number(endIndex),
                       parameters);
}

QList<QVariantMap> ActiveSqlite::findWithCondition(const QString &condition, const QVariantList &parameters,
                                                   const QString &orderBy, qint64 startIndex, qint64 endIndex)
{
    const QString sql = QStringLiteral("SELECT ") + m_fields.join(QLatin1Char(',')) +
                        QStringLiteral(" FROM ") + m_tableName + QStringLiteral(" WHERE 1 = 1 ") +
                        getString(condition) + QLatin1Char(' ') + getString(orderBy);
    return findWithSql(sql, parameters, startIndex, endIndex);
}

QList<QVariantMap> ActiveSqlite::findWithCondition(const QString &condition, const QVariantList &parameters,
                                                   const QString &orderBy)
{
    return findWithCondition(condition, parameters, orderBy, 0, kNotStored);
}

QList<QVariantMap> ActiveSqlite::findAllWithOrderBy(const QString &orderBy, qint64 startIndex,
                                                    qint64 endIndex)
{
    return findWithCondition(QString(), QVariantList(), orderBy, startIndex, endIndex);
}

QList<QVariantMap> ActiveSqlite::findAllWithOrderBy(const QString &orderBy)
{
    return findAllWithOrderBy(orderBy, 0, kNotStored);
}

ActivePagination ActiveSqlite::paginationWithSql(const QString &sql, const QVariantList &parameters,
                                                 qint64 pageIndex, qint64 pageSize)
{
    ActivePagination page;
    page.pageSize = double(pageSize);
    page.totalCount = double(countWithSql(sql, parameters));
    // A page size of 0 (or less) holds no pages.
    page.pageCount = pageSize > 0 ? std::ceil(page.totalCount / page.pageSize) : 0.0;
    page.pageIndex = std::max(std::min(double(pageIndex), page.pageCount), 0.0);
    page.startIndex = page.pageIndex * page.pageSize;
    page.endIndex = page.pageSize;
    return page;
}

ActivePagination ActiveSqlite::paginationWithCondition(const QString &condition,
                                                       const QVariantList &parameters, qint64 pageIndex,
                                                       qint64 pageSize)
{
    const QString sql = QStringLiteral("SELECT COUNT(") + m_primaryField + QStringLiteral(") FROM ") +
                        m_tableName + QStringLiteral(" WHERE 1 = 1 ") + getString(condition);
    return paginationWithSql(sql, parameters, pageIndex, pageSize);
}

// ---- schema probes

QString ActiveSqlite::findSqlWithTableName(const QString &tableName)
{
    const QVariant value =
        scalarWithSql(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='table' AND name='") +
                      literalText(tableName) + QStringLiteral("';"));
    return isNilOrNull(value) ? QString() : value.toString();
}

bool ActiveSqlite::existsWithTableName(const QString &tableName)
{
    return scalarWithSql(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='table' AND name='") +
                         literalText(tableName) + QStringLiteral("';"))
        .isValid();
}

bool ActiveSqlite::existsWithTableName(const QString &tableName, const QString &fieldName)
{
    XXXRWDatabase *db = openDatabase();
    bool exists = false;
    if (db) {
        if (XXXRWResultSetPtr rs = db->executeQuery(QStringLiteral("PRAGMA table_info('") +
                                                    literalText(tableName) + QStringLiteral("')"))) {
            while (rs->next()) {
                if (rs->stringForColumn(QStringLiteral("name")) == fieldName) {
                    exists = true;
                    break;
                }
            }
            rs->close();
        }
    }
    closeDatabase();
    return exists;
}

void ActiveSqlite::alterWithField(const QString &field, const QString &dataType)
{
    executeWithSql(QStringLiteral("alter table ") + m_tableName + QStringLiteral(" add ") + field +
                   QLatin1Char(' ') + dataType);
}

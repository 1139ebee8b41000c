// The schema and single-value additions of XXXRWDatabase.

#include <corbelan/sqlite/XXXRWDatabase.h>

#include <corbelan/sqlite/XXXRWResultSet.h>
#include <corbelan/sqlite/XXXRWText_p.h>

#include <sqlite3.h>

template <class T>
T XXXRWDatabase::singleValue(const QString &sql, const QVariantList &arguments, T noRow,
                             const std::function<T(XXXRWResultSet &)> &read)
{
    XXXRWResultSetPtr rs = executeQuery(sql, &arguments, nullptr);
    if (rs && rs->next()) {
        T value = read(*rs);
        rs->close();
        rs->setParentDB(nullptr);
        return value;
    }
    return noRow;
}

QString XXXRWDatabase::stringForQuery(const QString &sql, const QVariantList &arguments)
{
    return singleValue<QString>(sql, arguments, QString(),
                                [](XXXRWResultSet &rs) { return rs.stringForColumnIndex(0); });
}

int XXXRWDatabase::intForQuery(const QString &sql, const QVariantList &arguments)
{
    return singleValue<int>(sql, arguments, 0, [](XXXRWResultSet &rs) { return rs.intForColumnIndex(0); });
}

qint64 XXXRWDatabase::longForQuery(const QString &sql, const QVariantList &arguments)
{
    return singleValue<qint64>(sql, arguments, 0,
                               [](XXXRWResultSet &rs) { return rs.longForColumnIndex(0); });
}

bool XXXRWDatabase::boolForQuery(const QString &sql, const QVariantList &arguments)
{
    return singleValue<bool>(sql, arguments, false,
                             [](XXXRWResultSet &rs) { return rs.boolForColumnIndex(0); });
}

double XXXRWDatabase::doubleForQuery(const QString &sql, const QVariantList &arguments)
{
    return singleValue<double>(sql, arguments, 0.0,
                               [](XXXRWResultSet &rs) { return rs.doubleForColumnIndex(0); });
}

QByteArray XXXRWDatabase::dataForQuery(const QString &sql, const QVariantList &arguments)
{
    return singleValue<QByteArray>(sql, arguments, QByteArray(),
                                   [](XXXRWResultSet &rs) { return rs.dataForColumnIndex(0); });
}

QDateTime XXXRWDatabase::dateForQuery(const QString &sql, const QVariantList &arguments)
{
    return singleValue<QDateTime>(sql, arguments, QDateTime(),
                                  [](XXXRWResultSet &rs) { return rs.dateForColumnIndex(0); });
}

bool XXXRWDatabase::tableExists(const QString &tableName)
{
    XXXRWResultSetPtr rs = executeQuery(
        QStringLiteral("select [sql] from sqlite_master where [type] = 'table' and lower(name) = ?"),
        {QVariant(tableName.toLower())});
    if (!rs)
        return false;
    const bool found = rs->next();
    rs->close();
    return found;
}

XXXRWResultSetPtr XXXRWDatabase::getSchema()
{
    return executeQuery(QStringLiteral("SELECT type, name, tbl_name, rootpage, sql FROM (SELECT * FROM "
                                       "sqlite_master UNION ALL SELECT * FROM "
                                       "sqlite_temp_master) WHERE type != 'meta' AND name NOT LIKE "
                                       "'sqlite_%' ORDER BY tbl_name, type DESC, name"));
}

XXXRWResultSetPtr XXXRWDatabase::getTableSchema(const QString &tableName)
{
    // A quote in the name is doubled, so every table name reads as one literal.
    QString literal = tableName;
    literal.replace(QLatin1Char('\''), QLatin1String("''"));
    return executeQuery(QStringLiteral("pragma table_info('%1')").arg(literal));
}

bool XXXRWDatabase::columnExists(const QString &columnName, const QString &tableName)
{
    const QString column = columnName.toLower();
    XXXRWResultSetPtr rs = getTableSchema(tableName.toLower());
    if (!rs)
        return false;
    bool found = false;
    while (rs->next()) {
        if (rs->stringForColumn(QStringLiteral("name")).toLower() == column) {
            found = true;
            break;
        }
    }
    rs->close();
    return found;
}

bool XXXRWDatabase::columnExistsColumnName(const QString &tableName, const QString &columnName)
{
    return columnExists(columnName, tableName);
}

quint32 XXXRWDatabase::userVersion()
{
    quint32 version = 0;
    XXXRWResultSetPtr rs = executeQuery(QStringLiteral("pragma user_version"));
    if (rs && rs->next())
        version = quint32(rs->longLongIntForColumnIndex(0));
    if (rs)
        rs->close();
    return version;
}

void XXXRWDatabase::setUserVersion(quint32 version)
{
    XXXRWResultSetPtr rs = executeQuery(QStringLiteral("pragma user_version = %1").arg(qint32(version)));
    if (!rs)
        return;
    rs->next();
    rs->close();
}

bool XXXRWDatabase::validateSQL(const QString &sql, Bastwick::Error *error)
{
    if (!m_db) {
        Bastwick::setError(
            error, Bastwick::Error(QStringLiteral("NSCocoaErrorDomain"), SQLITE_MISUSE,
                                   QStringLiteral("The XXXRWDatabase %1 is not open.").arg(description())));
        return false;
    }
    sqlite3_stmt *pStmt = nullptr;
    const QByteArray bytes = XXXRWText::bytesFromText(sql);
    const int rc = sqlite3_prepare_v2(m_db, bytes.constData(), int(bytes.size()), &pStmt, nullptr);
    const bool ok = rc == SQLITE_OK;
    if (!ok)
        Bastwick::setError(error, Bastwick::Error(QStringLiteral("NSCocoaErrorDomain"), lastErrorCode(),
                                                  lastErrorMessage()));
    sqlite3_finalize(pStmt);
    return ok;
}

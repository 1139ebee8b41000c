#include <kestrune/data/model/DBField.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QRegularExpression>

namespace {

// A value of a listing row, or nothing for a missing key or the null marker.
bool present(const QVariantMap &row, const char *key)
{
    const auto it = row.constFind(QString::fromLatin1(key));
    return it != row.cend() && !Bastwick::isNilOrNull(*it) && !it->isNull();
}

QString text(const QVariantMap &row, const char *key)
{
    return present(row, key) ? row.value(QString::fromLatin1(key)).toString() : QString();
}

qint64 integer(const QVariantMap &row, const char *key)
{
    return present(row, key) ? row.value(QString::fromLatin1(key)).toLongLong() : 0;
}

// The MySQL and PostgreSQL tail of a column definition: the default (NULL when none is
// given) for a nullable column, NOT NULL otherwise.
QString nullabilityClause(bool isNull, const QString &defaultVal)
{
    if (!isNull)
        return QStringLiteral("NOT NULL");
    return defaultVal.isEmpty() ? QStringLiteral(" DEFAULT NULL ")
                                : Bastwick::format(" DEFAULT %@ ", defaultVal);
}

} // namespace

DBField DBField::fromSQLiteDictionary(const QVariantMap &row)
{
    DBField f;
    if (row.isEmpty())
        return f;
    f.m_name = text(row, "name");
    f.m_type = text(row, "type").toUpper();
    f.m_index = quint64(integer(row, "cid"));
    if (integer(row, "pk") == 1) {
        f.m_isKey = true;
        if (f.m_type == QLatin1String("INTEGER"))
            f.m_isAutoIncrement = true;
    }
    f.m_isNull = true;
    if (integer(row, "notnull") == 1)
        f.m_isNull = false;
    if (present(row, "dflt_value"))
        f.m_defaultVal = text(row, "dflt_value");
    f.deriveTypeFlags();
    return f;
}

DBField DBField::fromMySQLDictionary(const QVariantMap &row)
{
    DBField f;
    if (row.isEmpty())
        return f;
    f.m_name = text(row, "Field");
    QString type = text(row, "Type").toUpper();
    if (type.contains(QLatin1String("ZEROFILL"))) {
        f.m_zerofill = true;
        f.m_unSigned = true;
        type.remove(QLatin1String("ZEROFILL"));
        type.remove(QLatin1String("UNSIGNED"));
        type = type.trimmed();
    }
    if (type.contains(QLatin1String("UNSIGNED"))) {
        f.m_unSigned = true;
        type.remove(QLatin1String("UNSIGNED"));
        type = type.trimmed();
    }
    if (present(row, "Length")) {
        f.m_length = text(row, "Length");
    } else {
        static const QRegularExpression lengthPattern(QStringLiteral(".*\\((.*)\\)"));
        const auto match = lengthPattern.match(type);
        const QString length = match.hasMatch() ? match.captured(1) : QString();
        if (!length.isEmpty()) {
            f.m_length = length;
            static const QRegularExpression parenthesised(QStringLiteral("\\((.*)\\)"));
            type.remove(parenthesised);
        }
    }
    f.m_type = type;
    f.m_key = text(row, "Key");
    f.m_isKey = f.m_key == QLatin1String("PRI");
    f.m_extra = text(row, "Extra");
    f.m_isAutoIncrement = f.m_extra == QLatin1String("auto_increment");
    f.m_isNull = true;
    f.m_isNotNull = false;
    if (present(row, "Null")) {
        const QVariant v = row.value(QStringLiteral("Null"));
        const bool isString = v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
        if ((isString && v.toString() == QLatin1String("NO")) || (!isString && v.toLongLong() == 0)) {
            f.m_isNull = false;
            f.m_isNotNull = true;
        }
    }
    if (present(row, "Default"))
        f.m_defaultVal = text(row, "Default");
    f.m_comment = text(row, "Comment");
    f.m_collation = text(row, "Collation");
    if (present(row, "Collation")) {
        const QStringList parts = f.m_collation.split(QLatin1Char('_'));
        f.m_encoding = parts.isEmpty() ? QStringLiteral("latin1") : parts.first();
    }
    f.m_privileges = text(row, "Privileges");
    f.deriveTypeFlags();
    return f;
}

DBField DBField::fromPostgreDictionary(const QVariantMap &row)
{
    DBField f;
    if (row.isEmpty())
        return f;
    if (present(row, "attnum"))
        f.m_index = quint64(integer(row, "attnum"));
    f.m_name = text(row, "Field");
    f.m_type = text(row, "Type").toUpper();
    if (f.m_type == QLatin1String("INT4"))
        f.m_type = QStringLiteral("INT");
    f.m_key = text(row, "Key");
    f.m_isKey = present(row, "Key");
    f.m_extra = text(row, "Extra");
    f.m_isAutoIncrement = f.m_extra == QLatin1String("auto_increment");
    f.m_isNull = true;
    if (present(row, "Null") && integer(row, "Null") == 1)
        f.m_isNull = false;
    if (present(row, "Default"))
        f.m_defaultVal = text(row, "Default");
    if (present(row, "len"))
        f.m_size = quint64(integer(row, "len"));
    if (present(row, "lengthvar")) {
        const qint64 lengthvar = integer(row, "lengthvar");
        f.m_length = lengthvar > 0 ? QString::number(lengthvar) : QString::number(f.m_size);
    }
    f.deriveTypeFlags();
    return f;
}

void DBField::deriveTypeFlags()
{
    const QString t = m_type.toUpper();
    auto has = [&t](const char *word) { return t.contains(QLatin1String(word)); };
    m_isTEXT = has("TEXT") || has("CLOB");
    m_isVARCHAR = has("CHAR");
    m_isNSString = m_isTEXT || m_isVARCHAR;
    m_isDATETIME = has("DATE") || has("TIME");
    m_isBLOB = has("BLOB") || has("BINARY") || has("BYTEA");
    m_isBOOL = has("BOOL") || t == QLatin1String("BIT");
    m_isINTEGER = has("INT") && !has("POINT") && !has("INTERVAL");
    m_isINT = m_isINTEGER;
    m_isLONG = has("BIGINT") || has("INT8");
    m_isDOUBLE = has("DOUBLE") || has("REAL");
    m_isFLOAT = has("FLOAT");
    m_isNUMERIC = has("NUMERIC") || has("DECIMAL");
    m_isSimpleType = m_isBOOL || m_isINTEGER || m_isDOUBLE || m_isFLOAT || m_isNUMERIC;
}

bool DBField::isKey() const
{
    if (m_isKey)
        return true;
    if (m_key == QLatin1String("PRI"))
        m_isKey = true;
    return m_isKey;
}

QString DBField::sqliteColumnSQLString() const
{
    QString sql = QLatin1Char('"') + m_name + QLatin1Char('"');
    sql += Bastwick::format(" %@ ", m_type);
    if (!m_isNull)
        sql += QStringLiteral("NOT NULL");
    if (!m_defaultVal.isEmpty())
        sql += Bastwick::format(" DEFAULT %@ ", m_defaultVal);
    return sql;
}

QString DBField::mysqlColumnSQLString()
{
    QString sql = QLatin1Char('`') + m_name + QLatin1Char('`');
    sql += Bastwick::format(" %@ ", m_type);
    if (m_length.isEmpty() && (m_isTEXT || m_isVARCHAR))
        m_length = QStringLiteral("10");
    if (!m_length.isEmpty())
        sql += Bastwick::format("(%@) ", m_length);
    sql += nullabilityClause(m_isNull, m_defaultVal);
    return sql;
}

QString DBField::postgreColumnSQLString() const
{
    QString sql = QLatin1Char('"') + m_name + QLatin1Char('"');
    sql += Bastwick::format(" %@ ", m_type);
    sql += nullabilityClause(m_isNull, m_defaultVal);
    return sql;
}

DBField DBField::duplicate() const
{
    DBField f;
    f.m_name = m_name;
    f.m_index = m_index;
    f.m_type = m_type;
    f.m_dbType = m_dbType;
    f.m_size = m_size;
    f.m_length = m_length;
    f.m_key = m_key;
    f.m_isKey = m_isKey;
    f.m_isAutoIncrement = m_isAutoIncrement;
    f.m_isNotNull = m_isNotNull;
    f.m_isNull = m_isNull;
    f.m_defaultVal = m_defaultVal;
    f.m_comment = m_comment;
    f.m_encoding = m_encoding;
    f.m_collation = m_collation;
    f.m_extra = m_extra;
    f.m_privileges = m_privileges;
    return f;
}

QString DBField::description() const
{
    return Bastwick::format(
        "%@ %@ type(%d) size(%ld) length(%@) index(%ld) isKey(%d) isNull(%d) defaultVal(%@)",
        QStringLiteral("DBField"), m_name, m_dbType, m_size, m_length, m_index, int(isKey()), int(m_isNull),
        m_defaultVal);
}

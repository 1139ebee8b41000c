#include <kestrune/data/deraz/DerazTable.h>

#include <kestrune/data/model/DBConnection.h>
#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBResultSet.h>

#include <corbelan/services/XXXHelper.h>

#include <bastwick/ByteText.h>
#include <bastwick/IndexSet.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QDateTime>
#include <QtCore/QList>
#include <QtCore/QLocale>
#include <QtCore/QRegularExpression>
#include <QtCore/QStringList>

#include <cmath>

namespace {

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + DerazTable::valueFormat(text) + QLatin1Char('\'');
}

// The text of a value as it is stored: bytes decoded losslessly, dates in the database
// date form, numbers in the C locale.
QString textOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        return Bastwick::textFromBytes(value.toByteArray());
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return value.toString();
    }
}

// A number written bare, or nothing when the value is not a number.
std::optional<QString> numberText(const QVariant &value)
{
    if (const std::optional<QString> integer = Bastwick::integerText(value))
        return integer;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            return std::nullopt;
        return QString::number(d, 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::QString: {
        static const QRegularExpression number(
            QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][+-]?\\d+)?$"));
        const QString text = value.toString().trimmed();
        if (number.match(text).hasMatch())
            return text;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

QString joined(const QStringList &parts, const char *separator)
{
    return parts.join(QLatin1String(separator));
}

} // namespace

QString DerazTable::insertSQLString() const
{
    QStringList marks;
    for (qsizetype i = 0; i < fields().size(); ++i)
        marks.append(QStringLiteral("?"));
    return Bastwick::format("INSERT OR REPLACE INTO %@ (%@) values (%@) ", name(), insertSQLColsString(),
                            joined(marks, ","));
}

QString DerazTable::updateSQLString()
{
    QStringList sets;
    for (const DBFieldPtr &field : fieldsExcludeKeys())
        sets.append(Bastwick::format(" %@ = ? ", field->name()));
    return Bastwick::format("UPDATE %@ SET %@ where %@ ", name(), joined(sets, ","), keySQLString());
}

QString DerazTable::keySQLString() const
{
    QStringList terms;
    for (const DBFieldPtr &field : keys())
        terms.append(Bastwick::format(" %@ = ? ", field->name()));
    return joined(terms, " AND ");
}

QString DerazTable::deleteSQLString() const
{
    return Bastwick::format("DELETE  FROM %@ ", name());
}

qint64 DerazTable::numberOfRecords() const
{
    const auto &owner = database();
    if (!owner || !owner->connection())
        return 0;
    const auto result = owner->connection()->executeSQL(
        Bastwick::format("SELECT COUNT(*) as count FROM %@", name()), nullptr);
    if (!result)
        return 0;
    const auto records = result->recordsAtIndexes(Bastwick::IndexSet(0));
    if (records.isEmpty() || !records.last())
        return 0;
    const QVariant count = records.last()->valueForKey(QStringLiteral("count"));
    const qint64 n = Bastwick::isNilOrNull(count) ? 0 : count.toLongLong();
    return n < 0 ? 0 : n;
}

QString DerazTable::valueFormat(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

bool DerazTable::isNumberColumn(const DBField &field)
{
    if (field.isTEXT() || field.isVARCHAR() || field.isDATETIME() || field.isBLOB())
        return false;
    const QString type = field.type().toUpper();
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("TEXT")) ||
        type.contains(QLatin1String("CLOB")) || type.contains(QLatin1String("BLOB")) ||
        type.contains(QLatin1String("DATE")) || type.contains(QLatin1String("TIME")))
        return false;
    static const char *const numeric[] = {"INT", "REAL", "FLOA", "DOUB", "NUM", "DEC", "BOOL", "BIT"};
    for (const char *part : numeric) {
        if (type.contains(QLatin1String(part)))
            return true;
    }
    return false;
}

QString DerazTable::sqlLiteral(const DBField &field, const QVariant &value)
{
    if (Bastwick::isNilOrNull(value))
        return QStringLiteral("NULL");
    const bool blob = field.isBLOB() || field.type().toUpper().contains(QLatin1String("BLOB"));
    if (blob && value.typeId() == QMetaType::QByteArray)
        return QStringLiteral("X'") + QString::fromLatin1(value.toByteArray().toHex()) + QLatin1Char('\'');
    if (!blob && isNumberColumn(field)) {
        if (const auto number = numberText(value))
            return *number;
    }
    return quoted(textOf(value));
}

std::optional<QString> DerazTable::keyWhereStringWithData(const QVariantMap &row) const
{
    const FieldList keyFields = keys();
    if (keyFields.isEmpty()) {
        const qint64 rowid = row.value(QStringLiteral("rowid")).toLongLong();
        if (rowid == 0) {
            XXXLog(QStringLiteral("keyWhereStringWithTableName Error!"));
            return std::nullopt;
        }
        return Bastwick::format(" rowid = %ld ", rowid);
    }
    QString condition = QStringLiteral(" 1=1 ");
    for (const DBFieldPtr &field : keyFields) {
        const QVariant value = row.value(field->name());
        if (Bastwick::isNilOrNull(value)) {
            if (field->isAutoIncrement())
                continue;
            XXXLog(Bastwick::format("keyWhereStringWithTableName error:key value is null,table =%@", name()));
            return std::nullopt;
        }
        condition += QStringLiteral(" and ") + field->name() + QLatin1Char('=') + sqlLiteral(*field, value);
    }
    return condition;
}

std::optional<QString> DerazTable::buildInsertSQLWithData(const QVariantMap &row) const
{
    QStringList columns;
    QStringList values;
    for (const DBFieldPtr &field : fields()) {
        const auto it = row.constFind(field->name());
        if (it == row.cend())
            continue;
        columns.append(QLatin1Char('\'') + field->name() + QLatin1Char('\''));
        if (XXXHelper::isEmpty(*it) && field->isKey() && field->isAutoIncrement())
            values.append(QStringLiteral("NULL"));
        else
            values.append(sqlLiteral(*field, *it));
    }
    if (columns.isEmpty())
        return std::nullopt;
    return Bastwick::format("insert  into  %@ (%@)  values ( %@ ) ", name(), joined(columns, ","),
                            joined(values, ","));
}

std::optional<QString> DerazTable::buildUpdateSQLWithData(const QVariantMap &row) const
{
    const auto condition = keyWhereStringWithData(row);
    if (!condition)
        return std::nullopt;
    QStringList assignments;
    for (const DBFieldPtr &field : fields()) {
        if (field->isKey())
            continue;
        const auto it = row.constFind(field->name());
        if (it == row.cend())
            continue;
        assignments.append(field->name() + QLatin1Char('=') + sqlLiteral(*field, *it));
    }
    if (assignments.isEmpty())
        return std::nullopt;
    return Bastwick::format("UPDATE %@ set %@ WHERE %@  ", name(), joined(assignments, ","), *condition);
}

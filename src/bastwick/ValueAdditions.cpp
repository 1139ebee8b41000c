#include <bastwick/ValueAdditions.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QAssociativeIterable>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QJsonValue>
#include <QtCore/QMetaProperty>
#include <QtCore/QSequentialIterable>
#include <QtCore/QStringList>

#include <cmath>
#include <optional>

namespace Bastwick {

const QString kKeyValueChangeKindKey = QStringLiteral("kind");
const QString kKeyValueChangeNewKey = QStringLiteral("new");
const QString kKeyValueChangeOldKey = QStringLiteral("old");
const QString kKeyValueChangeIndexesKey = QStringLiteral("indexes");

NumberKind numberType(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UChar:
    case QMetaType::UShort:
        return NumberKind::Int;
    case QMetaType::Short:
        return NumberKind::Short;
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return NumberKind::Long;
    case QMetaType::Float:
        return NumberKind::Float;
    case QMetaType::Double:
        return NumberKind::Double;
    default:
        return NumberKind::Other;
    }
}

QString numberString(const QVariant &value)
{
    switch (numberType(value)) {
    case NumberKind::Int:
        return QString::number(value.toInt());
    case NumberKind::Short:
        return QString::number(value.value<short>());
    case NumberKind::Long:
        // 64-bit values print in full; unsigned ones above the signed range too.
        if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong)
            return QString::number(value.toULongLong());
        return QString::number(value.toLongLong());
    case NumberKind::Float:
        return QString::asprintf("%f", double(value.toFloat()));
    case NumberKind::Double:
        return QString::asprintf("%f", value.toDouble());
    case NumberKind::Bool:
        return QString::number(value.toBool() ? 1 : 0);
    case NumberKind::Other:
        break;
    }
    return QString();
}

namespace {

bool isMapValue(const QVariant &value)
{
    return value.typeId() == QMetaType::QVariantMap || value.typeId() == QMetaType::QVariantHash;
}

QVariant entryOf(const QVariant &map, const QString &key)
{
    if (map.typeId() == QMetaType::QVariantMap)
        return map.toMap().value(key);
    return map.toHash().value(key);
}

} // namespace

QVariant objectForKeyPath(const QVariantMap &map, const QString &keyPath)
{
    QStringList parts = keyPath.split(QLatin1Char('.'));
    if (parts.size() < 2)
        parts = keyPath.split(QLatin1Char('/'));
    QVariant current(map);
    for (const QString &part : std::as_const(parts)) {
        if (!isMapValue(current))
            return QVariant();
        current = entryOf(current, part);
    }
    return current;
}

void setSafeValue(QVariantMap &map, const QVariant &value, const QString &key)
{
    if (!value.isValid()) {
        XXXLog(format("setSafeValue Error : key =%@ value null!", key));
        return;
    }
    map.insert(key, value);
}

void setSafeValue(QObject *object, const QVariant &value, const QString &key)
{
    if (!object)
        return;
    if (!value.isValid()) {
        XXXLog(format("setSafeValue Error : key =%@ value null!", key));
        return;
    }
    setValueForKey(object, key, value);
}

quint32 keyValueChangeKind(const QVariantMap &change)
{
    return change.value(kKeyValueChangeKindKey).toUInt();
}

namespace {

QVariant presentValue(const QVariantMap &change, const QString &key)
{
    const QVariant value = change.value(key);
    if (isNull(value))
        return QVariant();
    return value;
}

} // namespace

QVariant keyValueChangeNew(const QVariantMap &change)
{
    return presentValue(change, kKeyValueChangeNewKey);
}

QVariant keyValueChangeOld(const QVariantMap &change)
{
    return presentValue(change, kKeyValueChangeOldKey);
}

IndexSet keyValueChangeIndexes(const QVariantMap &change)
{
    const QVariant value = change.value(kKeyValueChangeIndexesKey);
    if (value.metaType() == QMetaType::fromType<IndexSet>())
        return value.value<IndexSet>();
    return IndexSet();
}

bool keyValueChanged(const QVariantMap &change)
{
    const QVariant oldValue = keyValueChangeOld(change);
    const QVariant newValue = keyValueChangeNew(change);
    if (oldValue.isValid())
        return !(newValue.isValid() && newValue == oldValue);
    return newValue.isValid();
}

namespace {

std::optional<QJsonValue> jsonValue(const QVariant &value, QString *why);

std::optional<QJsonArray> jsonArray(const QVariantList &list, QString *why)
{
    QJsonArray array;
    for (const QVariant &element : list) {
        std::optional<QJsonValue> converted = jsonValue(element, why);
        if (!converted)
            return std::nullopt;
        array.append(*converted);
    }
    return array;
}

std::optional<QJsonValue> jsonValue(const QVariant &value, QString *why)
{
    if (isNull(value))
        return QJsonValue(QJsonValue::Null);
    switch (value.typeId()) {
    case QMetaType::Bool:
        return QJsonValue(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QJsonValue(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (value.toULongLong() <= quint64(std::numeric_limits<qint64>::max()))
            return QJsonValue(value.toLongLong());
        return QJsonValue(value.toDouble());
    case QMetaType::Float:
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (!std::isfinite(d)) {
            *why = QStringLiteral("Invalid number value (NaN or infinity) in JSON write");
            return std::nullopt;
        }
        return QJsonValue(d);
    }
    case QMetaType::QString:
        return QJsonValue(value.toString());
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        std::optional<QJsonArray> array = jsonArray(value.toList(), why);
        if (!array)
            return std::nullopt;
        return QJsonValue(*array);
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            std::optional<QJsonValue> converted = jsonValue(it.value(), why);
            if (!converted)
                return std::nullopt;
            object.insert(it.key(), *converted);
        }
        return QJsonValue(object);
    }
    default:
        break;
    }
    *why = value.isValid()
               ? QStringLiteral("Invalid type in JSON write (%1)").arg(QString::fromLatin1(value.typeName()))
               : QStringLiteral("Invalid type in JSON write (nil)");
    return std::nullopt;
}

QByteArray jsonBytes(const QVariantList &list)
{
    QString why;
    std::optional<QJsonArray> array = jsonArray(list, &why);
    if (!array) {
        XXXLogWarning(format("NSArray JSON Failed:%@ Error=%@", logText(describe(list)), why));
        return QByteArray();
    }
    return QJsonDocument(*array).toJson(QJsonDocument::Indented);
}

} // namespace

QString toJSONString(const QVariantList &list)
{
    const QByteArray bytes = jsonBytes(list);
    if (bytes.isNull())
        return QString();
    return QString::fromUtf8(bytes);
}

QByteArray toJSONData(const QVariantList &list)
{
    return jsonBytes(list);
}

void logNilObjectNotAdded()
{
    XXXLog(QStringLiteral("addSafeObject Nil Object!"));
}

void addSafeObject(QVariantList &list, const QVariant &object)
{
    if (!object.isValid()) {
        logNilObjectNotAdded();
        return;
    }
    list.append(object);
}

namespace {

// The count or length an object answers through a readable property, if it has one.
std::optional<qint64> objectCount(const QObject *object)
{
    if (!object)
        return std::nullopt;
    const QMetaObject *meta = object->metaObject();
    for (const char *name : {"length", "count"}) {
        const int index = meta->indexOfProperty(name);
        if (index < 0)
            continue;
        const QVariant count = meta->property(index).read(object);
        bool ok = false;
        const qint64 n = count.toLongLong(&ok);
        if (ok)
            return n;
    }
    return std::nullopt;
}

} // namespace

bool isEmptyObj(const QVariant &value)
{
    if (!value.isValid())
        return false;
    if (isNull(value))
        return true;
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().isEmpty();
    case QMetaType::QByteArray:
        return value.toByteArray().isEmpty();
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<IndexSet>())
        return value.value<IndexSet>().isEmpty();
    if (value.metaType().flags().testFlag(QMetaType::PointerToQObject)) {
        const std::optional<qint64> count = objectCount(value.value<QObject *>());
        return count && *count == 0;
    }
    if (value.canConvert<QAssociativeIterable>())
        return value.value<QAssociativeIterable>().size() == 0;
    if (value.canConvert<QSequentialIterable>())
        return value.value<QSequentialIterable>().size() == 0;
    return false;
}

bool isNotEmpty(const QVariant &value)
{
    if (!value.isValid())
        return false;
    return !isEmptyObj(value);
}

} // namespace Bastwick

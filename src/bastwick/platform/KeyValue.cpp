#include <bastwick/platform/KeyValue.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QMetaProperty>
#include <QtCore/QVariantHash>
#include <QtCore/QVariantMap>

#include <cmath>

namespace Bastwick {

namespace {

bool holdsObject(const QVariant &v)
{
    return v.metaType().flags().testFlag(QMetaType::PointerToQObject);
}

bool holdsGadget(const QVariant &v)
{
    return v.metaType().flags().testFlag(QMetaType::IsGadget) && v.metaType().metaObject();
}

bool holdsGadgetPointer(const QVariant &v)
{
    return v.metaType().flags().testFlag(QMetaType::PointerToGadget) && v.metaType().metaObject();
}

QMetaProperty propertyNamed(const QMetaObject *meta, const QString &key)
{
    if (!meta || key.isEmpty())
        return QMetaProperty();
    const int index = meta->indexOfProperty(key.toUtf8().constData());
    return index < 0 ? QMetaProperty() : meta->property(index);
}

// The value in the property's type, or nothing (with a log line) when it does not convert.
std::optional<QVariant> convertedFor(const QMetaProperty &property, const char *className,
                                     const QVariant &value)
{
    const QMetaType target = property.metaType();
    if (target.id() == QMetaType::QVariant || value.metaType() == target)
        return value;
    // Enumerations take their integer value or the name of one of their keys.
    if (property.isEnumType()) {
        const QMetaEnum metaEnum = property.enumerator();
        bool ok = false;
        int number = 0;
        if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
            const QByteArray name = value.toByteArray();
            number = property.isFlagType() ? metaEnum.keysToValue(name.constData(), &ok)
                                           : metaEnum.keyToValue(name.constData(), &ok);
        } else {
            number = value.toInt(&ok);
        }
        if (ok)
            return QVariant(number);
    } else {
        QVariant converted = value;
        if (converted.canConvert(target) && converted.convert(target))
            return converted;
    }
    XXXLogWarning(QStringLiteral("%1.%2 ignores a value of type %3 that does not convert to %4")
                      .arg(QString::fromUtf8(className), QString::fromUtf8(property.name()),
                           QString::fromUtf8(value.metaType().name()), QString::fromUtf8(target.name())));
    return std::nullopt;
}

bool acceptsValue(const QMetaProperty &property, const QVariant &value)
{
    return property.isValid() && property.isWritable() && !isNilOrNull(value);
}

} // namespace

QVariant valueForKey(const QObject *object, const QString &key)
{
    if (!object)
        return QVariant();
    const QMetaProperty property = propertyNamed(object->metaObject(), key);
    return property.isReadable() ? property.read(object) : QVariant();
}

bool setValueForKey(QObject *object, const QString &key, const QVariant &value)
{
    if (!object)
        return false;
    const QMetaProperty property = propertyNamed(object->metaObject(), key);
    if (!acceptsValue(property, value))
        return false;
    const std::optional<QVariant> converted =
        convertedFor(property, object->metaObject()->className(), value);
    return converted && property.write(object, *converted);
}

QVariant valueForKey(const QMetaObject *meta, const void *gadget, const QString &key)
{
    if (!gadget)
        return QVariant();
    const QMetaProperty property = propertyNamed(meta, key);
    return property.isReadable() ? property.readOnGadget(gadget) : QVariant();
}

bool setValueForKey(const QMetaObject *meta, void *gadget, const QString &key, const QVariant &value)
{
    if (!gadget)
        return false;
    const QMetaProperty property = propertyNamed(meta, key);
    if (!acceptsValue(property, value))
        return false;
    const std::optional<QVariant> converted = convertedFor(property, meta->className(), value);
    return converted && property.writeOnGadget(gadget, *converted);
}

QVariant valueForKey(const QVariant &holder, const QString &key)
{
    switch (holder.typeId()) {
    case QMetaType::QVariantMap:
        return holder.toMap().value(key);
    case QMetaType::QVariantHash:
        return holder.toHash().value(key);
    default:
        break;
    }
    if (holdsObject(holder))
        return valueForKey(qvariant_cast<QObject *>(holder), key);
    if (holdsGadgetPointer(holder))
        return valueForKey(holder.metaType().metaObject(),
                           *static_cast<const void *const *>(holder.constData()), key);
    if (holdsGadget(holder))
        return valueForKey(holder.metaType().metaObject(), holder.constData(), key);
    return QVariant();
}

bool setValueForKey(QVariant &holder, const QString &key, const QVariant &value)
{
    if (isNil(value))
        return false;
    switch (holder.typeId()) {
    case QMetaType::QVariantMap: {
        QVariantMap map = holder.toMap();
        map.insert(key, value);
        holder = map;
        return true;
    }
    case QMetaType::QVariantHash: {
        QVariantHash hash = holder.toHash();
        hash.insert(key, value);
        holder = hash;
        return true;
    }
    default:
        break;
    }
    if (holdsObject(holder))
        return setValueForKey(qvariant_cast<QObject *>(holder), key, value);
    if (holdsGadgetPointer(holder))
        return setValueForKey(holder.metaType().metaObject(), *static_cast<void *const *>(holder.constData()),
                              key, value);
    if (holdsGadget(holder))
        return setValueForKey(holder.metaType().metaObject(), holder.data(), key, value);
    return false;
}

const QMetaObject *metaObjectOf(const QVariant &holder)
{
    if (holdsObject(holder)) {
        const QObject *object = qvariant_cast<QObject *>(holder);
        return object ? object->metaObject() : holder.metaType().metaObject();
    }
    if (holdsGadget(holder) || holdsGadgetPointer(holder))
        return holder.metaType().metaObject();
    return nullptr;
}

QVariant nullValue()
{
    return QVariant::fromValue(nullptr);
}

bool isNull(const QVariant &value)
{
    return value.typeId() == QMetaType::Nullptr;
}

bool isNil(const QVariant &value)
{
    return !value.isValid();
}

bool isNilOrNull(const QVariant &value)
{
    return isNil(value) || isNull(value);
}

bool isIntegerType(int typeId)
{
    switch (typeId) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

bool isNumberType(int typeId)
{
    return isIntegerType(typeId) || typeId == QMetaType::Float || typeId == QMetaType::Double;
}

bool isNumber(const QVariant &value)
{
    return isNumberType(value.typeId());
}

bool isNaNNumber(const QVariant &value)
{
    const int typeId = value.typeId();
    return (typeId == QMetaType::Float || typeId == QMetaType::Double) && std::isnan(value.toDouble());
}

} // namespace Bastwick

#include <corbelan/network/MKObject.h>

#include <corbelan/network/JSONText.h>

#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QDateTime>
#include <QtCore/QMetaProperty>

namespace {
// A property that holds nothing: no value, the null marker, a null object, a null text or
// bytes, an invalid date.
bool isUnset(const QVariant &value)
{
    if (Bastwick::isNilOrNull(value))
        return true;
    switch (value.metaType().id()) {
    case QMetaType::QString:
        return value.toString().isNull();
    case QMetaType::QByteArray:
        return value.toByteArray().isNull();
    case QMetaType::QDateTime:
        return !value.toDateTime().isValid();
    case QMetaType::QDate:
        return !value.toDate().isValid();
    default:
        return value.metaType().flags().testFlag(QMetaType::PointerToQObject) && !value.value<QObject *>();
    }
}
} // namespace

MKObject::MKObject(QObject *parent)
    : QObject(parent)
{
}

// The text goes to the reader as UTF-16 data (marked, in this machine's byte order), so
// a text holding a lone surrogate is refused rather than read with a stand-in character.
bool MKObject::initWithJSONString(const QString &text)
{
    QByteArray data;
    data.reserve((text.size() + 1) * 2);
    const char16_t mark = 0xFEFF;
    data.append(reinterpret_cast<const char *>(&mark), 2);
    data.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return initWithJSONData(data);
}

bool MKObject::initWithJSONData(const QByteArray &data)
{
    QString problem;
    const std::optional<QByteArray> utf8 = Corbelan::jsonDataAsUtf8(data, &problem);
    if (!utf8) {
        XXXLog(problem);
        return false;
    }
    const QVariant parsed = Corbelan::objectFromJSONData(*utf8);
    if (!parsed.isValid()) {
        XXXLog(Bastwick::format("%@ is not JSON", Bastwick::logText(*utf8)));
        return false;
    }
    if (parsed.metaType().id() != QMetaType::QVariantMap) {
        XXXLog(QStringLiteral(
            "Attempting to pass a JSON array to an object. Try enumerating the array instead."));
        return false;
    }
    initWithDictionary(parsed.toMap());
    return true;
}

void MKObject::initWithDictionary(const QVariantMap &dictionary)
{
    for (auto it = dictionary.cbegin(); it != dictionary.cend(); ++it)
        setValue(it.value(), it.key());
}

void MKObject::setValue(const QVariant &value, const QString &key)
{
    const QMetaObject *cls = metaObject();
    const int index = cls->indexOfProperty(key.toUtf8().constData());
    if (index < 0 || key.isEmpty()) {
        XXXLog(Bastwick::format("Undefined Key: %@", key));
        return;
    }
    const QMetaProperty property = cls->property(index);
    if (Bastwick::isNilOrNull(value)) {
        const int type = property.metaType().id();
        if (property.isEnumType() || type == QMetaType::Float || type == QMetaType::Double ||
            Bastwick::isIntegerType(type)) {
            XXXLog(Bastwick::format("An attempt was made to set key: %@ to nil through KVC. Ignoring…", key));
            return;
        }
        property.write(this, QVariant(property.metaType()));
        return;
    }
    Bastwick::setValueForKey(this, key, value);
}

QVariant MKObject::valueForKey(const QString &key) const
{
    if (metaObject()->indexOfProperty(key.toUtf8().constData()) < 0) {
        XXXLog(Bastwick::format("Undefined Key: %@", key));
        return QVariant();
    }
    return Bastwick::valueForKey(this, key);
}

QVariantMap MKObject::objectAsDictionary() const
{
    QVariantMap dictionary;
    const QMetaObject *cls = metaObject();
    for (int i = cls->propertyOffset(); i < cls->propertyCount(); ++i) {
        const QMetaProperty property = cls->property(i);
        const QVariant value = property.read(this);
        if (!isUnset(value))
            dictionary.insert(QString::fromLatin1(property.name()), value);
    }
    return dictionary;
}

QString MKObject::jsonString() const
{
    return Corbelan::jsonTextFromVariant(objectAsDictionary(), false);
}

QString MKObject::prettyJsonString() const
{
    return Corbelan::jsonTextFromVariant(objectAsDictionary(), true);
}

QString MKObject::description() const
{
    return prettyJsonString();
}

#include <corbelan/services/XXXPreference.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/PropertyReflection.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/UserDefaults.h>

#include <QtCore/QDataStream>
#include <QtCore/QIODevice>
#include <QtCore/QMetaProperty>
#include <QtCore/QSequentialIterable>

namespace {

// Marks the bytes of an archived list, so plain bytes are never taken for one.
const QByteArray kArchiveMarker = QByteArrayLiteral("XXXPreferenceArchive/1\n");

bool isNilValue(const QVariant &value)
{
    if (Bastwick::isNilOrNull(value))
        return true;
    if (value.metaType() == QMetaType::fromType<QString>())
        return value.toString().isNull();
    if (value.metaType() == QMetaType::fromType<QByteArray>())
        return value.toByteArray().isNull();
    return false;
}

// Lists (QVariantList, QStringList, QList<T>) are archived; texts and bytes are not.
bool isArrayValue(const QVariant &value)
{
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<QString>() || type == QMetaType::fromType<QByteArray>())
        return false;
    return QMetaType::canView(type, QMetaType::fromType<QSequentialIterable>());
}

} // namespace

XXXPreference::XXXPreference(Bastwick::UserDefaults *defaults, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults ? defaults : &Bastwick::UserDefaults::standard())
{
    getPropertiesTypeEncoding();
}

XXXPreference::~XXXPreference() = default;

void XXXPreference::setDefaults(Bastwick::UserDefaults *defaults)
{
    m_defaults = defaults ? defaults : &Bastwick::UserDefaults::standard();
}

QVariantMap XXXPreference::defaultKVDataConfig() const
{
    return {};
}

void XXXPreference::prepareSharedInstance(XXXPreference *preference)
{
    if (!preference)
        return;
    const QVariantMap defaults = preference->defaultKVDataConfig();
    if (!defaults.isEmpty())
        preference->registerFromDictionary(defaults);
    preference->getPropertiesTypeEncoding();
}

void XXXPreference::registerFromDictionary(const QVariantMap &dictionary)
{
    m_defaults->registerDefaults(dictionary);
}

void XXXPreference::registerFromPlistFile(const QString &name)
{
    const QString path = QStringLiteral(":/%1.plist").arg(name);
    if (!Bastwick::fileExistsAtPath(path))
        return;
    const QVariant plist = Bastwick::readPlistFilesAtPath(path);
    if (plist.metaType() == QMetaType::fromType<QVariantMap>())
        m_defaults->registerDefaults(plist.toMap());
}

QVariantMap XXXPreference::registerDefault() const
{
    return m_defaults->dictionaryRepresentation();
}

void XXXPreference::removeObjectForKey(const QString &key)
{
    m_defaults->removeObjectForKey(key);
}

void XXXPreference::removeAllUserObjectKey()
{
    const QVariantMap defaults = defaultKVDataConfig();
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        m_defaults->removeObjectForKey(it.key());
}

void XXXPreference::registerObjectType(const QVariant &object)
{
    m_classes.append(object);
}

void XXXPreference::showpropertyNames() const
{
    const QMetaObject *meta = metaObject();
    for (const QString &name : Bastwick::propertyNames(meta)) {
        const QMetaProperty property = meta->property(meta->indexOfProperty(name.toLatin1().constData()));
        XXXLog(QStringLiteral("encodingType=") + QString::fromLatin1(Bastwick::propertyAttributes(property)));
    }
}

QString XXXPreference::getPropertyNameFromSetSelectorString(const QString &selector)
{
    if (!selector.startsWith(QLatin1String("set")) || selector.size() < 5)
        return selector;
    return selector.mid(3, 1).toLower() + selector.mid(4, selector.size() - 5);
}

void XXXPreference::getPropertiesTypeEncoding()
{
    showpropertyNames();
    const QMetaObject *meta = metaObject();
    for (const QString &name : Bastwick::propertyNames(meta)) {
        const QByteArray type = Bastwick::typeOfPropertyNamed(meta, name);
        if (type.startsWith("T@"))
            m_proTypeEncodingCache.insert(name, QStringLiteral("@"));
        else if (type.size() > 1)
            m_proTypeEncodingCache.insert(name, QString::fromLatin1(type.mid(1)));
    }
}

QVariant XXXPreference::preferenceObject(const QString &key, QMetaType declaredType) const
{
    QVariant value = m_defaults->objectForKey(key);
    if (!value.isValid())
        return {};
    const bool wantsBytes = declaredType == QMetaType::fromType<QByteArray>();
    if (!wantsBytes && value.metaType() == QMetaType::fromType<QByteArray>()) {
        const QVariant unarchived = unarchive(value.toByteArray());
        if (unarchived.isValid())
            value = unarchived;
    }
    if (!declaredType.isValid() || declaredType == QMetaType::fromType<QVariant>() ||
        value.metaType() == declaredType)
        return value;
    QVariant converted = value;
    if (converted.convert(declaredType))
        return converted;
    XXXLogWarning(
        QStringLiteral("preference %1: stored %2 does not convert to %3")
            .arg(key, QString::fromLatin1(value.typeName()), QString::fromLatin1(declaredType.name())));
    return {};
}

void XXXPreference::storePreferenceValue(const QString &key, const QVariant &value)
{
    if (!isNilValue(value)) {
        if (isArrayValue(value))
            m_defaults->setObject(archive(value), key);
        else
            m_defaults->setObject(value, key);
    }
    m_defaults->synchronize();
}

QByteArray XXXPreference::archive(const QVariant &value)
{
    QByteArray data = kArchiveMarker;
    QDataStream stream(&data, QIODevice::WriteOnly | QIODevice::Append);
    stream.setVersion(QDataStream::Qt_6_0);
    stream << value;
    return data;
}

QVariant XXXPreference::unarchive(const QByteArray &data)
{
    if (!data.startsWith(kArchiveMarker))
        return {};
    QDataStream stream(data.mid(kArchiveMarker.size()));
    stream.setVersion(QDataStream::Qt_6_0);
    QVariant value;
    stream >> value;
    if (stream.status() != QDataStream::Ok || !stream.atEnd())
        return {};
    return value;
}

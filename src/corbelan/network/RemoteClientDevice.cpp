#include <corbelan/network/RemoteClientDevice.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QHash>

RemoteClientDevice::RemoteClientDevice(QObject *parent)
    : QObject(parent)
{
}

void RemoteClientDevice::initWithDictionary(const QVariantMap &dictionary)
{
    if (dictionary.contains(QStringLiteral("UUID")))
        m_UUID = dictionary.value(QStringLiteral("UUID")).toString();
    if (dictionary.contains(QStringLiteral("hostName")))
        m_hostName = dictionary.value(QStringLiteral("hostName")).toString();
    if (dictionary.contains(QStringLiteral("port")))
        m_port = dictionary.value(QStringLiteral("port")).toLongLong();
    if (dictionary.contains(QStringLiteral("baseURLString")))
        m_baseURLString = dictionary.value(QStringLiteral("baseURLString")).toString();
}

void RemoteClientDevice::encodeWithCoder(QDataStream &out, bool keyed) const
{
    if (keyed) {
        out << QVariantMap{{QStringLiteral("UUID"), m_UUID},
                           {QStringLiteral("hostName"), m_hostName},
                           {QStringLiteral("port"), m_port},
                           {QStringLiteral("baseURLString"), m_baseURLString}};
        return;
    }
    out << m_UUID << m_hostName << m_port << m_baseURLString;
}

bool RemoteClientDevice::initWithCoder(QDataStream &in, bool keyed)
{
    if (keyed) {
        QVariantMap fields;
        in >> fields;
        if (in.status() != QDataStream::Ok)
            return false;
        initWithDictionary(fields);
        return true;
    }
    QString uuid, hostName, baseURL;
    qint64 port = 0;
    in >> uuid >> hostName >> port >> baseURL;
    if (in.status() != QDataStream::Ok)
        return false;
    m_UUID = uuid;
    m_hostName = hostName;
    m_port = port;
    m_baseURLString = baseURL;
    return true;
}

bool RemoteClientDevice::isEqual(const QObject *other) const
{
    if (other == this)
        return true;
    const auto *device = qobject_cast<const RemoteClientDevice *>(other);
    return device && device->m_UUID == m_UUID && device->m_hostName == m_hostName &&
           device->m_port == m_port && device->m_baseURLString == m_baseURLString;
}

size_t RemoteClientDevice::hash() const
{
    return qHashMulti(0, m_UUID, m_hostName, m_port, m_baseURLString);
}

void RemoteClientDevice::executeTransform()
{
    XXXLog(QStringLiteral("a remote device has nothing to transform"));
}

QVariant RemoteClientDevice::valueForKey(const QString &key) const
{
    if (metaObject()->indexOfProperty(key.toUtf8().constData()) < 0) {
        XXXLog(Bastwick::format("Undefined Key: %@", key));
        return QVariant();
    }
    return Bastwick::valueForKey(this, key);
}

void RemoteClientDevice::setValue(const QVariant &value, const QString &key)
{
    if (metaObject()->indexOfProperty(key.toUtf8().constData()) < 0) {
        XXXLog(Bastwick::format("Undefined Key: %@", key));
        return;
    }
    Bastwick::setValueForKey(this, key, value);
}

#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QDataStream>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariantMap>

// The record of one remote device found on the local network: its identifier (the name
// of the service it was found as), host name, port and HTTP base URL. A JSON model (each
// property from the member of the same name). Lives on the thread that uses it.
class CORBELAN_EXPORT RemoteClientDevice : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString UUID READ UUID WRITE setUUID)
    Q_PROPERTY(QString hostName READ hostName WRITE setHostName)
    Q_PROPERTY(qint64 port READ port WRITE setPort)
    Q_PROPERTY(QString baseURLString READ baseURLString WRITE setBaseURLString)
public:
    Q_INVOKABLE explicit RemoteClientDevice(QObject *parent = nullptr);

    // Takes "UUID", "hostName", "port" (a number) and "baseURLString" where present.
    void initWithDictionary(const QVariantMap &dictionary);

    // Keyed coding writes a map under the keys "UUID", "hostName", "port" (qint64) and
    // "baseURLString"; unkeyed coding writes the UUID, the host name, the port and the base
    // URL in that order. Reading answers false (and keeps the fields) for a short or
    // damaged stream.
    void encodeWithCoder(QDataStream &out, bool keyed = true) const;
    bool initWithCoder(QDataStream &in, bool keyed = true);

    // True when the four fields are equal (a device equals itself).
    bool isEqual(const QObject *other) const;
    size_t hash() const;

    Q_INVOKABLE QVariantMap jsonKeyPathsByProperty() const { return {}; }
    // Does nothing (logged).
    void executeTransform();
    // Undefined keys are logged ("Undefined Key: <key>") and ignored.
    QVariant valueForKey(const QString &key) const;
    void setValue(const QVariant &value, const QString &key);

    QString UUID() const { return m_UUID; }
    void setUUID(const QString &uuid) { m_UUID = uuid; }
    QString hostName() const { return m_hostName; }
    void setHostName(const QString &hostName) { m_hostName = hostName; }
    qint64 port() const { return m_port; }
    void setPort(qint64 port) { m_port = port; }
    QString baseURLString() const { return m_baseURLString; }
    void setBaseURLString(const QString &url) { m_baseURLString = url; }

private:
    QString m_UUID;
    QString m_hostName;
    qint64 m_port = 0;
    QString m_baseURLString;
};

#pragma once

// Small classes the platform tests read and write by name.

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>

class KVPerson : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER m_name)
    Q_PROPERTY(qint64 age MEMBER m_age)
    Q_PROPERTY(double ratio MEMBER m_ratio)
    Q_PROPERTY(bool active MEMBER m_active)
    Q_PROPERTY(QStringList tags MEMBER m_tags)
    Q_PROPERTY(QVariant anything MEMBER m_anything)
    Q_PROPERTY(Mood mood MEMBER m_mood)
    Q_PROPERTY(QString readOnly READ readOnly)
public:
    enum Mood { Calm, Busy };
    Q_ENUM(Mood)

    Q_INVOKABLE KVPerson(QObject *parent = nullptr)
        : QObject(parent)
    {
    }
    QString readOnly() const { return QStringLiteral("fixed"); }
    Q_INVOKABLE QString description() const { return QStringLiteral("Person(%1)").arg(m_name); }

    QString m_name;
    qint64 m_age = 0;
    double m_ratio = 0;
    bool m_active = false;
    QStringList m_tags;
    QVariant m_anything;
    Mood m_mood = Calm;
};

class KVStudent : public KVPerson
{
    Q_OBJECT
    Q_PROPERTY(QString school MEMBER m_school)
public:
    Q_INVOKABLE KVStudent(QObject *parent = nullptr)
        : KVPerson(parent)
    {
    }
    QString m_school;
};

// No description(): described as "<KVPlain: 0x...>".
class KVPlain : public QObject
{
    Q_OBJECT
};

// A QObject class that cannot be made without arguments.
class KVNeedsArgument : public QObject
{
    Q_OBJECT
public:
    explicit KVNeedsArgument(int value)
        : m_value(value)
    {
    }
    int m_value;
};

struct KVPoint
{
    Q_GADGET
    Q_PROPERTY(int x MEMBER x)
    Q_PROPERTY(QString label MEMBER label)
public:
    int x = 0;
    QString label;
    Q_INVOKABLE QString description() const { return QStringLiteral("Point(%1, %2)").arg(x).arg(label); }
    bool operator==(const KVPoint &other) const { return x == other.x && label == other.label; }
};
Q_DECLARE_METATYPE(KVPoint)

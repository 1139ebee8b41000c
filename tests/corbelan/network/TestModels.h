#pragma once

#include <corbelan/network/MKObject.h>

#include <QtCore/QDateTime>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

// Models the JSON tests fill.

class BaseModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString inherited MEMBER m_inherited)
public:
    Q_INVOKABLE BaseModel() = default;
    QString m_inherited;
};

class PersonModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER m_name)
    Q_PROPERTY(qint64 age MEMBER m_age)
    Q_PROPERTY(bool active MEMBER m_active)
    Q_PROPERTY(double score MEMBER m_score)
    Q_PROPERTY(QVariantList tags MEMBER m_tags)
    Q_PROPERTY(QDateTime seen MEMBER m_seen)
public:
    Q_INVOKABLE PersonModel() = default;
    QString m_name;
    qint64 m_age = -1;
    bool m_active = false;
    double m_score = 0;
    QVariantList m_tags;
    QDateTime m_seen;
};

// Reads its city from a nested object.
class AddressModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString city MEMBER m_city)
    Q_PROPERTY(QString zip MEMBER m_zip)
public:
    Q_INVOKABLE AddressModel() = default;
    Q_INVOKABLE QVariantMap jsonKeyPathsByProperty() const
    {
        return {{QStringLiteral("city"), QStringLiteral("where.city")}};
    }
    QString m_city;
    QString m_zip;
};

// Made by its registered factory.
class FactoryModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString label MEMBER m_label)
public:
    Q_INVOKABLE FactoryModel() = default;
    QString m_label;
};

class MiddleRecord : public MKObject
{
    Q_OBJECT
    Q_PROPERTY(QString middle MEMBER m_middle)
public:
    Q_INVOKABLE MiddleRecord() = default;
    QString m_middle;
};

class Record : public MiddleRecord
{
    Q_OBJECT
    Q_PROPERTY(QString title MEMBER m_title)
    Q_PROPERTY(qint64 count MEMBER m_count)
    Q_PROPERTY(QVariantMap extra MEMBER m_extra)
    Q_PROPERTY(QDateTime when MEMBER m_when)
public:
    Q_INVOKABLE Record() = default;
    QString m_title;
    qint64 m_count = 0;
    QVariantMap m_extra;
    QDateTime m_when;
};

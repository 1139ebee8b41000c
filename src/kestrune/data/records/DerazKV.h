#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QByteArrayList>
#include <QtCore/QList>
#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariantList>

// One editable key/value row. Bytes throughout: `key` holds the key name of a string row
// and the field of a hash row, `value` the value of a string or hash row and the member
// of a sorted-set row, `score` the score of a sorted-set row, `ttl` the seconds to live of
// a string row (-1, or any value <= 0, for no expiry).
//
// Key-value access (tables, forms) sees `key` and `value` as lossless text (bytes that
// are not UTF-8 become the surrogates U+DC80..U+DCFF and come back unchanged).
class DerazKV
{
    Q_GADGET
    Q_PROPERTY(QString key READ keyText WRITE setKeyText)
    Q_PROPERTY(double score READ score WRITE setScore)
    Q_PROPERTY(QString value READ valueText WRITE setValueText)
    Q_PROPERTY(qint64 ttl READ ttl WRITE setTtl)

public:
    DerazKV() = default;
    DerazKV(const QByteArray &key, const QByteArray &value, qint64 ttl = 0)
        : m_key(key)
        , m_value(value)
        , m_ttl(ttl)
    {
    }

    const QByteArray &key() const { return m_key; }
    void setKey(const QByteArray &key) { m_key = key; }
    double score() const { return m_score; }
    void setScore(double score) { m_score = score; }
    const QByteArray &value() const { return m_value; }
    void setValue(const QByteArray &value) { m_value = value; }
    qint64 ttl() const { return m_ttl; }
    void setTtl(qint64 ttl) { m_ttl = ttl; }

    QString keyText() const;
    void setKeyText(const QString &text);
    QString valueText() const;
    void setValueText(const QString &text);

    // "key(<key>) value(<value>) ttl <ttl>"
    Q_INVOKABLE QString description() const;

    bool operator==(const DerazKV &other) const;

private:
    QByteArray m_key;
    double m_score = 0;
    QByteArray m_value;
    qint64 m_ttl = 0;
};

// A hash saved as a whole: `key` names the hash, `pairs` hold field (`key`) and value.
class DerazHashKV : public DerazKV
{
    Q_GADGET
    Q_PROPERTY(QVariantList pairs READ pairsVariant)

public:
    const QList<DerazKV> &pairs() const { return m_pairs; }
    void setPairs(const QList<DerazKV> &pairs) { m_pairs = pairs; }
    QVariantList pairsVariant() const;

private:
    QList<DerazKV> m_pairs;
};

// A sorted set saved as a whole: `key` names it, `pairs` hold member (`value`) and score.
class DerazZSetKV : public DerazKV
{
    Q_GADGET
    Q_PROPERTY(QVariantList pairs READ pairsVariant)

public:
    const QList<DerazKV> &pairs() const { return m_pairs; }
    void setPairs(const QList<DerazKV> &pairs) { m_pairs = pairs; }
    QVariantList pairsVariant() const;

private:
    QList<DerazKV> m_pairs;
};

// A list saved as a whole: `key` names it, `values` are the elements in order.
class DerazListKV : public DerazKV
{
    Q_GADGET
    Q_PROPERTY(QStringList values READ valuesText)

public:
    const QByteArrayList &values() const { return m_values; }
    void setValues(const QByteArrayList &values) { m_values = values; }
    QStringList valuesText() const;

private:
    QByteArrayList m_values;
};

// A set saved as a whole: `values` are the members.
class DerazSetKV : public DerazListKV
{
    Q_GADGET
};

// Declared for completeness; string rows travel as plain DerazKV.
class DerazStringKV : public DerazKV
{
    Q_GADGET
};

Q_DECLARE_METATYPE(DerazKV)
Q_DECLARE_METATYPE(DerazHashKV)
Q_DECLARE_METATYPE(DerazZSetKV)
Q_DECLARE_METATYPE(DerazListKV)
Q_DECLARE_METATYPE(DerazSetKV)
Q_DECLARE_METATYPE(DerazStringKV)

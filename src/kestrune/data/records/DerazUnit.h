#pragma once

#include <kestrune/data/records/DerazKV.h>

class DerazReply;

#include <QtCore/QByteArray>
#include <QtCore/QByteArrayList>
#include <QtCore/QList>
#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

#include <optional>

// The record of one key as read from the server: name, type code, time to live, size
// and content. The data layer sets key, type and ttl, then calls the one update function
// of the type with the raw reply of its read command; after that the record is read-only.
//
// Content by type: string: one value; hash: DerazKV rows (key = field, value = value);
// list and set: the element bytes; sorted set: DerazKV rows (value = member, score),
// highest score first. A record whose reply was nothing has no values (hasValues()
// false) for string, list and set, and an empty row list for hash and sorted set.
class DerazUnit
{
    Q_GADGET
    Q_PROPERTY(QString key READ keyText WRITE setKeyText)
    Q_PROPERTY(int type READ type WRITE setType)
    Q_PROPERTY(QVariantList values READ valuesVariant)
    Q_PROPERTY(qint64 ttl READ ttl WRITE setTtl)
    Q_PROPERTY(qint64 size READ size)
    Q_PROPERTY(QString valuesDescription READ valuesDescription)
    Q_PROPERTY(QString typeDescription READ typeDescription)

public:
    const QByteArray &key() const { return m_key; }
    void setKey(const QByteArray &key) { m_key = key; }
    QString keyText() const;
    void setKeyText(const QString &text);
    int type() const { return m_type; }
    void setType(int type) { m_type = type; }
    qint64 ttl() const { return m_ttl; }
    void setTtl(qint64 ttl) { m_ttl = ttl; }
    qint64 size() const { return m_size; }

    // Whether the values were set (false for a string, list or set whose reply was nothing).
    bool hasValues() const { return m_hasValues; }
    // String, list and set content.
    const QByteArrayList &values() const { return m_values; }
    // Hash and sorted-set content.
    const QList<DerazKV> &rows() const { return m_rows; }
    // The content for key-value access: texts (lossless) or DerazKV values.
    QVariantList valuesVariant() const;

    // Filling from the raw reply of the type's read command; std::nullopt is the nothing
    // reply. GET gives one text; HGETALL alternating field and value; LRANGE and SMEMBERS
    // the elements; ZREVRANGE ... WITHSCORES alternating member and score text.
    void updateStringValues(const std::optional<QByteArray> &reply);
    void updateHashValues(const std::optional<QByteArrayList> &reply);
    void updateListValues(const std::optional<QByteArrayList> &reply);
    void updateSetValues(const std::optional<QByteArrayList> &reply);
    void updateZSetValues(const std::optional<QByteArrayList> &reply);
    // The update function of the record's type, fed with a converted reply: nothing
    // (nil or no reply) is the absent reply; an array gives its elements' texts (up to
    // the first element that is nothing); any other kind counts as absent for the array
    // types and as its text for the string type.
    void updateValues(const DerazReply &reply);

    // Display texts: the Value column (names and values in the display form of
    // CellText.h) and the type's name. The Value column's text is made
    // once, when the values are filled, and is bounded whatever the size of the value: at
    // most kDescriptionMaxLength characters of the content and kDescriptionMaxEntries
    // entries of a hash, list, set or sorted set, followed by kDescriptionEllipsis when
    // anything was left out (the Size column gives the whole length).
    static constexpr qsizetype kDescriptionMaxLength = 256;
    static constexpr qsizetype kDescriptionMaxEntries = 64;
    static const QString kDescriptionEllipsis;
    const QString &valuesDescription() const { return m_valuesDescription; }
    // Whether filling the values also makes the Value column's text (on by default). A
    // reader whose records are never shown (the export) turns it off before filling; the
    // text then stays empty.
    void setDescribesValues(bool describes) { m_describesValues = describes; }
    QString typeDescription() const;

    // The JSON form: {key: value}, {key: {field: value}}, {key: [elements]} for lists and
    // sets, {key: {member: score}} for sorted sets (scores as numbers, "inf"/"-inf" as
    // texts). Keys and values are lossless text. Empty when there is nothing to write.
    QVariantMap json() const;
    // json() as one line of compact JSON text (UTF-8; lone surrogates written as
    // \udc80..\udcff escapes), without the line end. Empty when json() is empty.
    QByteArray jsonText() const;

    // jsonText() and "\n" appended to out, with U+2028, U+2029 and U+0085 written as
    // escapes so that every line reader sees one key per line; nothing when jsonText() is
    // empty. Written straight from the bytes, without building the JSON form.
    void appendJsonLine(QByteArray &out) const;

    // The command text: zero or more complete lines ("\n"-terminated) that rebuild the
    // key's content (SET, HSET, RPUSH, SADD, ZADD), arguments quoted where needed so that
    // every line reads back into the same arguments.
    QByteArray cmd() const;
    // cmd() appended to out.
    void appendCmd(QByteArray &out) const;

    // "key(<key>) type <type> ttl <ttl>"
    Q_INVOKABLE QString description() const;

    // The text of a score in command text: the shortest form that parses back to the
    // same double ("1.5", "1700000000123", "inf", "-inf").
    static QByteArray scoreText(double score);
    // A score text as the server writes it ("1.5", "inf", "-inf", "+inf"); 0 when
    // absent or unreadable.
    static double scoreFromText(const QByteArray &text, bool *ok = nullptr);

private:
    QString describeValues() const;

    QByteArray m_key;
    int m_type = 0;
    qint64 m_ttl = 0;
    qint64 m_size = 0;
    bool m_hasValues = false;
    bool m_describesValues = true;
    QByteArrayList m_values;
    QList<DerazKV> m_rows;
    QString m_valuesDescription;
};

Q_DECLARE_METATYPE(DerazUnit)

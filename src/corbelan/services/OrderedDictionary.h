#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QHash>
#include <QtCore/QLocale>
#include <QtCore/QMetaType>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>

// A dictionary that keeps its keys in the order they were first added; setting a
// present key again keeps its place. A copy is an independent, mutable dictionary.
class CORBELAN_EXPORT OrderedDictionary
{
public:
    OrderedDictionary();
    explicit OrderedDictionary(qsizetype capacity);

    OrderedDictionary copy() const { return *this; }
    OrderedDictionary mutableCopy() const { return *this; }

    // A new key is appended; a present key keeps its place and takes the new value.
    void setObject(const QVariant &value, const QString &key);
    // Removes a present key first, then inserts the key at the index (counted after that
    // removal; an index past the end appends, a negative one inserts at the front).
    void insertObject(const QVariant &value, const QString &key, qsizetype index);
    void removeObjectForKey(const QString &key);

    qsizetype count() const { return m_array.size(); }
    bool contains(const QString &key) const { return m_dictionary.contains(key); }
    // The value, or an invalid QVariant.
    QVariant objectForKey(const QString &key) const { return m_dictionary.value(key); }

    // The keys in order, and in reverse order.
    QStringList keyEnumerator() const { return m_array; }
    QStringList reverseKeyEnumerator() const;
    // The key at the position; a null text outside the list.
    QString keyAtIndex(qsizetype index) const;

    // The text form at an indent level: "    " per level, then "{", one line
    // "<indent>    <key> = <value>;" per key in order, then "<indent>}", each line ending
    // in a line feed. Texts stand as they are; a nested ordered dictionary writes its
    // own form at the same level; other values their description.
    QString descriptionWithLocale(const QLocale &locale, int level) const;
    QString description() const { return descriptionWithLocale(QLocale(), 0); }

    bool operator==(const OrderedDictionary &other) const
    {
        return m_array == other.m_array && m_dictionary == other.m_dictionary;
    }

private:
    QHash<QString, QVariant> m_dictionary;
    QStringList m_array;
};

Q_DECLARE_METATYPE(OrderedDictionary)

#pragma once

#include <bastwick/BastwickExport.h>
#include <bastwick/IndexSet.h>

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

#include <algorithm>

// Small operations on values (QVariant numbers, maps, lists and every value).
// An invalid QVariant is nil; Bastwick::nullValue() is the null marker.

namespace Bastwick {

// The kind of a number value, from the metatype it holds.
enum class NumberKind {
    Int = 1,    // int, unsigned char, unsigned short
    Short = 2,  // short
    Long = 3,   // long, long long (qint64), unsigned int and the wider unsigned integers
    Float = 4,  // float
    Double = 5, // double
    Bool = 6,   // valid for numberString, never answered by numberType
    Other = 7,  // bool, char, signed char, and everything that is not a number
};

BASTWICK_EXPORT NumberKind numberType(const QVariant &value);

// The number's text by its kind: integers in full ("5", "-9007199254740993"),
// float and double with six decimals ("2.500000"); a null QString for a bool or char
// value and for anything that is not a number.
BASTWICK_EXPORT QString numberString(const QVariant &value);

// The value reached by following a key path through nested maps. The path is split on
// "."; when that gives fewer than two parts it is split on "/" instead. Answers nil
// when a part meets a value that is not a map (QVariantMap or QVariantHash) or a
// missing key.
BASTWICK_EXPORT QVariant objectForKeyPath(const QVariantMap &map, const QString &keyPath);

// Stores the value under the key; a nil value is not stored and logs
// "setSafeValue Error : key =<key> value null!". The object form writes the property
// through key-value access (setValueForKey).
BASTWICK_EXPORT void setSafeValue(QVariantMap &map, const QVariant &value, const QString &key);
BASTWICK_EXPORT void setSafeValue(QObject *object, const QVariant &value, const QString &key);

// Key-value observation change maps.
BASTWICK_EXPORT extern const QString kKeyValueChangeKindKey;    // "kind"
BASTWICK_EXPORT extern const QString kKeyValueChangeNewKey;     // "new"
BASTWICK_EXPORT extern const QString kKeyValueChangeOldKey;     // "old"
BASTWICK_EXPORT extern const QString kKeyValueChangeIndexesKey; // "indexes"

// The platform's change kinds.
enum KeyValueChange : quint32 {
    KeyValueChangeSetting = 1,
    KeyValueChangeInsertion = 2,
    KeyValueChangeRemoval = 3,
    KeyValueChangeReplacement = 4,
};

BASTWICK_EXPORT quint32 keyValueChangeKind(const QVariantMap &change);
// The new / old value; nil when absent or the null marker.
BASTWICK_EXPORT QVariant keyValueChangeNew(const QVariantMap &change);
BASTWICK_EXPORT QVariant keyValueChangeOld(const QVariantMap &change);
// The changed indexes; empty when the change names none.
BASTWICK_EXPORT IndexSet keyValueChangeIndexes(const QVariantMap &change);
// With an old value: whether the new value differs from it. Without one: whether a new
// value is present.
BASTWICK_EXPORT bool keyValueChanged(const QVariantMap &change);

// The list as indented JSON (UTF-8). Null (with the log line
// "NSArray JSON Failed:<list> Error=<why>") when an element has no JSON form: a value
// that is not a string, number, bool, null marker, list or string-keyed map, or a
// number that is not finite.
BASTWICK_EXPORT QString toJSONString(const QVariantList &list);
BASTWICK_EXPORT QByteArray toJSONData(const QVariantList &list);

// Appends the value; a nil value is not added and logs "addSafeObject Nil Object!".
BASTWICK_EXPORT void addSafeObject(QVariantList &list, const QVariant &object);
BASTWICK_EXPORT void logNilObjectNotAdded();

// The same for lists of pointers (raw, QPointer or shared): a null one is not added.
template <class T> void addSafeObject(QList<T> &list, const T &object)
{
    if (!object) {
        logNilObjectNotAdded();
        return;
    }
    list.append(object);
}

// A new list with the elements in reverse order; the list itself is unchanged.
template <class T> QList<T> reverse(const QList<T> &list)
{
    QList<T> reversed(list);
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
}

// True for the null marker, for an empty text or byte array and for an empty list or
// map (any sequential or associative container); false for numbers and nil.
BASTWICK_EXPORT bool isEmptyObj(const QVariant &value);
// The opposite of isEmptyObj for a present value; false for nil.
BASTWICK_EXPORT bool isNotEmpty(const QVariant &value);

} // namespace Bastwick

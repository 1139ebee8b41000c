#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QMetaObject>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>

namespace Bastwick {

// Key-value access by name over Qt's meta-object system.
//
// Keys are Q_PROPERTY names of QObject and Q_GADGET classes (and plain keys of a
// QVariantMap). Reading an unknown key answers an invalid QVariant. Writing follows
// the records' rule: an unknown key is ignored (never turned into a Qt dynamic
// property), an invalid or null value is ignored, and a value that does not convert
// to the property's type is ignored with a log line. Writes answer whether the
// property took the value.

BASTWICK_EXPORT QVariant valueForKey(const QObject *object, const QString &key);
BASTWICK_EXPORT bool setValueForKey(QObject *object, const QString &key, const QVariant &value);

// Gadgets, through their meta-object and a pointer to the value.
BASTWICK_EXPORT QVariant valueForKey(const QMetaObject *meta, const void *gadget, const QString &key);
BASTWICK_EXPORT bool setValueForKey(const QMetaObject *meta, void *gadget, const QString &key,
                                    const QVariant &value);

template <class T> QVariant gadgetValueForKey(const T &gadget, const QString &key)
{
    return valueForKey(&T::staticMetaObject, &gadget, key);
}
template <class T> bool setGadgetValueForKey(T &gadget, const QString &key, const QVariant &value)
{
    return setValueForKey(&T::staticMetaObject, &gadget, key, value);
}

// Any holder: a QVariant that holds a QObject*, a registered Q_GADGET value or a
// QVariantMap / QVariantHash. setValueForKey on a map stores the value under the key.
BASTWICK_EXPORT QVariant valueForKey(const QVariant &holder, const QString &key);
BASTWICK_EXPORT bool setValueForKey(QVariant &holder, const QString &key, const QVariant &value);

// The meta-object behind a holder (QObject's dynamic meta-object, a gadget's static
// one), or null for maps and plain values.
BASTWICK_EXPORT const QMetaObject *metaObjectOf(const QVariant &holder);

// The null marker (the platform's NSNull): QVariant::fromValue(nullptr).
BASTWICK_EXPORT QVariant nullValue();
BASTWICK_EXPORT bool isNull(const QVariant &value); // true for the null marker only
BASTWICK_EXPORT bool isNil(const QVariant &value);  // true for an invalid QVariant only
// Either of the two.
BASTWICK_EXPORT bool isNilOrNull(const QVariant &value);

// Number kinds by metatype id. Integers: bool, the char kinds (not QChar, char16_t,
// char32_t) and the signed and unsigned integer kinds. Numbers: those, float and double.
BASTWICK_EXPORT bool isIntegerType(int typeId);
BASTWICK_EXPORT bool isNumberType(int typeId);
BASTWICK_EXPORT bool isNumber(const QVariant &value); // isNumberType of the value's kind

} // namespace Bastwick

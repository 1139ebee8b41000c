#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QMetaMethod>
#include <QtCore/QMetaObject>
#include <QtCore/QMetaProperty>
#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

// Reflection over declared properties (Q_PROPERTY of QObject and Q_GADGET classes) and
// over the arguments of a captured message, on top of Qt's meta-object system.
//
// Every property has an attribute text derived from its meta-property, in the
// platform's grammar: "T" and the type encoding of its metatype, then "R" when it has no
// WRITE, "&" for object pointers and QVariant (strong references), "C" for value classes
// such as QString or a gadget (copies), "N" (non-atomic) and "V_<name>" (the backing
// variable):
//
//   Q_PROPERTY(QString name READ name WRITE setName)   T@"QString",C,N,V_name
//   Q_PROPERTY(int count READ count)                    Ti,R,N,V_count
//   Q_PROPERTY(QObject *parentItem ...)                 T@"QObject",&,N,V_parentItem
//
// Type encodings: c/C signed/unsigned char, B bool, s/S short, i/I int, l/L long, q/Q
// long long, f float, d double, * char pointers (C strings), ^v other pointers,
// {QRect=iiii} and the like for the geometry structures, @ every other value (in a
// property's attribute text with its type name in double quotes). The items of an
// attribute text are separated by commas outside double quotes (type names such as
// QMap<QString,int> keep theirs).
//
// "The properties a class itself declares" are those from QMetaObject::propertyOffset()
// on; inherited ones are not among them.

namespace Bastwick {

// --- Type encodings and attribute texts -------------------------------------------------

// The encoding of a metatype as a message argument ("@" for every object).
BASTWICK_EXPORT QByteArray typeEncoding(QMetaType type);
// The encoding of a metatype in a property's attribute text ("@\"QString\"" for objects).
BASTWICK_EXPORT QByteArray propertyTypeEncoding(QMetaType type);
// The attribute text of a property; null for an invalid property.
BASTWICK_EXPORT QByteArray propertyAttributes(const QMetaProperty &property);

// The attribute text up to its first item separator ("T" + encoding); null when there is
// no attribute text or it has no separator. Answers a copy: no buffer is shared.
BASTWICK_EXPORT QByteArray property_getTypeString(const QMetaProperty &property);
BASTWICK_EXPORT QByteArray property_getTypeString(const QByteArray &attributes);
// The selector named after ",G" (",S"), up to the next separator; null when there is no
// such item or its name is empty.
BASTWICK_EXPORT QByteArray property_getGetter(const QMetaProperty &property);
BASTWICK_EXPORT QByteArray property_getGetter(const QByteArray &attributes);
BASTWICK_EXPORT QByteArray property_getSetter(const QMetaProperty &property);
BASTWICK_EXPORT QByteArray property_getSetter(const QByteArray &attributes);
// "retain" when an item after the type starts with "&", "copy" when one starts with "C"
// (the first such item decides), else "assign"; null when there is no attribute text.
// The type item is not looked at, so an unsigned char property ("TC") answers "assign".
// The text is a static literal.
BASTWICK_EXPORT const char *property_getRetentionMethod(const QMetaProperty &property);
BASTWICK_EXPORT const char *property_getRetentionMethod(const QByteArray &attributes);

// --- Class operations (a null class answers false / null / empty) ----------------------

// True when the class itself declares at least one property.
BASTWICK_EXPORT bool hasProperties(const QMetaObject *cls);
// True when the class or one of its superclasses has a property of that name.
BASTWICK_EXPORT bool hasPropertyNamed(const QMetaObject *cls, const QString &name);
// True when the property exists and its type string equals type exactly ("Ti").
BASTWICK_EXPORT bool hasPropertyNamed(const QMetaObject *cls, const QString &name, const char *type);
// True when the key, or the key with its first character lower-cased, names a property.
BASTWICK_EXPORT bool hasPropertyForKVCKey(const QMetaObject *cls, const QString &key);
// "T" plus the type encoding, or null when there is no such property.
BASTWICK_EXPORT QByteArray typeOfPropertyNamed(const QMetaObject *cls, const QString &name);
// The getter's selector name (the property name), or null when there is no such property.
// Throws Bastwick::Exception (internal inconsistency) when the property cannot be read.
BASTWICK_EXPORT QString getterForPropertyNamed(const QMetaObject *cls, const QString &name);
// The setter's selector name ("setName:"), or null when there is no such property.
// Throws Bastwick::Exception (internal inconsistency) when the property cannot be written.
BASTWICK_EXPORT QString setterForPropertyNamed(const QMetaObject *cls, const QString &name);
// "retain", "copy" or "assign"; null when there is no such property.
BASTWICK_EXPORT QString retentionMethodOfPropertyNamed(const QMetaObject *cls, const QString &name);
// The names of the properties the class itself declares, in declaration order; empty
// when it declares none.
BASTWICK_EXPORT QStringList propertyNames(const QMetaObject *cls);

// The same, asked of an object's class (a null object answers false / null / empty).
BASTWICK_EXPORT bool hasProperties(const QObject *object);
BASTWICK_EXPORT bool hasPropertyNamed(const QObject *object, const QString &name);
BASTWICK_EXPORT bool hasPropertyNamed(const QObject *object, const QString &name, const char *type);
BASTWICK_EXPORT bool hasPropertyForKVCKey(const QObject *object, const QString &key);
BASTWICK_EXPORT QByteArray typeOfPropertyNamed(const QObject *object, const QString &name);
BASTWICK_EXPORT QString getterForPropertyNamed(const QObject *object, const QString &name);
BASTWICK_EXPORT QString setterForPropertyNamed(const QObject *object, const QString &name);
BASTWICK_EXPORT QString retentionMethodOfPropertyNamed(const QObject *object, const QString &name);
BASTWICK_EXPORT QStringList propertyNames(const QObject *object);

// --- Property types -------------------------------------------------------------------

// The names of the properties the object's (or gadget's) own class declares.
BASTWICK_EXPORT QStringList properties(const QObject *object);
BASTWICK_EXPORT QStringList properties(const QVariant &holder);
// typeOfPropertyNamed as text ("T@\"QDateTime\""); null when there is no such property.
BASTWICK_EXPORT QString propertyTypeName(const QObject *object, const QString &name);
// True when the upper-cased column type word is BOOL, INTEGER, NSINTEGER, NSUINTEGER,
// LONG, INT, DOUBLE, FLOAT or NUMERIC.
BASTWICK_EXPORT bool isSimpleType(const QString &typeWord);
BASTWICK_EXPORT bool isObjectType(const QString &typeWord);
// The model type name of a column type word (case-sensitive): INTEGER -> NSInteger,
// BOOL -> BOOL, DOUBLE -> double, FLOAT -> float, TEXT/VARCHAR/DATETIME -> NSString,
// NUMERIC -> NSNumber, INT -> int, BLOB -> NSData, anything else -> NSString.
BASTWICK_EXPORT QString objectType(const QString &typeWord);
// Whether the named property holds a bool, a date, a text or a number. These answer
// false for every property: models that need to know read typeOfPropertyNamed.
BASTWICK_EXPORT bool isBoolProperty(const QObject *object, const QString &name);
BASTWICK_EXPORT bool isDateProperty(const QObject *object, const QString &name);
BASTWICK_EXPORT bool isStringProperty(const QObject *object, const QString &name);
BASTWICK_EXPORT bool iNumberProperty(const QObject *object, const QString &name);

// --- Names of keys and selectors --------------------------------------------------------

// The text with its first character lower-cased.
BASTWICK_EXPORT QString propertyStyleString(const QString &text);
// True when the selector text starts with "set".
BASTWICK_EXPORT bool isSetter(const QString &selector);
BASTWICK_EXPORT bool isGetter(const QString &selector);
// "name" -> "setName:".
BASTWICK_EXPORT QString getterToSetter(const QString &getter);
// "setName:" -> "name".
BASTWICK_EXPORT QString setterToGetter(const QString &setter);

// --- Objects as dictionaries and their descriptions --------------------------------------

// Name -> value of every property the object's own class declares, leaving out nil
// values (invalid, a null object pointer) and the null marker. An object whose class has
// a Q_INVOKABLE QVariantMap objectAsDictionary() answers with that instead. The holder
// form takes a QObject* or a registered gadget value; anything else gives an empty map.
BASTWICK_EXPORT QVariantMap objectAsDictionary(const QObject *object);
BASTWICK_EXPORT QVariantMap objectAsDictionary(const QVariant &holder);

// The reflective description over the properties the class itself declares, each shown
// by its backing variable "_<name>". Styles: 0 "<Class: hash; _a = 1; _b = 2>",
// 1 "<Class: hash;\n_a = 1;\n_b = 2>", 2 "<Class: hash; 1; 2>", 3 "<Class; _a = 1; _b = 2>",
// 4 "<1; 2>". Strings are quoted, chars (c) show YES/NO, bools true/false, structures
// nothing, a nil object the null marker's "<null>".
BASTWICK_EXPORT QString reflectDescription(const QObject *object, int style);
BASTWICK_EXPORT QString reflectDescription(const QObject *object);
BASTWICK_EXPORT QString description2(const QObject *object);
BASTWICK_EXPORT QString reflectDescription(const QVariant &holder, int style);
BASTWICK_EXPORT QString reflectDescription(const QVariant &holder);

// --- Captured messages -------------------------------------------------------------------

// A value the boxing of a message argument makes for selectors (":"), pointers ("^...")
// and structures ("{...}"): the type encoding and the value.
struct BASTWICK_EXPORT BoxedValue
{
    QByteArray objCType;
    QVariant value;

    friend bool operator==(const BoxedValue &a, const BoxedValue &b)
    {
        return a.objCType == b.objCType && a.value == b.value;
    }
};

// One argument of a captured message: its type encoding and its value.
struct BASTWICK_EXPORT InvocationArgument
{
    QByteArray typeEncoding;
    QVariant value;
};

// A captured message: the receiver, the selector and the arguments. Arguments are
// numbered as the platform does: 0 is the receiver ("@"), 1 the selector (":"), the
// message's own arguments start at 2.
class BASTWICK_EXPORT Invocation
{
public:
    Invocation() = default;
    Invocation(QVariant target, QString selector, QList<InvocationArgument> arguments);

    // The message for a method of the meta-object system with the given arguments, each
    // converted to its parameter's type. The selector is the method name, followed by ":"
    // and, for each later parameter, its name and ":" (setValue(v, forKey) gives
    // "setValue:forKey:"). Throws Bastwick::Exception (invalid argument) when the number
    // of arguments differs from the number of parameters.
    static Invocation fromMethod(const QMetaMethod &method, const QVariantList &arguments,
                                 const QVariant &target = QVariant());

    const QVariant &target() const { return m_target; }
    const QString &selector() const { return m_selector; }
    const QList<InvocationArgument> &arguments() const { return m_arguments; }

    int numberOfArguments() const { return int(m_arguments.size()) + 2; }
    // Throw Bastwick::Exception (invalid argument) for an index out of range.
    QByteArray argumentTypeAtIndex(int index) const;
    QVariant argumentAtIndex(int index) const;

private:
    QVariant m_target;
    QString m_selector;
    QList<InvocationArgument> m_arguments;
};

// The argument as an object: objects as they are, scalars as a QVariant of exactly their
// width and signedness (c -> char, C -> uchar, B -> bool, s/S -> short/ushort, i/I ->
// int/uint, l/L -> long/ulong, q/Q -> qlonglong/qulonglong, f -> float, d -> double),
// selectors, pointers and structures as a BoxedValue. Leading qualifiers (rnNoORV) are
// skipped. Throws Bastwick::Exception (invalid argument) with "Cannot handle argument
// type '%s'." for a longer encoding that is not a structure, a pointer or "@?", and with
// "Argument type '%s' not supported" for any other code (a C string "*" among them).
BASTWICK_EXPORT QVariant getArgumentAtIndexAsObject(const Invocation &invocation, int index);

// "setValue:@\"v\" forKey:@\"k\"": each part of the selector followed by its argument's
// description; the bare selector when there are no arguments.
BASTWICK_EXPORT QString invocationDescription(const Invocation &invocation);
// The description of one argument by its type code ("<??>" for codes without one).
BASTWICK_EXPORT QString argumentDescriptionAtIndex(const Invocation &invocation, int index);

// "nil"; @"text" for a string; else Bastwick::describe of the value.
BASTWICK_EXPORT QString objectDescriptionAtIndex(const Invocation &invocation, int index);
// "YES"/"NO" for 1/0, else the character in single quotes.
BASTWICK_EXPORT QString charDescriptionAtIndex(const Invocation &invocation, int index);
BASTWICK_EXPORT QString unsignedCharDescriptionAtIndex(const Invocation &invocation, int index);
BASTWICK_EXPORT QString intDescriptionAtIndex(const Invocation &invocation, int index);
// An unsigned int is written as the unsigned number it is (4000000000 stays 4000000000),
// not reinterpreted as a signed one.
BASTWICK_EXPORT QString unsignedIntDescriptionAtIndex(const Invocation &invocation, int index);
BASTWICK_EXPORT QString shortDescriptionAtIndex(const Invocation &invocation, int index);
BASTWICK_EXPORT QString unsignedShortDescriptionAtIndex(const Invocation &invocation, int index);
BASTWICK_EXPORT QString longDescriptionAtIndex(const Invocation &invocation, int index);
BASTWICK_EXPORT QString unsignedLongDescriptionAtIndex(const Invocation &invocation, int index);
BASTWICK_EXPORT QString longLongDescriptionAtIndex(const Invocation &invocation, int index);
BASTWICK_EXPORT QString unsignedLongLongDescriptionAtIndex(const Invocation &invocation, int index);
// Six decimals ("%f").
BASTWICK_EXPORT QString doubleDescriptionAtIndex(const Invocation &invocation, int index);
BASTWICK_EXPORT QString floatDescriptionAtIndex(const Invocation &invocation, int index);
// "0x" and the pointer in hexadecimal.
BASTWICK_EXPORT QString pointerDescriptionAtIndex(const Invocation &invocation, int index);
// ":(struct)" and, as a pointer, the first machine word of the structure's bytes (of the
// structure a BoxedValue holds, when the argument is one); a structure smaller than a
// word contributes only its own bytes. argumentDescriptionAtIndex never calls it.
BASTWICK_EXPORT QString structDescriptionAtIndex(const Invocation &invocation, int index);
// The text between double quotes (a char pointer is read as UTF-8).
BASTWICK_EXPORT QString cStringDescriptionAtIndex(const Invocation &invocation, int index);
// "@selector(name)".
BASTWICK_EXPORT QString selectorDescriptionAtIndex(const Invocation &invocation, int index);

} // namespace Bastwick

Q_DECLARE_METATYPE(Bastwick::BoxedValue)

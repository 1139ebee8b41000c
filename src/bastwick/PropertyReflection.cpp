#include <bastwick/PropertyReflection.h>

#include <bastwick/platform/Exception.h>
#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QPoint>
#include <QtCore/QPointF>
#include <QtCore/QRect>
#include <QtCore/QRectF>
#include <QtCore/QSize>
#include <QtCore/QSizeF>

#include <algorithm>
#include <cstring>
#include <functional>

namespace Bastwick {

namespace {

// --- attribute texts ---

// The positions where the items of an attribute text start (0 and after every comma
// outside double quotes).
QList<qsizetype> itemStarts(const QByteArray &attributes)
{
    QList<qsizetype> starts{0};
    bool quoted = false;
    for (qsizetype i = 0; i < attributes.size(); ++i) {
        const char c = attributes.at(i);
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            starts.append(i + 1);
    }
    return starts;
}

// The item that starts at start, up to the next separator.
QByteArray itemAt(const QByteArray &attributes, const QList<qsizetype> &starts, qsizetype n)
{
    const qsizetype start = starts.at(n);
    const qsizetype stop = n + 1 < starts.size() ? starts.at(n + 1) - 1 : attributes.size();
    return attributes.mid(start, stop - start);
}

QByteArray accessorItem(const QByteArray &attributes, char kind)
{
    if (attributes.isEmpty())
        return QByteArray();
    const QList<qsizetype> starts = itemStarts(attributes);
    for (qsizetype n = 1; n < starts.size(); ++n) {
        const QByteArray item = itemAt(attributes, starts, n);
        if (item.startsWith(kind))
            return item.size() > 1 ? item.mid(1) : QByteArray();
    }
    return QByteArray();
}

bool isObjectEncoding(const QByteArray &encoding)
{
    return encoding.startsWith('@');
}

// --- metatypes ---

const QMetaObject *gadgetMetaObject(const QVariant &holder)
{
    const QMetaType type = holder.metaType();
    if (type.flags() & QMetaType::IsGadget)
        return type.metaObject();
    return nullptr;
}

QObject *objectOf(const QVariant &holder)
{
    if (holder.metaType().flags() & QMetaType::PointerToQObject)
        return holder.value<QObject *>();
    return nullptr;
}

const QString kNullDescription = QStringLiteral("<null>");

bool isNilValue(const QVariant &value)
{
    if (isNilOrNull(value))
        return true;
    if (value.metaType().flags() & QMetaType::PointerToQObject)
        return value.value<QObject *>() == nullptr;
    return false;
}

QMetaProperty propertyNamed(const QMetaObject *cls, const QString &name)
{
    if (!cls || name.isEmpty())
        return QMetaProperty();
    const int index = cls->indexOfProperty(name.toUtf8().constData());
    return index >= 0 ? cls->property(index) : QMetaProperty();
}

QString className(const QMetaObject *cls)
{
    return QString::fromUtf8(cls->className());
}

QString pointerText(quintptr pointer)
{
    return QStringLiteral("0x") + QString::number(pointer, 16);
}

// --- descriptions ---

QString quotedIfText(const QVariant &value, const QByteArray &encoding)
{
    const QString text = describe(value);
    // The declared class is named in the encoding: @"QString".
    if (encoding.size() >= 4 && encoding.mid(2, encoding.size() - 3) == "QString")
        return u'"' + text + u'"';
    return text;
}

QString charText(char c)
{
    return QString(QChar::fromLatin1(c));
}

QString variableValueText(const QVariant &value, const QByteArray &encoding)
{
    const char code = encoding.isEmpty() ? '?' : encoding.at(0);
    switch (code) {
    case 'c':
        return value.value<char>() != 0 ? QStringLiteral("YES") : QStringLiteral("NO");
    case 'B':
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case 'C':
        return charText(char(value.value<uchar>()));
    case 'i':
    case 's':
    case 'l':
    case 'q':
        return QString::number(value.toLongLong());
    case 'I':
    case 'S':
    case 'L':
    case 'Q':
        return QString::number(value.toULongLong());
    case 'f':
    case 'd':
        return QString::number(value.toDouble(), 'f', 6);
    case '*':
        return value.toString();
    case '^':
        return pointerText(quintptr(value.value<void *>()));
    case ':':
        return value.toString();
    case '#':
        return value.toString();
    case '{':
        return QString();
    case '@':
        if (isNilValue(value))
            return kNullDescription;
        return quotedIfText(value, encoding);
    default:
        return QString::fromLatin1(encoding);
    }
}

QString reflect(const QMetaObject *cls, const void *address, int style,
                const std::function<QVariant(const QMetaProperty &)> &read)
{
    const QString name = className(cls);
    const QString hash = QString::number(qint64(quintptr(address)));
    QString out;
    switch (style) {
    case 1:
        out = u'<' + name + QStringLiteral(": ") + hash + QStringLiteral(";\n");
        break;
    case 3:
        out = u'<' + name + QStringLiteral("; ");
        break;
    case 4:
        out = QStringLiteral("<");
        break;
    default: // 0 and 2
        out = u'<' + name + QStringLiteral(": ") + hash + QStringLiteral("; ");
        break;
    }
    const bool named = style == 0 || style == 1 || style == 3 || (style < 0 || style > 4);
    const QString separator = style == 1 ? QStringLiteral(";\n") : QStringLiteral("; ");
    for (int i = cls->propertyOffset(); i < cls->propertyCount(); ++i) {
        const QMetaProperty property = cls->property(i);
        if (i > cls->propertyOffset())
            out += separator;
        if (named)
            out += u'_' + QString::fromUtf8(property.name()) + QStringLiteral(" = ");
        out += variableValueText(read(property), propertyTypeEncoding(property.metaType()));
    }
    out += u'>';
    return out;
}

// --- invocations ---

QByteArray withoutQualifiers(QByteArray encoding, bool all)
{
    static const QByteArray qualifiers("rnNoORV");
    while (!encoding.isEmpty() && qualifiers.contains(encoding.at(0))) {
        encoding.remove(0, 1);
        if (!all)
            break;
    }
    return encoding;
}

template <class T> QVariant boxed(const QVariant &value)
{
    return QVariant::fromValue<T>(value.value<T>());
}

} // namespace

// ---------------------------------------------------------------------------------------
// Type encodings and attribute texts

QByteArray typeEncoding(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Bool:
        return "B";
    case QMetaType::Char:
    case QMetaType::SChar:
        return "c";
    case QMetaType::UChar:
        return "C";
    case QMetaType::Short:
        return "s";
    case QMetaType::UShort:
    case QMetaType::Char16:
        return "S";
    case QMetaType::Int:
        return "i";
    case QMetaType::UInt:
    case QMetaType::Char32:
        return "I";
    case QMetaType::Long:
        return "l";
    case QMetaType::ULong:
        return "L";
    case QMetaType::LongLong:
        return "q";
    case QMetaType::ULongLong:
        return "Q";
    case QMetaType::Float:
        return "f";
    case QMetaType::Double:
        return "d";
    case QMetaType::Void:
        return "v";
    case QMetaType::VoidStar:
        return "^v";
    case QMetaType::QPoint:
        return "{QPoint=ii}";
    case QMetaType::QPointF:
        return "{QPointF=dd}";
    case QMetaType::QSize:
        return "{QSize=ii}";
    case QMetaType::QSizeF:
        return "{QSizeF=dd}";
    case QMetaType::QRect:
        return "{QRect=iiii}";
    case QMetaType::QRectF:
        return "{QRectF=dddd}";
    case QMetaType::UnknownType:
        return "?";
    default:
        break;
    }
    const QMetaType::TypeFlags flags = type.flags();
    if (flags & QMetaType::IsEnumeration) {
        switch (type.sizeOf()) {
        case 1:
            return "c";
        case 2:
            return "s";
        case 8:
            return "q";
        default:
            return "i";
        }
    }
    if (type == QMetaType::fromType<const char *>() || type == QMetaType::fromType<char *>())
        return "*";
    if ((flags & QMetaType::IsPointer) && !(flags & QMetaType::PointerToQObject))
        return "^v";
    return "@";
}

QByteArray propertyTypeEncoding(QMetaType type)
{
    QByteArray encoding = typeEncoding(type);
    if (encoding != "@" || type.id() == QMetaType::QVariant)
        return encoding;
    QByteArray name(type.name());
    if (name.endsWith('*'))
        name.chop(1);
    return "@\"" + name.trimmed() + '"';
}

QByteArray propertyAttributes(const QMetaProperty &property)
{
    if (!property.isValid())
        return QByteArray();
    const QMetaType type = property.metaType();
    const QByteArray encoding = propertyTypeEncoding(type);
    QByteArray attributes = 'T' + encoding;
    if (!property.isWritable())
        attributes += ",R";
    if (isObjectEncoding(encoding)) {
        const bool reference =
            type.id() == QMetaType::QVariant || (type.flags() & QMetaType::PointerToQObject);
        attributes += reference ? ",&" : ",C";
    }
    attributes += ",N,V_";
    attributes += property.name();
    return attributes;
}

QByteArray property_getTypeString(const QMetaProperty &property)
{
    return property_getTypeString(propertyAttributes(property));
}

QByteArray property_getTypeString(const QByteArray &attributes)
{
    if (attributes.isEmpty())
        return QByteArray();
    const QList<qsizetype> starts = itemStarts(attributes);
    if (starts.size() < 2)
        return QByteArray();
    return attributes.left(starts.at(1) - 1);
}

QByteArray property_getGetter(const QMetaProperty &property)
{
    return property_getGetter(propertyAttributes(property));
}

QByteArray property_getGetter(const QByteArray &attributes)
{
    return accessorItem(attributes, 'G');
}

QByteArray property_getSetter(const QMetaProperty &property)
{
    return property_getSetter(propertyAttributes(property));
}

QByteArray property_getSetter(const QByteArray &attributes)
{
    return accessorItem(attributes, 'S');
}

const char *property_getRetentionMethod(const QMetaProperty &property)
{
    return property_getRetentionMethod(propertyAttributes(property));
}

const char *property_getRetentionMethod(const QByteArray &attributes)
{
    if (attributes.isEmpty())
        return nullptr;
    const QList<qsizetype> starts = itemStarts(attributes);
    for (qsizetype n = 1; n < starts.size(); ++n) {
        const qsizetype at = starts.at(n);
        if (at >= attributes.size())
            continue;
        if (attributes.at(at) == '&')
            return "retain";
        if (attributes.at(at) == 'C')
            return "copy";
    }
    return "assign";
}

// ---------------------------------------------------------------------------------------
// Class operations

bool hasProperties(const QMetaObject *cls)
{
    return cls && cls->propertyCount() > cls->propertyOffset();
}

bool hasPropertyNamed(const QMetaObject *cls, const QString &name)
{
    return propertyNamed(cls, name).isValid();
}

bool hasPropertyNamed(const QMetaObject *cls, const QString &name, const char *type)
{
    const QMetaProperty property = propertyNamed(cls, name);
    if (!property.isValid() || !type)
        return false;
    return property_getTypeString(property) == QByteArray(type);
}

bool hasPropertyForKVCKey(const QMetaObject *cls, const QString &key)
{
    return hasPropertyNamed(cls, key) || hasPropertyNamed(cls, propertyStyleString(key));
}

QByteArray typeOfPropertyNamed(const QMetaObject *cls, const QString &name)
{
    const QMetaProperty property = propertyNamed(cls, name);
    if (!property.isValid())
        return QByteArray();
    return property_getTypeString(property);
}

QString getterForPropertyNamed(const QMetaObject *cls, const QString &name)
{
    const QMetaProperty property = propertyNamed(cls, name);
    if (!property.isValid())
        return QString();
    const QByteArray custom = property_getGetter(property);
    if (!custom.isEmpty())
        return QString::fromUtf8(custom);
    if (!property.isReadable()) {
        throw Exception(QString::fromLatin1(Exception::kInternalInconsistency),
                        QStringLiteral("%1 has property '%2' with no custom getter, but does not respond "
                                       "to the default getter")
                            .arg(className(cls), name));
    }
    return name;
}

QString setterForPropertyNamed(const QMetaObject *cls, const QString &name)
{
    const QMetaProperty property = propertyNamed(cls, name);
    if (!property.isValid())
        return QString();
    const QByteArray custom = property_getSetter(property);
    if (!custom.isEmpty())
        return QString::fromUtf8(custom);
    if (!property.isWritable()) {
        throw Exception(QString::fromLatin1(Exception::kInternalInconsistency),
                        QStringLiteral("%1 has property '%2' with no custom setter, but does not respond "
                                       "to the default setter")
                            .arg(className(cls), name));
    }
    return getterToSetter(name);
}

QString retentionMethodOfPropertyNamed(const QMetaObject *cls, const QString &name)
{
    const QMetaProperty property = propertyNamed(cls, name);
    if (!property.isValid())
        return QString();
    return QString::fromLatin1(property_getRetentionMethod(property));
}

QStringList propertyNames(const QMetaObject *cls)
{
    QStringList names;
    if (!cls)
        return names;
    for (int i = cls->propertyOffset(); i < cls->propertyCount(); ++i)
        names.append(QString::fromUtf8(cls->property(i).name()));
    return names;
}

bool hasProperties(const QObject *object)
{
    return object && hasProperties(object->metaObject());
}

bool hasPropertyNamed(const QObject *object, const QString &name)
{
    return object && hasPropertyNamed(object->metaObject(), name);
}

bool hasPropertyNamed(const QObject *object, const QString &name, const char *type)
{
    return object && hasPropertyNamed(object->metaObject(), name, type);
}

bool hasPropertyForKVCKey(const QObject *object, const QString &key)
{
    return object && hasPropertyForKVCKey(object->metaObject(), key);
}

QByteArray typeOfPropertyNamed(const QObject *object, const QString &name)
{
    return object ? typeOfPropertyNamed(object->metaObject(), name) : QByteArray();
}

QString getterForPropertyNamed(const QObject *object, const QString &name)
{
    return object ? getterForPropertyNamed(object->metaObject(), name) : QString();
}

QString setterForPropertyNamed(const QObject *object, const QString &name)
{
    return object ? setterForPropertyNamed(object->metaObject(), name) : QString();
}

QString retentionMethodOfPropertyNamed(const QObject *object, const QString &name)
{
    return object ? retentionMethodOfPropertyNamed(object->metaObject(), name) : QString();
}

QStringList propertyNames(const QObject *object)
{
    return object ? propertyNames(object->metaObject()) : QStringList();
}

// ---------------------------------------------------------------------------------------
// Property types

QStringList properties(const QObject *object)
{
    return propertyNames(object);
}

QStringList properties(const QVariant &holder)
{
    if (QObject *object = objectOf(holder))
        return propertyNames(object);
    return propertyNames(gadgetMetaObject(holder));
}

QString propertyTypeName(const QObject *object, const QString &name)
{
    const QByteArray type = typeOfPropertyNamed(object, name);
    return type.isNull() ? QString() : QString::fromUtf8(type);
}

bool isSimpleType(const QString &typeWord)
{
    static const QStringList simple{
        QStringLiteral("BOOL"),       QStringLiteral("INTEGER"), QStringLiteral("NSINTEGER"),
        QStringLiteral("NSUINTEGER"), QStringLiteral("LONG"),    QStringLiteral("INT"),
        QStringLiteral("DOUBLE"),     QStringLiteral("FLOAT"),   QStringLiteral("NUMERIC")};
    return simple.contains(typeWord.toUpper());
}

bool isObjectType(const QString &typeWord)
{
    return !isSimpleType(typeWord);
}

QString objectType(const QString &typeWord)
{
    if (typeWord == QLatin1String("INTEGER"))
        return QStringLiteral("NSInteger");
    if (typeWord == QLatin1String("BOOL"))
        return QStringLiteral("BOOL");
    if (typeWord == QLatin1String("DOUBLE"))
        return QStringLiteral("double");
    if (typeWord == QLatin1String("FLOAT"))
        return QStringLiteral("float");
    if (typeWord == QLatin1String("NUMERIC"))
        return QStringLiteral("NSNumber");
    if (typeWord == QLatin1String("INT"))
        return QStringLiteral("int");
    if (typeWord == QLatin1String("BLOB"))
        return QStringLiteral("NSData");
    return QStringLiteral("NSString"); // TEXT, VARCHAR, DATETIME and anything else
}

bool isBoolProperty(const QObject *object, const QString &name)
{
    Q_UNUSED(object);
    Q_UNUSED(name);
    return false;
}

bool isDateProperty(const QObject *object, const QString &name)
{
    Q_UNUSED(object);
    Q_UNUSED(name);
    return false;
}

bool isStringProperty(const QObject *object, const QString &name)
{
    Q_UNUSED(object);
    Q_UNUSED(name);
    return false;
}

bool iNumberProperty(const QObject *object, const QString &name)
{
    Q_UNUSED(object);
    Q_UNUSED(name);
    return false;
}

// ---------------------------------------------------------------------------------------
// Names of keys and selectors

QString propertyStyleString(const QString &text)
{
    if (text.isEmpty())
        return text;
    return text.left(1).toLower() + text.mid(1);
}

bool isSetter(const QString &selector)
{
    return selector.startsWith(QLatin1String("set"));
}

bool isGetter(const QString &selector)
{
    return !isSetter(selector);
}

QString getterToSetter(const QString &getter)
{
    return QStringLiteral("set") + getter.left(1).toUpper() + getter.mid(1) + u':';
}

QString setterToGetter(const QString &setter)
{
    if (setter.size() < 4)
        return QString();
    const QString name = setter.mid(3, setter.size() - 4);
    return name.left(1).toLower() + name.mid(1);
}

// ---------------------------------------------------------------------------------------
// Objects as dictionaries and descriptions

namespace {

// The class's own objectAsDictionary() when it has one (called through invokeHook),
// else name -> value of every property it declares itself, nil values left out.
QVariantMap dictionaryOf(const QMetaObject *cls,
                         const std::function<bool(const QMetaMethod &, QVariantMap *)> &invokeHook,
                         const std::function<QVariant(const QMetaProperty &)> &read)
{
    QVariantMap dictionary;
    const int hook = cls->indexOfMethod("objectAsDictionary()");
    if (hook >= 0) {
        const QMetaMethod method = cls->method(hook);
        if (method.returnMetaType() == QMetaType::fromType<QVariantMap>() && invokeHook(method, &dictionary))
            return dictionary;
    }
    for (int i = cls->propertyOffset(); i < cls->propertyCount(); ++i) {
        const QMetaProperty property = cls->property(i);
        const QVariant value = read(property);
        if (!isNilValue(value))
            dictionary.insert(QString::fromUtf8(property.name()), value);
    }
    return dictionary;
}

} // namespace

QVariantMap objectAsDictionary(const QObject *object)
{
    if (!object)
        return QVariantMap();
    auto *target = const_cast<QObject *>(object);
    return dictionaryOf(
        object->metaObject(),
        [target](const QMetaMethod &method, QVariantMap *out) {
            return method.invoke(target, Qt::DirectConnection, Q_RETURN_ARG(QVariantMap, *out));
        },
        [object](const QMetaProperty &property) { return property.read(object); });
}

QVariantMap objectAsDictionary(const QVariant &holder)
{
    if (QObject *object = objectOf(holder))
        return objectAsDictionary(static_cast<const QObject *>(object));
    const QMetaObject *cls = gadgetMetaObject(holder);
    if (!cls)
        return QVariantMap();
    const void *gadget = holder.constData();
    return dictionaryOf(
        cls,
        [gadget](const QMetaMethod &method, QVariantMap *out) {
            return method.invokeOnGadget(const_cast<void *>(gadget), Q_RETURN_ARG(QVariantMap, *out));
        },
        [gadget](const QMetaProperty &property) { return property.readOnGadget(gadget); });
}

QString reflectDescription(const QObject *object, int style)
{
    if (!object)
        return kNullDescription;
    return reflect(object->metaObject(), object, style,
                   [object](const QMetaProperty &property) { return property.read(object); });
}

QString reflectDescription(const QObject *object)
{
    return reflectDescription(object, 0);
}

QString description2(const QObject *object)
{
    return reflectDescription(object, 0);
}

QString reflectDescription(const QVariant &holder, int style)
{
    if (QObject *object = objectOf(holder))
        return reflectDescription(static_cast<const QObject *>(object), style);
    const QMetaObject *cls = gadgetMetaObject(holder);
    if (!cls)
        return describe(holder);
    const void *gadget = holder.constData();
    return reflect(cls, gadget, style,
                   [gadget](const QMetaProperty &property) { return property.readOnGadget(gadget); });
}

QString reflectDescription(const QVariant &holder)
{
    return reflectDescription(holder, 0);
}

// ---------------------------------------------------------------------------------------
// Captured messages

Invocation::Invocation(QVariant target, QString selector, QList<InvocationArgument> arguments)
    : m_target(std::move(target))
    , m_selector(std::move(selector))
    , m_arguments(std::move(arguments))
{
}

Invocation Invocation::fromMethod(const QMetaMethod &method, const QVariantList &arguments,
                                  const QVariant &target)
{
    const int count = method.parameterCount();
    if (arguments.size() != count) {
        throw Exception(QString::fromLatin1(Exception::kInvalidArgument),
                        QStringLiteral("%1 takes %2 arguments, %3 given")
                            .arg(QString::fromUtf8(method.methodSignature()))
                            .arg(count)
                            .arg(arguments.size()));
    }
    QString selector = QString::fromUtf8(method.name());
    const QList<QByteArray> names = method.parameterNames();
    QList<InvocationArgument> list;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            selector += QString::fromUtf8(names.value(i));
        selector += u':';
        const QMetaType type = method.parameterMetaType(i);
        QVariant value = arguments.at(i);
        if (value.isValid() && type.isValid() && type.id() != QMetaType::QVariant &&
            value.metaType() != type) {
            QVariant converted = value;
            if (!converted.convert(type)) {
                throw Exception(QString::fromLatin1(Exception::kInvalidArgument),
                                QStringLiteral("argument %1 of %2 is a %3, not a %4")
                                    .arg(i)
                                    .arg(QString::fromUtf8(method.methodSignature()),
                                         QString::fromUtf8(value.metaType().name()),
                                         QString::fromUtf8(type.name())));
            }
            value = converted;
        }
        list.append(InvocationArgument{typeEncoding(type), value});
    }
    return Invocation(target, selector, list);
}

QByteArray Invocation::argumentTypeAtIndex(int index) const
{
    if (index == 0)
        return "@";
    if (index == 1)
        return ":";
    if (index < 0 || index >= numberOfArguments()) {
        throw Exception(QString::fromLatin1(Exception::kInvalidArgument),
                        QStringLiteral("Index %1 out of range for %2 arguments of %3")
                            .arg(index)
                            .arg(numberOfArguments())
                            .arg(m_selector));
    }
    return m_arguments.at(index - 2).typeEncoding;
}

QVariant Invocation::argumentAtIndex(int index) const
{
    if (index == 0)
        return m_target;
    if (index == 1)
        return m_selector;
    argumentTypeAtIndex(index); // range check
    return m_arguments.at(index - 2).value;
}

QVariant getArgumentAtIndexAsObject(const Invocation &invocation, int index)
{
    const QByteArray full = invocation.argumentTypeAtIndex(index);
    const QByteArray encoding = withoutQualifiers(full, true);
    const QVariant value = invocation.argumentAtIndex(index);
    if (encoding.size() > 1 && !encoding.startsWith('{') && !encoding.startsWith('^') && encoding != "@?") {
        throw Exception(QString::fromLatin1(Exception::kInvalidArgument),
                        QStringLiteral("Cannot handle argument type '%1'.").arg(QString::fromUtf8(encoding)));
    }
    switch (encoding.isEmpty() ? '\0' : encoding.at(0)) {
    case '@':
    case '#':
        return value;
    case ':':
        return QVariant::fromValue(BoxedValue{":", QVariant(value.toString())});
    case 'c':
        return boxed<char>(value);
    case 'C':
        return boxed<uchar>(value);
    case 'B':
        return boxed<bool>(value);
    case 's':
        return boxed<short>(value);
    case 'S':
        return boxed<ushort>(value);
    case 'i':
        return boxed<int>(value);
    case 'I':
        return boxed<uint>(value);
    case 'l':
        return boxed<long>(value);
    case 'L':
        return boxed<ulong>(value);
    case 'q':
        return boxed<qlonglong>(value);
    case 'Q':
        return boxed<qulonglong>(value);
    case 'f':
        return boxed<float>(value);
    case 'd':
        return boxed<double>(value);
    case '^':
    case '{':
        return QVariant::fromValue(BoxedValue{encoding, value});
    default:
        throw Exception(QString::fromLatin1(Exception::kInvalidArgument),
                        QStringLiteral("Argument type '%1' not supported").arg(QString::fromUtf8(encoding)));
    }
}

QString invocationDescription(const Invocation &invocation)
{
    const int count = invocation.numberOfArguments();
    if (count <= 2)
        return invocation.selector();
    const QStringList parts = invocation.selector().split(u':');
    QString out;
    for (int i = 2; i < count; ++i) {
        if (i > 2)
            out += u' ';
        out += parts.value(i - 2) + u':' + argumentDescriptionAtIndex(invocation, i);
    }
    return out;
}

QString argumentDescriptionAtIndex(const Invocation &invocation, int index)
{
    const QByteArray encoding = withoutQualifiers(invocation.argumentTypeAtIndex(index), false);
    switch (encoding.isEmpty() ? '\0' : encoding.at(0)) {
    case '*':
        return cStringDescriptionAtIndex(invocation, index);
    case ':':
        return selectorDescriptionAtIndex(invocation, index);
    case '@':
        return objectDescriptionAtIndex(invocation, index);
    case 'C':
        return unsignedCharDescriptionAtIndex(invocation, index);
    case 'I':
        return unsignedIntDescriptionAtIndex(invocation, index);
    case 'L':
        return unsignedLongDescriptionAtIndex(invocation, index);
    case 'Q':
        return unsignedLongLongDescriptionAtIndex(invocation, index);
    case 'S':
        return unsignedShortDescriptionAtIndex(invocation, index);
    case '^':
        return pointerDescriptionAtIndex(invocation, index);
    case 'c':
        return charDescriptionAtIndex(invocation, index);
    case 'd':
        return doubleDescriptionAtIndex(invocation, index);
    case 'f':
        return floatDescriptionAtIndex(invocation, index);
    case 'i':
        return intDescriptionAtIndex(invocation, index);
    case 'l':
        return longDescriptionAtIndex(invocation, index);
    case 'q':
        return longLongDescriptionAtIndex(invocation, index);
    case 's':
        return shortDescriptionAtIndex(invocation, index);
    default:
        return QStringLiteral("<?"
                              "?>");
    }
}

QString objectDescriptionAtIndex(const Invocation &invocation, int index)
{
    const QVariant value = invocation.argumentAtIndex(index);
    if (isNilValue(value) && !isNull(value))
        return QStringLiteral("nil");
    if (value.metaType().id() == QMetaType::QString)
        return QStringLiteral("@\"") + value.toString() + u'"';
    return describe(value);
}

QString charDescriptionAtIndex(const Invocation &invocation, int index)
{
    const char c = invocation.argumentAtIndex(index).value<char>();
    if (c == 1)
        return QStringLiteral("YES");
    if (c == 0)
        return QStringLiteral("NO");
    return u'\'' + charText(c) + u'\'';
}

QString unsignedCharDescriptionAtIndex(const Invocation &invocation, int index)
{
    return u'\'' + charText(char(invocation.argumentAtIndex(index).value<uchar>())) + u'\'';
}

QString intDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QString::number(invocation.argumentAtIndex(index).value<int>());
}

QString unsignedIntDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QString::number(invocation.argumentAtIndex(index).value<uint>());
}

QString shortDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QString::number(invocation.argumentAtIndex(index).value<short>());
}

QString unsignedShortDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QString::number(invocation.argumentAtIndex(index).value<ushort>());
}

QString longDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QString::number(invocation.argumentAtIndex(index).value<long>());
}

QString unsignedLongDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QString::number(invocation.argumentAtIndex(index).value<ulong>());
}

QString longLongDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QString::number(invocation.argumentAtIndex(index).value<qlonglong>());
}

QString unsignedLongLongDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QString::number(invocation.argumentAtIndex(index).value<qulonglong>());
}

QString doubleDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QString::number(invocation.argumentAtIndex(index).value<double>(), 'f', 6);
}

QString floatDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QString::number(double(invocation.argumentAtIndex(index).value<float>()), 'f', 6);
}

QString pointerDescriptionAtIndex(const Invocation &invocation, int index)
{
    const QVariant value = invocation.argumentAtIndex(index);
    if (value.metaType() == QMetaType::fromType<BoxedValue>())
        return pointerText(quintptr(value.value<BoxedValue>().value.value<void *>()));
    return pointerText(quintptr(value.value<void *>()));
}

QString structDescriptionAtIndex(const Invocation &invocation, int index)
{
    QVariant value = invocation.argumentAtIndex(index);
    if (value.metaType() == QMetaType::fromType<BoxedValue>())
        value = value.value<BoxedValue>().value;
    quintptr word = 0;
    if (value.isValid() && value.constData()) {
        const size_t size = std::min(sizeof word, size_t(std::max<qsizetype>(0, value.metaType().sizeOf())));
        std::memcpy(&word, value.constData(), size);
    }
    return QStringLiteral(":(struct)") + pointerText(word);
}

QString cStringDescriptionAtIndex(const Invocation &invocation, int index)
{
    const QVariant value = invocation.argumentAtIndex(index);
    QString text;
    if (value.metaType() == QMetaType::fromType<const char *>())
        text = QString::fromUtf8(value.value<const char *>());
    else if (value.metaType() == QMetaType::fromType<char *>())
        text = QString::fromUtf8(value.value<char *>());
    else
        text = value.toString();
    return u'"' + text + u'"';
}

QString selectorDescriptionAtIndex(const Invocation &invocation, int index)
{
    return QStringLiteral("@selector(") + invocation.argumentAtIndex(index).toString() + u')';
}

} // namespace Bastwick

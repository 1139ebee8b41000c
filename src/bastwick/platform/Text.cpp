#include <bastwick/platform/Text.h>

#include <bastwick/platform/KeyValue.h>

#include <QtCore/QAssociativeIterable>
#include <QtCore/QDateTime>
#include <QtCore/QMetaMethod>
#include <QtCore/QObject>
#include <QtCore/QSequentialIterable>
#include <QtCore/QUrl>
#include <QtCore/QVariantHash>
#include <QtCore/QVariantMap>

#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

#include <locale.h>

namespace Bastwick {

namespace {

QString indent(int level)
{
    return QString(level * 4, QLatin1Char(' '));
}

template <class T> QString shortestNumber(T value)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

QString hexBytes(const QByteArray &bytes)
{
    // "<0a0b0c0d 0e>": groups of four bytes.
    QString text = QStringLiteral("<");
    const QByteArray hex = bytes.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 8) {
        if (i > 0)
            text += QLatin1Char(' ');
        text += QString::fromLatin1(hex.mid(i, 8));
    }
    return text + QLatin1Char('>');
}

QString pointerText(const void *pointer)
{
    return QStringLiteral("0x") + QString::number(quintptr(pointer), 16);
}

// A Q_INVOKABLE description() of the object or gadget, when the class has one.
std::optional<QString> invokableDescription(const QMetaObject *meta, QObject *object, const void *gadget)
{
    if (!meta)
        return std::nullopt;
    const int index = meta->indexOfMethod("description()");
    if (index < 0)
        return std::nullopt;
    const QMetaMethod method = meta->method(index);
    if (method.returnType() != QMetaType::QString)
        return std::nullopt;
    QString text;
    const bool ok = object ? method.invoke(object, Qt::DirectConnection, Q_RETURN_ARG(QString, text))
                           : method.invokeOnGadget(const_cast<void *>(gadget), Q_RETURN_ARG(QString, text));
    return ok ? std::optional<QString>(text) : std::nullopt;
}

bool isText(const QVariant &value)
{
    const int type = value.typeId();
    return type == QMetaType::QString || type == QMetaType::QByteArray || type == QMetaType::QChar;
}

bool isSequence(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
    case QMetaType::QByteArrayList:
        return true;
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash:
        return false;
    default:
        return !isText(value) && value.canView<QSequentialIterable>();
    }
}

bool isDictionary(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash:
        return true;
    default:
        return !isText(value) && value.canView<QAssociativeIterable>();
    }
}

QString describeAt(const QVariant &value, int level);

QString describeSequence(const QVariant &value, int level)
{
    QStringList items;
    const QSequentialIterable iterable = value.value<QSequentialIterable>();
    for (const QVariant &item : iterable)
        items.append(indent(level + 1) + describeAt(item, level + 1));
    QString text = QStringLiteral("(\n");
    if (!items.isEmpty())
        text += items.join(QStringLiteral(",\n")) + QLatin1Char('\n');
    return text + indent(level) + QLatin1Char(')');
}

QString describeDictionary(const QVariant &value, int level)
{
    QList<std::pair<QString, QVariant>> entries;
    if (value.typeId() == QMetaType::QVariantMap) {
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            entries.append({it.key(), it.value()});
    } else {
        const QAssociativeIterable iterable = value.value<QAssociativeIterable>();
        for (auto it = iterable.begin(); it != iterable.end(); ++it)
            entries.append({describeAt(it.key(), level + 1), it.value()});
        // Hashes have no order of their own: sort by key so the text is stable.
        std::stable_sort(entries.begin(), entries.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
    }
    QString text = QStringLiteral("{\n");
    for (const auto &[key, item] : entries)
        text += indent(level + 1) + key + QStringLiteral(" = ") + describeAt(item, level + 1) +
                QStringLiteral(";\n");
    return text + indent(level) + QLatin1Char('}');
}

QString describeObject(const QVariant &value)
{
    QObject *object = qvariant_cast<QObject *>(value);
    if (!object)
        return QStringLiteral("(null)");
    if (auto text = invokableDescription(object->metaObject(), object, nullptr))
        return *text;
    return QStringLiteral("<%1: %2>")
        .arg(QString::fromUtf8(object->metaObject()->className()), pointerText(object));
}

QString describeGadget(const QVariant &value, const void *gadget)
{
    const QMetaObject *meta = value.metaType().metaObject();
    if (!gadget)
        return QStringLiteral("(null)");
    if (auto text = invokableDescription(meta, nullptr, gadget))
        return *text;
    return QStringLiteral("<%1: %2>").arg(QString::fromUtf8(meta->className()), pointerText(gadget));
}

QString describeAt(const QVariant &value, int level)
{
    if (!value.isValid())
        return QStringLiteral("(null)");
    if (const std::optional<QString> integer = integerText(value))
        return *integer;
    switch (value.typeId()) {
    case QMetaType::Nullptr:
        return QStringLiteral("<null>");
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QChar:
        return QString(value.toChar());
    case QMetaType::QByteArray:
        return hexBytes(value.toByteArray());
    case QMetaType::Char16:
    case QMetaType::Char32:
        return QString::number(value.toULongLong());
    case QMetaType::Double:
        return shortestNumber(value.toDouble());
    case QMetaType::Float:
        return shortestNumber(value.toFloat());
    case QMetaType::QDateTime:
        return value.toDateTime().toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss +0000"));
    case QMetaType::QUrl:
        return value.toUrl().toString();
    default:
        break;
    }
    const QMetaType::TypeFlags flags = value.metaType().flags();
    if (flags.testFlag(QMetaType::PointerToQObject))
        return describeObject(value);
    if (flags.testFlag(QMetaType::PointerToGadget) && value.metaType().metaObject())
        return describeGadget(value, *static_cast<const void *const *>(value.constData()));
    if (flags.testFlag(QMetaType::IsGadget) && value.metaType().metaObject())
        return describeGadget(value, value.constData());
    if (flags.testFlag(QMetaType::IsEnumeration))
        return QString::number(value.toLongLong());
    if (isDictionary(value))
        return describeDictionary(value, level);
    if (isSequence(value))
        return describeSequence(value, level);
    if (flags.testFlag(QMetaType::IsPointer))
        return pointerText(*static_cast<const void *const *>(value.constData()));
    if (value.canConvert<QString>())
        return value.toString();
    return QStringLiteral("<%1>").arg(QString::fromUtf8(value.metaType().name()));
}

// ---- format ----

struct Spec
{
    bool left = false;
    bool plus = false;
    bool space = false;
    bool zero = false;
    bool alternate = false;
    int width = 0;
    int precision = -1;
    QString length; // "", "h", "hh", "l", "ll", "q", "L", "z", "j", "t"
    QChar conversion;
};

// The integer kinds a %d, %u or %x conversion takes as they are: char16_t and char32_t too.
bool isIntegerArgumentType(int type)
{
    return isIntegerType(type) || type == QMetaType::Char16 || type == QMetaType::Char32;
}

qint64 clampedInteger(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= 9.2233720368547758e18)
        return std::numeric_limits<qint64>::max();
    if (d <= -9.2233720368547758e18)
        return std::numeric_limits<qint64>::min();
    return qint64(d);
}

// The argument's integer value as 64 bits (unsigned values keep their bits).
quint64 integerBits(const QVariant &arg)
{
    const int type = arg.typeId();
    if (type == QMetaType::ULongLong || type == QMetaType::ULong)
        return arg.toULongLong();
    if (isIntegerArgumentType(type))
        return quint64(arg.toLongLong());
    if (type == QMetaType::Double || type == QMetaType::Float)
        return quint64(clampedInteger(arg.toDouble()));
    if (type == QMetaType::QChar)
        return arg.toChar().unicode();
    if (type == QMetaType::QString || type == QMetaType::QByteArray) {
        const QString text = arg.toString().trimmed();
        bool ok = false;
        const qint64 n = text.toLongLong(&ok);
        if (ok)
            return quint64(n);
        const quint64 u = text.toULongLong(&ok);
        if (ok)
            return u;
        const double d = text.toDouble(&ok);
        return ok ? quint64(clampedInteger(d)) : 0;
    }
    const QMetaType::TypeFlags flags = arg.metaType().flags();
    if (flags.testFlag(QMetaType::IsEnumeration))
        return quint64(arg.toLongLong());
    if (flags.testFlag(QMetaType::IsPointer) || flags.testFlag(QMetaType::PointerToQObject))
        return quintptr(*static_cast<const void *const *>(arg.constData()));
    bool ok = false;
    const qint64 n = arg.toLongLong(&ok);
    return ok ? quint64(n) : 0;
}

bool isUnsignedType(int type)
{
    return type == QMetaType::ULongLong || type == QMetaType::ULong || type == QMetaType::UInt ||
           type == QMetaType::UShort || type == QMetaType::UChar;
}

double doubleValue(const QVariant &arg)
{
    const int type = arg.typeId();
    if (type == QMetaType::Double || type == QMetaType::Float)
        return arg.toDouble();
    if (type == QMetaType::ULongLong || type == QMetaType::ULong)
        return double(arg.toULongLong());
    if (isIntegerArgumentType(type) || arg.metaType().flags().testFlag(QMetaType::IsEnumeration))
        return double(arg.toLongLong());
    if (type == QMetaType::QString || type == QMetaType::QByteArray) {
        bool ok = false;
        const double d = arg.toString().trimmed().toDouble(&ok);
        return ok ? d : 0.0;
    }
    bool ok = false;
    const double d = arg.toDouble(&ok);
    return ok ? d : 0.0;
}

QString padded(const QString &prefix, const QString &body, const Spec &spec, bool zeroPadAllowed)
{
    const qsizetype length = prefix.size() + body.size();
    if (length >= spec.width)
        return prefix + body;
    const qsizetype fill = spec.width - length;
    if (spec.left)
        return prefix + body + QString(fill, QLatin1Char(' '));
    if (spec.zero && zeroPadAllowed)
        return prefix + QString(fill, QLatin1Char('0')) + body;
    return QString(fill, QLatin1Char(' ')) + prefix + body;
}

QString withPrecision(QString digits, const Spec &spec)
{
    if (spec.precision == 0 && digits == QLatin1String("0"))
        return QString();
    if (spec.precision > digits.size())
        digits.prepend(QString(spec.precision - digits.size(), QLatin1Char('0')));
    return digits;
}

QString formatSigned(const QVariant &arg, const Spec &spec)
{
    qint64 value = 0;
    if (isUnsignedType(arg.typeId()) && arg.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
        value = std::numeric_limits<qint64>::max();
    else
        value = qint64(integerBits(arg));
    if (spec.length == QLatin1String("hh"))
        value = static_cast<signed char>(value);
    else if (spec.length == QLatin1String("h"))
        value = static_cast<short>(value);
    const bool negative = value < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(value) : quint64(value);
    const QString sign = negative     ? QStringLiteral("-")
                         : spec.plus  ? QStringLiteral("+")
                         : spec.space ? QStringLiteral(" ")
                                      : QString();
    return padded(sign, withPrecision(QString::number(magnitude), spec), spec, spec.precision < 0);
}

quint64 unsignedValue(const QVariant &arg, const Spec &spec)
{
    quint64 bits = integerBits(arg);
    const bool negative = !isUnsignedType(arg.typeId()) && qint64(bits) < 0;
    if (spec.length == QLatin1String("hh"))
        return quint8(bits);
    if (spec.length == QLatin1String("h"))
        return quint16(bits);
    // A negative value wraps at the width the length names (an int without one).
    if (negative && spec.length.isEmpty())
        return quint32(bits);
    return bits;
}

QString formatUnsigned(const QVariant &arg, const Spec &spec)
{
    const quint64 value = unsignedValue(arg, spec);
    const char c = spec.conversion.toLatin1();
    int base = 10;
    QString prefix;
    if (c == 'x' || c == 'X') {
        base = 16;
        if (spec.alternate && value != 0)
            prefix = c == 'x' ? QStringLiteral("0x") : QStringLiteral("0X");
    } else if (c == 'o') {
        base = 8;
    }
    QString digits = withPrecision(QString::number(value, base), spec);
    if (c == 'X')
        digits = digits.toUpper();
    if (c == 'o' && spec.alternate && !digits.startsWith(QLatin1Char('0')))
        digits.prepend(QLatin1Char('0'));
    return padded(prefix, digits, spec, spec.precision < 0);
}

QString formatFloating(const QVariant &arg, const Spec &spec)
{
    // The spec is rebuilt from checked parts only, and printed in the C locale
    // whatever the process's numeric locale is.
    QByteArray cspec = "%";
    if (spec.left)
        cspec += '-';
    if (spec.plus)
        cspec += '+';
    if (spec.space)
        cspec += ' ';
    if (spec.zero)
        cspec += '0';
    if (spec.alternate)
        cspec += '#';
    if (spec.width > 0)
        cspec += QByteArray::number(std::min(spec.width, 4096));
    if (spec.precision >= 0)
        cspec += '.' + QByteArray::number(std::min(spec.precision, 512));
    cspec += spec.conversion.toLatin1();

    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const locale_t previous = uselocale(cLocale);
    const double value = doubleValue(arg);
    const int size = std::snprintf(nullptr, 0, cspec.constData(), value);
    QByteArray buffer(std::max(size, 0) + 1, '\0');
    std::snprintf(buffer.data(), size_t(buffer.size()), cspec.constData(), value);
    uselocale(previous);
    return QString::fromLatin1(buffer.constData(), std::max(size, 0));
}

QString textOf(const QVariant &arg)
{
    switch (arg.typeId()) {
    case QMetaType::QString:
        return arg.toString();
    case QMetaType::QByteArray:
        return QString::fromUtf8(arg.toByteArray());
    default:
        return describe(arg);
    }
}

QString formatText(const QString &text, const Spec &spec)
{
    const QString body = spec.precision >= 0 ? text.left(spec.precision) : text;
    return padded(QString(), body, spec, false);
}

QString formatCharacter(const QVariant &arg, const Spec &spec)
{
    QString text;
    switch (arg.typeId()) {
    case QMetaType::QChar:
        text = QString(arg.toChar());
        break;
    case QMetaType::QString:
        text = arg.toString().left(1);
        break;
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        text = QString(QLatin1Char(char(arg.toInt())));
        break;
    default: {
        const char32_t code = char32_t(integerBits(arg));
        text = QString::fromUcs4(&code, 1);
        break;
    }
    }
    return padded(QString(), text, spec, false);
}

QString formatPointer(const QVariant &arg, const Spec &spec)
{
    return padded(QString(), pointerText(reinterpret_cast<const void *>(quintptr(integerBits(arg)))), spec,
                  false);
}

// Reads the flags, width, precision and length of a conversion from position i, up to
// its conversion character; answers the position of that character (n when the text ends).
qsizetype readSpec(const QString &fmt, qsizetype i, Spec &spec)
{
    const qsizetype n = fmt.size();
    for (; i < n; ++i) {
        const QChar f = fmt.at(i);
        if (f == QLatin1Char('-'))
            spec.left = true;
        else if (f == QLatin1Char('+'))
            spec.plus = true;
        else if (f == QLatin1Char(' '))
            spec.space = true;
        else if (f == QLatin1Char('0'))
            spec.zero = true;
        else if (f == QLatin1Char('#'))
            spec.alternate = true;
        else
            break;
    }
    for (; i < n && fmt.at(i).isDigit(); ++i)
        spec.width = std::min(spec.width * 10 + fmt.at(i).digitValue(), 100000);
    if (i < n && fmt.at(i) == QLatin1Char('.')) {
        spec.precision = 0;
        for (++i; i < n && fmt.at(i).isDigit(); ++i)
            spec.precision = std::min(spec.precision * 10 + fmt.at(i).digitValue(), 100000);
    }
    static const char *const lengths[] = {"hh", "ll", "h", "l", "q", "L", "z", "j", "t"};
    for (const char *length : lengths) {
        const QLatin1String l(length);
        if (fmt.mid(i, l.size()) == l) {
            spec.length = l;
            i += l.size();
            break;
        }
    }
    return i;
}

QString formatArgument(const QVariant &arg, const Spec &spec)
{
    switch (spec.conversion.toLatin1()) {
    case '@':
        return formatText(describe(arg), spec);
    case 'd':
    case 'i':
        return formatSigned(arg, spec);
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        return formatUnsigned(arg, spec);
    case 's':
        return formatText(arg.isValid() ? textOf(arg) : QStringLiteral("(null)"), spec);
    case 'c':
        return formatCharacter(arg, spec);
    case 'p':
        return formatPointer(arg, spec);
    default:
        return formatFloating(arg, spec);
    }
}

} // namespace

std::optional<QString> integerText(const QVariant &value)
{
    const int type = value.typeId();
    if (!isIntegerType(type))
        return std::nullopt;
    if (type == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    if (isUnsignedType(type))
        return QString::number(value.toULongLong());
    return QString::number(value.toLongLong());
}

QString describe(const QVariant &value)
{
    return describeAt(value, 0);
}

QString formatList(const char *format, const QVariantList &args)
{
    const QString fmt = QString::fromUtf8(format ? format : "");
    const qsizetype n = fmt.size();
    QString out;
    out.reserve(n + 16 * args.size());
    qsizetype next = 0;

    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = fmt.at(i);
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        const qsizetype start = i++;
        if (i >= n) {
            out += c;
            break;
        }
        if (fmt.at(i) == QLatin1Char('%')) {
            out += c;
            continue;
        }
        Spec spec;
        i = readSpec(fmt, i, spec);
        if (i >= n) {
            out += fmt.mid(start);
            break;
        }
        spec.conversion = fmt.at(i);
        static const QString conversions = QStringLiteral("@diuxXofFeEgGscp");
        if (!conversions.contains(spec.conversion)) {
            out += fmt.mid(start, i - start + 1);
            continue;
        }
        if (next >= args.size())
            continue; // a missing argument prints nothing
        out += formatArgument(args.at(next++), spec);
    }
    return out;
}

} // namespace Bastwick

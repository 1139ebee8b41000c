#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QLatin1String>
#include <QtCore/QString>
#include <QtCore/QStringView>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace Bastwick {

// The platform's description text of a value: strings as they are, numbers in their
// kind's form (integers plainly, booleans as 1 and 0, doubles in the shortest form),
// nil as "(null)", the null marker as "<null>", bytes as "<0a0b0c0d 0e>", arrays as
// "(\n    a,\n    b\n)" and dictionaries as "{\n    key = value;\n}" (nested ones
// indented by four more spaces), objects through a Q_INVOKABLE description() when they
// have one, else "<ClassName: 0x...>".
BASTWICK_EXPORT QString describe(const QVariant &value);

// An integer value (bool, the char kinds, the signed and unsigned integer kinds) written
// in full: booleans as 1 and 0, unsigned values above the signed range as they are.
// Nothing for any other kind.
BASTWICK_EXPORT std::optional<QString> integerText(const QVariant &value);

// A type-safe printf subset over QVariant arguments, as the design texts write them:
// %@ (describe), %d %i %ld %li %lld %qi %hi (signed), %u %lu %llu %qu %hu (unsigned),
// %f %1.1f %.2f ... (fixed, with width/precision), %e %g, %s (text), %c, %x %02x %X
// (hexadecimal), %o (octal), %p (pointer value, 0x-prefixed hex), %% (percent sign).
// Flags "-", "+", " ", "0" and "#" and a width and precision work as in printf.
// An argument of the wrong kind is converted; a missing argument prints nothing; an
// unknown conversion is copied as it stands.
// The format is always a literal of the program: user data is passed as an argument.
BASTWICK_EXPORT QString formatList(const char *format, const QVariantList &args);

// How one argument of format() travels: texts of every kind as QString, enumerations as
// their integer value, everything else as QVariant::fromValue.
template <class T> QVariant toFormatArg(const T &value)
{
    if constexpr (std::is_enum_v<T>)
        return QVariant::fromValue(static_cast<qint64>(value));
    else
        return QVariant::fromValue(value);
}
inline QVariant toFormatArg(const QVariant &value)
{
    return value;
}
inline QVariant toFormatArg(const char *text)
{
    return text ? QVariant(QString::fromUtf8(text)) : QVariant();
}
inline QVariant toFormatArg(char *text)
{
    return toFormatArg(static_cast<const char *>(text));
}
template <std::size_t N> QVariant toFormatArg(const char (&text)[N])
{
    return QString::fromUtf8(text, qsizetype(std::char_traits<char>::length(text)));
}
template <std::size_t N> QVariant toFormatArg(char (&text)[N])
{
    return QString::fromUtf8(text, qsizetype(std::char_traits<char>::length(text)));
}
inline QVariant toFormatArg(const std::string &text)
{
    return QString::fromStdString(text);
}
inline QVariant toFormatArg(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
inline QVariant toFormatArg(QLatin1String text)
{
    return QString(text);
}
inline QVariant toFormatArg(QStringView text)
{
    return text.toString();
}

template <class... Args> QString format(const char *fmt, const Args &...args)
{
    return formatList(fmt, QVariantList{toFormatArg(args)...});
}
inline QString format(const char *fmt)
{
    return formatList(fmt, {});
}

} // namespace Bastwick

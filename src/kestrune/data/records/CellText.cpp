#include <kestrune/data/records/CellText.h>

#include <kestrune/data/records/DerazCommandLine.h>

#include <bastwick/ByteText.h>

#include <limits>
#include <optional>

namespace Kestrune {

namespace {

// The bytes of a typed text in the quoted form: one quoted token that makes the whole
// text and reads as something other than itself.
std::optional<QByteArray> quotedBytes(const QByteArray &typed)
{
    if (!typed.startsWith('"'))
        return std::nullopt;
    const QList<QByteArray> arguments = DerazCommandLine::split(typed);
    if (arguments.size() != 1 || arguments.first() == typed)
        return std::nullopt;
    return arguments.first();
}

bool isPlainText(const QByteArray &bytes)
{
    if (!Bastwick::isValidUtf8(bytes))
        return false;
    for (const char c : bytes) {
        const auto u = uchar(c);
        if (u < 0x20 || u == 0x7F)
            return false;
    }
    return !quotedBytes(bytes);
}

} // namespace

QString cellText(const QByteArray &bytes)
{
    if (isPlainText(bytes))
        return Bastwick::textFromBytes(bytes);
    return Bastwick::textFromBytes(DerazCommandLine::quote(bytes));
}

QString displayText(const QByteArray &bytes)
{
    return bytes.isEmpty() ? QStringLiteral("\"\"") : cellText(bytes);
}

QByteArray bytesFromCellText(const QString &text)
{
    const QByteArray typed = Bastwick::bytesFromText(text);
    if (const std::optional<QByteArray> decoded = quotedBytes(typed))
        return nonNullBytes(*decoded);
    return nonNullBytes(typed);
}

qint64 integerValue(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    constexpr qint64 max = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (; i < n && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        const int digit = text.at(i).unicode() - u'0';
        value = value > (max - digit) / 10 ? max : value * 10 + digit;
    }
    return negative ? -value : value;
}

bool isBlank(const QByteArray &bytes)
{
    return Bastwick::textFromBytes(bytes).trimmed().isEmpty();
}

QByteArray nonNullBytes(const QByteArray &bytes)
{
    return bytes.isNull() ? QByteArray("") : bytes;
}

} // namespace Kestrune

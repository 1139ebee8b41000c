#include <kestrune/data/records/DerazCommandLine.h>

#include <bastwick/platform/Log.h>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes a quoted token starting at line[start] == '"'. On success stores the argument,
// sets end to the position just after the closing quote and answers true. Answers false
// when the token has an unknown escape, no closing quote, or a closing quote that is
// followed by something other than a blank or the end of the line.
bool decodeQuoted(const QByteArray &line, qsizetype start, QByteArray *argument, qsizetype *end)
{
    const qsizetype n = line.size();
    QByteArray out;
    for (qsizetype i = start + 1; i < n; ++i) {
        const char c = line[i];
        if (c == '"') {
            if (i + 1 < n && line[i + 1] != ' ')
                return false;
            *argument = out;
            *end = i + 1;
            return true;
        }
        if (c != '\\') {
            out.append(c);
            continue;
        }
        if (i + 1 >= n)
            return false;
        const char e = line[++i];
        switch (e) {
        case '"':
            out.append('"');
            break;
        case '\\':
            out.append('\\');
            break;
        case 'n':
            out.append('\n');
            break;
        case 'r':
            out.append('\r');
            break;
        case 't':
            out.append('\t');
            break;
        case 'x': {
            if (i + 2 >= n)
                return false;
            const int hi = hexValue(line[i + 1]);
            const int lo = hexValue(line[i + 2]);
            if (hi < 0 || lo < 0)
                return false;
            out.append(char(hi * 16 + lo));
            i += 2;
            break;
        }
        default:
            return false;
        }
    }
    return false;
}

// Length of the valid UTF-8 sequence at s[i], or 0 when the bytes there are not one
// (overlong forms, encoded surrogates, code points above U+10FFFF, truncated sequences).
int utf8SequenceLength(const uchar *s, qsizetype i, qsizetype n, uint *codePoint)
{
    const uchar b = s[i];
    if (b < 0x80) {
        *codePoint = b;
        return 1;
    }
    int len;
    uint cp;
    uint min;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        cp = b & 0x1F;
        min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        cp = b & 0x0F;
        min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        cp = b & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > n)
        return 0;
    for (int k = 1; k < len; ++k) {
        const uchar c = s[i + k];
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    *codePoint = cp;
    return len;
}

bool isWhiteSpace(uint codePoint)
{
    return QChar::isSpace(char32_t(codePoint));
}

} // namespace

namespace DerazCommandLine {

QList<QByteArray> split(const QByteArray &line)
{
    QList<QByteArray> arguments;
    if (line.isEmpty())
        return arguments;
    const qsizetype n = line.size();
    qsizetype pos = 0;
    while (true) {
        QByteArray argument;
        qsizetype end = -1;
        if (line[pos] == '"' && decodeQuoted(line, pos, &argument, &end)) {
            arguments.append(argument);
        } else {
            end = line.indexOf(' ', pos);
            if (end < 0)
                end = n;
            arguments.append(line.mid(pos, end - pos));
        }
        // end is at a blank or at the end of the line.
        if (end >= n)
            break;
        pos = end + 1;
        if (pos >= n) {
            arguments.append(QByteArray()); // a trailing blank ends one more, empty argument
            break;
        }
    }
    return arguments;
}

void appendQuoted(QByteArray &out, QByteArrayView argument)
{
    const auto *s = reinterpret_cast<const uchar *>(argument.data());
    const qsizetype n = argument.size();
    bool plain = n > 0;
    bool first = true;
    uint lastCodePoint = 0;
    for (qsizetype i = 0; plain && i < n;) {
        // Printable ASCII other than the blank, the quote and the backslash stands as it is.
        if (s[i] > ' ' && s[i] < 0x7F && s[i] != '"' && s[i] != '\\') {
            first = false;
            lastCodePoint = s[i++];
            continue;
        }
        uint cp = 0;
        const int len = utf8SequenceLength(s, i, n, &cp);
        if (len == 0 || cp < 0x20 || cp == 0x7F || cp == ' ' || cp == '"' || cp == '\\' ||
            (first && isWhiteSpace(cp))) {
            plain = false;
            break;
        }
        first = false;
        lastCodePoint = cp;
        i += len;
    }
    if (plain && isWhiteSpace(lastCodePoint))
        plain = false;
    if (plain) {
        out.append(argument);
        return;
    }

    static const char hex[] = "0123456789abcdef";
    out.append('"');
    for (qsizetype i = 0; i < n;) {
        uint cp = 0;
        const int len = utf8SequenceLength(s, i, n, &cp);
        if (len == 0) {
            const char escape[] = {'\\', 'x', hex[s[i] >> 4], hex[s[i] & 0xF]};
            out.append(escape, 4);
            ++i;
            continue;
        }
        switch (cp) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (cp < 0x20 || cp == 0x7F) {
                const char escape[] = {'\\', 'x', hex[cp >> 4], hex[cp & 0xF]};
                out.append(escape, 4);
            } else {
                out.append(reinterpret_cast<const char *>(s + i), len);
            }
        }
        i += len;
    }
    out.append('"');
}

QByteArray quote(const QByteArray &argument)
{
    QByteArray out;
    appendQuoted(out, argument);
    return out;
}

void appendLine(QByteArray &out, std::initializer_list<QByteArrayView> arguments)
{
    bool first = true;
    for (const QByteArrayView argument : arguments) {
        if (!first)
            out.append(' ');
        first = false;
        appendQuoted(out, argument);
    }
    out.append('\n');
}

QByteArray joinLine(const QList<QByteArray> &arguments)
{
    QByteArray line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i > 0)
            line.append(' ');
        appendQuoted(line, arguments[i]);
    }
    return line;
}

} // namespace DerazCommandLine

QString DerazCommandLine::logSummary(const QList<QByteArray> &arguments)
{
    if (arguments.isEmpty())
        return QStringLiteral("(empty command)");
    constexpr int kWordLimit = 40;
    const qsizetype rest = arguments.size() - 1;
    return QStringLiteral("%1 + %2 argument%3")
        .arg(Bastwick::logText(arguments.constFirst(), kWordLimit))
        .arg(rest)
        .arg(rest == 1 ? QString() : QStringLiteral("s"));
}

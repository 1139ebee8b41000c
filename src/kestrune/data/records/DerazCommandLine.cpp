#include <kestrune/data/records/DerazCommandLine.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/Log.h>

#include <cstring>

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

// Decodes a quoted token starting at line[start] == '"', appending the argument to
// scratch. On success sets end to the position just after the closing quote and answers
// true. Answers false, with scratch as it was, when the token has an unknown escape, no
// closing quote, or a closing quote that is followed by something other than a blank or
// the end of the line. The argument is never longer than the token.
bool decodeQuoted(QByteArrayView line, qsizetype start, std::string &scratch, qsizetype *end)
{
    const qsizetype n = line.size();
    const char *s = line.data();
    const size_t before = scratch.size();
    const auto refuse = [&] {
        scratch.resize(before);
        return false;
    };
    qsizetype i = start + 1;
    while (i < n) {
        // Plain bytes up to the next quote or backslash go in as one run.
        qsizetype run = i;
        while (run < n && s[run] != '"' && s[run] != '\\')
            ++run;
        scratch.append(s + i, size_t(run - i));
        i = run;
        if (i >= n)
            break;
        if (s[i] == '"') {
            if (i + 1 < n && s[i + 1] != ' ')
                return refuse();
            *end = i + 1;
            return true;
        }
        if (i + 1 >= n)
            return refuse();
        const char e = s[++i];
        switch (e) {
        case '"':
        case '\\':
            scratch.push_back(e);
            break;
        case 'n':
            scratch.push_back('\n');
            break;
        case 'r':
            scratch.push_back('\r');
            break;
        case 't':
            scratch.push_back('\t');
            break;
        case 'x': {
            if (i + 2 >= n)
                return refuse();
            const int hi = hexValue(s[i + 1]);
            const int lo = hexValue(s[i + 2]);
            if (hi < 0 || lo < 0)
                return refuse();
            scratch.push_back(char(hi * 16 + lo));
            i += 2;
            break;
        }
        default:
            return refuse();
        }
        ++i;
    }
    return refuse();
}

// Length of the valid UTF-8 sequence at s[i] (1 for ASCII), or 0 when the bytes there are
// not one (overlong forms, encoded surrogates, code points above U+10FFFF, truncated
// sequences): the same rules as the lossless decoding.
int utf8SequenceLength(const uchar *s, qsizetype i, qsizetype n, uint *codePoint)
{
    if (s[i] < 0x80) {
        *codePoint = s[i];
        return 1;
    }
    char32_t cp = 0;
    const int len = Bastwick::utf8SequenceLength(s + i, s + n, &cp);
    *codePoint = uint(cp);
    return len;
}

bool isWhiteSpace(uint codePoint)
{
    return QChar::isSpace(char32_t(codePoint));
}

// Whether the argument is written as it stands: not empty, no blank, quote, backslash or
// control character, valid UTF-8, and no white space at either end.
bool standsPlain(QByteArrayView argument)
{
    const auto *s = reinterpret_cast<const uchar *>(argument.data());
    const qsizetype n = argument.size();
    if (n == 0)
        return false;
    bool first = true;
    uint lastCodePoint = 0;
    for (qsizetype i = 0; i < n;) {
        // Printable ASCII other than the blank, the quote and the backslash stands as it is.
        if (s[i] > ' ' && s[i] < 0x7F && s[i] != '"' && s[i] != '\\') {
            first = false;
            lastCodePoint = s[i++];
            continue;
        }
        uint cp = 0;
        const int len = utf8SequenceLength(s, i, n, &cp);
        if (len == 0 || cp < 0x20 || cp == 0x7F || cp == ' ' || cp == '"' || cp == '\\' ||
            (first && isWhiteSpace(cp)))
            return false;
        first = false;
        lastCodePoint = cp;
        i += len;
    }
    return !isWhiteSpace(lastCodePoint);
}

} // namespace

namespace DerazCommandLine {

void splitInPlace(QByteArrayView line, std::vector<QByteArrayView> &arguments, std::string &scratch)
{
    arguments.clear();
    scratch.clear();
    if (line.isEmpty())
        return;
    // Decoded arguments are never longer than their tokens: with room for the whole line,
    // scratch never moves, so the views into it stay valid.
    scratch.reserve(size_t(line.size()));
    const qsizetype n = line.size();
    const char *s = line.data();
    qsizetype pos = 0;
    while (true) {
        qsizetype end = -1;
        const size_t decoded = scratch.size();
        if (s[pos] == '"' && decodeQuoted(line, pos, scratch, &end)) {
            arguments.emplace_back(scratch.data() + decoded, qsizetype(scratch.size() - decoded));
        } else {
            const void *blank = std::memchr(s + pos, ' ', size_t(n - pos));
            end = blank ? static_cast<const char *>(blank) - s : n;
            arguments.emplace_back(s + pos, end - pos);
        }
        // end is at a blank or at the end of the line.
        if (end >= n)
            break;
        pos = end + 1;
        if (pos >= n) {
            arguments.emplace_back(); // a trailing blank ends one more, empty argument
            break;
        }
    }
}

QList<QByteArray> split(const QByteArray &line)
{
    std::vector<QByteArrayView> views;
    std::string scratch;
    splitInPlace(line, views, scratch);
    QList<QByteArray> arguments;
    arguments.reserve(qsizetype(views.size()));
    for (const QByteArrayView view : views)
        arguments.append(view.toByteArray());
    return arguments;
}

void appendQuoted(QByteArray &out, QByteArrayView argument)
{
    if (standsPlain(argument)) {
        out.append(argument);
        return;
    }
    const auto *s = reinterpret_cast<const uchar *>(argument.data());
    const qsizetype n = argument.size();
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

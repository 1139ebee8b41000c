#include <bastwick/ByteText.h>

#include <QtCore/QStringConverter>

#include <cstring>

namespace Bastwick {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr quint64 kHighBits = 0x8080808080808080ULL;

// The length (2-4) of the valid UTF-8 sequence that starts at p, whose first byte is
// 0x80 or above, and its code point; 0 when the bytes there are not valid UTF-8.
inline int decodeSequence(const uchar *p, const uchar *end, char32_t &codePoint)
{
    const uchar b0 = p[0];
    const qsizetype available = end - p;
    if (b0 < 0xC2) // a continuation byte, or C0/C1 that only start overlong forms
        return 0;
    if (b0 < 0xE0) {
        if (available < 2 || (p[1] & 0xC0) != 0x80)
            return 0;
        codePoint = (char32_t(b0 & 0x1F) << 6) | char32_t(p[1] & 0x3F);
        return 2;
    }
    if (b0 < 0xF0) {
        if (available < 3)
            return 0;
        // E0 needs A0..BF next (no overlong forms), ED needs 80..9F (no surrogates).
        const uchar low = b0 == 0xE0 ? 0xA0 : 0x80;
        const uchar high = b0 == 0xED ? 0x9F : 0xBF;
        if (p[1] < low || p[1] > high || (p[2] & 0xC0) != 0x80)
            return 0;
        codePoint = (char32_t(b0 & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | char32_t(p[2] & 0x3F);
        return 3;
    }
    if (b0 < 0xF5) {
        if (available < 4)
            return 0;
        // F0 needs 90..BF next (no overlong forms), F4 needs 80..8F (nothing above U+10FFFF).
        const uchar low = b0 == 0xF0 ? 0x90 : 0x80;
        const uchar high = b0 == 0xF4 ? 0x8F : 0xBF;
        if (p[1] < low || p[1] > high || (p[2] & 0xC0) != 0x80 || (p[3] & 0xC0) != 0x80)
            return 0;
        codePoint = (char32_t(b0 & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) |
                    (char32_t(p[2] & 0x3F) << 6) | char32_t(p[3] & 0x3F);
        return 4;
    }
    return 0; // F5..FF never start a sequence
}

inline bool allAscii8(const uchar *p)
{
    quint64 word;
    std::memcpy(&word, p, sizeof word);
    return (word & kHighBits) == 0;
}

inline uchar *writeReplacement(uchar *out)
{
    *out++ = 0xEF;
    *out++ = 0xBF;
    *out++ = 0xBD;
    return out;
}

} // namespace

int utf8SequenceLength(const uchar *p, const uchar *end, char32_t *codePoint)
{
    return decodeSequence(p, end, *codePoint);
}

QString textFromBytes(const QByteArray &bytes)
{
    if (bytes.isNull())
        return QString();
    return textFromBytes(bytes.constData(), bytes.size());
}

QString textFromBytes(const char *data, qsizetype size)
{
    if (!data)
        return QString();
    if (size <= 0)
        return QStringLiteral(""); // empty but not null, as QString::fromUtf8 answers

    // Every byte gives at most one UTF-16 unit (a four-byte sequence gives two).
    QString text(size, Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    const uchar *p = reinterpret_cast<const uchar *>(data);
    const uchar *const end = p + size;

    while (p < end) {
        while (end - p >= 8 && allAscii8(p)) {
            for (int k = 0; k < 8; ++k)
                out[k] = p[k];
            out += 8;
            p += 8;
        }
        if (p == end)
            break;
        const uchar b = *p;
        if (b < 0x80) {
            *out++ = b;
            ++p;
            continue;
        }
        char32_t codePoint = 0;
        const int length = decodeSequence(p, end, codePoint);
        if (length == 0) {
            *out++ = char16_t(kEscapeBase + b);
            ++p;
        } else if (codePoint >= 0x10000) {
            *out++ = QChar::highSurrogate(codePoint);
            *out++ = QChar::lowSurrogate(codePoint);
            p += length;
        } else {
            *out++ = char16_t(codePoint);
            p += length;
        }
    }
    text.resize(out - begin);
    return text;
}

QByteArray bytesFromText(const QString &text)
{
    if (text.isNull())
        return QByteArray();
    if (text.isEmpty())
        return QByteArray(""); // empty but not null, as QString::toUtf8 answers

    // At most three bytes per UTF-16 unit (a surrogate pair gives four for two units).
    QByteArray bytes(text.size() * 3, Qt::Uninitialized);
    uchar *const begin = reinterpret_cast<uchar *>(bytes.data());
    uchar *out = begin;
    const char16_t *s = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *const end = s + text.size();

    while (s < end) {
        const char16_t c = *s++;
        if (c < 0x80) {
            *out++ = uchar(c);
        } else if (c < 0x800) {
            *out++ = uchar(0xC0 | (c >> 6));
            *out++ = uchar(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c)) {
            if (s < end && QChar::isLowSurrogate(*s)) {
                const char32_t codePoint = QChar::surrogateToUcs4(c, *s++);
                *out++ = uchar(0xF0 | (codePoint >> 18));
                *out++ = uchar(0x80 | ((codePoint >> 12) & 0x3F));
                *out++ = uchar(0x80 | ((codePoint >> 6) & 0x3F));
                *out++ = uchar(0x80 | (codePoint & 0x3F));
            } else {
                out = writeReplacement(out);
            }
        } else if (QChar::isLowSurrogate(c)) {
            if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF)
                *out++ = uchar(c - kEscapeBase);
            else
                out = writeReplacement(out);
        } else {
            *out++ = uchar(0xE0 | (c >> 12));
            *out++ = uchar(0x80 | ((c >> 6) & 0x3F));
            *out++ = uchar(0x80 | (c & 0x3F));
        }
    }
    bytes.resize(out - begin);
    return bytes;
}

namespace {

// Walks the bytes as textFromBytes decodes them, counting the UTF-16 units of the text;
// with stopAtInvalid it stops at the first byte that is not valid UTF-8 and answers -1.
qsizetype decodedLength(const QByteArray &bytes, bool stopAtInvalid)
{
    const uchar *p = reinterpret_cast<const uchar *>(bytes.constData());
    const uchar *const end = p + bytes.size();
    qsizetype units = 0;
    while (p < end) {
        while (end - p >= 8 && allAscii8(p)) {
            p += 8;
            units += 8;
        }
        if (p == end)
            break;
        if (*p < 0x80) {
            ++p;
            ++units;
            continue;
        }
        char32_t codePoint = 0;
        const int length = decodeSequence(p, end, codePoint);
        if (length == 0) {
            if (stopAtInvalid)
                return -1;
            ++p;
            ++units;
        } else {
            p += length;
            units += codePoint >= 0x10000 ? 2 : 1;
        }
    }
    return units;
}

} // namespace

bool isValidUtf8(const QByteArray &bytes)
{
    return decodedLength(bytes, true) >= 0;
}

qsizetype textLength(const QByteArray &bytes)
{
    return decodedLength(bytes, false);
}

std::optional<QByteArray> utf8FromMarkedBytes(QByteArray bytes, QString *encodingName)
{
    const std::optional<QStringConverter::Encoding> encoding = QStringConverter::encodingForData(bytes);
    if (!encoding)
        return bytes;
    if (*encoding == QStringConverter::Utf8)
        return bytes.remove(0, 3);
    // Qt's decoders let a cut code unit and a lone surrogate through: both are checked here.
    const bool utf16 = *encoding == QStringConverter::Utf16 || *encoding == QStringConverter::Utf16LE ||
                       *encoding == QStringConverter::Utf16BE;
    QStringDecoder decoder(*encoding, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || bytes.size() % (utf16 ? 2 : 4) != 0 || !QStringView(text).isValidUtf16()) {
        if (encodingName)
            *encodingName = QString::fromLatin1(QStringConverter::nameForEncoding(*encoding));
        return std::nullopt;
    }
    return text.toUtf8();
}

} // namespace Bastwick

#include <bastwick/StringAdditions.h>

#include <bastwick/ByteText.h>
#include <bastwick/HexDigit_p.h>
#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QCryptographicHash>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonParseError>
#include <QtCore/QRegularExpression>
#include <QtCore/QStringDecoder>

#include <cstring>
#include <limits>

namespace Bastwick {

namespace {

// White space without line breaks: the space separators and the tab.
bool isBlank(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

// The leading integer of a text, as the platform's intValue reads it: white space, an
// optional sign, digits; 0 when there are none; clamped to the int range.
int leadingInt(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    qint64 value = 0;
    while (i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9') {
        value = value * 10 + (text.at(i).unicode() - u'0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            value = qint64(std::numeric_limits<int>::max()) + 1;
        ++i;
    }
    if (negative)
        value = -value;
    return int(
        qBound(qint64(std::numeric_limits<int>::min()), value, qint64(std::numeric_limits<int>::max())));
}

// "%" and two hexadecimal digits become that byte; any other "%" stays as it is.
QString percentDecoded(const QString &part, QStringConverter::Encoding encoding)
{
    const QByteArray raw = bytesFromText(part);
    QByteArray bytes;
    bytes.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) == '%' && i + 2 < raw.size()) {
            const int high = hexDigitValue(uchar(raw.at(i + 1)));
            const int low = hexDigitValue(uchar(raw.at(i + 2)));
            if (high >= 0 && low >= 0) {
                bytes.append(char(high * 16 + low));
                i += 2;
                continue;
            }
        }
        bytes.append(raw.at(i));
    }
    if (encoding == QStringConverter::Utf8)
        return textFromBytes(bytes);
    QStringDecoder decoder(encoding);
    return decoder.decode(bytes);
}

// Optional sign and digits, the whole text.
bool readsAsInteger(QStringView text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    const qsizetype digitsFrom = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    return i > digitsFrom && i == text.size();
}

// Optional sign, digits with an optional decimal point (at least one digit), an optional
// exponent, the whole text.
bool readsAsDecimal(QStringView text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        const qsizetype exponentFrom = i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            ++i;
        if (i == exponentFrom)
            return false;
    }
    return i == text.size();
}

const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The 6-bit value of an ASCII character of the alphabet, or -1.
int base64Value(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 26;
    if (c >= u'0' && c <= u'9')
        return c - u'0' + 52;
    if (c == u'+')
        return 62;
    if (c == u'/')
        return 63;
    return -1;
}

QString md5Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

} // namespace

bool isWhitespaceAndNewlines(const QString &text)
{
    for (QChar c : text) {
        if (!c.isSpace())
            return false;
    }
    return true;
}

QString trim(const QString &text)
{
    return text.trimmed();
}

bool isEmptyOrWhitespace(const QString &text)
{
    for (QChar c : text) {
        if (!isBlank(c))
            return false;
    }
    return true;
}

bool isEmpty2(const QString &text)
{
    return isWhitespaceAndNewlines(text);
}

QString removeAllWhiteSpace(const QString &text)
{
    QString result = text;
    result.remove(u' ');
    return result;
}

bool containsString(const QString &text, const QString &part)
{
    return indexOfString(text, part) >= 0;
}

qsizetype indexOfString(const QString &text, const QString &part)
{
    if (part.isEmpty())
        return -1;
    return text.indexOf(part);
}

bool isExsistPath(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool isFilePath(const QString &path)
{
    return !isExsistPath(path);
}

bool isImageFile(const QString &path)
{
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QString extension = name.mid(dot + 1).toLower();
    return extension.endsWith(QLatin1String("png")) || extension.endsWith(QLatin1String("jpg")) ||
           extension.endsWith(QLatin1String("tiff"));
}

bool isValidEmail(const QString &text)
{
    if (text.isEmpty())
        return false;
    // Compiled once, before any thread can use it.
    static const QRegularExpression pattern = [] {
        QRegularExpression regex(QStringLiteral("[A-Z0-9a-z._%+-]+@[A-Za-z0-9.-]+\\.[A-Za-z]{2,4}"),
                                 QRegularExpression::CaseInsensitiveOption |
                                     QRegularExpression::UseUnicodePropertiesOption);
        regex.optimize();
        return regex;
    }();
    qint64 count = 0;
    auto it = pattern.globalMatch(text);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    XXXLog(QString::number(count));
    return count != 0;
}

bool canConvertTo(const QString &text, const QString &typeWord)
{
    const QString body = text.trimmed();
    const bool integer = typeWord == QLatin1String("INTEGER") || typeWord == QLatin1String("BOOL");
    const bool decimal = typeWord == QLatin1String("FLOAT") || typeWord == QLatin1String("DOUBLE");
    if (!integer && !decimal)
        return false;
    return integer ? readsAsInteger(body) : readsAsDecimal(body);
}

QString scheme(const QString &text)
{
    const qsizetype at = text.indexOf(QLatin1String("://"));
    return at < 0 ? QString() : text.left(at + 3);
}

QString path(const QString &text)
{
    const qsizetype at = text.indexOf(QLatin1String("://"));
    return at < 0 ? QString() : text.mid(at + 3);
}

QVariantMap queryDictionaryUsingEncoding(const QString &text, QStringConverter::Encoding encoding)
{
    QVariantMap query;
    QStringList pairs;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text.at(i) == u'&' || text.at(i) == u';') {
            if (i > from)
                pairs.append(text.mid(from, i - from));
            from = i + 1;
        }
    }
    for (const QString &pair : std::as_const(pairs)) {
        const QStringList parts = pair.split(u'=');
        if (parts.size() != 2)
            continue;
        query.insert(percentDecoded(parts.at(0), encoding), percentDecoded(parts.at(1), encoding));
    }
    return query;
}

QString stringByAddingQueryDictionary(const QString &text, const QVariantMap &query)
{
    QStringList pairs;
    for (auto it = query.cbegin(); it != query.cend(); ++it) {
        QString value = describe(it.value());
        value.replace(u'?', QLatin1String("%3F"));
        value.replace(u'=', QLatin1String("%3D"));
        pairs.append(it.key() + u'=' + value);
    }
    const QString joined = pairs.join(u'&');
    return text + (text.contains(u'?') ? u'&' : u'?') + joined;
}

int versionStringCompare(const QString &version, const QString &other)
{
    const QStringList mine = version.split(u'a');
    const QStringList theirs = other.split(u'a');
    const int release = QString::compare(mine.first(), theirs.first());
    if (release != 0)
        return release < 0 ? -1 : 1;
    if (mine.size() < theirs.size())
        return 1; // a final release comes after its pre-releases
    if (mine.size() > theirs.size())
        return -1;
    if (mine.size() == 1)
        return 0;
    const int a = leadingInt(mine.at(1));
    const int b = leadingInt(theirs.at(1));
    return a < b ? -1 : (a > b ? 1 : 0);
}

QString stringFromFileSize(qint64 size)
{
    if (size < 1023)
        return QString::number(size) + QLatin1String(" bytes");
    float value = float(size) / 1024.0f;
    if (value < 1023.0f)
        return QString::number(double(value), 'f', 1) + QLatin1String(" KB");
    value /= 1024.0f;
    if (value < 1023.0f)
        return QString::number(double(value), 'f', 1) + QLatin1String(" MB");
    value /= 1024.0f;
    return QString::number(double(value), 'f', 1) + QLatin1String(" GB");
}

QVariant parsedObject(const QString &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytesFromText(text), &error);
    if (error.error != QJsonParseError::NoError || document.isNull())
        return QVariant();
    return document.toVariant();
}

QString firstCharUpper(const QString &text)
{
    if (text.size() < 2) {
        XXXLog(QStringLiteral("firstCharUpper: string legnth too short"));
        return text;
    }
    return text.left(1).toUpper() + text.mid(1);
}

QString firstCharLower(const QString &text)
{
    if (text.size() < 2) {
        XXXLog(QStringLiteral("firstCharLower: string legnth too short"));
        return text;
    }
    return text.left(1).toLower() + text.mid(1);
}

QString initWithUTF8NULLString(const char *utf8)
{
    if (!utf8)
        return QStringLiteral("");
    return textFromBytes(utf8, qsizetype(std::strlen(utf8)));
}

QByteArray utf8Data(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    return bytesFromText(text);
}

QString utf8String(const QByteArray &bytes)
{
    if (bytes.isEmpty() || !isValidUtf8(bytes))
        return QString();
    return textFromBytes(bytes);
}

QString md5String(const QString &text)
{
    QByteArray bytes = bytesFromText(text);
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    return md5Hex(bytes);
}

QString md5String(const QByteArray &bytes)
{
    return md5Hex(bytes);
}

QString base64EncodedStringWithWrapWidth(const QByteArray &bytes, int wrapWidth)
{
    if (bytes.isEmpty())
        return QString();
    const qsizetype lineLength = wrapWidth >= 4 ? (wrapWidth / 4) * 4 : 0;
    const uchar *p = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype size = bytes.size();

    QByteArray out;
    out.reserve((size + 2) / 3 * 4 + (lineLength ? (size / 3 * 4 / lineLength + 1) * 2 : 0));
    qsizetype column = 0;
    qsizetype i = 0;
    for (; i + 3 <= size; i += 3) {
        const quint32 group = (quint32(p[i]) << 16) | (quint32(p[i + 1]) << 8) | quint32(p[i + 2]);
        out.append(kBase64Alphabet[(group >> 18) & 0x3F]);
        out.append(kBase64Alphabet[(group >> 12) & 0x3F]);
        out.append(kBase64Alphabet[(group >> 6) & 0x3F]);
        out.append(kBase64Alphabet[group & 0x3F]);
        column += 4;
        if (lineLength && column == lineLength) {
            out.append("\r\n");
            column = 0;
        }
    }
    const qsizetype tail = size - i;
    if (tail == 2) {
        const quint32 group = (quint32(p[i]) << 16) | (quint32(p[i + 1]) << 8);
        out.append(kBase64Alphabet[(group >> 18) & 0x3F]);
        out.append(kBase64Alphabet[(group >> 12) & 0x3F]);
        out.append(kBase64Alphabet[(group >> 6) & 0x3F]);
        out.append('=');
    } else if (tail == 1) {
        const quint32 group = quint32(p[i]) << 16;
        out.append(kBase64Alphabet[(group >> 18) & 0x3F]);
        out.append(kBase64Alphabet[(group >> 12) & 0x3F]);
        out.append("==");
    }
    return QString::fromLatin1(out);
}

QString base64EncodedString(const QByteArray &bytes)
{
    return base64EncodedStringWithWrapWidth(bytes, 0);
}

QString base64EncodedStringWithWrapWidth(const QString &text, int wrapWidth)
{
    return base64EncodedStringWithWrapWidth(bytesFromText(text), wrapWidth);
}

QString base64EncodedString(const QString &text)
{
    return base64EncodedStringWithWrapWidth(bytesFromText(text), 0);
}

QByteArray dataWithBase64EncodedString(const QString &base64)
{
    QByteArray out;
    out.reserve(base64.size() / 4 * 3 + 3);
    quint32 group = 0;
    int accepted = 0;
    for (QChar c : base64) {
        const int value = base64Value(c.unicode());
        if (value < 0)
            continue;
        group = (group << 6) | quint32(value);
        if (++accepted == 4) {
            out.append(char((group >> 16) & 0xFF));
            out.append(char((group >> 8) & 0xFF));
            out.append(char(group & 0xFF));
            group = 0;
            accepted = 0;
        }
    }
    if (accepted == 2) {
        out.append(char((group >> 4) & 0xFF));
    } else if (accepted == 3) {
        out.append(char((group >> 10) & 0xFF));
        out.append(char((group >> 2) & 0xFF));
    }
    if (out.isEmpty())
        return QByteArray();
    return out;
}

QByteArray base64DecodedData(const QString &base64)
{
    return dataWithBase64EncodedString(base64);
}

QString stringWithBase64EncodedString(const QString &base64)
{
    return utf8String(dataWithBase64EncodedString(base64));
}

QString base64DecodedString(const QString &base64)
{
    return stringWithBase64EncodedString(base64);
}

QString colNameAtIndex(int colIndex)
{
    // clang-format off
    XXXAssert(colIndex>=1, QString());
    // clang-format on
    const int n = colIndex - 1;
    if (colIndex <= 26)
        return QString(QChar(u'A' + n));
    if (colIndex <= 676)
        return QString(QChar(u'A' + n / 26)) + QChar(u'A' + n % 26);
    XXXLogWarning(QStringLiteral("column index %1 has no name (1 to 676)").arg(colIndex));
    return QString();
}

QString csvColNameAtColIndex(const QString &text, int colIndex)
{
    Q_UNUSED(text);
    // clang-format off
    XXXAssert(colIndex>=1, QString());
    // clang-format on
    return colNameAtIndex(colIndex);
}

} // namespace Bastwick

#include <bastwick/FormEncoding.h>

#include <bastwick/HexDigit_p.h>

#include <QtCore/QStringDecoder>
#include <QtCore/QStringEncoder>

namespace Bastwick {

namespace {
// The text with every "%" that does not start a "%XX" escape written as "%25". Qt's
// tolerant parser would otherwise escape every "%" of a text that holds one stray "%",
// valid escapes included.
QString escapeStrayPercents(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        out.append(c);
        if (c == u'%' && !(i + 2 < text.size() && hexDigitValue(text.at(i + 1).unicode()) >= 0 &&
                           hexDigitValue(text.at(i + 2).unicode()) >= 0))
            out.append(QLatin1String("25"));
    }
    return out;
}
} // namespace

QUrl urlWithString(const QString &text)
{
    QUrl url(escapeStrayPercents(text.trimmed()), QUrl::TolerantMode);
    if (!url.isValid() || url.isRelative() || url.isEmpty())
        return QUrl();
    return url;
}

std::optional<QVariantMap> queryDictionary(const QUrl &url)
{
    if (!url.hasQuery())
        return std::nullopt;
    return dictionaryWithFormEncodedString(url.query(QUrl::FullyEncoded));
}

QString stringByEscapingForURLQuery(const QString &text)
{
    if (text.isNull())
        return QString();
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return QString();
    QByteArray escaped = bytes.toPercentEncoding(QByteArrayLiteral(" "));
    escaped.replace(' ', '+');
    return QString::fromLatin1(escaped);
}

QString stringByUnescapingFromURLQuery(const QString &text)
{
    if (text.isNull())
        return QString();
    QString plain = text;
    plain.replace(u'+', u' ');
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QByteArray raw = encoder.encode(plain);
    if (encoder.hasError())
        return QString();
    QByteArray bytes;
    bytes.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) != '%') {
            bytes.append(raw.at(i));
            continue;
        }
        if (i + 2 >= raw.size())
            return QString();
        const int high = hexDigitValue(uchar(raw.at(i + 1)));
        const int low = hexDigitValue(uchar(raw.at(i + 2)));
        if (high < 0 || low < 0)
            return QString();
        bytes.append(char(high * 16 + low));
        i += 2;
    }
    // A leading U+FEFF is text the caller escaped, not a byte-order mark: keep it so the
    // round trip is exact.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString result = decoder.decode(bytes);
    if (decoder.hasError())
        return QString();
    if (result.isNull())
        result = QLatin1String("");
    return result;
}

namespace {
// An empty part (before a leading "=", after a trailing one) is the empty text.
QString unescapedPart(const QString &part)
{
    return part.isEmpty() ? QStringLiteral("") : stringByUnescapingFromURLQuery(part);
}
} // namespace

std::optional<QVariantMap> dictionaryWithFormEncodedString(const QString &text)
{
    if (text.isNull())
        return std::nullopt;
    QVariantMap pairs;
    const QStringList pieces = text.split(u'&');
    for (const QString &piece : pieces) {
        if (piece.isEmpty())
            continue;
        const qsizetype equals = piece.indexOf(u'=');
        const QString key = unescapedPart(equals < 0 ? piece : piece.left(equals));
        const QString value = equals < 0 ? QStringLiteral("") : unescapedPart(piece.mid(equals + 1));
        if (key.isNull() || value.isNull())
            continue;
        pairs.insert(key, value);
    }
    return pairs;
}

} // namespace Bastwick

#include <kestrune/exchange/FileFormats_p.h>

#include <bastwick/ByteText.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QJsonValue>
#include <QtCore/QXmlStreamReader>

#include <algorithm>

namespace FileFormats {

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull() || value.metaType() == QMetaType::fromType<std::nullptr_t>();
}

QString valueText(const QVariant &value)
{
    if (isNull(value))
        return QString();
    if (value.metaType() == QMetaType::fromType<bool>())
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    if (value.metaType() == QMetaType::fromType<double>() || value.metaType() == QMetaType::fromType<float>())
        return QString::number(value.toDouble(), 'g', 17);
    return value.toString();
}

QString sqlQuoted(const QString &text, const QString &quote)
{
    QString inner = text;
    if (!quote.isEmpty())
        inner.replace(quote, quote + quote);
    return quote + inner + quote;
}

QByteArray fileBytes(const QString &text)
{
    return Bastwick::bytesFromText(text);
}

QString fileText(const QByteArray &bytes)
{
    return Bastwick::textFromBytes(bytes);
}

bool survivesAsBytes(const QString &text)
{
    const bool plain = std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
    return plain || Bastwick::textFromBytes(Bastwick::bytesFromText(text)) == text;
}

bool xmlCanHold(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return false;
        if (c == 0xFFFE || c == 0xFFFF)
            return false;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate())
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return false;
        }
    }
    return true;
}

QString xmlEscaped(const QString &text, bool attribute)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\r':
            out += QLatin1String("&#13;");
            break;
        case '\'':
            out += attribute ? QLatin1String("&apos;") : QLatin1String("'");
            break;
        case '\t':
            out += attribute ? QLatin1String("&#9;") : QLatin1String("\t");
            break;
        case '\n':
            out += attribute ? QLatin1String("&#10;") : QLatin1String("\n");
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<QString> textFromBase64(const QString &base64)
{
    QByteArray ascii = base64.toLatin1();
    ascii.removeIf([](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
    const auto decoded = QByteArray::fromBase64Encoding(ascii, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return Bastwick::textFromBytes(*decoded);
}

QString nestingError()
{
    return QStringLiteral("elements nested more than %1 levels deep").arg(kMaxNesting);
}

std::optional<QString> elementText(QXmlStreamReader &r)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > kMaxNesting) {
                r.raiseError(nestingError());
                return std::nullopt;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text += r.text();
            break;
        default:
            break;
        }
    }
    if (r.hasError())
        return std::nullopt;
    return text;
}

namespace {

// Whether a field that starts with c could open a file with the bytes of a byte-order
// mark, which the reader takes for the file's encoding: U+FEFF (EF BB BF), the raw bytes
// FF and FE (the UTF-16 and UTF-32 marks) and U+0000 (the 00 00 of 00 00 FE FF).
bool opensLikeAMark(QChar c)
{
    return c == QChar(0xFEFF) || c == QChar(0xDCFF) || c == QChar(0xDCFE) || c.isNull();
}

} // namespace

QByteArray csvRecord(const QStringList &fields)
{
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            out += ',';
        const QString &f = fields.at(i);
        const bool quote =
            f.contains(QLatin1Char(',')) || f.contains(QLatin1Char('"')) || f.contains(QLatin1Char('\n')) ||
            f.contains(QLatin1Char('\r')) ||
            (!f.isEmpty() && (f.front().isSpace() || f.back().isSpace() || opensLikeAMark(f.front())));
        if (quote) {
            QString inner = f;
            inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
            out += '"' + fileBytes(inner) + '"';
        } else {
            out += fileBytes(f);
        }
    }
    out += '\n';
    return out;
}

QList<QStringList> csvRecords(const QByteArray &bytes)
{
    const QString text = fileText(bytes);
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool any = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                    field += text.at(++i);
                else
                    quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            any = true;
        } else if (c == QLatin1Char(',')) {
            record.append(field);
            field.clear();
            any = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            record.append(field);
            records.append(record);
            record.clear();
            field.clear();
            any = false;
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !field.isEmpty() || !record.isEmpty()) {
        record.append(field);
        records.append(record);
    }
    return records;
}

QByteArray jsonText(const QVariant &value)
{
    const QJsonValue json = QJsonValue::fromVariant(value);
    if (json.isArray())
        return QJsonDocument(json.toArray()).toJson(QJsonDocument::Compact);
    if (json.isObject())
        return QJsonDocument(json.toObject()).toJson(QJsonDocument::Compact);
    return {};
}

namespace {

void writePlistText(QByteArray &out, const char *element, const QString &text, int depth)
{
    out += QByteArray(depth, '\t');
    if (xmlCanHold(text)) {
        out += QByteArray("<") + element + '>' + xmlEscaped(text).toUtf8() + "</" + element + ">\n";
    } else {
        // Raw bytes and controls that XML cannot hold go in as data.
        out += "<data>" + fileBytes(text).toBase64() + "</data>\n";
    }
}

void writePlistValue(QByteArray &out, const QVariant &value, int depth)
{
    const QByteArray indent(depth, '\t');
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<QVariantMap>()) {
        const QVariantMap map = value.toMap();
        out += indent + "<dict>\n";
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            if (isNull(it.value()))
                continue;
            writePlistText(out, "key", it.key(), depth + 1);
            writePlistValue(out, it.value(), depth + 1);
        }
        out += indent + "</dict>\n";
    } else if (type == QMetaType::fromType<QVariantList>() || type == QMetaType::fromType<QStringList>()) {
        out += indent + "<array>\n";
        for (const QVariant &item : value.toList())
            if (!isNull(item))
                writePlistValue(out, item, depth + 1);
        out += indent + "</array>\n";
    } else if (type == QMetaType::fromType<bool>()) {
        out += indent + (value.toBool() ? "<true/>\n" : "<false/>\n");
    } else if (type == QMetaType::fromType<double>() || type == QMetaType::fromType<float>()) {
        out += indent + "<real>" + QByteArray::number(value.toDouble(), 'g', 17) + "</real>\n";
    } else if (type.flags() & QMetaType::IsEnumeration || type == QMetaType::fromType<int>() ||
               type == QMetaType::fromType<qint64>() || type == QMetaType::fromType<uint>() ||
               type == QMetaType::fromType<quint64>() || type == QMetaType::fromType<short>() ||
               type == QMetaType::fromType<long>()) {
        out += indent + "<integer>" + value.toString().toUtf8() + "</integer>\n";
    } else {
        writePlistText(out, "string", value.toString(), depth);
    }
}

std::optional<QVariant> readPlistValue(QXmlStreamReader &r, int depth)
{
    if (depth > kMaxNesting) {
        r.raiseError(nestingError());
        return std::nullopt;
    }
    const QString name = r.name().toString();
    if (name == QLatin1String("dict")) {
        QVariantMap map;
        QString key;
        while (r.readNextStartElement()) {
            if (r.name() == QLatin1String("key")) {
                key = r.readElementText();
            } else {
                auto value = readPlistValue(r, depth + 1);
                if (!value)
                    return std::nullopt;
                map.insert(key, *value);
            }
        }
        return map;
    }
    if (name == QLatin1String("array")) {
        QVariantList list;
        while (r.readNextStartElement()) {
            auto value = readPlistValue(r, depth + 1);
            if (!value)
                return std::nullopt;
            list.append(*value);
        }
        return list;
    }
    if (name == QLatin1String("true") || name == QLatin1String("false")) {
        r.skipCurrentElement();
        return QVariant(name == QLatin1String("true"));
    }
    const QString text = r.readElementText();
    if (name == QLatin1String("integer"))
        return QVariant(text.toLongLong());
    if (name == QLatin1String("real"))
        return QVariant(text.toDouble());
    if (name == QLatin1String("string") || name == QLatin1String("date"))
        return QVariant(text);
    if (name == QLatin1String("data")) {
        if (auto decoded = textFromBase64(text))
            return QVariant(*decoded);
        r.raiseError(QStringLiteral("the data element does not hold Base64"));
    }
    return std::nullopt;
}

} // namespace

QByteArray plistText(const QVariant &root)
{
    QByteArray out("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                   "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                   "<plist version=\"1.0\">\n");
    writePlistValue(out, root, 1);
    return out + "</plist>\n";
}

std::optional<QVariant> plistObject(const QByteArray &text, QString *error)
{
    QXmlStreamReader r(text);
    if (!r.readNextStartElement() || r.name() != QLatin1String("plist") || !r.readNextStartElement()) {
        if (error)
            *error = QStringLiteral("not a property list");
        return std::nullopt;
    }
    auto value = readPlistValue(r, 1);
    if (!value || r.hasError()) {
        if (error)
            *error = r.hasError() ? r.errorString() : QStringLiteral("unknown element in the property list");
        return std::nullopt;
    }
    return value;
}

} // namespace FileFormats

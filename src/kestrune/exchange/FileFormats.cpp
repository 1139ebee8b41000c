#include <kestrune/exchange/FileFormats_p.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QJsonValue>
#include <QtCore/QXmlStreamReader>
#include <QtCore/QXmlStreamWriter>

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
        case '\'':
            out += attribute ? QLatin1String("&apos;") : QLatin1String("'");
            break;
        default:
            out += c;
        }
    }
    return out;
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

QByteArray csvRecord(const QStringList &fields)
{
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            out += ',';
        const QString &f = fields.at(i);
        const bool quote = f.contains(QLatin1Char(',')) || f.contains(QLatin1Char('"')) ||
                           f.contains(QLatin1Char('\n')) || f.contains(QLatin1Char('\r')) ||
                           (!f.isEmpty() && (f.front().isSpace() || f.back().isSpace()));
        if (quote) {
            QString inner = f;
            inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
            out += '"' + inner.toUtf8() + '"';
        } else {
            out += f.toUtf8();
        }
    }
    out += '\n';
    return out;
}

QList<QStringList> csvRecords(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
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

void writePlistValue(QXmlStreamWriter &w, const QVariant &value)
{
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<QVariantMap>()) {
        const QVariantMap map = value.toMap();
        w.writeStartElement(QStringLiteral("dict"));
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            if (isNull(it.value()))
                continue;
            w.writeTextElement(QStringLiteral("key"), it.key());
            writePlistValue(w, it.value());
        }
        w.writeEndElement();
    } else if (type == QMetaType::fromType<QVariantList>() || type == QMetaType::fromType<QStringList>()) {
        w.writeStartElement(QStringLiteral("array"));
        for (const QVariant &item : value.toList())
            if (!isNull(item))
                writePlistValue(w, item);
        w.writeEndElement();
    } else if (type == QMetaType::fromType<bool>()) {
        w.writeEmptyElement(value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
    } else if (type == QMetaType::fromType<double>() || type == QMetaType::fromType<float>()) {
        w.writeTextElement(QStringLiteral("real"), QString::number(value.toDouble(), 'g', 17));
    } else if (type.flags() & QMetaType::IsEnumeration || type == QMetaType::fromType<int>() ||
               type == QMetaType::fromType<qint64>() || type == QMetaType::fromType<uint>() ||
               type == QMetaType::fromType<quint64>() || type == QMetaType::fromType<short>() ||
               type == QMetaType::fromType<long>()) {
        w.writeTextElement(QStringLiteral("integer"), value.toString());
    } else {
        w.writeTextElement(QStringLiteral("string"), value.toString());
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
    if (name == QLatin1String("string") || name == QLatin1String("date") || name == QLatin1String("data"))
        return QVariant(text);
    return std::nullopt;
}

} // namespace

QByteArray plistText(const QVariant &root)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(-1);
    w.writeStartDocument();
    w.writeDTD(QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                              "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"));
    w.writeStartElement(QStringLiteral("plist"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    writePlistValue(w, root);
    w.writeEndElement();
    w.writeEndDocument();
    return out;
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

#include <corbelan/network/JSONText.h>

#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/KeyValue.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QStringDecoder>

namespace Corbelan {

namespace {

// The encoding of JSON bytes: a byte-order mark names it; without one, the pattern of
// zero bytes in the first four tells UTF-16 and UTF-32 (JSON text starts with an ASCII
// character); anything else is UTF-8.
QStringConverter::Encoding jsonEncoding(const QByteArray &data)
{
    if (std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(data))
        return *marked;
    if (data.size() >= 4) {
        const bool z0 = data[0] == 0, z1 = data[1] == 0, z2 = data[2] == 0, z3 = data[3] == 0;
        if (z0 && z1 && z2 && !z3)
            return QStringConverter::Utf32BE;
        if (!z0 && z1 && z2 && z3)
            return QStringConverter::Utf32LE;
        if (z0 && !z1)
            return QStringConverter::Utf16BE;
        if (!z0 && z1)
            return QStringConverter::Utf16LE;
    } else if (data.size() >= 2) {
        if (data[0] == 0 && data[1] != 0)
            return QStringConverter::Utf16BE;
        if (data[0] != 0 && data[1] == 0)
            return QStringConverter::Utf16LE;
    }
    return QStringConverter::Utf8;
}

// Whether the text holds a surrogate that is not half of a pair (UTF-16 decoding copies
// such code units as they are).
bool hasLoneSurrogate(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

} // namespace

std::optional<QByteArray> jsonDataAsUtf8(const QByteArray &data, QString *problem)
{
    const QStringConverter::Encoding encoding = jsonEncoding(data);
    if (encoding == QStringConverter::Utf8 && !data.startsWith("\xEF\xBB\xBF"))
        return data;
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(data);
    // A lone surrogate or a cut code unit is refused, never replaced.
    if (decoder.hasError() || hasLoneSurrogate(text)) {
        if (problem)
            *problem = QStringLiteral("The data is not valid %1 text.")
                           .arg(QString::fromLatin1(QStringConverter::nameForEncoding(encoding)));
        return std::nullopt;
    }
    return text.toUtf8();
}

QVariant objectFromJSONData(const QByteArray &bytes)
{
    const std::optional<QByteArray> converted = jsonDataAsUtf8(bytes);
    if (!converted)
        return QVariant();
    const QByteArray &utf8 = *converted;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(utf8, &error);
    if (error.error == QJsonParseError::NoError)
        return document.toVariant();
    // Qt's reader wants an object or an array at the top; a bare scalar is read as the one
    // element of an array around it.
    const QJsonDocument wrapped = QJsonDocument::fromJson("[" + utf8 + "]", &error);
    if (error.error != QJsonParseError::NoError || !wrapped.isArray() || wrapped.array().size() != 1)
        return QVariant();
    const QJsonValue scalar = wrapped.array().first();
    if (scalar.isNull())
        return Bastwick::nullValue();
    return scalar.toVariant();
}

QVariant objectFromJSONText(const QString &text)
{
    if (text.isEmpty())
        return QVariant();
    return objectFromJSONData(text.toUtf8());
}

bool jsonValueFromVariant(const QVariant &value, QJsonValue *out)
{
    const int type = value.metaType().id();
    if (!value.isValid() || Bastwick::isNull(value)) {
        *out = QJsonValue(QJsonValue::Null);
        return true;
    }
    switch (type) {
    case QMetaType::QString:
        *out = value.toString();
        return true;
    case QMetaType::Bool:
        *out = value.toBool();
        return true;
    case QMetaType::Double:
    case QMetaType::Float:
        *out = value.toDouble();
        return true;
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        QJsonArray array;
        for (const QVariant &element : value.toList()) {
            QJsonValue converted;
            if (!jsonValueFromVariant(element, &converted))
                return false;
            array.append(converted);
        }
        *out = array;
        return true;
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            QJsonValue converted;
            if (!jsonValueFromVariant(it.value(), &converted))
                return false;
            object.insert(it.key(), converted);
        }
        *out = object;
        return true;
    }
    default:
        break;
    }
    if (Bastwick::isIntegerType(type)) {
        if (type == QMetaType::ULongLong || type == QMetaType::ULong) {
            const qulonglong u = value.toULongLong();
            if (u > qulonglong(std::numeric_limits<qint64>::max()))
                return false;
        }
        *out = QJsonValue(value.toLongLong());
        return true;
    }
    return false;
}

QString jsonTextFromVariant(const QVariant &value, bool indented)
{
    QJsonValue converted;
    if (!jsonValueFromVariant(value, &converted) || !(converted.isObject() || converted.isArray()))
        return QString();
    const QJsonDocument document =
        converted.isObject() ? QJsonDocument(converted.toObject()) : QJsonDocument(converted.toArray());
    return QString::fromUtf8(document.toJson(indented ? QJsonDocument::Indented : QJsonDocument::Compact));
}

} // namespace Corbelan

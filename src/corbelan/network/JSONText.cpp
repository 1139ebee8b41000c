#include <corbelan/network/JSONText.h>

#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/KeyValue.h>

#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>

namespace Corbelan {

QVariant objectFromJSONData(const QByteArray &utf8)
{
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

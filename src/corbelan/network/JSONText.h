#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QJsonValue>
#include <QtCore/QString>
#include <QtCore/QVariant>

#include <memory>
#include <optional>

// Reading and writing JSON text for the network services.
//
// A value tree is a QVariant made of QVariantMap (objects, keys in Qt's order),
// QVariantList (arrays), QString, numbers (qlonglong for integers that fit, else double),
// bool and the null marker (Bastwick::nullValue()).

namespace Corbelan {

// The value tree of the JSON text, or an invalid QVariant when the text is not JSON.
// A bare scalar ("3", "true", "\"x\"", "null") is JSON too. Data may be UTF-8, UTF-16 or
// UTF-32, with or without a byte-order mark; data that is not valid in its encoding is
// not JSON.
CORBELAN_EXPORT QVariant objectFromJSONText(const QString &text);
CORBELAN_EXPORT QVariant objectFromJSONData(const QByteArray &data);
// JSON data in any of those encodings as UTF-8 (without a byte-order mark), or nothing
// when it is not valid in its encoding; then the problem says why.
CORBELAN_EXPORT std::optional<QByteArray> jsonDataAsUtf8(const QByteArray &data, QString *problem = nullptr);

// The value as a JSON value when it is made only of the kinds JSON carries (maps,
// lists, texts, numbers, booleans, the null marker); false for anything else (a date,
// bytes, an object), so callers can refuse to write it.
CORBELAN_EXPORT bool jsonValueFromVariant(const QVariant &value, QJsonValue *out);

// A map or list written as JSON text (compact, or Qt's indented form); a null text when
// the value is neither or holds a kind JSON cannot carry.
CORBELAN_EXPORT QString jsonTextFromVariant(const QVariant &value, bool indented);

} // namespace Corbelan

// Models made from JSON are QObjects shared by whoever holds them; a transformer hands
// them on in a QVariant.
Q_DECLARE_METATYPE(std::shared_ptr<QObject>)

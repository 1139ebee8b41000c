#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QVariant>

// Reader of XML property lists.
//
// The root element is <plist> holding one value, or the value element itself.
// Values become:
//   <dict>          QVariantMap (each <key> followed by one value; a later key wins)
//   <array>         QVariantList
//   <string>        QString
//   <integer>       qint64 (quint64 above the signed range)
//   <real>          double
//   <true/> <false/> bool
//   <date>          QDateTime in UTC, from "yyyy-MM-ddTHH:mm:ssZ"
//   <data>          QByteArray, from Base64 (white space ignored)
// Anything else (an unknown element, a key without a value, text that is not a number
// where one is expected, malformed XML, nesting deeper than 512 levels) fails the
// whole read: the answer is an invalid QVariant and errorString says why. External
// entities are never fetched.

namespace Bastwick {

BASTWICK_EXPORT QVariant propertyListFromData(const QByteArray &data, QString *errorString = nullptr);

} // namespace Bastwick

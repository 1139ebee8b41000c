#pragma once

// Internal to the SQLite wrapper: how texts travel to and from SQLite. Text is stored
// as bytes with Bastwick's lossless encoding, so a text decoded from arbitrary bytes
// comes back with exactly the same bytes.

#include <bastwick/ByteText.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QVariant>

namespace XXXRWText {

inline QByteArray bytesFromText(const QString &text)
{
    return Bastwick::bytesFromText(text);
}

inline QString textFromBytes(const char *data, int length)
{
    if (!data)
        return QString();
    if (length <= 0)
        return QString(QLatin1String(""));
    return Bastwick::textFromBytes(QByteArray::fromRawData(data, length));
}

inline QString describe(const QVariant &value)
{
    return Bastwick::describe(value);
}

} // namespace XXXRWText

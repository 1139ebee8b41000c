#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QString>

namespace TestSupport {

// A key whose bytes are not all plain text, and the text every screen shows for it: the
// escaped form of the edit sheets, so that each byte is named and no two keys look alike.
struct AwkwardKey
{
    QByteArray bytes;
    QString shown;
    // Made of blanks only (the key tree does not list such keys).
    bool blank = false;
};

inline const QList<AwkwardKey> &awkwardKeys()
{
    static const QList<AwkwardKey> keys = {
        {QByteArray("bin\xff\xfe", 5), QStringLiteral(R"("bin\xff\xfe")")},
        // The same bytes in another order: they must not read the same.
        {QByteArray("bin\xfe\xff", 5), QStringLiteral(R"("bin\xfe\xff")")},
        {QByteArray("nul\0key", 7), QStringLiteral(R"("nul\x00key")")},
        {QByteArray("tab\there"), QStringLiteral(R"("tab\there")")},
        {QByteArray("crlf\r\nkey"), QStringLiteral(R"("crlf\r\nkey")")},
        {QByteArray(""), QStringLiteral(R"("")"), true},
        {QByteArray("plain key"), QStringLiteral("plain key")},
        {QByteArray("caf\xc3\xa9"), QStringLiteral("caf\u00e9")},
    };
    return keys;
}

} // namespace TestSupport

#pragma once

#include <QtCore/QList>
#include <QtCore/QMetaType>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtGui/QTextFormat>

#include <memory>
#include <optional>

// Tokens in a token field's text. A token is one object replacement character (U+FFFC)
// whose character format carries a shared TokenAttachment: the title the token shows,
// the object it was made for, the represented object once the field's cell has handled
// it (its presence is the "handled" mark), and the cell that draws it. Copies of the
// character share the one attachment.

namespace Kestrune {

class TokenAttachmentCell;

struct TokenAttachment
{
    QString title;
    QVariant object;
    std::optional<QVariant> representedObject;
    // Null: the token draws with the field's default look.
    std::shared_ptr<TokenAttachmentCell> cell;
};
using TokenAttachmentPointer = std::shared_ptr<TokenAttachment>;

// The object type of a token character, and the format property holding its attachment.
inline constexpr int kTokenObjectType = QTextFormat::UserObject + 1;
inline constexpr int kTokenAttachmentProperty = QTextFormat::UserProperty + 1;

// The character format of a token with that attachment.
QTextCharFormat tokenCharFormat(const TokenAttachmentPointer &attachment);
// The attachment a character format carries, or null.
TokenAttachmentPointer tokenAttachment(const QTextFormat &format);

// One run of a token field's text: a token (object valid; text is its title) or typed
// text (object invalid).
struct TokenRun
{
    QString text;
    QVariant object;

    bool isToken() const { return object.isValid(); }
    friend bool operator==(const TokenRun &, const TokenRun &) = default;
};

// The pieces typed text turns into: split at every ",", each trimmed, empty ones dropped.
QStringList tokenizeText(const QString &text);

// The title a token shows for an object: a text as it is, anything else described.
QString tokenTitleForObject(const QVariant &object);

} // namespace Kestrune

Q_DECLARE_METATYPE(Kestrune::TokenAttachmentPointer)

#include <kestrune/chrome/controls/TokenAttachment.h>

#include <bastwick/platform/Text.h>

#include <QtGui/QTextCharFormat>

namespace Kestrune {

QTextCharFormat tokenCharFormat(const TokenAttachmentPointer &attachment)
{
    QTextCharFormat format;
    format.setObjectType(kTokenObjectType);
    format.setProperty(kTokenAttachmentProperty, QVariant::fromValue(attachment));
    // The token's bottom lies the font's descent below the baseline.
    format.setVerticalAlignment(QTextCharFormat::AlignBaseline);
    return format;
}

TokenAttachmentPointer tokenAttachment(const QTextFormat &format)
{
    if (format.objectType() != kTokenObjectType)
        return {};
    return format.property(kTokenAttachmentProperty).value<TokenAttachmentPointer>();
}

QStringList tokenizeText(const QString &text)
{
    QStringList pieces;
    for (const QString &piece : text.split(QLatin1Char(','))) {
        const QString trimmed = piece.trimmed();
        if (!trimmed.isEmpty())
            pieces << trimmed;
    }
    return pieces;
}

QString tokenTitleForObject(const QVariant &object)
{
    return Bastwick::describe(object);
}

} // namespace Kestrune

#include <kestrune/chrome/controls/TokenObjectHandler.h>

#include <kestrune/chrome/controls/TokenAttachment.h>
#include <kestrune/chrome/controls/TokenAttachmentCell.h>

#include <QtWidgets/QWidget>

namespace Kestrune {

namespace {

// The cell that draws a token: its own, or a default one for its title in the view's
// font.
std::shared_ptr<TokenAttachmentCell> cellForFormat(const QTextFormat &format, const QWidget *view)
{
    const TokenAttachmentPointer attachment = tokenAttachment(format);
    if (!attachment)
        return nullptr;
    if (attachment->cell)
        return attachment->cell;
    auto cell = std::make_shared<TokenAttachmentCell>(attachment->title);
    if (view)
        cell->setFont(view->font());
    return cell;
}

} // namespace

TokenObjectHandler::TokenObjectHandler(QWidget *view)
    : QObject(view)
    , m_view(view)
{
}

QSizeF TokenObjectHandler::intrinsicSize(QTextDocument *, int, const QTextFormat &format)
{
    const auto cell = cellForFormat(format, m_view);
    return cell ? cell->cellSize() : QSizeF();
}

void TokenObjectHandler::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *,
                                    int positionInDocument, const QTextFormat &format)
{
    m_drawnRects.insert(positionInDocument, rect);
    if (const auto cell = cellForFormat(format, m_view))
        cell->drawWithFrame(*painter, rect, m_view, positionInDocument);
}

} // namespace Kestrune

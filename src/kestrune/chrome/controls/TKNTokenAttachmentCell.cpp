#include <kestrune/chrome/controls/TKNTokenAttachmentCell.h>

#include <kestrune/chrome/TBWindow.h>

#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtGui/QTextOption>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTextEdit>

#include <algorithm>
#include <cmath>

using namespace Kestrune;

namespace {

constexpr qreal kTitleExtraWidth = 22.0;
constexpr qreal kTitleSideInset = 11.0;
constexpr qreal kBubbleMinimumExtraWidth = 6.0;
constexpr qreal kBubbleEndGap = 3.0;
constexpr qreal kBubbleLineWidth = 2.0;

QColor deviceRgb(double red, double green, double blue)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), 1.0f);
}

} // namespace

TKNTokenAttachmentCell::TKNTokenAttachmentCell(QObject *parent)
    : TKNTokenAttachmentCell(QString(), parent)
{
}

TKNTokenAttachmentCell::TKNTokenAttachmentCell(const QString &title, QObject *parent)
    : TokenAttachmentCell(title, parent)
{
}

QSizeF TKNTokenAttachmentCell::cellSize() const
{
    const QFontMetricsF metrics(font());
    return cellSizeForTitleSize(QSizeF(metrics.horizontalAdvance(stringValue()), metrics.height()));
}

qreal TKNTokenAttachmentCell::cellBaselineOffset() const
{
    return QFontMetricsF(font()).descent();
}

QSizeF TKNTokenAttachmentCell::cellSizeForTitleSize(const QSizeF &titleSize)
{
    return {std::ceil(titleSize.width() + titleSize.height() + kTitleExtraWidth),
            std::ceil(titleSize.height())};
}

QRectF TKNTokenAttachmentCell::titleRectForBounds(const QRectF &bounds)
{
    QRectF rect = bounds;
    rect.setWidth(std::max(rect.width(), rect.height() + kTitleExtraWidth));
    const qreal inset = kTitleSideInset + rect.height() / 2.0;
    return rect.adjusted(inset, 0, -inset, 0);
}

QPainterPath TKNTokenAttachmentCell::tokenPathForBounds(const QRectF &bounds, unsigned joinStyle)
{
    const qreal x = bounds.x();
    const qreal y = bounds.y();
    const qreal h = bounds.height();
    const qreal width = std::max(bounds.width(), h + kBubbleMinimumExtraWidth);
    const qreal r = h / 2.0;
    const qreal left = x + r + kBubbleEndGap;
    const qreal right = x + width - (r + kBubbleEndGap);

    // Drawn with y growing downwards: (left, y) is the top of the left end.
    QPainterPath path(QPointF(left, y));
    if (joinStyle & JoinsLeft) {
        path.lineTo(x, y);
        path.lineTo(x, y + h);
        path.lineTo(left, y + h);
    } else {
        // Round the left side from the top to the bottom.
        path.arcTo(QRectF(left - r, y, 2 * r, 2 * r), 90.0, 180.0);
    }
    path.lineTo(right, y + h);
    if (joinStyle & JoinsRight) {
        path.lineTo(x + width, y + h);
        path.lineTo(x + width, y);
        path.lineTo(right, y);
    } else {
        // Round the right side from the bottom to the top.
        path.arcTo(QRectF(right - r, y, 2 * r, 2 * r), 270.0, 180.0);
    }
    path.lineTo(left, y);
    path.closeSubpath();
    return path;
}

QColor TKNTokenAttachmentCell::tokenFillColorForDrawingMode(unsigned mode)
{
    switch (mode) {
    case Highlighted:
        return deviceRgb(0.733, 0.8078, 0.9451);
    case Selected:
        return deviceRgb(0.349, 0.5451, 0.9255);
    default:
        return deviceRgb(0.8706, 0.9059, 0.9725);
    }
}

QColor TKNTokenAttachmentCell::tokenStrokeColorForDrawingMode(unsigned mode)
{
    switch (mode) {
    case Highlighted:
        return deviceRgb(0.4275, 0.5843, 0.8784);
    case Selected:
        return deviceRgb(0.349, 0.5451, 0.9255);
    default:
        return deviceRgb(0.6431, 0.7412, 0.9255);
    }
}

QColor TKNTokenAttachmentCell::tokenTitleColorForDrawingMode(unsigned mode, const QPalette &palette)
{
    return mode == Selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
}

void TKNTokenAttachmentCell::drawWithFrame(QPainter &painter, const QRectF &frame, const QWidget *controlView,
                                           int characterIndex)
{
    const bool key = windowDrawsAsMain(controlView);
    m_drawingMode = isHighlighted() && key ? Highlighted : Default;
    m_joinStyle = 0;
    // A text view's selection: one range. The join bits are set whether or not the
    // window draws as main.
    if (const auto *textView = qobject_cast<const QTextEdit *>(controlView);
        textView && characterIndex >= 0) {
        const QTextCursor cursor = textView->textCursor();
        const int start = cursor.selectionStart();
        const int end = cursor.selectionEnd();
        if (start <= characterIndex && characterIndex < end) {
            if (key)
                m_drawingMode = Selected;
            if (start < characterIndex)
                m_joinStyle |= JoinsLeft;
            if (end > characterIndex + 1)
                m_joinStyle |= JoinsRight;
        }
    }
    drawTokenWithFrame(painter, frame, controlView);
}

void TKNTokenAttachmentCell::drawTokenWithFrame(QPainter &painter, const QRectF &frame,
                                                const QWidget *controlView)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = tokenPathForBounds(frame, m_joinStyle);
    painter.setClipPath(path, Qt::IntersectClip);
    painter.fillPath(path, tokenFillColorForDrawingMode(m_drawingMode));
    // Only the inner half of the line shows inside the clip.
    painter.strokePath(path, QPen(tokenStrokeColorForDrawingMode(m_drawingMode), kBubbleLineWidth));
    drawTitleWithFrame(painter, titleRectForBounds(frame), controlView);
    painter.restore();
}

void TKNTokenAttachmentCell::drawTitleWithFrame(QPainter &painter, const QRectF &frame,
                                                const QWidget *controlView)
{
    const QPalette palette = controlView ? controlView->palette() : QApplication::palette();
    painter.save();
    painter.setFont(font());
    painter.setPen(tokenTitleColorForDrawingMode(m_drawingMode, palette));
    // The title rectangle is as wide as the title; only a narrower one cuts the tail.
    const QFontMetricsF metrics(font());
    const qreal width = std::max<qreal>(frame.width(), 0.0);
    const QString title = metrics.horizontalAdvance(stringValue()) <= width + 0.5
                              ? stringValue()
                              : metrics.elidedText(stringValue(), Qt::ElideRight, width);
    painter.drawText(frame.adjusted(0, 0, 1, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title);
    painter.restore();
}

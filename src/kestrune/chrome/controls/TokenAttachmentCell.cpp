#include <kestrune/chrome/controls/TokenAttachmentCell.h>

#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <cmath>

namespace Kestrune {

namespace {

constexpr qreal kTitlePadding = 6.0;
constexpr qreal kCornerRadius = 4.0;

} // namespace

TokenAttachmentCell::TokenAttachmentCell(const QString &title, QObject *parent)
    : QObject(parent)
    , m_title(title)
    , m_font(QApplication::font())
{
}

QSizeF TokenAttachmentCell::cellSize() const
{
    const QFontMetricsF metrics(m_font);
    return {std::ceil(metrics.horizontalAdvance(m_title) + 2 * kTitlePadding), std::ceil(metrics.height())};
}

qreal TokenAttachmentCell::cellBaselineOffset() const
{
    return QFontMetricsF(m_font).descent();
}

void TokenAttachmentCell::drawWithFrame(QPainter &painter, const QRectF &frame, const QWidget *controlView,
                                        int)
{
    const QPalette palette = controlView ? controlView->palette() : QApplication::palette();
    QColor fill = palette.color(QPalette::Highlight);
    fill.setAlphaF(m_highlighted ? 0.45f : 0.2f);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(frame.adjusted(1, 0, -1, 0), kCornerRadius, kCornerRadius);
    painter.setFont(m_font);
    painter.setPen(palette.color(QPalette::Text));
    painter.drawText(frame, Qt::AlignCenter | Qt::TextSingleLine, m_title);
    painter.restore();
}

} // namespace Kestrune

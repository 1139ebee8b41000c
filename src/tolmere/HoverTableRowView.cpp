#include <tolmere/HoverTableRowView.h>

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

namespace {

QGradientStops stopsWithTargetColor(const QColor &color)
{
    QColor clear = color.toRgb();
    clear.setAlphaF(0.0f);
    const QColor full = color.toRgb();
    return {{0.0, clear}, {0.35, full}, {0.65, full}, {1.0, clear}};
}

} // namespace

void DrawSeparatorInRect(QPainter *painter, const QRectF &rect)
{
    if (!painter)
        return;
    static const QGradientStops separatorStops =
        stopsWithTargetColor(QColor::fromRgbF(0.8f, 0.8f, 0.8f, 1.0f));
    QLinearGradient gradient(rect.topLeft(), rect.topRight());
    gradient.setStops(separatorStops);
    painter->fillRect(rect, gradient);
}

HoverTableRowView::HoverTableRowView(const QRectF &bounds)
    : m_bounds(bounds)
{
}

QLinearGradient HoverTableRowView::gradientWithTargetColor(const QColor &color, const QRectF &rect)
{
    QLinearGradient gradient(rect.topLeft(), rect.topRight());
    gradient.setStops(stopsWithTargetColor(color));
    return gradient;
}

void HoverTableRowView::drawBackgroundInRect(QPainter *painter) const
{
    painter->fillRect(m_bounds, m_backgroundColor);
    if (m_mouseInside)
        painter->fillRect(m_bounds, gradientWithTargetColor(Qt::white, m_bounds));
}

QRectF HoverTableRowView::separatorRect() const
{
    return QRectF(m_bounds.x(), m_bounds.bottom() - 1.0, m_bounds.width(), 1.0);
}

void HoverTableRowView::drawSeparatorInRect(QPainter *painter) const
{
    DrawSeparatorInRect(painter, separatorRect());
}

void HoverTableRowView::drawSelectionInRect(QPainter *painter) const
{
    if (m_selectionHighlightStyle == SelectionHighlightStyleNone)
        return;
    QPainterPath path;
    path.addRoundedRect(m_bounds.adjusted(5.5, 5.5, -5.5, -5.5), 10.0, 10.0);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(path, QColor::fromRgbF(0.82f, 0.82f, 0.82f));
    painter->setPen(QPen(QColor::fromRgbF(0.72f, 0.72f, 0.72f), 1.0));
    painter->drawPath(path);
    painter->restore();
}

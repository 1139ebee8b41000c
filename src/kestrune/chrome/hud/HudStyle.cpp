#include <kestrune/chrome/hud/HudStyle.h>

#include <kestrune/chrome/ChromeFonts.h>

#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtGui/QPainterPathStroker>
#include <QtGui/QPalette>
#include <QtWidgets/QWidget>

namespace Kestrune {

QFont hudSystemFont(qreal points)
{
    return chromeFont(QStringLiteral("System"), points);
}

void fillPathWithGradient(QPainter &painter, const QPainterPath &path, const QColor &start, const QColor &end,
                          qreal angle)
{
    painter.fillPath(path, gradientForAngle(path.boundingRect(), angle, {{0.0, start}, {1.0, end}}));
}

QSizeF textSize(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void drawShadowedText(QPainter &painter, const QPointF &origin, const QString &text, const QFont &font,
                      const QColor &color, const Shadow &shadow)
{
    if (text.isEmpty())
        return;
    const QPointF baseline = origin + QPointF(0.0, QFontMetricsF(font).ascent());
    QPainterPath glyphs;
    glyphs.addText(baseline, font, text);
    drawBlurredShape(painter, glyphs, shadow.color, shadow.blurRadius, shadow.offset);
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(baseline, text);
    painter.restore();
}

QPainterPath drawHudBezel(QPainter &painter, const QRectF &frame, bool blue)
{
    QPainterPath outline;
    outline.addRoundedRect(frame, 3.0, 3.0);

    if (blue)
        fillPathWithGradient(painter, outline, QColor::fromRgbF(0.0f, 0.31f, 0.78f),
                             QColor::fromRgbF(0.0f, 0.53f, 0.87f), kHUDControlGradientAngle);
    else
        fillPathWithGradient(painter, outline, hudDarkStopColor(), hudLightStopColor(),
                             kHUDControlGradientAngle);

    // The black border, with a faint light edge cast one point below it.
    QPainterPathStroker stroker;
    stroker.setWidth(1.0);
    drawBlurredShape(painter, stroker.createStroke(outline), deviceWhite(1.0f, 0.05f), 1.0,
                     QPointF(0.0, 1.0));
    painter.save();
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
    painter.restore();

    // The highlight: only the top edge of this taller rectangle falls inside the pill.
    QRectF highlight = frame.adjusted(-0.5, 1.0, 0.5, -1.0);
    highlight.setHeight(highlight.height() * 2.0);
    QPainterPath highlightPath;
    highlightPath.addRoundedRect(highlight, 3.0, 3.0);
    painter.save();
    painter.setClipPath(outline, Qt::IntersectClip);
    painter.setPen(QPen(deviceWhite(1.0f, blue ? 0.25f : 0.05f), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(highlightPath);
    painter.restore();
    return outline;
}

void applyHudTextColours(QWidget *widget, bool dimWhenDisabled)
{
    QPalette colours = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const float alpha = (dimWhenDisabled && group == QPalette::Disabled) ? 0.5f : 1.0f;
        colours.setColor(group, QPalette::Text, deviceWhite(1.0f, alpha));
        colours.setColor(group, QPalette::PlaceholderText, deviceWhite(1.0f, 0.4f * alpha));
        colours.setColor(group, QPalette::Base, Qt::transparent);
        colours.setColor(group, QPalette::Window, Qt::transparent);
        colours.setColor(group, QPalette::Highlight, Qt::darkGray);
        colours.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    widget->setPalette(colours);
}

void drawHudWell(QPainter &painter, const QRectF &outer, bool fill, bool shade)
{
    const QRectF well(outer.x(), outer.y(), outer.width(), outer.height() - 1.0);
    QPainterPath wellPath;
    wellPath.addRect(well);
    if (fill)
        painter.fillPath(wellPath, deviceWhite(0.0f, 0.15f));
    if (!shade)
        return;

    fillWithInnerShadow(painter, wellPath, Shadow{QPointF(0.0, 0.0), 3.0, deviceWhite(0.0f, 0.3f)});

    // The edge shadow reaches past the sides and the far edge, so that it shows mainly
    // along the top.
    QRectF edge = well.adjusted(-2.0, 0.0, 2.0, 0.0);
    edge.setHeight(edge.height() * 2.0);
    QPainterPath edgePath;
    edgePath.addRect(edge);
    fillWithInnerShadow(painter, edgePath, Shadow{QPointF(0.0, 1.0), 3.0, deviceWhite(0.0f, 0.4f)});

    // The light baseline: a well-sized rectangle of which only the last point of outer
    // shows.
    painter.fillRect(QRectF(well.x(), outer.bottom() - 1.0, well.width(), well.height()).intersected(outer),
                     deviceWhite(1.0f, 0.1f));
}

} // namespace Kestrune

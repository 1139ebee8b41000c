#pragma once

#include <kestrune/chrome/Drawing.h>

#include <QtCore/QRectF>
#include <QtCore/QString>
#include <QtGui/QColor>
#include <QtGui/QFont>
#include <QtGui/QPainterPath>

class QPainter;
class QWidget;

// The dark heads-up-display look shared by the HUD window and its controls: the palette,
// the control font, and the bezel, well and shadowed-text drawing they have in common.
// Controls draw in their own y-down coordinates; a gradient at 270 degrees puts its first
// colour at the bottom. GUI thread only.

namespace Kestrune {

// A grey of the given white and alpha, as the HUD colours are given.
inline QColor deviceWhite(float white, float alpha = 1.0f)
{
    return QColor::fromRgbF(white, white, white, alpha);
}

// The HUD palette.
inline QColor hudDarkStopColor()
{
    return deviceWhite(0.15f);
}
inline QColor hudLightStopColor()
{
    return deviceWhite(0.22f);
}
inline QColor hudTitleTextColor()
{
    return deviceWhite(0.7f);
}
inline QColor hudPressedOverlayColor()
{
    return deviceWhite(0.0f, 0.3f);
}
inline constexpr qreal kHUDControlGradientAngle = 270.0;

// The system font at the given size, which every HUD title and label uses.
QFont hudSystemFont(qreal points = 11.0);

// A two-colour gradient filling path at angle degrees over the path's bounds.
void fillPathWithGradient(QPainter &painter, const QPainterPath &path, const QColor &start, const QColor &end,
                          qreal angle);

// The size a line of text takes in font: its advance and the font's line height.
QSizeF textSize(const QString &text, const QFont &font);

// Draws text with its top-left corner at origin, its shadow first.
void drawShadowedText(QPainter &painter, const QPointF &origin, const QString &text, const QFont &font,
                      const QColor &color, const Shadow &shadow);

// The bezel of a HUD push button, dark or blue, in frame as given (no further inset):
// a rounded pill with a gradient, a black border with a faint drop shadow below it and
// a highlight line along its top. Answers the pill's outline.
QPainterPath drawHudBezel(QPainter &painter, const QRectF &frame, bool blue = false);

// White text, a dark-grey selection and a clear ground for a HUD text control (the
// insertion point follows the text colour). With dimWhenDisabled the disabled text is at
// half opacity.
void applyHudTextColours(QWidget *widget, bool dimWhenDisabled);

// The sunken well of the HUD text controls over the rectangle outer: the well is outer
// less one point of height. fill puts the dark fill under it; shade draws its inner and
// edge shadows and the light baseline along outer's bottom edge.
void drawHudWell(QPainter &painter, const QRectF &outer, bool fill, bool shade);

} // namespace Kestrune

#pragma once

#include <QtCore/QRectF>
#include <QtCore/QString>
#include <QtGui/QColor>

#include <functional>

class QPainter;
class QWidget;

// Drawing the styled buttons share. GUI thread only.

namespace Kestrune {

// A disabled styled button draws everything at this opacity.
inline constexpr qreal kDisabledControlOpacity = 0.5;

// Paints control with draw, given an antialiased painter on it. A disabled control is
// drawn whole into a layer first and the layer laid down at the disabled opacity, so
// that its overlapping parts do not show through one another.
void paintControl(QWidget &control, const std::function<void(QPainter &painter)> &draw);

// The rectangle of a one-line title of the given size in frame: as wide as the frame
// from x 0, its middle lift pixels above the frame's vertical centre, widened to whole
// pixels.
QRect centredTitleRect(const QRectF &frame, const QSizeF &titleSize, qreal lift);

// Draws title centred across frame in the regular button face at 14 points and color,
// lift pixels above the vertical centre (see centredTitleRect).
void drawRegularButtonTitle(QPainter &painter, const QRectF &frame, const QString &title, const QColor &color,
                            qreal lift);

} // namespace Kestrune

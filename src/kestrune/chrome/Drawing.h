#pragma once

#include <QtCore/QPointF>
#include <QtCore/QRectF>
#include <QtGui/QColor>
#include <QtGui/QGradient>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainterPath>

#include <vector>

class QImage;
class QPainter;

// Drawing helpers shared by the styled windows and controls: shadows cast inside a shape,
// soft blurs, strokes kept inside a shape, path conversion, three-slice images and
// gradients at an angle.
//
// Everything draws in the painter's own coordinates, which grow downwards: a shadow with
// a positive y offset falls below its shape. All of it runs on the GUI thread.

namespace Kestrune {

struct Shadow
{
    QPointF offset;
    qreal blurRadius = 0.0;
    QColor color = QColor(0, 0, 0, 85);
};

// Paints the silhouette of shape, filled with color, blurred by radius and moved by
// offset. Every shadow and blur below goes through it.
void drawBlurredShape(QPainter &painter, const QPainterPath &shape, const QColor &color, qreal radius,
                      const QPointF &offset = {});

// Paints the shadow inside path, cast inward from its edges; the path itself is not
// filled.
void fillWithInnerShadow(QPainter &painter, const QPainterPath &path, const Shadow &shadow);

// Paints a soft blur of path's shape in color, reaching radius past its bounds.
void drawBlurWithColor(QPainter &painter, const QPainterPath &path, const QColor &color, qreal radius);

// Strokes path with the painter's pen at twice its width, clipped to the inside of the
// path (the clip in force is replaced), so that a line of the pen's width shows inside
// the edge. A within rectangle with a positive width and height narrows the clip
// further; the empty rectangle adds no clip.
void strokeInside(QPainter &painter, const QPainterPath &path);
void strokeInsideWithinRect(QPainter &painter, const QPainterPath &path, const QRectF &within);

// One element of a path as an outline source describes it: quadratic segments included.
struct PathElement
{
    enum class Kind { MoveTo, LineTo, QuadTo, CurveTo, Close };
    Kind kind = Kind::MoveTo;
    // MoveTo, LineTo: {point}; QuadTo: {control, end}; CurveTo: {control 1, control 2, end}.
    std::vector<QPointF> points;
};

// Builds a painter path from elements. A quadratic segment from the current point P with
// control point Q to E becomes the cubic with control points (P + 2Q) / 3 and
// (E + 2Q) / 3, which traces the same curve. An element with too few points is skipped.
QPainterPath pathWithElements(const std::vector<PathElement> &elements);

// The area a line of the given width along path covers (butt ends, mitred joins, the
// line centred on the path), as a path to fill or to test points against. A width of 0
// or less, or an empty path, covers nothing: the empty path.
QPainterPath pathWithStrokeWidth(const QPainterPath &path, qreal width);

// Draws image into rect in three pieces: the left and right capWidth columns unscaled in
// width, the middle stretched between them. Each piece takes the rectangle's full height.
void drawStretchableImageInRect(QPainter &painter, const QImage &image, const QRectF &rect, qreal capWidth);

// A linear gradient over rect running at angle degrees (0 is left to right, 90 top to
// bottom, 270 bottom to top), its ends placed so the first and last stops meet the
// rectangle's far corners.
QLinearGradient gradientForAngle(const QRectF &rect, qreal angle, const QGradientStops &stops);

} // namespace Kestrune

#pragma once

#include <QtCore/QPointF>
#include <QtCore/QRectF>
#include <QtGui/QColor>

#include <functional>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace Tolmere::Detail {

// Draws what paintShape paints, under a soft shadow of it: the shape's coverage, in the
// given colour, moved by offset (y grows downwards) and blurred by blurRadius. bounds is
// where paintShape paints, in the painter's coordinates. Nothing is kept between calls.
void drawWithShadow(QPainter *painter, const QRectF &bounds, const QPointF &offset, const QColor &color,
                    qreal blurRadius, const std::function<void(QPainter &)> &paintShape);

} // namespace Tolmere::Detail

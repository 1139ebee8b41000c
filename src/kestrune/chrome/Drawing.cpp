#include <kestrune/chrome/Drawing.h>

#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <algorithm>
#include <cmath>

namespace Kestrune {

namespace {

// One pass of a box blur of the given radius along rows (step 1) or columns (step
// width) of an alpha buffer.
void boxBlur(std::vector<float> &alpha, int width, int height, int radius, bool alongRows)
{
    const int lines = alongRows ? height : width;
    const int length = alongRows ? width : height;
    const int step = alongRows ? 1 : width;
    const int lineStep = alongRows ? width : 1;
    std::vector<float> line(length);
    const float scale = 1.0f / float(2 * radius + 1);
    for (int l = 0; l < lines; ++l) {
        float *first = alpha.data() + l * lineStep;
        for (int i = 0; i < length; ++i)
            line[i] = first[i * step];
        float sum = 0.0f;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < length) ? line[i] : 0.0f;
        for (int i = 0; i < length; ++i) {
            first[i * step] = sum * scale;
            const int out = i - radius;
            const int in = i + radius + 1;
            if (out >= 0)
                sum -= line[out];
            if (in < length)
                sum += line[in];
        }
    }
}

} // namespace

void drawBlurredShape(QPainter &painter, const QPainterPath &shape, const QColor &color, qreal radius,
                      const QPointF &offset)
{
    if (shape.isEmpty() || color.alpha() == 0)
        return;
    radius = std::max<qreal>(radius, 0.0);
    // Three box passes approximate a Gaussian whose spread is half the radius.
    const qreal sigma = radius / 2.0;
    const int boxRadius =
        sigma > 0.0 ? int(std::lround((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0)) : 0;
    const int margin = 3 * boxRadius + 1;
    const QRect area = shape.boundingRect().toAlignedRect().adjusted(-margin, -margin, margin, margin);

    QImage mask(area.size(), QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter maskPainter(&mask);
        maskPainter.setRenderHint(QPainter::Antialiasing);
        maskPainter.translate(-area.topLeft());
        maskPainter.fillPath(shape, Qt::black);
    }

    const int width = area.width();
    const int height = area.height();
    std::vector<float> alpha(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const uchar *row = mask.constScanLine(y);
        for (int x = 0; x < width; ++x)
            alpha[size_t(y) * width + x] = float(row[x]) / 255.0f;
    }
    if (boxRadius > 0) {
        for (int pass = 0; pass < 3; ++pass) {
            boxBlur(alpha, width, height, boxRadius, true);
            boxBlur(alpha, width, height, boxRadius, false);
        }
    }

    QImage shadow(area.size(), QImage::Format_ARGB32_Premultiplied);
    const QColor opaque = color.toRgb();
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(shadow.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const float coverage = std::clamp(alpha[size_t(y) * width + x], 0.0f, 1.0f);
            const float a = coverage * float(opaque.alphaF());
            row[x] = qRgba(int(std::lround(opaque.redF() * a * 255.0f)),
                           int(std::lround(opaque.greenF() * a * 255.0f)),
                           int(std::lround(opaque.blueF() * a * 255.0f)), int(std::lround(a * 255.0f)));
        }
    }
    painter.drawImage(QPointF(area.topLeft()) + offset, shadow);
}

void fillWithInnerShadow(QPainter &painter, const QPainterPath &path, const Shadow &shadow)
{
    const qreal dx = std::abs(shadow.offset.x()) + shadow.blurRadius;
    const qreal dy = std::abs(shadow.offset.y()) + shadow.blurRadius;
    // A frame around the shape, wide enough that its blurred, moved silhouette still
    // covers everything the shadow can reach inside the shape.
    QPainterPath frame;
    frame.setFillRule(Qt::OddEvenFill);
    frame.addRect(path.boundingRect().adjusted(-dx - 1, -dy - 1, dx + 1, dy + 1));
    frame.addPath(path);

    painter.save();
    painter.setClipPath(path, Qt::IntersectClip);
    drawBlurredShape(painter, frame, shadow.color, shadow.blurRadius, shadow.offset);
    painter.restore();
}

void drawBlurWithColor(QPainter &painter, const QPainterPath &path, const QColor &color, qreal radius)
{
    painter.save();
    painter.setClipRect(path.boundingRect().adjusted(-radius, -radius, radius, radius), Qt::IntersectClip);
    drawBlurredShape(painter, path, color, radius);
    painter.restore();
}

void strokeInside(QPainter &painter, const QPainterPath &path)
{
    strokeInsideWithinRect(painter, path, QRectF());
}

void strokeInsideWithinRect(QPainter &painter, const QPainterPath &path, const QRectF &within)
{
    painter.save();
    QPen pen = painter.pen();
    pen.setWidthF(2.0 * pen.widthF());
    painter.setPen(pen);
    painter.setClipPath(path, Qt::ReplaceClip);
    if (within.width() > 0.0 && within.height() > 0.0)
        painter.setClipRect(within, Qt::IntersectClip);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.restore();
}

QPainterPath pathWithElements(const std::vector<PathElement> &elements)
{
    QPainterPath path;
    for (const PathElement &element : elements) {
        const auto &p = element.points;
        switch (element.kind) {
        case PathElement::Kind::MoveTo:
            if (!p.empty())
                path.moveTo(p[0]);
            break;
        case PathElement::Kind::LineTo:
            if (!p.empty())
                path.lineTo(p[0]);
            break;
        case PathElement::Kind::QuadTo:
            if (p.size() >= 2) {
                const QPointF start = path.currentPosition();
                const QPointF &control = p[0];
                const QPointF &end = p[1];
                path.cubicTo((start + 2.0 * control) / 3.0, (end + 2.0 * control) / 3.0, end);
            }
            break;
        case PathElement::Kind::CurveTo:
            if (p.size() >= 3)
                path.cubicTo(p[0], p[1], p[2]);
            break;
        case PathElement::Kind::Close:
            path.closeSubpath();
            break;
        }
    }
    return path;
}

QPainterPath pathWithStrokeWidth(const QPainterPath &path, qreal width)
{
    if (width <= 0.0 || path.isEmpty())
        return {};
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setMiterLimit(10.0);
    // The stroke's outline crosses itself at joins: filled by winding, it covers the line.
    QPainterPath outline = stroker.createStroke(path);
    outline.setFillRule(Qt::WindingFill);
    return outline;
}

void drawStretchableImageInRect(QPainter &painter, const QImage &image, const QRectF &rect, qreal capWidth)
{
    const qreal iw = image.width();
    const qreal ih = image.height();
    const qreal x = rect.x();
    const qreal y = rect.y();
    const qreal w = rect.width();
    const qreal h = rect.height();
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1.0);
    painter.drawImage(QRectF(x, y, capWidth, h), image, QRectF(0, 0, capWidth, ih));
    painter.drawImage(QRectF(x + capWidth, y, w - 2 * capWidth, h), image,
                      QRectF(capWidth, 0, iw - 2 * capWidth, ih));
    painter.drawImage(QRectF(x + w - capWidth, y, capWidth, h), image,
                      QRectF(iw - capWidth, 0, capWidth, ih));
    painter.restore();
}

QLinearGradient gradientForAngle(const QRectF &rect, qreal angle, const QGradientStops &stops)
{
    const qreal radians = qDegreesToRadians(angle);
    const QPointF direction(std::cos(radians), std::sin(radians));
    // Half the rectangle's extent along the direction: its far corners lie on the ends.
    const qreal half =
        (std::abs(direction.x()) * rect.width() + std::abs(direction.y()) * rect.height()) / 2.0;
    QLinearGradient gradient(rect.center() - half * direction, rect.center() + half * direction);
    gradient.setStops(stops);
    return gradient;
}

} // namespace Kestrune

#include <tolmere/Shadow_p.h>

#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace Tolmere::Detail {

namespace {

// One pass of a box blur over the premultiplied pixels, along rows (horizontal) or
// columns; three passes come close to a Gaussian.
void boxBlur(QImage &image, int radius, bool horizontal)
{
    const int w = image.width();
    const int h = image.height();
    const int lines = horizontal ? h : w;
    const int length = horizontal ? w : h;
    const int window = 2 * radius + 1;
    std::vector<QRgb> source(size_t(length), 0);
    for (int line = 0; line < lines; ++line) {
        auto pixel = [&](int i) -> QRgb & {
            const int x = horizontal ? i : line;
            const int y = horizontal ? line : i;
            return reinterpret_cast<QRgb *>(image.scanLine(y))[x];
        };
        for (int i = 0; i < length; ++i)
            source[size_t(i)] = pixel(i);
        int sum[4] = {0, 0, 0, 0};
        auto add = [&](int i, int sign) {
            if (i < 0 || i >= length)
                return;
            const QRgb p = source[size_t(i)];
            sum[0] += sign * qAlpha(p);
            sum[1] += sign * qRed(p);
            sum[2] += sign * qGreen(p);
            sum[3] += sign * qBlue(p);
        };
        for (int i = -radius; i <= radius; ++i)
            add(i, 1);
        for (int i = 0; i < length; ++i) {
            pixel(i) = qRgba(sum[1] / window, sum[2] / window, sum[3] / window, sum[0] / window);
            add(i - radius, -1);
            add(i + radius + 1, 1);
        }
    }
}

} // namespace

void drawWithShadow(QPainter *painter, const QRectF &bounds, const QPointF &offset, const QColor &color,
                    qreal blurRadius, const std::function<void(QPainter &)> &paintShape)
{
    const int radius = std::max(1, int(std::lround(blurRadius / 2.0)));
    const int pad = 3 * radius + 1;
    const QRect area = bounds.toAlignedRect().adjusted(-pad, -pad, pad, pad);
    if (!area.isEmpty()) {
        QImage shadow(area.size(), QImage::Format_ARGB32_Premultiplied);
        shadow.fill(Qt::transparent);
        {
            QPainter p(&shadow);
            p.setRenderHint(QPainter::Antialiasing);
            p.translate(-area.topLeft());
            paintShape(p);
            p.setCompositionMode(QPainter::CompositionMode_SourceIn);
            p.fillRect(QRectF(area), color);
        }
        for (int pass = 0; pass < 3; ++pass) {
            boxBlur(shadow, radius, true);
            boxBlur(shadow, radius, false);
        }
        painter->drawImage(QPointF(area.topLeft()) + offset, shadow);
    }
    paintShape(*painter);
}

} // namespace Tolmere::Detail

#include <bastwick/ImageAdditions.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QBuffer>
#include <QtGui/QPainter>

#include <cmath>

namespace Bastwick {

namespace {

constexpr QImage::Format kBitmapFormat = QImage::Format_ARGB32_Premultiplied;

QImage blankBitmap(const QSize &size)
{
    QImage bitmap(size, kBitmapFormat);
    if (!bitmap.isNull())
        bitmap.fill(Qt::transparent);
    return bitmap;
}

// The same pixels at a device pixel ratio of 1, so painting places them 1:1.
QImage atPixelScale(const QImage &image)
{
    QImage copy = image;
    copy.setDevicePixelRatio(1.0);
    return copy;
}

int toPixels(double value)
{
    if (!std::isfinite(value) || value <= 0)
        return 0;
    return int(std::lround(std::min(value, 1.0e6)));
}

// A new bitmap of the given pixel size with the whole image drawn scaled over all of it,
// in the given composition mode at full opacity; null for an empty size.
QImage drawnScaled(const QImage &image, const QSizeF &size, QPainter::CompositionMode mode)
{
    const QSize pixels(toPixels(size.width()), toPixels(size.height()));
    if (image.isNull() || pixels.isEmpty())
        return QImage();
    QImage result = blankBitmap(pixels);
    if (result.isNull())
        return QImage();
    QPainter painter(&result);
    painter.setCompositionMode(mode);
    painter.setOpacity(1.0);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QImage source = atPixelScale(image);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(pixels)), source, QRectF(source.rect()));
    painter.end();
    return result;
}

} // namespace

bool saveAtPath(const QImage &image, const QString &path)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        XXXLogWarning(
            QStringLiteral("Could not write the image to %1: it cannot be made into a PNG").arg(path));
        return false;
    }
    QString reason;
    if (!writeFileAtomically(path, png, &reason)) {
        XXXLogWarning(QStringLiteral("Could not write the image to %1").arg(reason));
        return false;
    }
    return true;
}

QImage reSize(const QImage &image, const QSizeF &size)
{
    return drawnScaled(image, size, QPainter::CompositionMode_SourceOver);
}

QImage imageFromCGImageRef(const QImage &bitmap)
{
    if (bitmap.isNull())
        return QImage();
    QImage result = blankBitmap(bitmap.size());
    QPainter painter(&result);
    painter.drawImage(QPointF(0, 0), atPixelScale(bitmap));
    return result;
}

QImage cgImage(const QImage &image)
{
    if (image.isNull())
        return QImage();
    return drawnScaled(image, image.deviceIndependentSize(), QPainter::CompositionMode_Source);
}

QImage nsImageToCGImageRef(const QImage &image)
{
    if (image.isNull())
        return QImage();
    return atPixelScale(image).convertToFormat(kBitmapFormat);
}

QImage ciImage(const QImage &image, QPainter *painter)
{
    if (image.isNull())
        return QImage();
    QImage flipped = atPixelScale(image).convertToFormat(kBitmapFormat).mirrored(false, true);
    flipped.setOffset(QPoint(0, 128 - flipped.height()));
    if (painter)
        painter->drawImage(QPointF(0, 0), flipped);
    return flipped;
}

} // namespace Bastwick

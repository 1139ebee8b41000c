#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QSizeF>
#include <QtCore/QString>
#include <QtGui/QImage>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

// Image helpers on QImage. Bitmaps made here are 32-bit ARGB with premultiplied alpha
// (QImage::Format_ARGB32_Premultiplied: 8 bits per component, alpha first, stored
// little-endian) and a device pixel ratio of 1. A null image gives a null image.

namespace Bastwick {

// Writes the image as PNG to path as a whole (see writeFileAtomically): a failure is
// logged with the path and the reason, and leaves no cut file. Answers whether it worked.
BASTWICK_EXPORT bool saveAtPath(const QImage &image, const QString &path);

// A new image of the given size (rounded to whole pixels) holding the whole image
// scaled to the whole new rectangle.
BASTWICK_EXPORT QImage reSize(const QImage &image, const QSizeF &size);

// A new image of the bitmap's pixel width and height with the bitmap drawn at (0, 0).
BASTWICK_EXPORT QImage imageFromCGImageRef(const QImage &bitmap);

// The image rendered at its size (device-independent, so a high-resolution image
// gives its point size) into a new bitmap, copying its pixels (alpha included).
BASTWICK_EXPORT QImage cgImage(const QImage &image);

// The image's pixels, unscaled, as a new bitmap.
BASTWICK_EXPORT QImage nsImageToCGImageRef(const QImage &image);

// The image flipped vertically by the transform y -> 128 - y: the rows are mirrored
// and the image's offset() is (0, 128 - height), where the flipped image lands. When a
// painter is given, the result is also drawn once at (0, 0) with it.
BASTWICK_EXPORT QImage ciImage(const QImage &image, QPainter *painter = nullptr);

} // namespace Bastwick

#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QString>
#include <QtGui/QColor>

namespace Bastwick {

// The RGB colour of a hexadecimal text such as "2c3135": the text is read as one
// hexadecimal number (leading white space, then an optional "#", then an optional
// "0x", then hex digits up to the first other character; a number beyond 32 bits reads
// as 0xffffffff); red is bits 16-23, green 8-15, blue 0-7, alpha 1. Text without hex
// digits reads as 0, black.
BASTWICK_EXPORT QColor colorWithHexColorString(const QString &text);

// "#rrggbb" in lower-case hexadecimal, each component times 255.99998474121094 cut to an
// integer; a null QString for an invalid colour.
BASTWICK_EXPORT QString colorHexString(const QColor &color);

} // namespace Bastwick

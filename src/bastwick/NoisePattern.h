#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QByteArray>
#include <QtGui/QImage>

// Grey noise for textured surfaces (title bars, icon bars). The bytes come from a
// generator of their own, seeded 124 on every call, so every start and every caller
// draws exactly the same pattern, and the process-wide rand() is neither read nor
// reseeded.

namespace Bastwick {

// width * height bytes, row by row: each is a draw of the generator modulo 256,
// multiplied by factor and truncated (0.015 gives values 0 to 3). Empty for a size
// that is not positive.
BASTWICK_EXPORT QByteArray noiseBytes(int width, int height, double factor);

// The same bytes as an 8-bit grey image without alpha (null for an empty size).
BASTWICK_EXPORT QImage noiseImage(int width, int height, double factor);

} // namespace Bastwick

#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QSize>
#include <QtCore/QString>
#include <QtGui/QImage>

namespace Corbelan {

// The application's image of that name from the Qt resources, searched under ":/images/"
// and then ":/". A name without an extension finds "<name>.svg", then "<name>.png", then
// the bare name; a name with one finds that file, then the SVG of the same base name
// (our own images are SVG). SVG images are rendered at the given size, or at their own
// size when none is given; bitmaps are scaled to the given size. A null image when
// nothing is found or the file does not decode.
CORBELAN_EXPORT QImage namedImage(const QString &name, const QSize &size = QSize());

} // namespace Corbelan

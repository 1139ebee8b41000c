#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtGui/QColor>
#include <QtGui/QImage>

namespace Pavisade {

// A template image (a shape drawn in one dark colour on transparency) in the given
// colour: every pixel keeps its alpha and takes the colour. A null image stays null.
PAVISADE_EXPORT QImage tintedTemplateImage(const QImage &image, const QColor &color);

} // namespace Pavisade

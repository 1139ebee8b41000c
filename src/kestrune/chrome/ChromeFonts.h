#pragma once

#include <QtCore/QString>
#include <QtGui/QFont>

// Fonts of the styled controls. One design point is one pixel; a size between two pixels
// rounds to the nearer one, halves away from zero. The design's faces map to the
// installed DejaVu faces.

namespace Kestrune {

// The face of the flat and text-only buttons and of the styled text fields.
inline constexpr const char *kKSTRegularFontName = "HelveticaNeue";

// The installed family that stands for a design face name.
QString installedFamilyForFace(const QString &faceName);

// The design face at points, as a font sized in pixels.
QFont chromeFont(const QString &faceName, qreal points);

// A design length in whole pixels, halves away from zero.
int pointsToPixels(qreal points);

} // namespace Kestrune

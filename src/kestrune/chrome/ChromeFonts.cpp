#include <kestrune/chrome/ChromeFonts.h>

#include <algorithm>
#include <cmath>

namespace Kestrune {

QString installedFamilyForFace(const QString &faceName)
{
    // Every face the controls name ("HelveticaNeue" and its weights) is a sans face.
    Q_UNUSED(faceName);
    return QStringLiteral("DejaVu Sans");
}

QFont chromeFont(const QString &faceName, qreal points)
{
    QFont font(installedFamilyForFace(faceName));
    font.setPixelSize(std::max(1, pointsToPixels(points)));
    if (faceName.contains(QLatin1String("Bold")))
        font.setBold(true);
    if (faceName.contains(QLatin1String("Italic")) || faceName.contains(QLatin1String("Oblique")))
        font.setItalic(true);
    return font;
}

int pointsToPixels(qreal points)
{
    return int(std::lround(points));
}

} // namespace Kestrune

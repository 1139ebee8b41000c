#include <bastwick/FontAdditions.h>

#include <QtCore/QStringList>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontInfo>

namespace Bastwick {

namespace {

// Both the font database and the font Qt resolves for the family must be fixed pitch: a
// family can list as fixed and still resolve to a proportional face.
bool isFixedPitch(const QString &family)
{
    if (family.isEmpty() || !QFontDatabase::isFixedPitch(family))
        return false;
    QFont font(family);
    font.setStyleHint(QFont::Monospace);
    return QFontInfo(font).fixedPitch();
}

} // namespace

QString fixedPitchFamily()
{
    QStringList candidates = {QStringLiteral("DejaVu Sans Mono"),
                              QFontDatabase::systemFont(QFontDatabase::FixedFont).family()};
    candidates += QFontDatabase::families();
    for (const QString &family : std::as_const(candidates))
        if (isFixedPitch(family))
            return family;
    return QString();
}

QFont monospacedFont()
{
    const QString family = fixedPitchFamily();
    if (family.isEmpty())
        return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    QFont font(family);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

} // namespace Bastwick

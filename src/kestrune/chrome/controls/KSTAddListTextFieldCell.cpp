#include <kestrune/chrome/controls/KSTAddListTextFieldCell.h>

#include <kestrune/chrome/ChromeFonts.h>
#include <kestrune/chrome/Palette.h>

using namespace Kestrune;

KSTAddListTextFieldCell::KSTAddListTextFieldCell(QObject *parent)
    : StyledFieldCell(parent)
{
    setFont(chromeFont(QString::fromLatin1(kKSTRegularFontName), 14.0));
    setTextColor(zodevarTextColor().toQColor());
    setDrawsBackground(false);
    setBordered(false);
    setBezeled(false);
    setEditable(true);
}

#include <kestrune/chrome/controls/KSTTagTextFieldCell.h>

#include <kestrune/chrome/ChromeFonts.h>

using namespace Kestrune;

KSTTagTextFieldCell::KSTTagTextFieldCell(QObject *parent)
    : StyledFieldCell(parent)
{
    setFont(chromeFont(QString::fromLatin1(kKSTRegularFontName), 15.0));
    setTextColor(Qt::white);
}

#pragma once

class QAbstractItemView;
class QWidget;

namespace Kestrune {

// The look of the shell's lists on the dark background "2c3135": light text, blue
// selection, light expand arrows, a slim dark scroll bar and a dark header. The screen
// holding the list (its toolbar strip, whose white icons need the dark) gets the same
// background.
void applyDarkListLook(QAbstractItemView *view, QWidget *screen);

} // namespace Kestrune

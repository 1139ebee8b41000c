#pragma once

#include <kestrune/chrome/controls/StyledFieldCell.h>

// A borderless, editable cell for typing a new list entry: 14-point regular face in the
// palette's text colour, no background, no border, no bezel, no focus ring. Main thread.
class KSTAddListTextFieldCell : public Kestrune::StyledFieldCell
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit KSTAddListTextFieldCell(QObject *parent = nullptr);
};

#pragma once

#include <kestrune/chrome/controls/StyledFieldCell.h>

// A plain cell whose text is white, in the 15-point regular face; everything else is the
// field's own. Main thread.
class KSTTagTextFieldCell : public Kestrune::StyledFieldCell
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit KSTTagTextFieldCell(QObject *parent = nullptr);
};

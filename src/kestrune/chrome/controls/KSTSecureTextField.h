#pragma once

#include <kestrune/chrome/controls/KSTTextField.h>

// A password field: the text shows as bullets, and the field always carries a secure
// rounded cell. A cell of another kind given to it is replaced by a new secure cell that
// takes over the given cell's placeholder and editability; the field's text, alignment
// and connections stay as they are. Main thread.
class KSTSecureTextField : public KSTTextField
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit KSTSecureTextField(QWidget *parent = nullptr);

    void setCell(Kestrune::StyledFieldCell *cell) override;
};

#include <kestrune/chrome/controls/KSTSecureTextField.h>

#include <kestrune/chrome/controls/KSTSecureTextFieldCell.h>

using namespace Kestrune;

KSTSecureTextField::KSTSecureTextField(QWidget *parent)
    : KSTTextField(new KSTSecureTextFieldCell, parent)
{
    setEchoMode(QLineEdit::Password);
}

void KSTSecureTextField::setCell(StyledFieldCell *cell)
{
    if (!cell || qobject_cast<KSTSecureTextFieldCell *>(cell)) {
        KSTTextField::setCell(cell);
        return;
    }
    auto *secure = new KSTSecureTextFieldCell;
    secure->setPlaceholderString(cell->placeholderString());
    secure->setEditable(cell->isEditable());
    delete cell;
    KSTTextField::setCell(secure);
}

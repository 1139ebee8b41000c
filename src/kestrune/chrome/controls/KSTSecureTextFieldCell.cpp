#include <kestrune/chrome/controls/KSTSecureTextFieldCell.h>

KSTSecureTextFieldCell::KSTSecureTextFieldCell(QObject *parent)
    : KSTTextFieldCell(parent)
{
}

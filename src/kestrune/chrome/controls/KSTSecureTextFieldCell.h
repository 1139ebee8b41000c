#pragma once

#include <kestrune/chrome/controls/KSTTextFieldCell.h>

// The rounded inset cell for password entry: it draws, centres and places its text
// exactly as the rounded cell does; the secure field shows its text as bullets.
class KSTSecureTextFieldCell : public KSTTextFieldCell
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit KSTSecureTextFieldCell(QObject *parent = nullptr);
};

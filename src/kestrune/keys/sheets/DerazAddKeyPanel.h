#pragma once

#include <kestrune/keys/sheets/DerazKeyPanel.h>

// The sheet that adds new keys: the type control switches the editor and the type image.
// Saves take the add road (existing keys are written over, nothing is deleted first).
// Main thread.
class DerazAddKeyPanel : public DerazKeyPanel
{
    Q_OBJECT

public:
    explicit DerazAddKeyPanel(QWidget *parent = nullptr);

    // The unit is ignored.
    void beginWithUnit(QWidget *window, const QVariant &unit) override;
    void keyTypeChangeBtnClicked(int segment) override;
};

#include <kestrune/keys/sheets/DerazAddKeyPanel.h>

DerazAddKeyPanel::DerazAddKeyPanel(QWidget *parent)
    : DerazKeyPanel(parent)
{
    setWindowTitle(tr("Add Key"));
}

void DerazAddKeyPanel::beginWithUnit(QWidget *window, const QVariant &unit)
{
    Q_UNUSED(unit);
    setParentWindow(window);
    beginAsSheet(window);
}

void DerazAddKeyPanel::keyTypeChangeBtnClicked(int segment)
{
    showKeyType(segment);
    DerazKeyPanel::keyTypeChangeBtnClicked(segment);
}

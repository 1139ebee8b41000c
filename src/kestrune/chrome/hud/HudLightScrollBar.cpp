#include <kestrune/chrome/hud/HudLightScrollBar.h>

HudLightScrollBar::HudLightScrollBar(Qt::Orientation orientation, QWidget *parent)
    : KnobStyleScrollBar(orientation, KnobStyleLight, parent)
{
}

#pragma once

#include <tolmere/KnobStyleScrollBar.h>

// A scroll bar for dark backgrounds: the light knob style (no track, a white knob at
// half alpha). Main thread.
class HudLightScrollBar : public KnobStyleScrollBar
{
    Q_OBJECT
public:
    explicit HudLightScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);
};

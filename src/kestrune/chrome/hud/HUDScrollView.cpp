#include <kestrune/chrome/hud/HUDScrollView.h>

#include <kestrune/chrome/hud/HudLightScrollBar.h>

HUDScrollView::HUDScrollView(QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(QStringLiteral("HUDScrollView"));
    setVerticalScrollBar(new HudLightScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new HudLightScrollBar(Qt::Horizontal, this));
}

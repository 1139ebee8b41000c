#include <kestrune/chrome/ChromeClasses.h>

#include <kestrune/chrome/hud/HUDButtonCell.h>
#include <kestrune/chrome/hud/HUDImageCell.h>
#include <kestrune/chrome/hud/HUDScrollView.h>
#include <kestrune/chrome/hud/HUDSegmentedCell.h>
#include <kestrune/chrome/hud/HUDTextFieldCell.h>
#include <kestrune/chrome/hud/HUDTextView.h>
#include <kestrune/chrome/hud/HUDWindow.h>
#include <kestrune/chrome/hud/HUDWindowButtonCell.h>
#include <kestrune/chrome/hud/HUDWindowFrameView.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerHudClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<HUDWindow>();
    registry.registerClass<HUDWindowFrameView>();
    registry.registerClass<HUDWindowButtonCell>();
    registry.registerClass<HUDImageCell>();
    registry.registerClass<HUDTextFieldCell>();
    registry.registerClass<HUDTextView>();
    registry.registerClass<HUDScrollView>();
    registry.registerClass<HUDButtonCell>();
    registry.registerClass<HUDSegmentedCell>();
}

} // namespace Kestrune

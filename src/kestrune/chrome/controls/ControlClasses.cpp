#include <kestrune/chrome/ChromeClasses.h>

#include <kestrune/chrome/controls/BorderlessLinkButton.h>
#include <kestrune/chrome/controls/ColorButton.h>
#include <kestrune/chrome/controls/KSTArchesWindow.h>
#include <kestrune/chrome/controls/KSTFlatButton.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerControlClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<ColorButton>();
    registry.registerClass<ColorButtonCell>();
    registry.registerClass<KSTFlatButton>();
    registry.registerClass<KSTFlatButtonCell>();
    registry.registerClass<KSTTextButtonCell>();
    registry.registerClass<BorderlessLinkButton>();
    registry.registerClass<KSTArchesWindow>();
    registry.registerClass<KSTArchesWindowContentView>();
}

} // namespace Kestrune

#include <kestrune/keys/KeyClasses.h>

#include <kestrune/keys/console/DerazCmdHelpViewController.h>
#include <kestrune/keys/console/DerazConsoleViewController.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerConsoleClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<DerazConsoleViewController>();
    registry.registerClass<DerazCmdHelpViewController>();
}

} // namespace Kestrune

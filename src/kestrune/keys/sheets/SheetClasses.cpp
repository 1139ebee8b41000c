#include <kestrune/keys/KeyClasses.h>
#include <kestrune/keys/sheets/DerazAddKeyPanel.h>
#include <kestrune/keys/sheets/DerazAddListViewController.h>
#include <kestrune/keys/sheets/DerazUpdatePanel.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerKeySheetClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<DerazAddKeyPanel>();
    registry.registerClass<DerazUpdatePanel>();
    registry.registerClass<DerazAddListViewController>();
}

} // namespace Kestrune

#include <kestrune/keys/KeyClasses.h>
#include <kestrune/keys/probe/DerazDetailViewController.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerProbeClasses()
{
    Bastwick::ClassRegistry &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<DerazProbeViewController>();
    registry.registerClass<DerazDetailViewController>();
    registry.registerClass<DerazKeysBrowseViewController>();
    registry.registerClass<DerazKeysQueryViewController>();
}

} // namespace Kestrune

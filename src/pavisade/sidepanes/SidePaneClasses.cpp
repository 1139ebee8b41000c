#include <pavisade/sidepanes/SidePaneClasses.h>

#include <pavisade/sidepanes/X3InspectorTabViewController.h>
#include <pavisade/sidepanes/XXXInspectorTabViewController.h>
#include <pavisade/sidepanes/XXXPropertiesViewController.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerSidePaneClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<X3InspectorTabViewController>();
    registry.registerClass<XXXInspectorTabViewController>();
    registry.registerClass<XXXPropertiesViewController>();
}

} // namespace Pavisade

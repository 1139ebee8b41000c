#include <pavisade/inspector/InspectorClasses.h>

#include <pavisade/inspector/X3InspectorTabViewController.h>
#include <pavisade/inspector/XXXInspectorTabViewController.h>
#include <pavisade/inspector/XXXPropertiesViewController.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerInspectorClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<X3InspectorTabViewController>();
    registry.registerClass<XXXInspectorTabViewController>();
    registry.registerClass<XXXPropertiesViewController>();
}

} // namespace Pavisade

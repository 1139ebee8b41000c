#include <pavisade/trees/TreeClasses.h>

#include <pavisade/trees/X3TreeViewController.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerPavisadeTreeClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<XXXTreeViewDataDelegate>();
    registry.registerClass<X3TreeViewController>();
    registry.registerClass<X3TreeViewXibController>();
}

} // namespace Pavisade

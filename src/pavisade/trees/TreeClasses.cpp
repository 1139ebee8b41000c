#include <pavisade/trees/TreeClasses.h>

#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerPavisadeTreeClasses()
{
    Bastwick::ClassRegistry::instance().registerClass<XXXTreeViewDataDelegate>();
}

} // namespace Pavisade

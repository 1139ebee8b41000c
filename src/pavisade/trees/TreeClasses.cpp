#include <pavisade/trees/TreeClasses.h>

#include <pavisade/trees/CommonCellTreeDataDelegate.h>
#include <pavisade/trees/CommonTreeDataDelegate.h>
#include <pavisade/trees/CommonTreeViewDelegate.h>
#include <pavisade/trees/CommonViewTreeDataDelegate.h>
#include <pavisade/trees/X3TreeViewController.h>
#include <pavisade/trees/XXXTreeViewBasedDataDelegate.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerPavisadeTreeClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<XXXTreeViewDataDelegate>();
    registry.registerClass<XXXTreeViewBasedDataDelegate>();
    registry.registerClass<CommonTreeDataDelegate>();
    registry.registerClass<CommonCellTreeDataDelegate>();
    registry.registerClass<CommonViewTreeDataDelegate>();
    registry.registerClass<CommonTreeViewDelegate>();
    registry.registerClass<X3TreeViewController>();
    registry.registerClass<X3TreeViewXibController>();
}

} // namespace Pavisade

#include <pavisade/older/OlderClasses.h>

#include <pavisade/older/X3TabViewBackController.h>
#include <pavisade/older/XXXDoubleEidtTableViewController.h>
#include <pavisade/older/XXXSplitViewController.h>
#include <pavisade/older/XXXSplitViewXibController.h>
#include <pavisade/older/XXXTabViewController.h>
#include <pavisade/older/XXXTabXibViewController.h>
#include <pavisade/older/XXXTableViewController.h>
#include <pavisade/older/XXXTableViewPageControllerViewController.h>
#include <pavisade/older/XXXTableViewXibController.h>
#include <pavisade/older/XXXTableViewXibPageController.h>
#include <pavisade/older/XXXTreeViewController.h>
#include <pavisade/older/XXXTreeViewXibController.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerOlderClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<X3TabViewBackController>();
    registry.registerClass<XXXTabViewController>();
    registry.registerClass<XXXTabXibViewController>();
    registry.registerClass<XXXSplitViewController>();
    registry.registerClass<XXXSplitViewXibController>();
    registry.registerClass<XXXTableViewController>();
    registry.registerClass<XXXDoubleEidtTableViewController>();
    registry.registerClass<XXXTableViewXibController>();
    registry.registerClass<XXXTableViewPageControllerViewController>();
    registry.registerClass<XXXTableViewXibPageController>();
    registry.registerClass<XXXTreeViewController>();
    registry.registerClass<XXXTreeViewXibController>();
}

} // namespace Pavisade

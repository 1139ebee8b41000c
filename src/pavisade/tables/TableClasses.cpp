#include <pavisade/tables/TableClasses.h>

#include <pavisade/tables/NSTableViewEX.h>
#include <pavisade/tables/X3DoubleEidtTableViewController.h>
#include <pavisade/tables/X3TableViewPageController.h>
#include <pavisade/tables/X3TableViewXibController.h>
#include <pavisade/tables/X3TableViewXibPageController.h>
#include <pavisade/tables/XXXNSTableColumnField.h>
#include <pavisade/tables/XXXTableViewDataDelegate.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerPavisadeTableClasses()
{
    qRegisterMetaType<XXXNSTableColumnField>();
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<XXXNSTableColumnField>();
    registry.registerClass<XXXTableViewBasedDataDelegate>();
    registry.registerClass<XXXTableViewDataDelegate>();
    registry.registerClass<CommonTableViewDataDelegate>();
    registry.registerClass<NSTableViewEX>();
    registry.registerClass<X3TableViewController>();
    registry.registerClass<X3TableViewXibController>();
    registry.registerClass<X3DoubleEidtTableViewController>();
    registry.registerClass<X3TableViewXibPageController>();
    registry.registerClass<X3TableViewPageController>();
}

} // namespace Pavisade

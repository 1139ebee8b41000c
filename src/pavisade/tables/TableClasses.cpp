#include <pavisade/tables/TableClasses.h>

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
}

} // namespace Pavisade

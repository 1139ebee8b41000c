#include <corbelan/services/ServicesClasses.h>

#include <corbelan/services/Identifier.h>
#include <corbelan/services/ValueTransformer.h>
#include <corbelan/services/XXXMutiDelegateModule.h>
#include <corbelan/services/XXXPageManager.h>
#include <corbelan/services/XXXPreference.h>
#include <corbelan/services/XXXTablePageControll.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Corbelan {

void registerServicesClasses()
{
    Bastwick::ClassRegistry &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<XXXPreference>();
    registry.registerClass<XXXMutiDelegateModule>();
    registry.registerClass<XXXPageManager>();
    registry.registerClass<XXXTablePageControll>();
    registry.registerClass<Identifier>();
    registerValueTransformers();
}

} // namespace Corbelan

#include <corbelan/services/ServicesClasses.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Corbelan {

void registerServicesClasses()
{
}

} // namespace Corbelan

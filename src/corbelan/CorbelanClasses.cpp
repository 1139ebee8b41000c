#include <corbelan/CorbelanClasses.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Corbelan {

void registerCorbelanClasses()
{
    static const bool done = [] {
        // Classes made by name (models by table name, controllers by route) are added here.
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace Corbelan

#include <corbelan/sqlite/AlternativeSqliteClasses.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Corbelan {

void registerAlternativeSqliteClasses()
{
}

} // namespace Corbelan

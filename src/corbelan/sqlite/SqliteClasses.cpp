#include <corbelan/sqlite/SqliteClasses.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Corbelan {

void registerSqliteClasses()
{
}

} // namespace Corbelan

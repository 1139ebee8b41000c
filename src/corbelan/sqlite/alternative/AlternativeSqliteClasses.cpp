#include <corbelan/sqlite/alternative/AlternativeSqliteClasses.h>

#include <corbelan/sqlite/alternative/BaseDAO.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Corbelan {

void registerAlternativeSqliteClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<BaseDAO>();
}

} // namespace Corbelan

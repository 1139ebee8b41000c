#include <corbelan/sqlite/SqliteClasses_p.h>

#include <corbelan/sqlite/DataModel.h>
#include <corbelan/sqlite/XXXBO.h>
#include <corbelan/sqlite/XXXBaseDAO.h>
#include <corbelan/sqlite/XXXDAO.h>
#include <corbelan/sqlite/XXXDataModel.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Corbelan {

void registerSqliteClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<XXXDAO>();
    registry.registerClass<XXXBaseDAO>();
    registry.registerClass<XXXDataModel>();
    registry.registerClass<DataModel>();
    registry.registerClass<XXXBO>();
}

} // namespace Corbelan

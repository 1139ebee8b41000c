#include <corbelan/CorbelanClasses.h>

#include <corbelan/network/NetworkClasses.h>
#include <corbelan/services/ServicesClasses.h>
#include <corbelan/sqlite/SqliteClasses_p.h>
#include <corbelan/sqlite/alternative/AlternativeSqliteClasses_p.h>

namespace Corbelan {

void registerCorbelanClasses()
{
    static const bool done = [] {
        registerSqliteClasses();
        registerAlternativeSqliteClasses();
        registerServicesClasses();
        registerNetworkClasses();
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace Corbelan

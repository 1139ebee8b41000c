#include <corbelan/CorbelanClasses.h>

#include <corbelan/services/ServicesClasses.h>
#include <corbelan/sqlite/SqliteClasses.h>
#include <corbelan/sqlite/alternative/AlternativeSqliteClasses.h>

namespace Corbelan {

void registerCorbelanClasses()
{
    static const bool done = [] {
        registerSqliteClasses();
        registerAlternativeSqliteClasses();
        registerServicesClasses();
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace Corbelan

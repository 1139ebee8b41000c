#include <pavisade/PavisadeClasses.h>

#include <pavisade/tables/TableClasses.h>
#include <pavisade/trees/TreeClasses.h>

namespace Pavisade {

void registerPavisadeClasses()
{
    static const bool done = [] {
        // Each folder's registration is called from here as the folders arrive.
        registerPavisadeTableClasses();
        registerPavisadeTreeClasses();
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace Pavisade

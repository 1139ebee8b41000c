#include <pavisade/PavisadeClasses.h>

namespace Pavisade {

void registerPavisadeClasses()
{
    static const bool done = [] {
        // Each folder's registration is called from here as the folders arrive.
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace Pavisade

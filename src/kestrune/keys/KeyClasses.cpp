#include <kestrune/keys/KeyClasses.h>

namespace Kestrune {

void registerKeyClasses()
{
    registerKeySheetClasses();
    registerProbeClasses();
    registerConsoleClasses();
}

} // namespace Kestrune

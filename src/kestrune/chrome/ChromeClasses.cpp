#include <kestrune/chrome/ChromeClasses.h>

namespace Kestrune {

void registerChromeClasses()
{
    registerHudClasses();
    registerControlClasses();
}

} // namespace Kestrune

#include <kestrune/chrome/ChromeClasses.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerControlClasses() {}

} // namespace Kestrune

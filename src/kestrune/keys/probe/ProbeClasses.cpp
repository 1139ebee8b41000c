#include <kestrune/keys/KeyClasses.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerProbeClasses() {}

} // namespace Kestrune

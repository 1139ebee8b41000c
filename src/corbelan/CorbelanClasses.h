#pragma once

#include <corbelan/CorbelanExport.h>

namespace Corbelan {

// Registers Corbelan's classes with the class registry. Called once at start-up
// (and by test mains) after Bastwick's own registration.
CORBELAN_EXPORT void registerCorbelanClasses();

} // namespace Corbelan

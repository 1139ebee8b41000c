#pragma once

#include <tolmere/TolmereExport.h>

namespace Tolmere {

// Registers Tolmere's widget classes with the class registry, so screens built from a
// description can make them by name. Called once at start-up (and by test mains) after
// Bastwick's own registration.
TOLMERE_EXPORT void registerTolmereClasses();

} // namespace Tolmere

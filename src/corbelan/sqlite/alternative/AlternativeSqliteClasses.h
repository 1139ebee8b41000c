#pragma once

#include <corbelan/CorbelanExport.h>

namespace Corbelan {

// Registers the classes of this area with the class registry (see registerCorbelanClasses).
CORBELAN_EXPORT void registerAlternativeSqliteClasses();

} // namespace Corbelan

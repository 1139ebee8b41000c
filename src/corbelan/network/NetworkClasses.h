#pragma once

#include <corbelan/CorbelanExport.h>

namespace Corbelan {

// Registers the network services' classes (the JSON models among them) in the class
// registry. Called by registerCorbelanClasses().
CORBELAN_EXPORT void registerNetworkClasses();

} // namespace Corbelan

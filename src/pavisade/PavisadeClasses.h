#pragma once

#include <pavisade/PavisadeExport.h>

namespace Pavisade {

// Registers Pavisade's classes with the class registry. Called once at start-up
// (and by test mains) after Corbelan's own registration.
PAVISADE_EXPORT void registerPavisadeClasses();

} // namespace Pavisade

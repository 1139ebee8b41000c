#pragma once

namespace Pavisade {

// Registers the code viewers' classes by name.
void registerPavisadeCodeClasses();

} // namespace Pavisade

#pragma once

namespace Pavisade {

// Registers the CSV grid's and the grid screens' classes by name.
void registerPavisadeGridClasses();

} // namespace Pavisade

#pragma once

namespace Pavisade {

// Registers the cell classes by name.
void registerPavisadeCellClasses();

} // namespace Pavisade

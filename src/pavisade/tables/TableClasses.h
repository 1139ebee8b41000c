#pragma once

namespace Pavisade {

// Registers the table classes (column definitions, table models) with the class registry.
void registerPavisadeTableClasses();

} // namespace Pavisade

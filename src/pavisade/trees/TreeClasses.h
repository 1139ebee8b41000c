#pragma once

namespace Pavisade {

// Registers the tree classes with the class registry.
void registerPavisadeTreeClasses();

} // namespace Pavisade

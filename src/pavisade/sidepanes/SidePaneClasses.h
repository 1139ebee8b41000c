#pragma once

namespace Pavisade {
// Registers the inspector screens with the class registry.
void registerSidePaneClasses();
} // namespace Pavisade

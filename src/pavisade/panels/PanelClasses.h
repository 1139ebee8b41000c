#pragma once

namespace Pavisade {

// Registers the panel classes with the class registry.
void registerPavisadePanelClasses();

} // namespace Pavisade

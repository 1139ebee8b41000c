#pragma once

namespace Pavisade {
// Registers the older screens with the class registry.
void registerOlderClasses();
} // namespace Pavisade

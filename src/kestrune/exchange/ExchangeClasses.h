#pragma once

namespace Kestrune {

// Registers the table writers by class name, so export registries can make them.
// Called once at start-up and by test mains.
void registerExchangeClasses();

} // namespace Kestrune

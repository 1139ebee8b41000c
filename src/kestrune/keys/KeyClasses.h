#pragma once

namespace Kestrune {

// Registers the key screens by name, so the key tree and the root view can create them.
void registerKeyClasses();

// Each folder of the key screens registers its own classes.
void registerKeySheetClasses();
void registerProbeClasses();
void registerConsoleClasses();

} // namespace Kestrune

#pragma once

namespace Kestrune {

// Registers the chrome's windows, cells and controls by their names.
void registerChromeClasses();

// Each folder of the chrome registers its own classes.
void registerHudClasses();
void registerControlClasses();

} // namespace Kestrune

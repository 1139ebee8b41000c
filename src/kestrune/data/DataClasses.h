#pragma once

namespace Kestrune {

// Registers the data layer's classes made by name (the profile model of the table
// "DBProfile", the key records) and its resources. Called once at start-up and by test
// mains.
void registerDataClasses();

} // namespace Kestrune

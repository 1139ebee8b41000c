#pragma once

namespace Kestrune {

// Registers the record models of the local store made by name (the command reference
// and the version records) and the node images. Called from registerDataClasses().
void registerStateClasses();

} // namespace Kestrune

#pragma once

// The application's resources (":/..."), compiled into the KestruneResources library
// that the application and the headless tests link.

namespace Kestrune {

// True when the seed database ":/Deraz.sqlite" is among the linked resources.
bool hasSeedDatabase();

} // namespace Kestrune

#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QString>
#include <QtGui/QFont>

namespace Bastwick {

// The family of fixed-pitch text: DejaVu Sans Mono when it is installed, else the
// system's fixed font or the first installed family, as long as Qt reports it as fixed
// pitch (the system's fixed font may resolve to one that is not, where many fonts are
// installed). Empty when no installed family is fixed pitch.
BASTWICK_EXPORT QString fixedPitchFamily();

// A fixed-pitch font of the default size for the code viewers and the console (see
// fixedPitchFamily); callers set the size. The system's fixed font when no family is
// fixed pitch.
BASTWICK_EXPORT QFont monospacedFont();

} // namespace Bastwick

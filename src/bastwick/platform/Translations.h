#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QString>

namespace Bastwick {

// Loads a compiled translation table (a .qm resource) and installs it on the running
// application, once per path: later calls with the same path do nothing. Returns whether
// the table is installed. Without an application object nothing is installed. Main thread.
BASTWICK_EXPORT bool installTranslationsOnce(const QString &qmPath);

} // namespace Bastwick

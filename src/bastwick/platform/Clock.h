#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QDateTime>

#include <functional>

namespace Bastwick {

// The current moment. Tests replace it with setNowProvider; an empty provider
// restores the system clock.
BASTWICK_EXPORT QDateTime now();
BASTWICK_EXPORT void setNowProvider(std::function<QDateTime()> provider);

} // namespace Bastwick

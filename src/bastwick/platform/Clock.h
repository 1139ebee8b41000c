#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QDateTime>

#include <functional>

namespace Bastwick {

// The current moment. Tests replace it with setNowProvider; an empty provider
// restores the system clock.
BASTWICK_EXPORT QDateTime now();
// The same moment in UTC, made without looking up the local time zone (for clocks read
// many times a second).
BASTWICK_EXPORT QDateTime nowUtc();
BASTWICK_EXPORT void setNowProvider(std::function<QDateTime()> provider);

} // namespace Bastwick

#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

#include <optional>

namespace Corbelan {

// The dotted address of the last IPv4 entry in the host's list of network interfaces,
// leaving out loopback interfaces (by their loopback flag) when skipLoopback is true. A
// null text when no entry qualifies; nothing when the interfaces cannot be listed.
CORBELAN_EXPORT std::optional<QString> lastIPv4InterfaceAddress(bool skipLoopback);

} // namespace Corbelan

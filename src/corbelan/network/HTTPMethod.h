#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

// HTTP method codes: 0 GET, 1 POST, 2 PUT, 3 DELETE, 4 HEAD, 5 OPTIONS, 6 TRACE, 7 CONNECT.
// Both look-ups are built once and read-only afterwards, so any thread may use them.

// The method name of a code; a null text for a code outside 0-7.
CORBELAN_EXPORT QString HTTPMethod(int code);
// The code of a method name (exact, case-sensitive); 0 (GET) for any other name.
CORBELAN_EXPORT int HTTPMethodEnum(const QString &name);

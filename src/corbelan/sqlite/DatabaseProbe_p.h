#pragma once

// Internal to the library: the check the queue and the pool make on the file they are
// given.

#include <bastwick/platform/Error.h>

class XXXRWDatabase;

namespace Corbelan {

// Opens db with the flags and reads its schema once: SQLite opens any file lazily, so a
// file that is not a database fails only at its first statement (code 26). False, with
// the reason, when either step fails; the connection is then closed.
bool openProbed(XXXRWDatabase &db, int flags, Bastwick::Error *reason);

} // namespace Corbelan

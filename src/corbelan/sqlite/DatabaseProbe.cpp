#include <corbelan/sqlite/DatabaseProbe_p.h>

#include <corbelan/sqlite/XXXRWDatabase.h>

#include <sqlite3.h>

namespace Corbelan {

bool openProbed(XXXRWDatabase &db, int flags, Bastwick::Error *reason)
{
    if (!db.openWithFlags(flags)) {
        Bastwick::setError(reason, Bastwick::Error(QStringLiteral("XXXRWDatabase"), SQLITE_CANTOPEN,
                                                   QString::fromUtf8(sqlite3_errstr(SQLITE_CANTOPEN))));
        return false;
    }
    if (db.goodConnection())
        return true;
    Bastwick::setError(reason, db.lastError());
    db.close();
    return false;
}

} // namespace Corbelan

#pragma once

// A fresh local store for tests and screenshot programs of the application: the
// shared database closed and forgotten, its file removed, so that the next open copies
// the build's seed database anew.

#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/resources/KestruneResources.h>

#include <corbelan/sqlite/XXXDBManager.h>

#include <QtCore/QFile>

namespace TestSupport {

// Closes the local database, drops its queue and removes its file, with the seed taken
// from the application's resources. Answers whether the build carries a seed; the
// store itself is not opened (a test of opening does that itself).
inline bool resetLocalStore()
{
    XXXDBManager *manager = XXXDBManager::sharedXXXDBManager();
    manager->closeDataBase();
    manager->setQueue(nullptr);
    manager->setResourcePath(QStringLiteral(":"));
    QFile::remove(appDBPath());
    return Kestrune::hasSeedDatabase();
}

// resetLocalStore() and then opens the store as the application does: a new copy of
// the seed. Answers false when there is no seed or the copy cannot be opened.
inline bool openFreshLocalStore()
{
    return resetLocalStore() && DataBaseBO::sharedInstance().openDataBase();
}

} // namespace TestSupport

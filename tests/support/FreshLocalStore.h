#pragma once

// A fresh local store for tests and screenshot programs of the application: the
// shared database closed and forgotten, its file removed, and every setting of the
// shared manager back to what a new process has, so that the next open copies the
// build's seed database anew into the Documents folder.

#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/resources/KestruneResources.h>

#include <corbelan/sqlite/XXXDBManager.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>

namespace TestSupport {

// Closes the local database, drops its queue, points the manager back at the user's
// Documents folder and the seed in the application's resources, and removes the file.
// Answers whether the build carries a seed; the store itself is not opened (a test of
// opening does that itself).
inline bool resetLocalStore()
{
    XXXDBManager *manager = XXXDBManager::sharedXXXDBManager();
    manager->closeDataBase();
    manager->setQueue(nullptr);
    manager->setDbName(QString());
    manager->setResourcePath(QStringLiteral(":"));
    manager->setDocumentsPath(QString());
    // A test may leave a folder in the file's place.
    const QString path = appDBPath();
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
    return Kestrune::hasSeedDatabase();
}

// resetLocalStore() and then opens the store as the application does: a new copy of
// the seed. Answers false when there is no seed or the copy cannot be opened.
inline bool openFreshLocalStore()
{
    return resetLocalStore() && DataBaseBO::sharedInstance().openDataBase();
}

// The shared local store of one test: reset when it is made and again when it goes,
// whatever the test did to the shared manager in between (another folder, another
// seed, a file of its own), so that no test sees what another one left.
//
//   class LocalStoreTest : public ::testing::Test {
//       TestSupport::FreshLocalStore store; // the store is reset, not yet opened
//   };
class FreshLocalStore
{
public:
    FreshLocalStore() { m_hasSeed = resetLocalStore(); }
    ~FreshLocalStore() { resetLocalStore(); }
    FreshLocalStore(const FreshLocalStore &) = delete;
    FreshLocalStore &operator=(const FreshLocalStore &) = delete;

    // Whether the build carries a seed database.
    bool hasSeed() const { return m_hasSeed; }
    // Opens the store as the application does (a new copy of the seed).
    bool open() const { return m_hasSeed && DataBaseBO::sharedInstance().openDataBase(); }

private:
    bool m_hasSeed = false;
};

} // namespace TestSupport

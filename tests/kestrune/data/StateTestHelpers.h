#pragma once

#include <kestrune/data/deraz/DerazConnection.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/model/DBStore.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>

#include <bastwick/platform/UserDefaults.h>

#include "ProfileTestHelpers.h"

#include "support/TempDir.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace StateTest {

// Waits until db's connection queue has run everything queued on it so far, and then the
// view state's deliveries of what that work announced on the main queue: whatever a key
// action set going has happened by then. Checks that an action does nothing wait here.
inline bool waitForDatabaseWork(const DerazDatabase &db, SimpleDBViewState &state)
{
    return TestSupport::waitForQueue(*db.derazConnection()->queue()) &&
           TestSupport::waitForQueue(*state.moduleQueue());
}

// Leaves the process-wide registry and view state as a new process has them: every
// registered connection closed and forgotten, and no current node. Connection
// identifiers are never reused, so nothing a closed connection left behind (its tree
// nodes, its page controllers) answers for a connection made afterwards.
inline void forgetSharedConnections()
{
    DataStoreBO &registry = DataStoreBO::sharedInstance();
    registry.closeDataStoreByProfiles(registry.dataStoreProfiles());
    SimpleDBStateManager &states = SimpleDBStateManager::sharedInstance();
    states.dbState()->setCurrentNodeURL(QString());
    states.dbViewState()->setCurrentNodeURL(QString());
}

inline std::shared_ptr<DBProfile> derazProfile(const QString &host, qint64 port, const QString &database = {})
{
    return ProfileTest::derazProfile(host, port, QString(), database);
}

// Loads the store's databases, waiting for the callback; the error when it failed.
inline std::optional<Bastwick::Error> fetch(const std::shared_ptr<DBStore> &store)
{
    bool done = false;
    std::optional<Bastwick::Error> error;
    store->fetchDatabasesWithCallback([&](const DBStore::DatabaseList &, const std::shared_ptr<DBProfile> &,
                                          const std::optional<Bastwick::Error> &e) {
        error = e;
        done = true;
    });
    EXPECT_TRUE(waitFor([&] { return done; }, 20000));
    return error;
}

// Preferences over a settings file of their own, with the application's defaults.
struct Preferences
{
    TestSupport::TempDir dir;
    Bastwick::UserDefaults defaults{dir.path(QStringLiteral("prefs.ini"))};
    AppPreference preference{&defaults};

    Preferences() { XXXPreference::prepareSharedInstance(&preference); }
};

} // namespace StateTest

#pragma once

#include <kestrune/data/deraz/DerazConnection.h>
#include <kestrune/data/deraz/DerazContainer.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/model/DBStore.h>
#include <kestrune/data/records/DBProfile.h>

#include "ProfileTestHelpers.h"

#include "support/RedisServer.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace DerazTest {

// The shared throwaway server, started on first use.
inline TestSupport::RedisServer &redis()
{
    TestSupport::RedisServer &r = TestSupport::RedisServer::shared();
    if (!r.isRunning())
        r.start();
    return r;
}

// A test against the shared server, emptied before and after each test.
class ServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(redis().isRunning()) << qPrintable(redis().error());
        redis().flushAll();
    }
    void TearDown() override { redis().flushAll(); }
};

struct Connected
{
    std::shared_ptr<DBStore> store;
    QList<std::shared_ptr<DerazDatabase>> databases;
    std::optional<Bastwick::Error> error;

    std::shared_ptr<DerazDatabase> db(int i) const { return databases.value(i); }
};

inline std::shared_ptr<DBProfile> profileFor(const QString &host, int port, const QString &password = {})
{
    return ProfileTest::derazProfile(host, port, password);
}

// Connects a profile through the container and its store, waiting for the callback.
inline Connected connectProfile(const std::shared_ptr<DBProfile> &profile)
{
    Connected out;
    out.store = DerazContainer::sharedInstance().storeWithDBProfile(profile);
    if (!out.store)
        return out;
    bool done = false;
    out.store->fetchDatabasesWithCallback([&](const DBStore::DatabaseList &dbs,
                                              const std::shared_ptr<DBProfile> &,
                                              const std::optional<Bastwick::Error> &e) {
        for (const auto &db : dbs)
            out.databases.append(std::dynamic_pointer_cast<DerazDatabase>(db));
        out.error = e;
        done = true;
    });
    EXPECT_TRUE(waitFor([&] { return done; }, 20000));
    return out;
}

inline Connected connectTo(const QString &host, int port, const QString &password = {})
{
    return connectProfile(profileFor(host, port, password));
}

// Starts an operation that takes an error completion and waits for it.
inline std::optional<Bastwick::Error> await(const std::function<void(DerazDatabase::ErrorCompletion)> &start)
{
    bool done = false;
    std::optional<Bastwick::Error> result;
    start([&](const std::optional<Bastwick::Error> &e) {
        result = e;
        done = true;
    });
    EXPECT_TRUE(waitFor([&] { return done; }, 20000));
    return result;
}

inline std::optional<DerazUnit> fetchKey(const std::shared_ptr<DerazDatabase> &db, const QByteArray &key)
{
    bool done = false;
    std::optional<DerazUnit> unit;
    db->fetchKeyInfo(
        key,
        [&](const std::optional<DerazUnit> &u) {
            unit = u;
            done = true;
        },
        [&](const Bastwick::Error &e) {
            ADD_FAILURE() << "fetchKeyInfo failed: " << qPrintable(e.description);
            done = true;
        });
    EXPECT_TRUE(waitFor([&] { return done; }, 20000));
    return unit;
}

inline QString describe(const std::optional<Bastwick::Error> &e)
{
    return e ? e->toString() : QStringLiteral("no error");
}

} // namespace DerazTest

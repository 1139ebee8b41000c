// Connecting a profile and loading its sixteen databases.

#include "DerazTestHelpers.h"

#include <kestrune/data/deraz/HiredisClient.h>

#include "support/FakeDerazServer.h"
#include "support/RedisServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>

using namespace DerazTest;
using TestSupport::FakeDerazServer;
using TestSupport::RedisServer;

namespace {

class DerazConnectionTest : public ServerTest
{
};

} // namespace

TEST_F(DerazConnectionTest, LoadsSixteenDatabasesWithKeysOnlyInDatabaseThree)
{
    const QByteArrayList keys = {"plain", "with blank", QByteArray("nul\0byte", 8), "bad\xff\xfe utf8"};
    HiredisClient probe;
    ASSERT_TRUE(probe.connect(redis().host(), redis().port()));
    probe.commandArgv({"SELECT", "3"});
    for (const QByteArray &k : keys)
        ASSERT_TRUE(probe.commandArgv({"SET", k, "v"}).isOK());

    const Connected c = connectTo(redis().host(), redis().port());
    ASSERT_FALSE(c.error) << qPrintable(describe(c.error));
    ASSERT_EQ(c.databases.size(), 16);
    for (int i = 0; i < 16; ++i) {
        ASSERT_TRUE(c.db(i));
        EXPECT_EQ(c.db(i)->name(), QStringLiteral("DB%1").arg(i));
        EXPECT_EQ(c.db(i)->number(), i);
        if (i != 3) {
            EXPECT_EQ(c.db(i)->numberOfKeys(), 0) << "DB" << i;
        }
    }
    QByteArrayList loaded = c.db(3)->keys().toList();
    std::sort(loaded.begin(), loaded.end());
    QByteArrayList expected = keys;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(loaded, expected);

    // The connection lists its databases while the store holds them.
    auto connection = c.db(3)->derazConnection();
    ASSERT_TRUE(connection);
    EXPECT_EQ(connection->databases().size(), 16);
    EXPECT_EQ(connection->databaseWithName(QStringLiteral("DB3")), c.db(3));
    EXPECT_EQ(c.store->databaseWithName(QStringLiteral("DB15")), c.db(15));
}

TEST_F(DerazConnectionTest, FetchAnswersTheLoadedListUntilReload)
{
    const Connected first = connectTo(redis().host(), redis().port());
    ASSERT_FALSE(first.error);
    bool called = false;
    DBStore::DatabaseList again;
    first.store->fetchDatabasesWithCallback(
        [&](const DBStore::DatabaseList &dbs, const auto &, const auto &) {
            again = dbs;
            called = true;
        });
    EXPECT_TRUE(called) << "a loaded store answers at once";
    ASSERT_EQ(again.size(), 16);
    EXPECT_EQ(again.first(), first.databases.first());

    HiredisClient probe;
    ASSERT_TRUE(probe.connect(redis().host(), redis().port()));
    probe.commandArgv({"SET", "new", "1"});
    first.store->reload();
    EXPECT_FALSE(first.store->isLoaded());
    bool done = false;
    first.store->fetchDatabasesWithCallback(
        [&](const DBStore::DatabaseList &dbs, const auto &, const auto &) {
            again = dbs;
            done = true;
        });
    ASSERT_TRUE(waitFor([&] { return done; }));
    ASSERT_EQ(again.size(), 16);
    EXPECT_NE(again.first(), first.databases.first());
    EXPECT_EQ(std::dynamic_pointer_cast<DerazDatabase>(again.first())->keys().toList(),
              QByteArrayList{"new"});
}

TEST_F(DerazConnectionTest, RefusesWhatCannotConnect)
{
    RedisServer secured;
    ASSERT_TRUE(secured.start()) << qPrintable(secured.error());
    // Set after start: the fixture's readiness check is a PING without password.
    secured.command({"CONFIG", "SET", "requirepass", "pw"});
    // Servers that answer SELECT but refuse KEYS: by access rule, and by a disabled command.
    RedisServer keysDenied;
    ASSERT_TRUE(keysDenied.start()) << qPrintable(keysDenied.error());
    keysDenied.command({"SET", "hidden", "1"});
    keysDenied.command({"ACL", "SETUSER", "default", "-keys"});
    RedisServer keysDisabled;
    ASSERT_TRUE(keysDisabled.start({"--rename-command", "KEYS", ""})) << qPrintable(keysDisabled.error());

    struct Case
    {
        const char *name;
        std::shared_ptr<DBProfile> profile;
        bool connects;
        QString errorPart;
    };
    const QList<Case> cases = {
        {"closed port", profileFor(QStringLiteral("127.0.0.1"), RedisServer::freePort()), false,
         QStringLiteral("server connect failed!")},
        {"no host", profileFor(QString(), redis().port()), false, QStringLiteral("no host")},
        {"password required but not given", profileFor(secured.host(), secured.port()), false,
         QStringLiteral("NOAUTH")},
        {"wrong password", profileFor(secured.host(), secured.port(), QStringLiteral("bad")), false,
         QStringLiteral("pass")},
        {"right password", profileFor(secured.host(), secured.port(), QStringLiteral("pw")), true, QString()},
        {"KEYS refused by an access rule", profileFor(keysDenied.host(), keysDenied.port()), false,
         QStringLiteral("no permissions to run the 'keys' command")},
        {"KEYS disabled", profileFor(keysDisabled.host(), keysDisabled.port()), false,
         QStringLiteral("unknown command")},
    };
    for (const Case &c : cases) {
        const Connected result = connectProfile(c.profile);
        ASSERT_TRUE(result.store) << c.name;
        if (c.connects) {
            EXPECT_FALSE(result.error) << c.name << ": " << qPrintable(describe(result.error));
            EXPECT_EQ(result.databases.size(), 16) << c.name;
        } else {
            ASSERT_TRUE(result.error) << c.name;
            EXPECT_EQ(result.error->domain, QStringLiteral("com.fenwarp.Deraz.error"));
            EXPECT_EQ(result.error->code, 1);
            EXPECT_TRUE(result.error->description.contains(c.errorPart, Qt::CaseInsensitive))
                << c.name << ": " << qPrintable(result.error->description);
            EXPECT_TRUE(result.databases.isEmpty()) << c.name;
            EXPECT_FALSE(result.store->isLoaded()) << c.name << ": the next fetch tries again";
        }
    }
}

TEST_F(DerazConnectionTest, ServerWithFewerDatabasesLeavesTheMissingOnesEmpty)
{
    RedisServer small;
    ASSERT_TRUE(small.start({"--databases", "4"})) << qPrintable(small.error());
    HiredisClient probe;
    ASSERT_TRUE(probe.connect(small.host(), small.port()));
    probe.commandArgv({"SET", "in-db0", "1"});

    const Connected c = connectTo(small.host(), small.port());
    ASSERT_FALSE(c.error) << qPrintable(describe(c.error));
    ASSERT_EQ(c.databases.size(), 16);
    EXPECT_EQ(c.db(0)->keys().toList(), QByteArrayList{"in-db0"});
    for (int i = 1; i < 16; ++i)
        EXPECT_EQ(c.db(i)->numberOfKeys(), 0) << "DB" << i;
    // The tracked selection is the last database whose SELECT answered OK.
    EXPECT_EQ(c.db(0)->derazConnection()->deraz()->selectedDatabase(), std::optional<qint64>(3));
}

TEST_F(DerazConnectionTest, ConnectionLostWhileLoadingFailsTheConnect)
{
    FakeDerazServer fake;
    int execs = 0;
    fake.start([&execs](const FakeDerazServer::Command &c, int) {
        if (c.first() == "MULTI")
            return FakeDerazServer::Action{FakeDerazServer::ok()};
        if (c.first() == "EXEC") {
            if (++execs > 2)
                return FakeDerazServer::Action{{}, true};
            return FakeDerazServer::Action{FakeDerazServer::array(
                {FakeDerazServer::ok(), FakeDerazServer::array({FakeDerazServer::bulk("k")})})};
        }
        return FakeDerazServer::Action{FakeDerazServer::status("QUEUED")};
    });
    const Connected c = connectTo(fake.host(), fake.port());
    ASSERT_TRUE(c.error);
    EXPECT_EQ(c.error->code, 1);
    EXPECT_TRUE(c.databases.isEmpty());
}

TEST_F(DerazConnectionTest, ContainerServesOnlyTheDerazScheme)
{
    auto profile = profileFor(QStringLiteral("h"), 1);
    EXPECT_TRUE(DerazContainer::sharedInstance().canConnectToDBProfile(*profile));
    profile->setScheme(QStringLiteral("Deraz"));
    EXPECT_FALSE(DerazContainer::sharedInstance().canConnectToDBProfile(*profile));
    EXPECT_EQ(DBContainer::sharedInstance().primaryURLScheme(), QStringLiteral("mysql"));

    auto same = profileFor(QStringLiteral("h"), 1);
    EXPECT_NE(DerazContainer::sharedInstance().storeWithDBProfile(same),
              DerazContainer::sharedInstance().storeWithDBProfile(same));
    same->setUrl(QString());
    EXPECT_FALSE(DerazContainer::sharedInstance().storeWithDBProfile(same));
}

TEST_F(DerazConnectionTest, RepliesOfUnexpectedShapeBecomeErrors)
{
    // A server that loads normally, then answers reads with short or odd EXEC arrays.
    FakeDerazServer fake;
    QByteArray readExec;
    fake.start([&readExec](const FakeDerazServer::Command &c, int) {
        const QByteArray name = c.first().toUpper();
        if (name == "MULTI" || name == "SELECT")
            return FakeDerazServer::Action{FakeDerazServer::ok()};
        if (name == "EXEC" && readExec.isEmpty())
            return FakeDerazServer::Action{FakeDerazServer::array(
                {FakeDerazServer::ok(), FakeDerazServer::array({FakeDerazServer::bulk("k")})})};
        if (name == "EXEC")
            return FakeDerazServer::Action{readExec};
        return FakeDerazServer::Action{FakeDerazServer::status("QUEUED")};
    });
    const Connected c = connectTo(fake.host(), fake.port());
    ASSERT_FALSE(c.error) << qPrintable(describe(c.error));
    auto db = c.db(0);

    struct Case
    {
        const char *name;
        QByteArray exec;
    };
    const QList<Case> cases = {
        {"short EXEC array", FakeDerazServer::array({FakeDerazServer::status("string")})},
        {"TTL that is not an integer",
         FakeDerazServer::array({FakeDerazServer::status("string"), FakeDerazServer::bulk("soon")})},
        {"EXEC refused", FakeDerazServer::error("EXECABORT Transaction discarded")},
    };
    for (const Case &k : cases) {
        readExec = k.exec;
        Bastwick::Error error;
        const QList<DerazUnit> units = db->derazUnitsFromKeys({"k"}, &error);
        EXPECT_TRUE(units.isEmpty()) << k.name;
        EXPECT_EQ(error.code, 1) << k.name;
        EXPECT_FALSE(error.description.isEmpty()) << k.name;

        bool failed = false;
        db->fetchKeyInfo(
            "k", [](const auto &) {}, [&failed](const Bastwick::Error &) { failed = true; });
        EXPECT_TRUE(waitFor([&] { return failed; }))
            << k.name << ": reads report through the failure callback";
    }

    readExec = FakeDerazServer::array({FakeDerazServer::ok()});
    const auto error = await([&](auto d) { db->removeKeys({"a", "b"}, d); });
    ASSERT_TRUE(error) << "an EXEC array without one result per command is an error";
}

TEST_F(DerazConnectionTest, ServerRefusalsOfEveryOperationAreReported)
{
    // A server that loads normally, then refuses every command but TYPE and TTL, like one
    // whose user may not read or write values: plain commands get the error, queued ones
    // an error element in EXEC's array. Its SELECT of database 9 answers a number.
    const QByteArray readOnly = "NOPERM this user has no permissions to run this command";
    std::atomic<bool> loaded{false};
    std::mutex lock;
    std::map<int, QByteArrayList> queued; // per connection: command names queued since MULTI
    FakeDerazServer fake;
    fake.start([&](const FakeDerazServer::Command &c, int connection) {
        std::lock_guard<std::mutex> guard(lock);
        const QByteArray name = c.first().toUpper();
        const auto open = queued.find(connection);
        if (name == "MULTI") {
            queued[connection].clear();
            return FakeDerazServer::Action{FakeDerazServer::ok()};
        }
        if (name == "EXEC") {
            const QByteArrayList names = open == queued.end() ? QByteArrayList() : open->second;
            queued.erase(connection);
            if (!loaded)
                return FakeDerazServer::Action{FakeDerazServer::array(
                    {FakeDerazServer::ok(), FakeDerazServer::array({FakeDerazServer::bulk("k")})})};
            QList<QByteArray> results;
            for (const QByteArray &queuedName : names)
                results.append(queuedName == "TYPE"  ? FakeDerazServer::status("string")
                               : queuedName == "TTL" ? FakeDerazServer::integer(-1)
                                                     : FakeDerazServer::error(readOnly));
            return FakeDerazServer::Action{FakeDerazServer::array(results)};
        }
        if (open != queued.end()) {
            open->second.append(name);
            return FakeDerazServer::Action{FakeDerazServer::status("QUEUED")};
        }
        if (name == "SELECT")
            return FakeDerazServer::Action{c.value(1) == "9" ? FakeDerazServer::integer(0)
                                                             : FakeDerazServer::ok()};
        return FakeDerazServer::Action{FakeDerazServer::error(readOnly)};
    });
    const Connected c = connectTo(fake.host(), fake.port());
    ASSERT_FALSE(c.error) << qPrintable(describe(c.error));
    loaded = true;
    auto db = c.db(0);
    auto db9 = c.db(9);

    struct Case
    {
        const char *name;
        std::function<void(DerazDatabase::ErrorCompletion)> op;
        QString expected; // part of the error's description
    };
    const QString refusal = QString::fromUtf8(readOnly);
    const QString select9 = QStringLiteral("SELECT 9");
    QList<Case> cases = {
        {"removeKey", [&](auto d) { db->removeKey("k", d); }, refusal},
        {"removeKeys",
         [&](auto d) {
             db->removeKeys({"k", "j"}, d);
         },
         refusal},
        {"removeAllKey", [&](auto d) { db->removeAllKey(d); }, refusal},
        {"saveStringKey", [&](auto d) { db->saveStringKey("k", "v", -1, d); }, refusal},
        {"saveStringKey with expiry", [&](auto d) { db->saveStringKey("k", "v", 60, d); }, refusal},
        {"saveHashKey", [&](auto d) { db->saveHashKey("h", "f", "v", -1, d); }, refusal},
        {"removeHashKey", [&](auto d) { db->removeHashKey("h", "f", d); }, refusal},
        {"saveListKey", [&](auto d) { db->saveListKey("l", "v", -1, d); }, refusal},
        {"removeListKey", [&](auto d) { db->removeListKey("l", 0, d); }, refusal},
        {"saveKVs", [&](auto d) { db->saveKVs({QVariant::fromValue(DerazKV("k", "v", -1))}, 0, -1, d); },
         refusal},
        {"execCommandWithError", [&](auto d) { db->execCommandWithError("SET k v", d); }, refusal},
        {"execCommandArrays", [&](auto d) { db->execCommandArrays({QByteArray("SET k v")}, d); }, refusal},
        {"selectSelf answered by a number", [&](auto d) { db9->selectSelf(d); }, select9},
        {"removeAllKey after a SELECT answered by a number", [&](auto d) { db9->removeAllKey(d); }, select9},
    };
    // Reads: the value read refused after TYPE and TTL answered.
    const auto readOne = [&](DerazDatabase::ErrorCompletion done) {
        db->fetchKeyInfo(
            "k", [done](const auto &) { done(std::nullopt); }, [done](const Bastwick::Error &e) { done(e); });
    };
    const auto readPage = [&](DerazDatabase::ErrorCompletion done) {
        db->fetchResultSetForRecordsAtIndexes(
            Bastwick::IndexSet::fromRange(0, 1), [done](const auto &) { done(std::nullopt); },
            [done](const Bastwick::Error &e) { done(e); });
    };
    const auto readSync = [&](DerazDatabase::ErrorCompletion done) {
        Bastwick::Error e;
        const QList<DerazUnit> units = db->derazUnitsFromKeys({"k"}, &e);
        done(e.domain.isEmpty() && !units.isEmpty() ? std::nullopt : std::optional(e));
    };
    cases.append({{"fetchKeyInfo", readOne, refusal},
                  {"a page read", readPage, refusal},
                  {"derazUnitsFromKeys", readSync, refusal}});
    for (const Case &k : cases) {
        const auto error = await(k.op);
        EXPECT_TRUE(error) << k.name << ": a refusal must not complete as success";
        if (!error)
            continue;
        EXPECT_EQ(error->code, 1) << k.name;
        EXPECT_TRUE(error->description.contains(k.expected))
            << k.name << ": " << qPrintable(error->description);
    }
    const QList<FakeDerazServer::Command> received = fake.received();
    const auto flushes = std::count_if(received.begin(), received.end(), [](const auto &command) {
        return command.first().toUpper() == "FLUSHDB";
    });
    EXPECT_EQ(flushes, 1) << "a failed SELECT sends nothing else";
}

TEST_F(DerazConnectionTest, ConnectionIsReleasedWithItsDatabases)
{
    Connected c = connectTo(redis().host(), redis().port());
    ASSERT_FALSE(c.error) << qPrintable(describe(c.error));
    std::weak_ptr<DerazConnection> connection = c.db(0)->derazConnection();
    ASSERT_FALSE(connection.expired());
    // The connection's chosen database is kept without owning it, so it makes no cycle.
    connection.lock()->setDatabase(c.db(4));
    EXPECT_EQ(connection.lock()->database(), c.db(4));

    // Every database answers through the same connection until the last holder lets go.
    const auto error = await([&](auto done) { c.db(4)->removeAllKey(done); });
    EXPECT_FALSE(error) << qPrintable(describe(error));
    c.databases.clear();
    EXPECT_FALSE(connection.expired()) << "the store still holds the databases";
    c.store->reload();
    EXPECT_TRUE(waitFor([&] { return connection.expired(); })) << "released once nothing holds its databases";

    // The store's database management opens a fresh connection, which offers none of
    // it, and closes it again: no server connection is left behind.
    HiredisClient probe;
    ASSERT_TRUE(probe.connect(redis().host(), redis().port()));
    const auto clients = [&probe] { return probe.commandArgv({"CLIENT", "LIST"}).text().count('\n'); };
    const qsizetype before = clients();
    EXPECT_FALSE(c.store->createDatabase(QStringLiteral("DB16"), {}));
    EXPECT_FALSE(c.store->renameDatabase(QStringLiteral("DB1"), QStringLiteral("DB2")));
    EXPECT_FALSE(c.store->isLoaded());
    EXPECT_TRUE(waitFor([&] { return clients() == before; }))
        << clients() << " clients, " << before << " before";
}

namespace {

// A connection opened the way the store opens one, with the given reply time limit.
struct Opened
{
    std::shared_ptr<DerazConnection> connection;
    QList<std::shared_ptr<DerazDatabase>> databases;
    Bastwick::Error error;
    bool ok = false;
};

Opened openWithLimit(const QString &host, int port, int limitMs)
{
    Opened out;
    out.connection = std::make_shared<DerazConnection>(profileFor(host, port));
    out.connection->setReplyTimeLimitMs(limitMs);
    out.ok = out.connection->open(&out.error);
    for (const auto &db : out.connection->takeDatabases())
        out.databases.append(std::dynamic_pointer_cast<DerazDatabase>(db));
    return out;
}

} // namespace

TEST_F(DerazConnectionTest, PausedServerFailsOperationsAtTheReplyTimeLimit)
{
    RedisServer server;
    ASSERT_TRUE(server.start()) << qPrintable(server.error());
    server.command({"SET", "k", "v"});
    EXPECT_EQ(std::make_shared<DerazConnection>(profileFor(server.host(), server.port()))->replyTimeLimitMs(),
              60000);
    const Opened opened = openWithLimit(server.host(), server.port(), 1000);
    ASSERT_TRUE(opened.ok) << qPrintable(opened.error.description);
    const auto db = opened.databases.value(0);
    const auto connectCount = [&] {
        int n = 0;
        opened.connection->queue()->sync([&] { n = opened.connection->deraz()->connectCount(); });
        return n;
    };
    const int connectsBefore = connectCount();

    server.pause();
    // Reads, writes, removals and batches each end at the limit with an error naming it.
    // (They touch other keys than k: a command sent before the pause may still run.)
    struct Case
    {
        const char *name;
        std::function<void(DerazDatabase::ErrorCompletion)> start;
    };
    const QList<Case> cases = {
        {"removal", [&](auto done) { db->removeKey("gone", done); }},
        {"write", [&](auto done) { db->saveStringKey("n", "1", -1, done); }},
        {"removal of many",
         [&](auto done) {
             db->removeKeys({"x", "y"}, done);
         }},
        {"batch", [&](auto done) { db->execCommandArrays({QByteArray("SET a 1")}, done); }},
        {"read",
         [&](auto done) {
             db->fetchKeyInfo(
                 "k", [done](const auto &) { done(std::nullopt); },
                 [done](const Bastwick::Error &e) { done(e); });
         }},
    };
    for (const Case &c : cases) {
        const auto error = await(c.start);
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(error->code, 1) << c.name;
        EXPECT_TRUE(error->description.contains(QStringLiteral("time limit of 1 s")))
            << c.name << ": " << qPrintable(error->description);
    }
    // A load ends at the limit too.
    const Opened second = openWithLimit(server.host(), server.port(), 1000);
    EXPECT_FALSE(second.ok);
    EXPECT_TRUE(second.error.description.contains(QStringLiteral("time limit of 1 s")))
        << qPrintable(second.error.description);

    // A console line has no limit: well past it, it still waits for the server.
    bool consoleDone = false;
    DerazReply consoleReply;
    db->execCommand("GET k", [&](const DerazReply &r) {
        consoleReply = r;
        consoleDone = true;
    });
    EXPECT_FALSE(waitFor([&] { return consoleDone; }, 2500)) << qPrintable(consoleReply.describe());
    server.resume();
    ASSERT_TRUE(waitFor([&] { return consoleDone; }, 10000));
    EXPECT_EQ(consoleReply, DerazReply::string("v"));

    // Each timed-out operation dropped its context; the next one connected afresh.
    EXPECT_FALSE(await([&](auto done) { db->removeKey("k", done); }));
    EXPECT_GT(connectCount(), connectsBefore);
}

// A server that is slow rather than gone applies a change it received after the time limit
// has ended the operation: the error says that the outcome is unknown, and only an
// operation that sent a change says so.
TEST_F(DerazConnectionTest, AChangeThatTimesOutMayStillBeAppliedAndTheErrorSaysSo)
{
    RedisServer server;
    ASSERT_TRUE(server.start()) << qPrintable(server.error());
    TestSupport::TempDir dir;
    const QString importPath = dir.path(QStringLiteral("import.txt"));
    {
        QFile file(importPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("SET imported 1\n");
    }
    const QString unknown = QStringLiteral("outcome is unknown");
    struct Case
    {
        const char *name;
        std::function<void(const std::shared_ptr<DerazDatabase> &, DerazDatabase::ErrorCompletion)> start;
        QByteArray key; // the key the change makes; empty: a read
    };
    const QList<Case> cases = {
        {"batch", [](auto db, auto done) { db->execCommandArrays({QByteArray("SET batched 1")}, done); },
         "batched"},
        {"import", [&](auto db, auto done) { db->importFile(importPath, done); }, "imported"},
        {"write", [](auto db, auto done) { db->saveStringKey("written", "1", -1, done); }, "written"},
        {"read",
         [](auto db, auto done) {
             db->fetchKeyInfo(
                 "k", [done](const auto &) { done(std::nullopt); },
                 [done](const Bastwick::Error &e) { done(e); });
         },
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // Right after the load the last database is the selected one: its operations send
        // no SELECT first, so the change itself is what reaches the paused server.
        const Opened opened = openWithLimit(server.host(), server.port(), 1000);
        ASSERT_TRUE(opened.ok) << qPrintable(opened.error.description);
        const auto db = opened.databases.value(15);
        server.pause();
        const auto error = await([&](auto done) { c.start(db, done); });
        server.resume();
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->description.contains(QStringLiteral("time limit of 1 s")))
            << qPrintable(error->description);
        EXPECT_EQ(error->description.contains(unknown), !c.key.isEmpty()) << qPrintable(error->description);
        if (c.key.isEmpty())
            continue;
        HiredisClient probe;
        ASSERT_TRUE(probe.connect(server.host(), server.port()));
        EXPECT_TRUE(waitFor([&] {
            return probe.pipeline({{"SELECT", "15"}, {"EXISTS", c.key}}).constLast() ==
                   DerazReply::integer(1);
        })) << "the server applied the change after the error";
    }
}

TEST_F(DerazConnectionTest, CloseEndsAnOperationBlockedOnTheServerAtOnce)
{
    // A server that loads, then never answers DEL: the removal waits in its read.
    FakeDerazServer fake;
    std::atomic<bool> delReceived{false};
    fake.start([&delReceived](const FakeDerazServer::Command &c, int) {
        const QByteArray name = c.first().toUpper();
        if (name == "DEL") {
            delReceived = true;
            return FakeDerazServer::Action{{}, false, true};
        }
        if (name == "MULTI" || name == "SELECT")
            return FakeDerazServer::Action{FakeDerazServer::ok()};
        if (name == "EXEC")
            return FakeDerazServer::Action{
                FakeDerazServer::array({FakeDerazServer::ok(), FakeDerazServer::array({})})};
        return FakeDerazServer::Action{FakeDerazServer::status("QUEUED")};
    });
    // A limit far beyond the waits below: only the close can end the removal in time.
    Opened opened = openWithLimit(fake.host(), fake.port(), 600000);
    ASSERT_TRUE(opened.ok) << qPrintable(opened.error.description);
    bool done = false;
    std::optional<Bastwick::Error> error;
    opened.databases.value(0)->removeKey("k", [&](const std::optional<Bastwick::Error> &e) {
        error = e;
        done = true;
    });
    ASSERT_TRUE(waitFor([&] { return delReceived.load(); }));

    EXPECT_TRUE(opened.connection->close(nullptr));
    ASSERT_TRUE(waitFor([&] { return done; }, 5000)) << "close shuts the socket down";
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, 1);

    // Released on this thread, the connection hands its queue to the queue's own worker.
    std::weak_ptr<DerazConnection> weak = opened.connection;
    opened = Opened();
    EXPECT_TRUE(waitFor([&] { return weak.expired(); }));
}

TEST_F(DerazConnectionTest, ReadsSendTheirCommandsInTheirOrder)
{
    // A server whose every database holds the string keys "a" and "b"; it records what it
    // receives, so each read's commands and their order can be checked exactly.
    std::mutex lock;
    std::map<int, QByteArrayList> queued; // per connection: command names queued since MULTI
    std::atomic<bool> loaded{false};
    FakeDerazServer fake;
    fake.start([&](const FakeDerazServer::Command &c, int connection) {
        std::lock_guard<std::mutex> guard(lock);
        const QByteArray name = c.first().toUpper();
        const auto open = queued.find(connection);
        if (name == "MULTI") {
            queued[connection].clear();
            return FakeDerazServer::Action{FakeDerazServer::ok()};
        }
        if (name == "EXEC") {
            const QByteArrayList names = open == queued.end() ? QByteArrayList() : open->second;
            queued.erase(connection);
            if (!loaded)
                return FakeDerazServer::Action{FakeDerazServer::array(
                    {FakeDerazServer::ok(),
                     FakeDerazServer::array({FakeDerazServer::bulk("a"), FakeDerazServer::bulk("b")})})};
            QList<QByteArray> results;
            for (const QByteArray &queuedName : names)
                results.append(queuedName == "TYPE"  ? FakeDerazServer::status("string")
                               : queuedName == "TTL" ? FakeDerazServer::integer(-1)
                                                     : FakeDerazServer::bulk("v"));
            return FakeDerazServer::Action{FakeDerazServer::array(results)};
        }
        if (open != queued.end()) {
            open->second.append(name);
            return FakeDerazServer::Action{FakeDerazServer::status("QUEUED")};
        }
        if (name == "GET")
            return FakeDerazServer::Action{FakeDerazServer::bulk("v")};
        return FakeDerazServer::Action{FakeDerazServer::ok()};
    });
    const Connected c = connectTo(fake.host(), fake.port());
    ASSERT_FALSE(c.error) << qPrintable(describe(c.error));
    loaded = true;
    auto db = c.db(0);
    ASSERT_TRUE(db);

    // The commands received since the last check, without the SELECT that puts the
    // shared connection on this database first.
    auto sent = [&] {
        QList<QByteArrayList> commands;
        for (const auto &command : fake.received())
            if (command.first().toUpper() != "SELECT")
                commands.append(command);
        fake.clearReceived();
        return commands;
    };
    using Commands = QList<QByteArrayList>;
    sent();

    // A page: all TYPEs, then all TTLs, in one transaction; then the values in another.
    bool done = false;
    QList<DerazUnit> page;
    db->fetchResultSetForRecordsAtIndexes(
        Bastwick::IndexSet{0, 1}, [&](const QList<DerazUnit> &units) { page = units, done = true; },
        [&](const Bastwick::Error &) { done = true; });
    ASSERT_TRUE(waitFor([&] { return done; }));
    ASSERT_EQ(page.size(), 2);
    EXPECT_EQ(sent(), (Commands{{"MULTI"},
                                {"TYPE", "a"},
                                {"TYPE", "b"},
                                {"ttl", "a"},
                                {"ttl", "b"},
                                {"EXEC"},
                                {"MULTI"},
                                {"GET", "a"},
                                {"GET", "b"},
                                {"EXEC"}}));

    // One key: TYPE and TTL in a transaction, the value on its own.
    done = false;
    db->fetchKeyInfo(
        "a", [&](const std::optional<DerazUnit> &) { done = true; },
        [&](const Bastwick::Error &) { done = true; });
    ASSERT_TRUE(waitFor([&] { return done; }));
    EXPECT_EQ(sent(), (Commands{{"MULTI"}, {"TYPE", "a"}, {"ttl", "a"}, {"EXEC"}, {"GET", "a"}}));

    // The detail read: TYPE and TTL per key, in key order, in one transaction.
    const auto detail = db->keyDetailResultSet();
    ASSERT_TRUE(detail);
    const Commands detailCommands = sent();
    ASSERT_GE(detailCommands.size(), 6);
    EXPECT_EQ(detailCommands.mid(0, 6),
              (Commands{{"MULTI"}, {"TYPE", "a"}, {"ttl", "a"}, {"TYPE", "b"}, {"ttl", "b"}, {"EXEC"}}));
}

TEST_F(DerazConnectionTest, ATransactionAnswerThatIsNoKeyListFailsTheConnect)
{
    // Every database loads normally but DB3, whose EXEC gets the case's answer.
    using F = FakeDerazServer;
    std::mutex lock;
    std::map<int, QByteArray> selected; // per connection
    QByteArray badExec;
    FakeDerazServer fake;
    fake.start([&](const F::Command &c, int connection) {
        std::lock_guard guard(lock);
        const QByteArray name = c.first().toUpper();
        if (name == "MULTI")
            return F::Action{F::ok()};
        if (name == "SELECT")
            selected[connection] = c.value(1);
        if (name != "EXEC")
            return F::Action{F::status("QUEUED")};
        if (selected[connection] == "3")
            return F::Action{badExec};
        return F::Action{F::array({F::ok(), F::array({F::bulk("k")})})};
    });

    struct Case
    {
        const char *name;
        QByteArray exec;
        QString errorPart;
    };
    const QString db3 = QStringLiteral("The keys of DB3 could not be read: the server answered ");
    const QList<Case> cases = {
        {"an integer", F::integer(7), db3 + "the integer 7"},
        {"nil", F::nil(), db3 + "nil"},
        {"a status", F::ok(), db3 + "the text \"OK\""},
        {"only SELECT's reply", F::array({F::ok()}), db3 + "an array of 1 element "},
        {"one reply too many", F::array({F::ok(), F::array({}), F::ok()}), db3 + "an array of 3 elements"},
        {"the key list answered by an integer", F::array({F::ok(), F::integer(5)}), db3 + "the integer 5"},
        {"SELECT answered by an integer", F::array({F::integer(1), F::array({})}), db3 + "the integer 1"},
        {"a key list holding a number", F::array({F::ok(), F::array({F::bulk("a"), F::integer(2)})}),
         db3 + "an array of 2 elements"},
        {"the transaction refused", F::error("ERR odd server"), QStringLiteral("ERR odd server")},
        {"a list announced and never sent", "*2147483647\r\n", QStringLiteral("time limit of 1 s")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        {
            std::lock_guard guard(lock);
            badExec = c.exec;
        }
        const Opened opened = openWithLimit(fake.host(), fake.port(), 1000);
        EXPECT_FALSE(opened.ok);
        EXPECT_TRUE(opened.databases.isEmpty()) << "never sixteen databases with one shown empty";
        EXPECT_EQ(opened.error.code, 1);
        EXPECT_TRUE(opened.error.description.contains(c.errorPart)) << qPrintable(opened.error.description);
    }
}

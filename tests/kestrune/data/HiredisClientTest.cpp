// The adapter against a scripted fake server (what a real server never sends) and a
// real redis-server (reconnects, AUTH, large batches).

#include <kestrune/data/HiredisClient.h>

#include <bastwick/platform/Clock.h>

#include "support/FakeDerazServer.h"
#include "support/RedisServer.h"

#include <gtest/gtest.h>

#include <QtCore/QElapsedTimer>

using TestSupport::FakeDerazServer;
using TestSupport::RedisServer;

namespace {

using Kind = DerazReply::Kind;

// A fake server that answers every command with the same scripted bytes.
struct ScriptedServer
{
    FakeDerazServer server;
    explicit ScriptedServer(std::function<FakeDerazServer::Action(const FakeDerazServer::Command &)> f)
    {
        server.start([f](const FakeDerazServer::Command &c, int) { return f(c); });
    }
};

struct ConversionCase
{
    const char *name;
    QByteArray wire;
    DerazReply expected;
};

} // namespace

TEST(HiredisClientTest, ConvertsEveryReplyKindKeepingBytes)
{
    const QByteArray binary("a\0b\xff\xfe", 5);
    const QList<ConversionCase> cases = {
        {"bulk with NUL and invalid UTF-8", FakeDerazServer::bulk(binary), DerazReply::string(binary)},
        {"empty bulk", FakeDerazServer::bulk(""), DerazReply::string("")},
        {"status", FakeDerazServer::status("OK"), DerazReply::status("OK")},
        {"error", FakeDerazServer::error("ERR wrong"), DerazReply::error("ERR wrong")},
        {"integer 0", FakeDerazServer::integer(0), DerazReply::integer(0)},
        {"negative integer", FakeDerazServer::integer(-2), DerazReply::integer(-2)},
        {"nil", FakeDerazServer::nil(), DerazReply::nil()},
        {"empty array", FakeDerazServer::array({}), DerazReply::array({})},
        {"nested EXEC array",
         FakeDerazServer::array({FakeDerazServer::ok(),
                                 FakeDerazServer::array({FakeDerazServer::bulk("k1"), FakeDerazServer::bulk(binary)}),
                                 FakeDerazServer::nil(), FakeDerazServer::error("WRONGTYPE x")}),
         DerazReply::array({DerazReply::status("OK"),
                            DerazReply::array({DerazReply::string("k1"), DerazReply::string(binary)}),
                            DerazReply::nil(), DerazReply::error("WRONGTYPE x")})},
    };
    QByteArray next;
    ScriptedServer fake([&next](const FakeDerazServer::Command &) { return FakeDerazServer::Action{next}; });
    HiredisClient client;
    ASSERT_TRUE(client.connect(fake.server.host(), fake.server.port()));
    for (const ConversionCase &c : cases) {
        next = c.wire;
        const DerazReply reply = client.commandArgv({"GET", "k"});
        EXPECT_EQ(reply, c.expected) << c.name << ": " << qPrintable(reply.describe());
        EXPECT_EQ(reply.kind(), c.expected.kind()) << c.name;
    }
    // Out-of-range elements read as no reply instead of being indexed blindly.
    next = FakeDerazServer::array({FakeDerazServer::ok()});
    const DerazReply shortArray = client.commandArgv({"EXEC"});
    EXPECT_TRUE(shortArray.at(5).isNoReply());
    EXPECT_TRUE(shortArray.at(-1).isNoReply());
}

TEST(HiredisClientTest, SendsArgumentsAsBytesWithLengths)
{
    ScriptedServer fake([](const FakeDerazServer::Command &) { return FakeDerazServer::Action{FakeDerazServer::ok()}; });
    HiredisClient client;
    ASSERT_TRUE(client.connect(fake.server.host(), fake.server.port()));

    const QByteArray binaryKey("k\0 %s\xff", 6);
    client.commandArgv({"SET", binaryKey, ""});
    client.command("GET   a%sb  ");
    client.pipeline({{"A"}, {"B", "1"}});
    const DerazReply empty = client.command("   ");

    const QList<FakeDerazServer::Command> expected = {
        {"SET", binaryKey, ""}, {"GET", "a%sb"}, {"A"}, {"B", "1"}};
    EXPECT_EQ(fake.server.received(), expected);
    EXPECT_TRUE(empty.isNoReply()) << "a text without arguments sends nothing";
}

TEST(HiredisClientTest, LargePipelineReadsOneReplyPerCommandAcrossChunks)
{
    RedisServer &redis = RedisServer::shared();
    ASSERT_TRUE(redis.isRunning() || redis.start()) << qPrintable(redis.error());
    redis.flushAll();
    HiredisClient client;
    ASSERT_TRUE(client.connect(redis.host(), redis.port()));

    const int n = HiredisClient::kChunkSize * 2 + 7;
    QList<DerazArgv> commands;
    for (int i = 0; i < n; ++i)
        commands.append(DerazArgv{"INCR", "counter"});
    commands.append(DerazArgv{"GET", "missing"});
    const QList<DerazReply> replies = client.pipeline(commands);
    ASSERT_EQ(replies.size(), n + 1);
    EXPECT_EQ(replies.at(0), DerazReply::integer(1));
    EXPECT_EQ(replies.at(n - 1), DerazReply::integer(n));
    EXPECT_TRUE(replies.at(n).isNil());
    // The context is in step: the next command gets its own reply.
    EXPECT_EQ(client.commandArgv({"GET", "counter"}), DerazReply::string(QByteArray::number(n)));
    redis.flushAll();
}

TEST(HiredisClientTest, ReconnectsAfterTheServerKillsTheClientAndSelectsAgain)
{
    RedisServer &redis = RedisServer::shared();
    ASSERT_TRUE(redis.isRunning() || redis.start()) << qPrintable(redis.error());
    redis.flushAll();
    HiredisClient client;
    ASSERT_TRUE(client.connect(redis.host(), redis.port()));
    ASSERT_TRUE(client.commandArgv({"SELECT", "3"}).isOK());
    client.setSelectedDatabase(3);

    const DerazReply id = client.commandArgv({"CLIENT", "ID"});
    ASSERT_TRUE(id.isInteger());
    redis.command({"CLIENT", "KILL", "ID", QByteArray::number(id.integer())});

    // The health check sees the closed socket before writing, reconnects and selects
    // database 3 again, so the write lands where the caller expects it.
    EXPECT_TRUE(client.commandArgv({"SET", "after-kill", "v"}).isOK());
    EXPECT_EQ(client.connectCount(), 2);
    HiredisClient check;
    ASSERT_TRUE(check.connect(redis.host(), redis.port()));
    EXPECT_EQ(check.pipeline({{"SELECT", "3"}, {"EXISTS", "after-kill"}, {"SELECT", "0"}, {"EXISTS", "after-kill"}}),
              QList<DerazReply>({DerazReply::status("OK"), DerazReply::integer(1), DerazReply::status("OK"),
                                 DerazReply::integer(0)}));
    redis.flushAll();
}

TEST(HiredisClientTest, ReconnectsOnlyAfterMoreThanThreeHundredIdleSeconds)
{
    RedisServer &redis = RedisServer::shared();
    ASSERT_TRUE(redis.isRunning() || redis.start()) << qPrintable(redis.error());
    QDateTime now = QDateTime::fromString(QStringLiteral("2026-01-01T10:00:00Z"), Qt::ISODate);
    Bastwick::setNowProvider([&now] { return now; });
    struct Restore
    {
        ~Restore() { Bastwick::setNowProvider({}); }
    } restore;

    struct Case
    {
        qint64 idleMs;
        int connectsAfter;
    };
    // Each step idles, then sends; the first command is measured from creation.
    const QList<Case> steps = {{300000, 1}, {300500, 2}, {1000, 2}, {299999, 2}, {300001, 3}};
    HiredisClient client;
    ASSERT_TRUE(client.connect(redis.host(), redis.port()));
    for (const Case &step : steps) {
        now = now.addMSecs(step.idleMs);
        EXPECT_EQ(client.commandArgv({"PING"}), DerazReply::status("PONG"));
        EXPECT_EQ(client.connectCount(), step.connectsAfter) << "after idling " << step.idleMs << " ms";
    }
}

TEST(HiredisClientTest, AuthenticatesWithThePasswordAlone)
{
    RedisServer secured;
    ASSERT_TRUE(secured.start()) << qPrintable(secured.error());
    // Set after start: the fixture's readiness check is a PING without password.
    secured.command({"CONFIG", "SET", "requirepass", "s3cret"});
    RedisServer &open = RedisServer::shared();
    ASSERT_TRUE(open.isRunning() || open.start());

    struct Case
    {
        const char *name;
        RedisServer *server;
        QByteArray password;
        bool connects;
        QByteArray errorPart;
    };
    const QList<Case> cases = {
        {"right password", &secured, "s3cret", true, ""},
        {"wrong password", &secured, "nope", false, "pass"},
        {"password to a server without one", &open, "anything", true, ""},
        {"no password to a server without one", &open, "", true, ""},
    };
    for (const Case &c : cases) {
        HiredisClient client;
        client.setPassword(c.password);
        const bool ok = client.connect(c.server->host(), c.server->port());
        EXPECT_EQ(ok, c.connects) << c.name << ": " << qPrintable(client.lastError());
        if (!c.connects) {
            EXPECT_TRUE(client.hasAuthError()) << c.name;
            EXPECT_TRUE(client.lastError().toUtf8().toLower().contains(c.errorPart))
                << c.name << ": " << qPrintable(client.lastError());
        } else {
            EXPECT_EQ(client.commandArgv({"PING"}), DerazReply::status("PONG")) << c.name;
        }
    }
}

TEST(HiredisClientTest, DropInsideATransactionFailsWithoutResending)
{
    FakeDerazServer fake;
    fake.start([](const FakeDerazServer::Command &c, int connection) {
        if (c.first() == "EXEC" && connection == 0)
            return FakeDerazServer::Action{{}, true};
        if (c.first() == "MULTI")
            return FakeDerazServer::Action{FakeDerazServer::ok()};
        if (c.first() == "EXEC")
            return FakeDerazServer::Action{FakeDerazServer::array({})};
        return FakeDerazServer::Action{FakeDerazServer::status("QUEUED")};
    });
    HiredisClient client;
    ASSERT_TRUE(client.connect(fake.host(), fake.port()));
    const QList<DerazReply> replies = client.pipeline({{"MULTI"}, {"RPUSH", "l", "x"}, {"EXEC"}, {"RPUSH", "l", "y"}});
    ASSERT_EQ(replies.size(), 4);
    EXPECT_EQ(replies.at(1), DerazReply::status("QUEUED"));
    EXPECT_TRUE(replies.at(2).isNoReply());
    EXPECT_FALSE(replies.at(2).errorText().isEmpty());
    EXPECT_TRUE(replies.at(3).isNoReply());

    // The next batch reconnects first; nothing of the failed batch is sent again.
    EXPECT_TRUE(client.pipeline({{"MULTI"}, {"EXEC"}}).constLast().isArray());
    EXPECT_EQ(fake.connections(), 2);
    int rpushes = 0;
    for (const auto &c : fake.received())
        rpushes += c.first() == "RPUSH";
    EXPECT_EQ(rpushes, 1);
}

TEST(HiredisClientTest, ConnectThatHangsEndsAtTheTimeout)
{
    FakeDerazServer fake;
    ASSERT_TRUE(fake.startNotAccepting());
    HiredisClient client;
    client.setConnectTimeoutMs(300);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(client.connect(fake.host(), fake.port()));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_FALSE(client.lastError().isEmpty());

    HiredisClient refused;
    EXPECT_FALSE(refused.connect(QStringLiteral("127.0.0.1"), RedisServer::freePort()));
    EXPECT_FALSE(refused.hasAuthError());
}

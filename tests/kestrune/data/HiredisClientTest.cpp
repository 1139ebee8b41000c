// The adapter against a scripted fake server (what a real server never sends) and a
// real redis-server (reconnects, AUTH, large batches).

#include <kestrune/data/deraz/HiredisClient.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/Clock.h>

#include "support/FakeDerazServer.h"
#include "support/LogCapture.h"
#include "support/ProcessMemory.h"
#include "support/RedisServer.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <QtCore/QElapsedTimer>

#include <atomic>
#include <thread>

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
         FakeDerazServer::array(
             {FakeDerazServer::ok(),
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
    ScriptedServer fake(
        [](const FakeDerazServer::Command &) { return FakeDerazServer::Action{FakeDerazServer::ok()}; });
    HiredisClient client;
    ASSERT_TRUE(client.connect(fake.server.host(), fake.server.port()));

    const QByteArray binaryKey("k\0 %s\xff", 6);
    client.commandArgv({"SET", binaryKey, ""});
    client.command("GET   a%sb  ");
    client.pipeline({{"A"}, {"B", "1"}});
    // A command longer than the formatter's stack buffer, and one of many arguments.
    const QByteArray big = QByteArray(5000, 'v') + QByteArray("\0\r\n", 3);
    DerazArgv many{"RPUSH", "list"};
    for (int i = 0; i < 30; ++i)
        many.append(QByteArray::number(i * 7919));
    client.pipeline({{"SET", "big", big}, many});
    const DerazReply empty = client.command("   ");

    const QList<FakeDerazServer::Command> expected = {
        {"SET", binaryKey, ""}, {"GET", "a%sb"}, {"A"}, {"B", "1"}, {"SET", "big", big}, many};
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

TEST(HiredisClientTest, GeneratedTransactionReadsItsExecReplyAsASummary)
{
    RedisServer &redis = RedisServer::shared();
    ASSERT_TRUE(redis.isRunning() || redis.start()) << qPrintable(redis.error());
    redis.flushAll();
    HiredisClient client;
    ASSERT_TRUE(client.connect(redis.host(), redis.port()));
    ASSERT_TRUE(client.commandArgv({"RPUSH", "list", "a", "b"}).isInteger());

    // MULTI, n commands made as they are sent, EXEC; one fails when run, one answers an
    // array of its own.
    const qsizetype n = HiredisClient::kChunkSize * 2 + 5;
    const qsizetype failing = 15000;
    const auto commandAt = [&](qsizetype i) -> DerazArgv {
        if (i == 0)
            return {"MULTI"};
        if (i == n + 1)
            return {"EXEC"};
        if (i - 1 == failing)
            return {"INCR", "k0"};
        if (i - 1 == 7)
            return {"LRANGE", "list", "0", "-1"};
        return {"SET", "k" + QByteArray::number(i - 1), "v"};
    };
    qsizetype visited = 0;
    bool summary = false;
    qsizetype size = -1, firstError = -1;
    QByteArray errorText;
    bool othersKept = true;
    QString error;
    ASSERT_TRUE(client.pipelineRaw(
        n + 2, commandAt,
        [&](qsizetype index, const DerazRawReply &reply) {
            ++visited;
            if (index != n + 1) {
                othersKept =
                    othersKept && reply.toReply() == DerazReply::status(index == 0 ? "OK" : "QUEUED");
                return;
            }
            summary = reply.isSummary();
            size = reply.size();
            firstError = reply.firstErrorElement();
            errorText = reply.at(firstError).text().toByteArray();
            othersKept = othersKept && reply.at(0).isNull() && reply.at(7).isNull();
        },
        &error, n + 1))
        << qPrintable(error);
    EXPECT_EQ(visited, n + 2);
    EXPECT_TRUE(summary);
    EXPECT_EQ(size, n);
    EXPECT_EQ(firstError, failing);
    EXPECT_TRUE(errorText.contains("not an integer")) << errorText.constData();
    EXPECT_TRUE(othersKept);

    // A reply of another kind at the summarized place reads as usual, and the context
    // is in step afterwards.
    DerazReply value;
    ASSERT_TRUE(client.pipelineRaw(
        1,
        [](qsizetype) {
            return DerazArgv{"GET", "k1"};
        },
        [&](qsizetype, const DerazRawReply &reply) { value = reply.toReply(); }, nullptr, 0));
    EXPECT_EQ(value, DerazReply::string("v"));
    EXPECT_EQ(client.commandArgv({"LLEN", "list"}), DerazReply::integer(2));

    // An empty generated command fails the batch and leaves no half-sent transaction.
    const int connects = client.connectCount();
    EXPECT_FALSE(client.pipelineRaw(
        3, [](qsizetype i) { return i == 1   ? DerazArgv{}
                                    : i == 0 ? DerazArgv{"MULTI"}
                                             : DerazArgv{"EXEC"}; },
        [](qsizetype, const DerazRawReply &) {}, &error));
    EXPECT_EQ(client.commandArgv({"GET", "k1"}), DerazReply::string("v")) << "not inside a transaction";
    EXPECT_GT(client.connectCount(), connects);
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
    EXPECT_EQ(check.pipeline(
                  {{"SELECT", "3"}, {"EXISTS", "after-kill"}, {"SELECT", "0"}, {"EXISTS", "after-kill"}}),
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
    const QList<DerazReply> replies =
        client.pipeline({{"MULTI"}, {"RPUSH", "l", "x"}, {"EXEC"}, {"RPUSH", "l", "y"}});
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

// Bytes the server sends after the answers, in the same write, are read with them; they
// end the session (a protocol error) and are never taken for the next command's reply.
TEST(HiredisClientTest, BytesNobodyAskedForAreNeverTakenForTheNextReply)
{
    const QList<QByteArray> extras = {
        FakeDerazServer::status("SURPRISE"), FakeDerazServer::integer(5) + FakeDerazServer::status("TWO"),
        "*2\r\n+A\r\n", // an array whose second element never comes
        "$3\r\nab",     // a bulk string cut short
    };
    for (const QByteArray &extra : extras) {
        SCOPED_TRACE(extra.constData());
        FakeDerazServer fake;
        ASSERT_TRUE(fake.start([&extra](const FakeDerazServer::Command &c, int) {
            if (c.first() == "EXEC")
                return FakeDerazServer::Action{FakeDerazServer::array({FakeDerazServer::ok()}) + extra};
            if (c.first() == "DBSIZE")
                return FakeDerazServer::Action{FakeDerazServer::integer(7)};
            return FakeDerazServer::Action{FakeDerazServer::status(c.first() == "MULTI" ? "OK" : "QUEUED")};
        }));
        HiredisClient client;
        ASSERT_TRUE(client.connect(fake.host(), fake.port()));
        TestSupport::LogCapture log;
        EXPECT_EQ(client.pipeline({{"MULTI"}, {"SET", "k", "v"}, {"EXEC"}}).constLast(),
                  DerazReply::array({DerazReply::status("OK")}));
        EXPECT_EQ(client.commandArgv({"DBSIZE"}), DerazReply::integer(7));
        EXPECT_EQ(fake.connections(), 2) << "the session that carried the extra bytes is closed";
        EXPECT_TRUE(log.contains(QStringLiteral("protocol error")));
    }
}

// Commands of a batch are made and sent while the server still answers earlier ones: a
// connection dropped in the middle of that stream ends the batch with an error, drops
// the context (the server never sees the transaction's EXEC) and leaves the next batch
// to reconnect.
TEST(HiredisClientTest, DropWhileCommandsAreInFlightFailsTheBatchAndNeverReachesExec)
{
    const qsizetype n = HiredisClient::kChunkSize * 5;
    const QByteArray dropKey = "k" + QByteArray::number(HiredisClient::kChunkSize + 17);
    FakeDerazServer fake;
    ASSERT_TRUE(fake.start([&](const FakeDerazServer::Command &c, int connection) {
        if (c.first() == "MULTI" || c.first() == "PING")
            return FakeDerazServer::Action{FakeDerazServer::ok()};
        if (c.first() == "EXEC")
            return FakeDerazServer::Action{FakeDerazServer::array({})};
        if (connection == 0 && c.value(1) == dropKey)
            return FakeDerazServer::Action{{}, true};
        return FakeDerazServer::Action{FakeDerazServer::status("QUEUED")};
    }));
    HiredisClient client;
    client.setReplyTimeLimitMs(20000);
    ASSERT_TRUE(client.connect(fake.host(), fake.port()));
    qsizetype made = 0;
    qsizetype visited = 0;
    QString error;
    EXPECT_FALSE(client.pipelineRaw(
        n + 2,
        [&](qsizetype i) -> DerazArgv {
            made = i + 1;
            if (i == 0)
                return {"MULTI"};
            if (i == n + 1)
                return {"EXEC"};
            return {"SET", "k" + QByteArray::number(i - 1), "v"};
        },
        [&](qsizetype, const DerazRawReply &) { ++visited; }, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(error.contains(QStringLiteral("time limit"))) << qPrintable(error);
    // No reply is taken for one the server never sent (the reset of the connection may
    // discard some it did send).
    EXPECT_LE(visited, HiredisClient::kChunkSize + 18);
    EXPECT_LT(made, n + 2) << "the batch stopped before its end was made";
    EXPECT_FALSE(client.hasContext());
    for (const FakeDerazServer::Command &c : fake.received())
        EXPECT_NE(c.first(), "EXEC");

    EXPECT_EQ(client.commandArgv({"PING"}), DerazReply::status("OK"));
    EXPECT_EQ(fake.connections(), 2);
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

TEST(HiredisClientTest, GetReplyCollectsExactlyTheRepliesOfAppendedCommands)
{
    RedisServer &redis = RedisServer::shared();
    ASSERT_TRUE(redis.isRunning() || redis.start()) << qPrintable(redis.error());
    redis.flushAll();
    HiredisClient client;
    ASSERT_TRUE(client.connect(redis.host(), redis.port()));

    struct Case
    {
        const char *name;
        QList<DerazArgv> appended;
        DerazReply expected;
    };
    const QList<Case> cases = {
        {"nothing appended", {}, DerazReply::noReply(QStringLiteral("no reply due"))},
        {"one command", {{"SET", "k", QByteArray("v\0w", 3)}}, DerazReply::status("OK")},
        {"several commands",
         {{"INCR", "n"}, {"INCR", "n"}, {"GET", "missing"}, {"GET", "k"}},
         DerazReply::array({DerazReply::integer(1), DerazReply::integer(2), DerazReply::nil(),
                            DerazReply::string(QByteArray("v\0w", 3))})},
    };
    for (const Case &c : cases) {
        for (const DerazArgv &argv : c.appended)
            ASSERT_TRUE(client.appendCommandArgv(argv)) << c.name;
        EXPECT_EQ(client.pendingReplies(), c.appended.size()) << c.name;
        const DerazReply reply = client.getReply();
        EXPECT_EQ(reply, c.expected) << c.name << ": " << qPrintable(reply.describe());
        EXPECT_EQ(client.pendingReplies(), 0) << c.name;
    }

    // Replies nobody collected never pass for the next command's reply.
    ASSERT_TRUE(client.appendCommandArgv({"INCR", "n"}));
    EXPECT_EQ(client.commandArgv({"GET", "n"}), DerazReply::string("3"));
    EXPECT_EQ(client.connectCount(), 1);
    redis.flushAll();
}

TEST(HiredisClientTest, ConvenienceConstructorSelectsTheDatabase)
{
    RedisServer &redis = RedisServer::shared();
    ASSERT_TRUE(redis.isRunning() || redis.start()) << qPrintable(redis.error());
    redis.flushAll();

    struct Case
    {
        qint64 database;
        std::optional<qint64> tracked;
    };
    // A number the server does not have still answers a client (on database 0).
    for (const Case &c : QList<Case>{{5, 5}, {0, 0}, {99, std::nullopt}}) {
        const auto client = HiredisClient::derazDb(redis.host(), redis.port(), c.database);
        ASSERT_TRUE(client) << c.database;
        EXPECT_EQ(client->selectedDatabase(), c.tracked) << c.database;
        // After a server-side kill the reconnect lands on the same database again.
        const DerazReply id = client->commandArgv({"CLIENT", "ID"});
        redis.command({"CLIENT", "KILL", "ID", QByteArray::number(id.integer())});
        ASSERT_TRUE(client->commandArgv({"SET", "where", QByteArray::number(c.database)}).isOK());
    }
    HiredisClient probe;
    ASSERT_TRUE(probe.connect(redis.host(), redis.port()));
    EXPECT_EQ(probe.pipeline({{"SELECT", "5"}, {"GET", "where"}, {"SELECT", "0"}, {"GET", "where"}}),
              QList<DerazReply>({DerazReply::status("OK"), DerazReply::string("5"), DerazReply::status("OK"),
                                 DerazReply::string("99")}));
    EXPECT_FALSE(HiredisClient::derazDb(QStringLiteral("127.0.0.1"), RedisServer::freePort(), 1));
    redis.flushAll();
}

TEST(HiredisClientTest, ArgumentArraysBecomeByteVectors)
{
    const QByteArray binary("k\0\xff", 3);
    struct Case
    {
        const char *name;
        QVariantList arguments;
        std::optional<DerazArgv> first;  // cVectorFromArray
        std::optional<DerazArgv> second; // cVectorFromArray2
    };
    const QList<Case> cases = {
        {"texts and a number",
         {QStringLiteral("SET"), QStringLiteral("k"), 42},
         DerazArgv{"SET", "k", "42"},
         DerazArgv{"SET", "k", "42"}},
        {"bytes, lossless text and number kinds",
         {binary, Bastwick::textFromBytes("a\xfe"), true, qint64(-9007199254740993), 2.5, 1e21},
         DerazArgv{binary, "a\xfe", "1", "-9007199254740993", "2.5", "1e+21"},
         DerazArgv{binary, "a\xfe", "1", "-9007199254740993", "2.5", "1e+21"}},
        {"a repeated element fills only its first place",
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("a")},
         DerazArgv{"a", "b", "a"},
         DerazArgv{"a", "b", QByteArray()}},
        {"an element of another kind", {QStringLiteral("SET"), QVariantMap{}}, std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        QString error;
        EXPECT_EQ(HiredisClient::cVectorFromArray(c.arguments, &error), c.first) << c.name;
        EXPECT_EQ(error.isEmpty(), c.first.has_value()) << c.name;
        EXPECT_EQ(HiredisClient::cVectorFromArray2(c.arguments), c.second) << c.name;
    }

    ScriptedServer fake(
        [](const FakeDerazServer::Command &) { return FakeDerazServer::Action{FakeDerazServer::ok()}; });
    HiredisClient client;
    ASSERT_TRUE(client.connect(fake.server.host(), fake.server.port()));
    const auto argv = HiredisClient::cVectorFromArray({QStringLiteral("SET"), QStringLiteral("k"), 42});
    ASSERT_TRUE(argv);
    EXPECT_TRUE(client.commandArgv(*argv).isOK());
    EXPECT_EQ(fake.server.received(), QList<FakeDerazServer::Command>({{"SET", "k", "42"}}));
}

TEST(HiredisClientTest, GetReplyAfterADropReportsItAndTheNextAppendReconnects)
{
    FakeDerazServer fake;
    fake.start([](const FakeDerazServer::Command &c, int connection) {
        if (c.first() == "DROP" && connection == 0)
            return FakeDerazServer::Action{{}, true};
        return FakeDerazServer::Action{FakeDerazServer::ok()};
    });
    HiredisClient client;
    ASSERT_TRUE(client.connect(fake.host(), fake.port()));
    ASSERT_TRUE(client.appendCommandArgv({"SET", "a", "1"}));
    ASSERT_TRUE(client.appendCommandArgv({"DROP"}));
    const DerazReply replies = client.getReply();
    ASSERT_TRUE(replies.isArray()) << qPrintable(replies.describe());
    EXPECT_EQ(replies.at(0), DerazReply::status("OK"));
    EXPECT_TRUE(replies.at(1).isNoReply());
    EXPECT_FALSE(replies.at(1).errorText().isEmpty());
    EXPECT_EQ(client.pendingReplies(), 0);

    // Nothing is due on the broken context; the next append reconnects before it queues.
    ASSERT_TRUE(client.appendCommandArgv({"PING"}));
    EXPECT_EQ(client.getReply(), DerazReply::status("OK"));
    EXPECT_EQ(fake.connections(), 2);
}

TEST(HiredisClientTest, ALengthAServerAnnouncesCostsNothingUntilItsBytesArrive)
{
    // The server answers GET with the start of a reply announcing a huge length, then
    // sends nothing more; it answers everything else with OK.
    struct Case
    {
        const char *name;
        QByteArray start;
        bool summary;
    };
    const QList<Case> cases = {
        {"array of 2,147,483,647 elements", "*2147483647\r\n", false},
        {"the same array read as a summary", "*2147483647\r\n", true},
        {"such an array inside an array", "*2\r\n:1\r\n*2147483647\r\n", false},
        {"bulk text of 2 GB", "$2147483647\r\n", false},
        {"bulk text of 2 GB inside an array, partly sent", "*1\r\n$2147483647\r\nabc", false},
    };
    constexpr qint64 kAllowedGrowth = 64 * 1024 * 1024;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeDerazServer fake;
        ASSERT_TRUE(fake.start([&c](const FakeDerazServer::Command &command, int connection) {
            if (command.first() == "GET" && connection == 0)
                return FakeDerazServer::Action{c.start};
            return FakeDerazServer::Action{FakeDerazServer::ok()};
        }));
        HiredisClient client;
        client.setReplyTimeLimitMs(1000);
        ASSERT_TRUE(client.connect(fake.host(), fake.port()));

        // The read runs on a thread of its own; this one watches the memory meanwhile.
        TestSupport::MemoryGrowth growth;
        std::atomic<bool> done{false};
        bool read = true;
        QString error;
        std::thread reader([&] {
            read = client.pipelineRaw(
                1,
                [](qsizetype) {
                    return DerazArgv{"GET", "k"};
                },
                [](qsizetype, const DerazRawReply &) {}, &error, c.summary ? 0 : -1);
            done = true;
        });
        EXPECT_TRUE(waitFor(
            [&] {
                growth.sample();
                return done.load();
            },
            20000));
        reader.join();
        EXPECT_FALSE(read);
        EXPECT_TRUE(error.contains(QStringLiteral("time limit of 1 s"))) << qPrintable(error);
        EXPECT_LT(growth.heap, kAllowedGrowth) << "heap bytes";
        EXPECT_LT(growth.resident, kAllowedGrowth) << "resident bytes";

        // The stuck context was dropped: the next command connects again and is answered.
        EXPECT_FALSE(client.hasContext());
        EXPECT_EQ(client.commandArgv({"PING"}), DerazReply::status("OK"));
        EXPECT_EQ(fake.connections(), 2);
    }
}

// A server that stops answering may still apply what it received: the time-limit error
// says so when a command that may write had gone out, and only then.
TEST(HiredisClientTest, ATimeLimitAfterAWriteWentOutSaysItsOutcomeIsUnknown)
{
    const QString unknown = QStringLiteral("outcome is unknown");
    struct Case
    {
        const char *name;
        QList<DerazArgv> commands; // the server never answers the last one
        bool appended;             // sent by appendCommandArgv() and getReply()
        bool wrote;
    };
    const QList<Case> cases = {
        {"transaction of a write", {{"MULTI"}, {"SET", "k", "v"}, {"EXEC"}}, false, true},
        {"write alone", {{"del", "k"}}, false, true},
        {"read", {{"GET", "k"}}, false, false},
        {"transaction of reads", {{"MULTI"}, {"TYPE", "k"}, {"ttl", "k"}, {"EXEC"}}, false, false},
        {"appended write", {{"PING"}, {"HSET", "h", "f", "v"}}, true, true},
        {"appended read", {{"PING"}, {"LRANGE", "l", "0", "-1"}}, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray last = c.commands.constLast().constFirst();
        FakeDerazServer fake;
        ASSERT_TRUE(fake.start([&last](const FakeDerazServer::Command &command, int) {
            FakeDerazServer::Action action{
                FakeDerazServer::status(command.first() == "MULTI" ? "OK" : "QUEUED")};
            action.hang = command.first() == last;
            return action;
        }));
        HiredisClient client;
        client.setReplyTimeLimitMs(200);
        ASSERT_TRUE(client.connect(fake.host(), fake.port()));
        QString error;
        if (c.appended) {
            for (const DerazArgv &argv : c.commands)
                ASSERT_TRUE(client.appendCommandArgv(argv));
            const DerazReply reply = client.getReply();
            ASSERT_TRUE(reply.isNoReply() || reply.isArray()) << qPrintable(reply.describe());
            error = client.lastError();
        } else {
            error = client.pipeline(c.commands).constLast().errorText();
        }
        EXPECT_TRUE(error.contains(QStringLiteral("time limit of 0.2 s"))) << qPrintable(error);
        EXPECT_EQ(error.contains(unknown), c.wrote) << qPrintable(error);
    }
}

TEST(DerazReplyText, ALimitedDescriptionIsTheStartOfTheWholeOne)
{
    QList<DerazReply> elements;
    for (int i = 0; i < 2000; ++i)
        elements.append(i % 2 ? DerazReply::integer(i)
                              : DerazReply::string("élément-" + QByteArray::number(i)));
    const DerazReply nested = DerazReply::array({DerazReply::status("OK"), DerazReply::array(elements),
                                                 DerazReply::error("ERR x"), DerazReply::nil()});
    const DerazReply bigText = DerazReply::string(QByteArray(1'000'000, 'x'));

    struct Case
    {
        const char *name;
        DerazReply reply;
    };
    for (const Case &c :
         {Case{"nested arrays", nested}, Case{"one large value", bigText},
          Case{"short reply", DerazReply::array({DerazReply::integer(0), DerazReply::nil()})}}) {
        const QString whole = c.reply.describe();
        const QString cut = c.reply.describe(200);
        EXPECT_TRUE(whole.startsWith(cut)) << c.name;
        if (whole.size() <= 200)
            EXPECT_EQ(cut, whole) << c.name;
        else
            EXPECT_GT(cut.size(), 200) << c.name << ": the cut text must show that it was cut";
        EXPECT_LE(cut.size(), 260) << c.name << ": a limited description stops near its limit";
    }
    EXPECT_TRUE(nested.describe().endsWith(QStringLiteral("], (error) ERR x, (nil)]")));
}

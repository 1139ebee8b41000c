// Every key operation of a database against a real redis-server.

#include "DerazTestHelpers.h"

#include <kestrune/data/deraz/HiredisClient.h>

#include <bastwick/platform/DispatchQueue.h>

#include <kestrune/data/deraz/DerazHash.h>
#include <kestrune/data/deraz/DerazResultSet.h>
#include <kestrune/data/model/DBField.h>
#include <kestrune/data/model/DBResultSet.h>

#include "support/FakeDerazServer.h"
#include "support/LogCapture.h"
#include "support/RedisServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QStringEncoder>
#include <QtCore/QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace DerazTest;
using TestSupport::RedisServer;

namespace {

class DerazDatabaseTest : public ServerTest
{
protected:
    void SetUp() override
    {
        ServerTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(probe.connect(redis().host(), redis().port()));
        connected = connectTo(redis().host(), redis().port());
        ASSERT_FALSE(connected.error) << qPrintable(describe(connected.error));
        ASSERT_EQ(connected.databases.size(), 16);
    }
    // A command on the given database through a separate client.
    DerazReply on(int db, const DerazArgv &command)
    {
        const QList<DerazReply> r = probe.pipeline({{"SELECT", QByteArray::number(db)}, command});
        return r.last();
    }

    HiredisClient probe;
    Connected connected;
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

DerazKV kv(const QByteArray &key, const QByteArray &value, qint64 ttl = -1)
{
    return DerazKV(key, value, ttl);
}

} // namespace

TEST_F(DerazDatabaseTest, WritesAndReadsEveryTypeWithTimeToLive)
{
    auto db = connected.db(3);
    const QByteArray binary("v\0\xff", 3);

    DerazHashKV hash;
    hash.setKey("h key");
    hash.setPairs({kv("f1", binary), kv("f 2", "two")});
    DerazListKV list;
    list.setKey("l");
    list.setValues({"x", "", "x"});
    DerazSetKV set;
    set.setKey("s");
    set.setValues({"m1", "m2"});
    DerazZSetKV zset;
    zset.setKey("z");
    DerazKV a, b;
    a.setValue("a");
    a.setScore(1.5);
    b.setValue("ts");
    b.setScore(1700000000123.0);
    zset.setPairs({a, b});

    struct Case
    {
        int type;
        QVariantList records;
        qint64 ttl;
        QByteArray key;
        qint64 expectedSize;
    };
    const QList<Case> cases = {
        {0, {QVariant::fromValue(kv("str", binary, 42))}, -1, "str", 3},
        {1, {QVariant::fromValue(hash)}, 100, "h key", 2},
        {2, {QVariant::fromValue(list)}, -1, "l", 3},
        {3, {QVariant::fromValue(set)}, 0, "s", 2},
        {4, {QVariant::fromValue(zset)}, 50, "z", 2},
    };
    for (const Case &c : cases) {
        const auto error = await([&](auto done) { db->saveKVs(c.records, c.type, c.ttl, done); });
        EXPECT_FALSE(error) << "type " << c.type << ": " << qPrintable(describe(error));
        const auto unit = fetchKey(db, c.key);
        ASSERT_TRUE(unit) << "type " << c.type;
        EXPECT_EQ(unit->key(), c.key);
        EXPECT_EQ(unit->type(), c.type);
        EXPECT_EQ(unit->size(), c.expectedSize) << "type " << c.type;
        const qint64 expectedTtl = c.type == 0 ? 42 : (c.ttl > 0 ? c.ttl : -1);
        if (expectedTtl > 0)
            EXPECT_TRUE(unit->ttl() > expectedTtl - 5 && unit->ttl() <= expectedTtl) << "type " << c.type;
        else
            EXPECT_EQ(unit->ttl(), -1) << "type " << c.type << ": a TTL of 0 or less means no expiry";
        // Every write went to DB3, none to the database selected after connecting.
        EXPECT_EQ(on(3, {"EXISTS", c.key}), DerazReply::integer(1));
        EXPECT_EQ(on(15, {"EXISTS", c.key}), DerazReply::integer(0));
    }

    const auto str = fetchKey(db, "str");
    EXPECT_EQ(str->values(), QByteArrayList{binary});
    const auto h = fetchKey(db, "h key");
    ASSERT_EQ(h->rows().size(), 2);
    QMap<QByteArray, QByteArray> fields;
    for (const DerazKV &row : h->rows())
        fields.insert(row.key(), row.value());
    EXPECT_EQ(fields.value("f1"), binary);
    EXPECT_EQ(fields.value("f 2"), QByteArray("two"));
    EXPECT_EQ(fetchKey(db, "l")->values(), QByteArrayList({"x", "", "x"}));
    const auto z = fetchKey(db, "z");
    ASSERT_EQ(z->rows().size(), 2);
    EXPECT_EQ(z->rows().at(0).value(), QByteArray("ts"));
    EXPECT_EQ(z->rows().at(0).score(), 1700000000123.0) << "scores keep double precision";
    EXPECT_EQ(z->rows().at(1).score(), 1.5);

    // Page reads in index order, skipping keys that are gone.
    const QByteArrayList pageKeys = {"str", "gone", "z"};
    Bastwick::Error error;
    const QList<DerazUnit> units = db->derazUnitsFromKeys(pageKeys, &error);
    EXPECT_TRUE(error.domain.isEmpty());
    ASSERT_EQ(units.size(), 2);
    EXPECT_EQ(units.at(0).key(), QByteArray("str"));
    EXPECT_EQ(units.at(1).key(), QByteArray("z"));
    EXPECT_TRUE(db->derazUnitsFromKeys({}, &error).isEmpty());
    EXPECT_FALSE(fetchKey(db, "gone"));
}

TEST_F(DerazDatabaseTest, ReplaceRoadRewritesTheKeyAndAddRoadMerges)
{
    auto db = connected.db(2);
    DerazListKV list;
    list.setKey("l");
    list.setValues({"a", "b"});
    DerazHashKV hash;
    hash.setKey("h");
    hash.setPairs({kv("keep", "1"), kv("drop", "2")});
    ASSERT_FALSE(await([&](auto done) { db->saveKVs({QVariant::fromValue(list)}, 2, -1, done); }));
    ASSERT_FALSE(await([&](auto done) { db->saveKVs({QVariant::fromValue(hash)}, 1, -1, done); }));

    // Saving the unchanged list again on the update road does not double it.
    EXPECT_FALSE(await([&](auto done) { db->saveKVs({QVariant::fromValue(list)}, 2, 30, done, true); }));
    EXPECT_EQ(fetchKey(db, "l")->values(), QByteArrayList({"a", "b"}));
    EXPECT_GT(fetchKey(db, "l")->ttl(), 0);
    // A removed field does not survive.
    hash.setPairs({kv("keep", "1")});
    EXPECT_FALSE(await([&](auto done) { db->saveKVs({QVariant::fromValue(hash)}, 1, -1, done, true); }));
    EXPECT_EQ(fetchKey(db, "h")->size(), 1);
    // The add road appends.
    EXPECT_FALSE(await([&](auto done) { db->saveKVs({QVariant::fromValue(list)}, 2, -1, done); }));
    EXPECT_EQ(fetchKey(db, "l")->size(), 4);

    // A replace without rows is refused and the key stays.
    DerazListKV empty;
    empty.setKey("l");
    const auto refused =
        await([&](auto done) { db->saveKVs({QVariant::fromValue(empty)}, 2, -1, done, true); });
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->code, 1);
    EXPECT_EQ(fetchKey(db, "l")->size(), 4);

    // An unknown type code and a server refusal inside the transaction are reported.
    EXPECT_TRUE(await([&](auto done) { db->saveKVs({QVariant::fromValue(list)}, 7, -1, done); }));
    DerazZSetKV clash;
    clash.setKey("l");
    DerazKV member;
    member.setValue("m");
    clash.setPairs({member});
    const auto wrongType = await([&](auto done) { db->saveKVs({QVariant::fromValue(clash)}, 4, -1, done); });
    ASSERT_TRUE(wrongType);
    EXPECT_TRUE(wrongType->description.contains("WRONGTYPE")) << qPrintable(wrongType->description);
}

TEST_F(DerazDatabaseTest, SingleKeyOperationsFollowTheirReplyRules)
{
    auto db = connected.db(1);
    struct Case
    {
        const char *name;
        std::function<void(DerazDatabase::ErrorCompletion)> op;
        std::optional<qint64> errorCode;
    };
    const QList<Case> steps = {
        {"setnx new", [&](auto d) { db->saveStringKey("s", "1", -1, d); }, std::nullopt},
        {"setnx existing", [&](auto d) { db->saveStringKey("s", "2", 0, d); }, 0},
        {"setex", [&](auto d) { db->saveStringKey("s", "3", 60, d); }, std::nullopt},
        {"hset new field", [&](auto d) { db->saveHashKey("h", "f", "v", -1, d); }, std::nullopt},
        {"hset existing field", [&](auto d) { db->saveHashKey("h", "f", "w", -1, d); }, 0},
        {"hdel", [&](auto d) { db->removeHashKey("h", "f", d); }, std::nullopt},
        {"hdel missing", [&](auto d) { db->removeHashKey("h", "f", d); }, 0},
        {"rpush", [&](auto d) { db->saveListKey("l", "a", -1, d); }, std::nullopt},
        {"rpush again", [&](auto d) { db->saveListKey("l", "b", -1, d); }, std::nullopt},
        {"remove list element 0", [&](auto d) { db->removeListKey("l", 0, d); }, std::nullopt},
        {"remove outside the list", [&](auto d) { db->removeListKey("l", 9, d); }, std::nullopt},
        {"remove element of a string", [&](auto d) { db->removeListKey("s", 0, d); }, 1},
    };
    for (const Case &c : steps) {
        const auto error = await(c.op);
        if (c.errorCode) {
            ASSERT_TRUE(error) << c.name;
            EXPECT_EQ(error->code, *c.errorCode) << c.name;
        } else {
            EXPECT_FALSE(error) << c.name << ": " << qPrintable(describe(error));
        }
    }
    EXPECT_EQ(on(1, {"GET", "s"}), DerazReply::string("3"));
    EXPECT_EQ(on(1, {"LRANGE", "l", "0", "-1"}), DerazReply::array({DerazReply::string("b")}));
}

// Only the element at the index goes; elements equal to it, or to any marker value, stay.
TEST_F(DerazDatabaseTest, RemovingAListElementKeepsEveryOtherElement)
{
    auto db = connected.db(1);
    const QByteArray binary("\0\xff", 2);
    struct Case
    {
        QByteArrayList before;
        qint64 index;
        QByteArrayList after;
    };
    const QList<Case> cases = {
        {{"a", "__XXXDeled__", "b", "__XXXDeled__"}, 0, {"__XXXDeled__", "b", "__XXXDeled__"}},
        {{"x", "x", "x"}, 1, {"x", "x"}},
        {{"a", "", binary, ""}, -1, {"a", "", binary}},
        {{"a", "b"}, 2, {"a", "b"}},
    };
    for (const Case &c : cases) {
        on(1, {"DEL", "l"});
        DerazArgv push = {"RPUSH", "l"};
        push.append(c.before);
        on(1, push);
        const auto error = await([&](auto d) { db->removeListKey("l", c.index, d); });
        EXPECT_FALSE(error) << c.index << ": " << qPrintable(describe(error));
        const DerazReply left = on(1, {"LRANGE", "l", "0", "-1"});
        QByteArrayList after;
        for (const DerazReply &e : left.elements())
            after.append(e.text());
        EXPECT_EQ(after, c.after) << "index " << c.index << " of " << c.before.join(',').constData();
    }
}

TEST_F(DerazDatabaseTest, OperationsLandOnTheirOwnDatabase)
{
    auto db3 = connected.db(3);
    on(15, {"SET", "in15", "1"});
    on(3, {"SET", "in3", "1"});
    // Emptying DB3 right after connecting (DB15 selected) empties DB3.
    EXPECT_FALSE(await([&](auto d) { db3->removeAllKey(d); }));
    EXPECT_EQ(on(3, {"DBSIZE"}), DerazReply::integer(0));
    EXPECT_EQ(on(15, {"DBSIZE"}), DerazReply::integer(1));

    // A batch may not select another database (its lines would land elsewhere than the
    // user chose): it is refused whole, and DB3's next operation still lands on DB3.
    const auto refused = await([&](auto d) {
        db3->execCommandArrays({QByteArray("SET a 1"), QByteArray("select 7"), QByteArray("SET c 1")}, d);
    });
    EXPECT_TRUE(refused && refused->description.contains("SELECT cannot be run"))
        << qPrintable(describe(refused));
    EXPECT_EQ(on(7, {"EXISTS", "a"}), DerazReply::integer(0));
    EXPECT_EQ(on(3, {"EXISTS", "a"}), DerazReply::integer(0));
    EXPECT_FALSE(await([&](auto d) { db3->saveKVs({QVariant::fromValue(kv("b", "1"))}, 0, -1, d); }));
    EXPECT_EQ(on(3, {"EXISTS", "b"}), DerazReply::integer(1));
    EXPECT_EQ(on(7, {"EXISTS", "b"}), DerazReply::integer(0));

    // Another database object of the same connection takes its turn the same way.
    EXPECT_FALSE(
        await([&](auto d) { connected.db(5)->saveKVs({QVariant::fromValue(kv("c", "1"))}, 0, -1, d); }));
    EXPECT_FALSE(await([&](auto d) { db3->removeKeys({"b"}, d); }));
    EXPECT_EQ(on(5, {"EXISTS", "c"}), DerazReply::integer(1));
    EXPECT_EQ(on(3, {"DBSIZE"}), DerazReply::integer(0));

    // Select of a database the server does not have fails and changes nothing.
    auto db = std::make_shared<DerazDatabase>(db3->derazConnection(), QStringLiteral("DB99"));
    const auto error = await([&](auto d) { db->selectSelf(d); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, 1);
    const auto flushError = await([&](auto d) { db->removeAllKey(d); });
    ASSERT_TRUE(flushError) << "a failed SELECT sends nothing else";
    EXPECT_EQ(flushError->code, 1);
    EXPECT_EQ(on(3, {"DBSIZE"}), DerazReply::integer(0));
    EXPECT_EQ(on(15, {"DBSIZE"}), DerazReply::integer(1));
}

TEST_F(DerazDatabaseTest, RemovesKeysWithBlanksAndBytesExactly)
{
    auto db = connected.db(4);
    const QByteArray binary("k\0\xff", 3);
    for (const QByteArray &k : QByteArrayList{"a b", "a", "b", binary, "keep"})
        on(4, {"SET", k, "1"});
    EXPECT_FALSE(await([&](auto d) { db->removeKey("a b", d); }));
    EXPECT_EQ(on(4, {"EXISTS", "a"}), DerazReply::integer(1));
    EXPECT_EQ(on(4, {"EXISTS", "b"}), DerazReply::integer(1));
    EXPECT_EQ(on(4, {"EXISTS", "a b"}), DerazReply::integer(0));
    const auto missing = await([&](auto d) { db->removeKey("a b", d); });
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->code, 1);

    EXPECT_FALSE(await([&](auto d) { db->removeKeys({binary, "a", "a", "nothing"}, d); }));
    EXPECT_EQ(on(4, {"EXISTS", binary}), DerazReply::integer(0));
    EXPECT_EQ(on(4, {"DBSIZE"}), DerazReply::integer(2)); // b and keep
    EXPECT_FALSE(await([&](auto d) { db->removeKeys({}, d); }));
}

TEST_F(DerazDatabaseTest, QueryFindsKeysAndRemovesThem)
{
    auto db = connected.db(6);
    for (const QByteArray &k : QByteArrayList{"user:1", "user:2", "user:\xff", "other"})
        on(6, {"SET", k, "1"});
    EXPECT_FALSE(db->queryKeys());
    EXPECT_FALSE(await([&](auto d) { db->execQuery("  user:*", d); }));
    ASSERT_TRUE(db->queryKeys());
    EXPECT_EQ(db->numberOfQueryKeys(), 3);
    EXPECT_FALSE(await([&](auto d) { db->execQuery("Keys other", d); }));
    EXPECT_EQ(db->queryKeys()->toList(), QByteArrayList{"other"});
    const auto refused = await([&](auto d) { db->execQuery("keys a b", d); });
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->code, 1);
    EXPECT_FALSE(db->queryKeys()) << "an error reply empties the query result";

    EXPECT_FALSE(await([&](auto d) { db->execQuery("user:*", d); }));
    // A page of the query result.
    bool done = false;
    QList<DerazUnit> page;
    db->fetchQueryResultSetForRecordsAtIndexes(
        Bastwick::IndexSet::fromRange(0, 100),
        [&](const QList<DerazUnit> &u) {
            page = u;
            done = true;
        },
        [&](const Bastwick::Error &) { done = true; });
    ASSERT_TRUE(waitFor([&] { return done; }));
    EXPECT_EQ(page.size(), 3);

    EXPECT_FALSE(await([&](auto d) { db->removeAllQueryKey(d); }));
    EXPECT_FALSE(db->queryKeys());
    EXPECT_EQ(on(6, {"DBSIZE"}), DerazReply::integer(1));
    bool immediate = false;
    db->removeAllQueryKey([&](const auto &e) { immediate = !e; });
    EXPECT_TRUE(immediate) << "nothing to remove completes at once";
}

// Patterns that begin with the letters of the command word are patterns all the same.
TEST_F(DerazDatabaseTest, QueryTextIsACommandOnlyWhenItsFirstWordIsKeys)
{
    auto db = connected.db(6);
    for (const QByteArray &k : QByteArrayList{"keys:1", "keys:2", "keysx", "keyspace:a", "user:1"})
        on(6, {"SET", k, "1"});
    struct Case
    {
        QByteArray text;
        QByteArrayList found; // sorted
    };
    const QList<Case> cases = {
        {"keys:*", {"keys:1", "keys:2"}}, {"keys*", {"keys:1", "keys:2", "keyspace:a", "keysx"}},
        {"keyspace:*", {"keyspace:a"}},   {"KEYS:*", {}},
        {"keys user:*", {"user:1"}},      {"Keys  keys:1", {"keys:1"}},
        {"  kEYS *x", {"keysx"}},         {"user:*", {"user:1"}},
    };
    for (const Case &c : cases) {
        const auto error = await([&](auto d) { db->execQuery(c.text, d); });
        EXPECT_FALSE(error) << c.text.constData() << ": " << qPrintable(describe(error));
        ASSERT_TRUE(db->queryKeys()) << c.text.constData();
        QByteArrayList found = db->queryKeys()->toList();
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, c.found) << c.text.constData();
    }
    // The bare command word is the command, which the server refuses without a pattern.
    const auto bare = await([&](auto d) { db->execQuery("keys", d); });
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->code, 1);
}

TEST_F(DerazDatabaseTest, ConsoleRefusesStateChangingCommandsAndReturnsReplies)
{
    auto db = connected.db(8);
    auto run = [&](const QByteArray &line) {
        bool done = false;
        DerazReply reply;
        db->execCommand(line, [&](const DerazReply &r) {
            reply = r;
            done = true;
        });
        EXPECT_TRUE(waitFor([&] { return done; }));
        return reply;
    };
    for (const QByteArray &line : QByteArrayList{"select 1", "MULTI", "exec", "subscribe ch",
                                                 "client reply off", "auth x", "monitor", "quit", "   "}) {
        const DerazReply reply = run(line);
        EXPECT_TRUE(reply.isError()) << line.constData();
        EXPECT_FALSE(reply.text().isEmpty()) << line.constData();
    }
    EXPECT_EQ(run("set \"a b\" v"), DerazReply::status("OK"));
    EXPECT_EQ(on(8, {"GET", "a b"}), DerazReply::string("v"));
    EXPECT_TRUE(run("GET missing").isNil());
    EXPECT_TRUE(run("set  a b").isError()) << "two blanks give an empty argument; the server refuses it";
    EXPECT_EQ(run("client info").kind(), DerazReply::Kind::String);
    EXPECT_EQ(on(8, {"DBSIZE"}), DerazReply::integer(1));
}

TEST_F(DerazDatabaseTest, SampleDataFillsEveryTypeWithinItsBounds)
{
    auto db = connected.db(9);
    EXPECT_FALSE(await([&](auto d) { db->magicData(0, d); }));
    EXPECT_EQ(on(9, {"DBSIZE"}), DerazReply::integer(0));
    EXPECT_FALSE(await([&](auto d) { db->magicData(300, d); }));
    const DerazReply keys = on(9, {"KEYS", "*"});
    ASSERT_TRUE(keys.isArray());
    ASSERT_GT(keys.size(), 0);
    QSet<QByteArray> types;
    for (const DerazReply &k : keys.elements()) {
        const QByteArray type = on(9, {"TYPE", k.text()}).text();
        types.insert(type);
        EXPECT_FALSE(k.text().contains(' '));
        if (type == "zset") {
            const DerazReply members = on(9, {"ZRANGE", k.text(), "0", "-1", "WITHSCORES"});
            for (qsizetype i = 0; i + 1 < members.size(); i += 2) {
                EXPECT_LT(members.at(i).text().toInt(), 200);
                EXPECT_LT(members.at(i + 1).text().toDouble(), 20.0);
            }
        } else if (type == "hash") {
            // Fields and values are numbers below 100 (a key drawn twice gathers more fields).
            const DerazReply all = on(9, {"HGETALL", k.text()});
            for (const DerazReply &e : all.elements())
                EXPECT_LT(e.text().toInt(), 100);
        }
    }
    EXPECT_EQ(types, QSet<QByteArray>({"string", "hash", "list", "set", "zset"}));
}

TEST_F(DerazDatabaseTest, ImportOfAnExportRebuildsIdenticalKeys)
{
    auto db = connected.db(10);
    const QByteArray tricky("a \"q\" \\ \t\n\xff\x00", 13);
    on(10, {"SET", "s", tricky});
    on(10, {"SET", "plain", "é"});
    on(10, {"SET", "json", "{\"a\":1}"});
    on(10, {"HSET", "h", "f 1", tricky, "", "empty field"});
    on(10, {"RPUSH", "l", "1", " lead", "trail ", "1"});
    on(10, {"SADD", "s et", "m", tricky});
    on(10, {"ZADD", "z", "1.5", "a", "1700000000123", "b", "-inf", "c", "0.1", "d"});

    const QByteArrayList keys = {"s", "plain", "json", "h", "l", "s et", "z"};
    Bastwick::Error error;
    const QList<DerazUnit> before = db->derazUnitsFromKeys(keys, &error);
    ASSERT_EQ(before.size(), keys.size()) << qPrintable(error.description);
    QByteArray text;
    for (const DerazUnit &u : before)
        text += u.cmd();

    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("export.txt"));
    ASSERT_TRUE(writeFile(path, text));

    redis().flushAll();
    const auto importError = await([&](auto d) { db->importFile(path, d); });
    EXPECT_FALSE(importError) << qPrintable(describe(importError));
    const QList<DerazUnit> after = db->derazUnitsFromKeys(keys, &error);
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after.at(i).type(), before.at(i).type()) << before.at(i).key().constData();
        QByteArrayList a = after.at(i).values(), b = before.at(i).values();
        if (before.at(i).type() == 3) {
            std::sort(a.begin(), a.end());
            std::sort(b.begin(), b.end());
        }
        EXPECT_EQ(a, b) << before.at(i).key().constData();
        QList<DerazKV> ra = after.at(i).rows(), rb = before.at(i).rows();
        auto byKeyValue = [](const DerazKV &x, const DerazKV &y) {
            return std::tie(x.key(), x.value()) < std::tie(y.key(), y.value());
        };
        std::sort(ra.begin(), ra.end(), byKeyValue);
        std::sort(rb.begin(), rb.end(), byKeyValue);
        EXPECT_EQ(ra, rb) << before.at(i).key().constData();
    }
}

TEST_F(DerazDatabaseTest, ImportRefusesBadFilesAndSendsNothing)
{
    auto db = connected.db(11);
    TestSupport::TempDir dir;
    struct Case
    {
        const char *name;
        QByteArray content; // null: no file
        const char *says;   // part of the error; null: no error
        qint64 keysAfter;
    };
    const QList<Case> cases = {
        {"missing file", QByteArray(), "could not be read", 0},
        {"transaction command", "SET a 1\nMULTI\nSET b 2\n", "Line 2: MULTI cannot be run", 0},
        {"quoted transaction command in lower case", "SET a 1\n\"exec\" \nSET b 2\n",
         "Line 2: EXEC cannot be run", 0},
        // Commands that would change or end the session the transaction runs in.
        {"reset, quoted and in lower case", "SET a 1\n\"reset\"\nSET b 2\n", "Line 2: RESET cannot be run",
         0},
        {"protocol switch", "SET a 1\nHELLO 3\nSET b 2\n", "Line 2: HELLO cannot be run", 0},
        {"replies switched off", "SET a 1\n\nclient Reply OFF\n", "Line 3: CLIENT REPLY cannot be run", 0},
        {"subscription", "SET a 1\nSUBSCRIBE news\n", "Line 2: SUBSCRIBE cannot be run", 0},
        {"own connection killed", "SET a 1\nCLIENT KILL SKIPME no\n", "Line 2: CLIENT KILL cannot be run", 0},
        {"other client commands pass", "CLIENT SETNAME importer\nSET a 1\n", nullptr, 1},
        {"server refuses a line while queuing", "SET a 1\nSET\nSET b 2\n", "Line 2: ", 0},
        {"blank and one-letter lines skipped", "SET a 1\r\n\n x \nSET b 2", nullptr, 2},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBFSET a 1\nSET b 2\n", nullptr, 2},
        {"UTF-16 text", QByteArray("\xFF\xFES\0E\0T\0 \0a\0 \0\xE9\0\n\0", 18), nullptr, 1},
    };
    for (const Case &c : cases) {
        redis().flushAll();
        const QString path = dir.path(QString::fromLatin1(c.name));
        if (!c.content.isNull()) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        const auto error = await([&](auto d) { db->importFile(path, d); });
        EXPECT_EQ(bool(error), c.says != nullptr) << c.name << ": " << qPrintable(describe(error));
        if (error && c.says) {
            EXPECT_TRUE(error->description.contains(QLatin1String(c.says)))
                << c.name << ": " << qPrintable(error->description);
        }
        EXPECT_EQ(on(11, {"DBSIZE"}), DerazReply::integer(c.keysAfter)) << c.name;
    }
}

// UTF-16 text, marked by its byte-order mark in either byte order, is imported as UTF-8
// (characters outside the first plane included), and a command the server refuses is
// named by its line as in any other file.
TEST_F(DerazDatabaseTest, ImportReadsUtf16AndUtf32TextAsUtf8)
{
    auto db = connected.db(11);
    TestSupport::TempDir dir;
    const QByteArray value = "\xC3\xA9\xF0\x9F\x98\x80"; // U+00E9 U+1F600
    const QString commands = QString::fromUtf8("SET a " + value + "\r\nSET b \"x y\"\n");
    struct Case
    {
        const char *name;
        QStringConverter::Encoding order;
        QByteArray mark;
        QString text;
        const char *says; // part of the error; null: imported
    };
    const QList<Case> cases = {
        {"little-endian", QStringConverter::Utf16LE, "\xFF\xFE", commands, nullptr},
        {"big-endian", QStringConverter::Utf16BE, "\xFE\xFF", commands, nullptr},
        {"refused line", QStringConverter::Utf16BE, "\xFE\xFF", QStringLiteral("SET a 1\n\nSET\n"),
         "Line 3: "},
        {"UTF-32 little-endian", QStringConverter::Utf32LE, QByteArray("\xFF\xFE\0\0", 4), commands, nullptr},
        {"UTF-32 big-endian", QStringConverter::Utf32BE, QByteArray("\0\0\xFE\xFF", 4), commands, nullptr},
        // A lone high surrogate before the line feed: no UTF-16 text at all.
        {"broken UTF-16", QStringConverter::Utf16LE, "\xFF\xFE",
         QStringLiteral("SET a 1") + QChar(0xD83D) + QStringLiteral("\n"), "not valid UTF-16"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        redis().flushAll();
        QStringEncoder encoder(c.order);
        const QString path = dir.path(QString::fromLatin1(c.name));
        ASSERT_TRUE(writeFile(path, c.mark + QByteArray(encoder.encode(c.text))));
        const auto error = await([&](auto d) { db->importFile(path, d); });
        if (c.says) {
            EXPECT_TRUE(error && error->description.contains(QLatin1String(c.says)))
                << qPrintable(describe(error));
            EXPECT_EQ(on(11, {"DBSIZE"}), DerazReply::integer(0));
            continue;
        }
        EXPECT_FALSE(error) << qPrintable(describe(error));
        EXPECT_EQ(on(11, {"GET", "a"}), DerazReply::string(value));
        EXPECT_EQ(on(11, {"GET", "b"}), DerazReply::string("x y"));
    }
}

// Only a regular file is imported: a named pipe would hold the caller until something
// writes to it, a device may never end. Each is refused by name, without opening it on
// the caller's thread (a watchdog opens the pipe's other end if the call hangs there).
TEST_F(DerazDatabaseTest, ImportRefusesWhatIsNotARegularFileWithoutWaitingOnIt)
{
    auto db = connected.db(11);
    redis().flushAll();
    TestSupport::TempDir dir;
    const QString pipe = dir.path(QStringLiteral("pipe.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString folder = dir.path(QStringLiteral("folder.txt"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct
    {
        QString path;
        const char *says;
    } cases[] = {{pipe, "is a named pipe, not a regular file"},
                 {folder, "is a folder, not a regular file"},
                 {QStringLiteral("/dev/null"), "is a device, not a regular file"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.says);
        // The watchdog: when the call has not returned after a generous limit, it keeps
        // opening and closing the pipe's writing end until the import has ended.
        std::mutex mutex;
        std::condition_variable changed;
        bool returned = false;
        bool finished = false;
        std::atomic_bool unblocked = false;
        std::thread watchdog([&] {
            std::unique_lock lock(mutex);
            if (changed.wait_for(lock, std::chrono::seconds(20), [&] { return returned; }))
                return;
            unblocked = true;
            while (!changed.wait_for(lock, std::chrono::milliseconds(50), [&] { return finished; })) {
                const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
        });
        const auto tell = [&](bool &flag) {
            {
                std::lock_guard lock(mutex);
                flag = true;
            }
            changed.notify_all();
        };
        std::optional<Bastwick::Error> error;
        bool done = false;
        db->importFile(c.path, [&](const std::optional<Bastwick::Error> &e) {
            error = e;
            done = true;
        });
        tell(returned);
        const bool ended = waitFor([&] { return done; }, 20000);
        tell(finished);
        watchdog.join();
        EXPECT_FALSE(unblocked) << "the import waited on the file on the caller's thread";
        ASSERT_TRUE(ended);
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->description.contains(QLatin1String(c.says))) << qPrintable(error->description);
    }
    EXPECT_EQ(on(11, {"DBSIZE"}), DerazReply::integer(0));
}

// A cancelled import stops before its EXEC: nothing of the file is applied, the error
// says so with its own code, and the connection serves the next import.
TEST_F(DerazDatabaseTest, ACancelledImportAppliesNothing)
{
    auto db = connected.db(11);
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("keys.txt"));
    QByteArray file;
    for (int i = 0; i < 3 * HiredisClient::kChunkSize; ++i)
        file += "SET k" + QByteArray::number(i) + " v\n";
    ASSERT_TRUE(writeFile(path, file));
    const auto import = [&](const std::shared_ptr<std::atomic_bool> &cancel) {
        std::optional<Bastwick::Error> error;
        bool done = false;
        db->importCommands(
            path,
            [&](qsizetype, const std::optional<Bastwick::Error> &e) {
                error = e;
                done = true;
            },
            cancel);
        EXPECT_TRUE(waitFor([&] { return done; }, 30000));
        return error;
    };
    struct Case
    {
        const char *name;
        bool cancelBefore;  // before the import is started
        bool cancelBetween; // after the commands were counted, before any is sent
    };
    for (const Case c : {Case{"before it starts", true, false}, Case{"after counting", false, true}}) {
        SCOPED_TRACE(c.name);
        redis().flushAll();
        auto cancel = std::make_shared<std::atomic_bool>(c.cancelBefore);
        DerazDatabase::setImportBetweenPassesHook([&](const QString &) {
            if (c.cancelBetween)
                *cancel = true;
        });
        const auto error = import(cancel);
        DerazDatabase::setImportBetweenPassesHook({});
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code, DerazDatabase::kImportCancelledCode);
        EXPECT_TRUE(error->description.contains("nothing of the file was applied"))
            << qPrintable(error->description);
        EXPECT_EQ(on(11, {"DBSIZE"}), DerazReply::integer(0));
    }
    // Not cancelled, the same file imports in full.
    EXPECT_FALSE(import(std::make_shared<std::atomic_bool>(false)));
    EXPECT_EQ(on(11, {"DBSIZE"}), DerazReply::integer(3 * HiredisClient::kChunkSize));
}

// A cancellation that comes while the commands go out, some of them queued on the server
// already, stops the import before its EXEC is made: the server is never asked to run
// the transaction, and the error is the cancellation's.
TEST_F(DerazDatabaseTest, AnImportCancelledWhileItsCommandsGoOutNeverSendsItsExec)
{
    const auto cancel = std::make_shared<std::atomic_bool>(false);
    std::atomic_int queued = 0;
    constexpr int kLines = 3 * HiredisClient::kChunkSize;
    TestSupport::FakeDerazServer fake;
    ASSERT_TRUE(fake.start([&](const TestSupport::FakeDerazServer::Command &command, int) {
        using Fake = TestSupport::FakeDerazServer;
        const QByteArray name = command.first().toUpper();
        if (name == "MULTI" || name == "SELECT")
            return Fake::Action{Fake::ok()};
        // Only the load's transactions are run: each database without keys.
        if (name == "EXEC")
            return Fake::Action{Fake::array({Fake::ok(), Fake::array({})})};
        // The server has queued the first commands of the file, and the client cannot
        // have made more than a window beyond those: the user cancels.
        if (name == "SET" && ++queued == 10)
            *cancel = true;
        return Fake::Action{Fake::status("QUEUED")};
    }));
    const Connected connection = connectTo(fake.host(), fake.port());
    ASSERT_FALSE(connection.error) << qPrintable(describe(connection.error));
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("keys.txt"));
    QByteArray file;
    for (int i = 0; i < kLines; ++i)
        file += "SET k" + QByteArray::number(i) + " v\n";
    ASSERT_TRUE(writeFile(path, file));
    fake.clearReceived();

    std::optional<Bastwick::Error> error;
    bool done = false;
    connection.db(15)->importCommands(
        path,
        [&](qsizetype, const std::optional<Bastwick::Error> &e) {
            error = e;
            done = true;
        },
        cancel);
    ASSERT_TRUE(waitFor([&] { return done; }, 30000));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, DerazDatabase::kImportCancelledCode) << qPrintable(error->description);
    const QList<TestSupport::FakeDerazServer::Command> received = fake.received();
    ASSERT_FALSE(received.isEmpty());
    EXPECT_EQ(received.first().first().toUpper(), "MULTI");
    EXPECT_TRUE(std::none_of(received.cbegin(), received.cend(),
                             [](const auto &command) { return command.first().toUpper() == "EXEC"; }));
    EXPECT_LT(queued, kLines);
}

// A file changed after its commands were counted and before they are sent applies
// nothing, whatever the change; the error says the file changed.
TEST_F(DerazDatabaseTest, ImportOfAFileChangedBetweenItsPassesAppliesNothing)
{
    auto db = connected.db(11);
    TestSupport::TempDir dir;
    const QByteArray content = "SET a 1\nSET b 2\n";
    struct Case
    {
        const char *name;
        QByteArray original;
        std::function<void(QFile &)> change;
    };
    const QList<Case> cases = {
        {"grows by a line", content, [](QFile &f) { f.write("SET c 3\n"); }},
        {"grows by blank text", content, [](QFile &f) { f.write("\n\n"); }},
        {"shrinks", content, [](QFile &f) { f.resize(8); }},
        {"same bytes, modified later", content,
         [](QFile &f) {
             f.setFileTime(f.fileTime(QFileDevice::FileModificationTime).addSecs(60),
                           QFileDevice::FileModificationTime);
         }},
        {"empty file gains a line", QByteArray(""), [](QFile &f) { f.write("SET c 3\n"); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        redis().flushAll();
        const QString path = dir.path(QString::fromLatin1(c.name));
        ASSERT_TRUE(writeFile(path, c.original));
        int calls = 0;
        DerazDatabase::setImportBetweenPassesHook([&](const QString &file) {
            ++calls;
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite | QIODevice::Append));
            c.change(f);
        });
        const auto error = await([&](auto d) { db->importFile(path, d); });
        DerazDatabase::setImportBetweenPassesHook({});
        EXPECT_EQ(calls, 1);
        EXPECT_TRUE(error && error->description.contains("The file changed")) << qPrintable(describe(error));
        EXPECT_EQ(on(11, {"DBSIZE"}), DerazReply::integer(0));
    }
    // Unchanged, the same file imports as usual.
    redis().flushAll();
    const QString path = dir.path(QStringLiteral("unchanged"));
    ASSERT_TRUE(writeFile(path, content));
    EXPECT_FALSE(await([&](auto d) { db->importFile(path, d); }));
    EXPECT_EQ(on(11, {"DBSIZE"}), DerazReply::integer(2));
}

// The server drops the connection in the middle of an import (a line longer than it
// accepts, well after the first commands were queued): the import fails with the
// connection's error, nothing of the file is applied, and the next import works.
TEST_F(DerazDatabaseTest, ImportCutOffByTheServerMidStreamAppliesNothing)
{
    auto db = connected.db(11);
    ASSERT_EQ(on(11, {"CONFIG", "SET", "proto-max-bulk-len", "1mb"}), DerazReply::status("OK"));
    QByteArray file;
    for (int i = 0; i < 3 * HiredisClient::kChunkSize; ++i) {
        file += "SET k" + QByteArray::number(i) + " v\n";
        if (i == HiredisClient::kChunkSize + 500)
            file += "SET big " + QByteArray(2 * 1024 * 1024, 'x') + "\n";
    }
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("cut.txt"));
    ASSERT_TRUE(writeFile(path, file));
    const auto error = await([&](auto d) { db->importFile(path, d); });
    EXPECT_EQ(on(11, {"CONFIG", "SET", "proto-max-bulk-len", "512mb"}), DerazReply::status("OK"));
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->description.isEmpty());
    EXPECT_EQ(on(11, {"DBSIZE"}), DerazReply::integer(0));

    ASSERT_TRUE(writeFile(path, "SET a 1\nSET b 2\n"));
    EXPECT_FALSE(await([&](auto d) { db->importFile(path, d); }));
    EXPECT_EQ(on(11, {"DBSIZE"}), DerazReply::integer(2));
}

TEST_F(DerazDatabaseTest, LogsKeepOnlyTheShapeOfCommandLinesAndConsoleReplies)
{
    auto db = connected.db(12);
    const QByteArray secret = "hunter2-not-for-logs";
    // Long enough that the batch logs its lines, with secrets near the end.
    QByteArray file;
    QVariantList batch;
    for (int i = 0; i < 4000; ++i) {
        file += "SET k" + QByteArray::number(i) + " v\n";
        batch.append(QByteArray("SET b" + QByteArray::number(i) + " v"));
    }
    file += "SET apikey " + secret + "\n";
    batch.append(QVariant::fromValue(QByteArrayList{"SET", "token", secret}));
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("secrets.txt"));
    ASSERT_TRUE(writeFile(path, file));

    TestSupport::LogCapture log;
    EXPECT_FALSE(await([&](auto d) { db->importFile(path, d); }));
    EXPECT_FALSE(await([&](auto d) { db->execCommandArrays(batch, d); }));
    EXPECT_FALSE(await([&](auto d) { db->execQuery(secret + "*", d); }));
    bool done = false;
    db->execCommand("SET console " + secret, [&](const DerazReply &) { done = true; });
    EXPECT_TRUE(waitFor([&] { return done; }));
    // Replies typed at the console carry the secret back: the log keeps their shape only.
    DerazReply read;
    done = false;
    db->execCommand("GET console", [&](const DerazReply &r) {
        read = r;
        done = true;
    });
    EXPECT_TRUE(waitFor([&] { return done; }));
    EXPECT_EQ(read, DerazReply::string(secret));
    done = false;
    db->execCommand("MGET console apikey", [&](const DerazReply &r) {
        read = r;
        done = true;
    });
    EXPECT_TRUE(waitFor([&] { return done; }));
    EXPECT_EQ(read.size(), 2);
    // Answers an error (a text other than OK), which goes to the caller, not to the log.
    EXPECT_TRUE(await([&](auto d) { db->execCommandWithError("GET token", d); }));
    EXPECT_TRUE(log.contains(QStringLiteral("(string of %1 bytes)").arg(secret.size())));
    EXPECT_TRUE(log.contains(QStringLiteral("(array of 2 elements)")));

    EXPECT_EQ(on(12, {"GET", "apikey"}), DerazReply::string(secret));
    EXPECT_EQ(on(12, {"GET", "token"}), DerazReply::string(secret));
    EXPECT_TRUE(log.contains(QStringLiteral("SET + 2 arguments"))) << qPrintable(log.lines().join('\n'));
    EXPECT_TRUE(log.contains(QStringLiteral("keys + 1 argument")));
    EXPECT_EQ(log.count(QString::fromLatin1(secret)), 0);
    EXPECT_EQ(log.count(QStringLiteral("hunter2")), 0);
}

TEST_F(DerazDatabaseTest, CompletionsArriveOnTheMainThreadInStartOrder)
{
    QList<int> order;
    bool allMain = true;
    const int n = 60;
    for (int i = 0; i < n; ++i) {
        auto db = connected.db(i % 4);
        auto record = [&, i] {
            order.append(i);
            allMain = allMain && QThread::currentThread() == qApp->thread();
        };
        switch (i % 4) {
        case 0:
            db->saveKVs({QVariant::fromValue(kv("k" + QByteArray::number(i), "v"))}, 0, -1,
                        [record](auto) { record(); });
            break;
        case 1:
            db->fetchKeyInfo(
                "k0", [record](auto) { record(); }, [record](auto) { record(); });
            break;
        case 2:
            db->execCommand("PING", [record](auto) { record(); });
            break;
        case 3:
            db->selectSelf([record](auto) { record(); });
            break;
        }
    }
    ASSERT_TRUE(waitFor([&] { return order.size() == n; }, 20000));
    QList<int> expected;
    for (int i = 0; i < n; ++i)
        expected.append(i);
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(allMain);
}

TEST_F(DerazDatabaseTest, RecordResultSetsReadEachKeyByType)
{
    on(12, {"HSET", "h", "f1", "a", "f2", "b"});
    on(12, {"SET", "s", "v"});
    on(12, {"ZADD", "z", "2.5", "m", "1", "n"});
    on(12, {"RPUSH", "l", "x", "y", "z"});
    // Keys are loaded at connect time, so connect again to see them.
    const Connected c = connectTo(redis().host(), redis().port());
    ASSERT_FALSE(c.error);
    const auto set = c.db(12)->keyDetailResultSet();
    ASSERT_TRUE(set);
    EXPECT_EQ(set->numberOfFields(), 2);
    EXPECT_EQ(set->identifierForTableColumnAtIndex(0), QStringLiteral("key"));
    EXPECT_EQ(set->identifierForTableColumnAtIndex(1), QStringLiteral("value"));
    EXPECT_TRUE(set->identifierForTableColumnAtIndex(2).isEmpty());
    ASSERT_EQ(set->numberOfRecords(), 4);
    QMap<QByteArray, DBRecordPtr> byKey;
    for (const DBRecordPtr &r : set->records())
        byKey.insert(r->valueForKey(QStringLiteral("key")).toByteArray(), r);
    EXPECT_EQ(byKey.value("s")->valueForKey(QStringLiteral("value")).toByteArray(), QByteArray("v"));
    EXPECT_EQ(byKey.value("h")->children().size(), 2);
    EXPECT_EQ(byKey.value("l")->children().size(), 3);
    const auto zset = byKey.value("z")->children();
    ASSERT_EQ(zset.size(), 2);
    EXPECT_EQ(zset.at(0)->valueForKey(QStringLiteral("key")).toDouble(), 2.5);
    EXPECT_EQ(zset.at(0)->valueForKey(QStringLiteral("value")).toByteArray(), QByteArray("m"));
    EXPECT_EQ(set->recordsAtIndexes(Bastwick::IndexSet({0, 2, 9})).size(), 2);
    EXPECT_TRUE(DerazHash("missing", c.db(12)->derazConnection()).children().isEmpty());

    // The generic result set sorts a column of type 4 with numbers compared by value.
    auto field = std::make_shared<DBField>();
    field->setName(QStringLiteral("name"));
    field->setDbType(4);
    DBResultSet generic({field}, {std::make_shared<DBTuple>(QVariantMap{{"name", "file10"}}),
                                  std::make_shared<DBTuple>(QVariantMap{{"name", "file9"}})});
    const DBSortDescriptor sort = generic.sortDescriptorPrototypeForTableColumnAtIndex(0);
    EXPECT_EQ(sort.key, QStringLiteral("name"));
    EXPECT_GT(sort.compare(QStringLiteral("file10"), QStringLiteral("file9")), 0);
    EXPECT_EQ(generic.tupleAsDictionaryData().size(), 2);
}

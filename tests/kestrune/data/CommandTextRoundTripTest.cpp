#include <kestrune/data/records/DerazCommandLine.h>
#include <kestrune/data/records/DerazType.h>
#include <kestrune/data/records/DerazUnit.h>

#include <support/RedisServer.h>

#include <gtest/gtest.h>

#include <hiredis/hiredis.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct ContextDeleter
{
    void operator()(redisContext *c) const { redisFree(c); }
};
struct ReplyDeleter
{
    void operator()(redisReply *r) const { freeReplyObject(r); }
};
using Context = std::unique_ptr<redisContext, ContextDeleter>;
using Reply = std::unique_ptr<redisReply, ReplyDeleter>;

Reply run(redisContext *c, const QList<QByteArray> &args)
{
    std::vector<const char *> argv;
    std::vector<size_t> lengths;
    for (const QByteArray &a : args) {
        argv.push_back(a.constData());
        lengths.push_back(size_t(a.size()));
    }
    return Reply(
        static_cast<redisReply *>(redisCommandArgv(c, int(argv.size()), argv.data(), lengths.data())));
}

QByteArrayList texts(const redisReply *r)
{
    QByteArrayList out;
    for (size_t i = 0; r && r->type == REDIS_REPLY_ARRAY && i < r->elements; ++i)
        out.append(QByteArray(r->element[i]->str, qsizetype(r->element[i]->len)));
    return out;
}

// Reads one key the way the data layer does and fills its record.
DerazUnit readUnit(redisContext *c, const QByteArray &key)
{
    DerazUnit u;
    u.setKey(key);
    const Reply type = run(c, {"TYPE", key});
    u.setType(DerazTypeCodeFromReply(QByteArray(type->str, qsizetype(type->len))));
    switch (u.type()) {
    case DerazKeyTypeString: {
        const Reply r = run(c, {"GET", key});
        u.updateStringValues(QByteArray(r->str, qsizetype(r->len)));
        break;
    }
    case DerazKeyTypeHash:
        u.updateHashValues(texts(run(c, {"HGETALL", key}).get()));
        break;
    case DerazKeyTypeList:
        u.updateListValues(texts(run(c, {"LRANGE", key, "0", "-1"}).get()));
        break;
    case DerazKeyTypeSet:
        u.updateSetValues(texts(run(c, {"SMEMBERS", key}).get()));
        break;
    case DerazKeyTypeZSet:
        u.updateZSetValues(texts(run(c, {"ZREVRANGE", key, "0", "-1", "WITHSCORES"}).get()));
        break;
    }
    return u;
}

// The content of a record in an order-independent form (hash and set order is the server's).
QList<QByteArrayList> content(const DerazUnit &u)
{
    QList<QByteArrayList> rows;
    if (u.type() == DerazKeyTypeHash || u.type() == DerazKeyTypeZSet) {
        for (const DerazKV &kv : u.rows())
            rows.append({kv.key(), kv.value(), DerazUnit::scoreText(kv.score())});
    } else {
        for (const QByteArray &v : u.values())
            rows.append({v});
    }
    if (u.type() == DerazKeyTypeHash || u.type() == DerazKeyTypeSet)
        std::sort(rows.begin(), rows.end());
    return rows;
}

TEST(CommandText, ExportedKeysImportIntoIdenticalKeys)
{
    TestSupport::RedisServer &server = TestSupport::RedisServer::shared();
    ASSERT_TRUE(server.isRunning() || server.start()) << server.error().toStdString();
    server.flushAll();
    Context c(redisConnect("127.0.0.1", server.port()));
    ASSERT_TRUE(c && c->err == 0);

    const QByteArray odd("a b\n\"q\"\\\0\xff\xc3", 11);
    const QList<QList<QByteArray>> fill{
        {"SET", "plain", "value"},
        {"SET", "json", "{\"a\":1}"},
        {"SET", "quoted", "\"abc\""},
        {"SET", odd, odd},
        {"SET", "empty", ""},
        {"SET", " spaced ", "\xe3\x80\x80tail\xe3\x80\x80"},
        {"HSET", "hash", "f 1", odd, "", "empty field", "\xc3\xa9", "\xc3\xa9"},
        {"RPUSH", "list", "x", "x", "", odd, "last one"},
        {"SADD", QByteArray("set\0", 4), "m", odd, ""},
        {"ZADD", "zset", "1.5", "a", "1.5", "b", "1700000000123", "ts", "0.1", "tenth", "inf", "top", "-inf",
         odd},
    };
    for (const auto &args : fill) {
        const Reply r = run(c.get(), args);
        ASSERT_TRUE(r && r->type != REDIS_REPLY_ERROR) << args.first().constData();
    }

    QList<DerazUnit> before;
    QByteArray file;
    const Reply keys = run(c.get(), {"KEYS", "*"});
    for (const QByteArray &key : texts(keys.get())) {
        before.append(readUnit(c.get(), key));
        file.append(before.last().cmd());
    }
    ASSERT_EQ(before.size(), fill.size());

    // The file is text: valid UTF-8, one command per line.
    EXPECT_TRUE(QString::fromUtf8(file).toUtf8() == file);

    run(c.get(), {"FLUSHDB"});
    for (const QByteArray &line : file.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.size() <= 1)
            continue;
        const QList<QByteArray> args = DerazCommandLine::split(trimmed);
        const Reply r = run(c.get(), args);
        ASSERT_TRUE(r && r->type != REDIS_REPLY_ERROR) << line.constData() << " -> " << (r ? r->str : "");
    }

    for (const DerazUnit &old : before) {
        const DerazUnit now = readUnit(c.get(), old.key());
        EXPECT_EQ(now.type(), old.type()) << old.key().toHex().constData();
        EXPECT_EQ(content(now), content(old)) << old.key().toHex().constData();
    }
}

} // namespace

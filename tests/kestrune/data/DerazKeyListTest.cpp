#include <kestrune/data/deraz/DerazRawReply.h>
#include <kestrune/data/records/DerazKeyList.h>

#include "FakeHiredisReply.h"

#include <gtest/gtest.h>

#include <hiredis/hiredis.h>

namespace {

TEST(DerazKeyList, FromReplyKeepsEveryByte)
{
    const QByteArrayList keys{
        "plain", QByteArray("nul\0inside", 10), QByteArray("\xff\xfe"), "", "with blank", "\xc3\xa9"};
    QList<std::pair<int, QByteArray>> items;
    for (const QByteArray &k : keys)
        items.append({REDIS_REPLY_STRING, k});
    FakeArrayReply reply(items);

    const DerazKeyList list = DerazRawReply(&reply.array).toKeyList();
    ASSERT_EQ(list.size(), keys.size());
    for (qsizetype i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(list.at(i), keys[i]) << i;
        EXPECT_EQ(list.view(i), keys[i]) << i;
    }
    EXPECT_EQ(list.toList(), keys);
    EXPECT_EQ(list.indexOf(QByteArray("nul\0inside", 10)), 1);
    EXPECT_EQ(list.indexOf("nul"), -1);
    EXPECT_EQ(list, DerazKeyList::fromList(keys));
}

TEST(DerazKeyList, FromReplyOfOtherShapes)
{
    EXPECT_TRUE(DerazRawReply(nullptr).toKeyList().isEmpty());
    redisReply nil{};
    nil.type = REDIS_REPLY_NIL;
    EXPECT_TRUE(DerazRawReply(&nil).toKeyList().isEmpty());
    FakeArrayReply empty({});
    EXPECT_TRUE(DerazRawReply(&empty.array).toKeyList().isEmpty());
    // Elements that are not texts (a nil inside the array) give no key and no gap.
    FakeArrayReply mixed({{REDIS_REPLY_STRING, "a"}, {REDIS_REPLY_NIL, ""}, {REDIS_REPLY_STRING, "b"}});
    EXPECT_EQ(DerazRawReply(&mixed.array).toKeyList().toList(), (QByteArrayList{"a", "b"}));
}

TEST(DerazKeyList, AppendMidAndWithout)
{
    DerazKeyList list;
    for (int i = 0; i < 10; ++i)
        list.append(QByteArray::number(i));
    EXPECT_EQ(list.mid(8), (QByteArrayList{"8", "9"}));
    EXPECT_EQ(list.mid(3, 2), (QByteArrayList{"3", "4"}));
    EXPECT_TRUE(list.mid(10).isEmpty());
    EXPECT_TRUE(list.mid(12, 3).isEmpty());

    const DerazKeyList copy = list;
    const DerazKeyList rest = list.without({"0", "5", "missing"});
    EXPECT_EQ(rest.toList(), (QByteArrayList{"1", "2", "3", "4", "6", "7", "8", "9"}));
    list.append("10");
    EXPECT_EQ(copy.size(), 10); // copies do not see later changes
    list.clear();
    EXPECT_TRUE(list.isEmpty());
}

TEST(DerazKeyList, StaysCompactForManyKeys)
{
    const qsizetype n = 200000;
    QList<std::pair<int, QByteArray>> items;
    items.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        items.append({REDIS_REPLY_STRING, QByteArray::number(i).rightJustified(20, 'k')});
    FakeArrayReply reply(items);
    const DerazKeyList list = DerazRawReply(&reply.array).toKeyList();
    ASSERT_EQ(list.size(), n);
    EXPECT_EQ(list.at(n - 1), QByteArray::number(n - 1).rightJustified(20, 'k'));
    // 20 bytes of key and one offset each, with little slack.
    EXPECT_LE(list.memoryUsage(), n * 32);
}

} // namespace

// Conversions of replies no server of ours sends over the wire: hiredis's reader never
// makes a reply of another type, so the replies are built by hand.

#include <kestrune/data/deraz/DerazRawReply.h>

#include "FakeHiredisReply.h"

#include <gtest/gtest.h>

#include <hiredis/hiredis.h>

namespace {

constexpr int kUnknownType = 42;

TEST(DerazRawReply, AReplyOfAnUnknownTypeBecomesLabelledText)
{
    struct Case
    {
        const char *what;
        QByteArray text;
    };
    const Case cases[] = {
        {"words", "some text"},
        {"OK", "OK"},
        {"empty", ""},
        {"bytes", QByteArray("\xff\0x", 3)},
    };
    for (const Case &c : cases) {
        QByteArray storage = c.text;
        redisReply reply{};
        reply.type = kUnknownType;
        reply.str = storage.data();
        reply.len = size_t(storage.size());
        const DerazRawReply raw(&reply);
        EXPECT_EQ(raw.toReply(), DerazReply::string("unknown type for: " + c.text)) << c.what;
        // The view agrees: such a reply is text, never an acknowledgement.
        EXPECT_EQ(raw.kind(), DerazReply::Kind::String) << c.what;
        EXPECT_FALSE(raw.isOK()) << c.what;
        EXPECT_FALSE(raw.isError()) << c.what;
    }

    // Inside an array, in its place, beside elements of known types.
    FakeArrayReply mixed({{REDIS_REPLY_STATUS, "OK"}, {kUnknownType, "odd"}, {REDIS_REPLY_STRING, "OK"}});
    EXPECT_EQ(DerazRawReply(&mixed.array).toReply(),
              DerazReply::array({DerazReply::status("OK"), DerazReply::string("unknown type for: odd"),
                                 DerazReply::string("OK")}));
    EXPECT_TRUE(DerazRawReply(&mixed.array).at(0).isOK());
    EXPECT_FALSE(DerazRawReply(&mixed.array).at(1).isOK());
    EXPECT_TRUE(DerazRawReply(&mixed.array).at(2).isOK());
}

} // namespace

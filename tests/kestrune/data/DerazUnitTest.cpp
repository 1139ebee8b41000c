#include <kestrune/data/records/DerazCommandLine.h>
#include <kestrune/data/records/DerazKV.h>
#include <kestrune/data/records/DerazReply.h>
#include <kestrune/data/records/DerazType.h>
#include <kestrune/data/records/DerazUnit.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/KeyValue.h>

#include <support/LogCapture.h>

#include <gtest/gtest.h>

#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QRandomGenerator>

#include <cmath>
#include <limits>

namespace {

using Items = std::optional<QByteArrayList>;

DerazUnit unit(int type, const QByteArray &key = "k", qint64 ttl = -1)
{
    DerazUnit u;
    u.setKey(key);
    u.setType(type);
    u.setTtl(ttl);
    return u;
}

// Runs the lines of cmd() through the splitter, as the import does.
QList<QList<QByteArray>> commandsOf(const QByteArray &text)
{
    QList<QList<QByteArray>> out;
    for (const QByteArray &line : text.split('\n')) {
        if (!line.isEmpty())
            out.append(DerazCommandLine::split(line.trimmed()));
    }
    return out;
}

TEST(DerazUnit, NewRecordIsEmpty)
{
    DerazUnit u;
    EXPECT_TRUE(u.key().isNull());
    EXPECT_EQ(u.type(), 0);
    EXPECT_EQ(u.ttl(), 0);
    EXPECT_EQ(u.size(), 0);
    EXPECT_FALSE(u.hasValues());
}

TEST(DerazUnit, StringReplyKeepsBytes)
{
    const QByteArray value("a\0b\xff", 4);
    DerazUnit u = unit(DerazKeyTypeString, QByteArray("k\0\xfe", 3));
    u.updateStringValues(value);
    ASSERT_EQ(u.values(), QByteArrayList{value});
    EXPECT_EQ(u.size(), 4); // a, NUL, b and one lone surrogate
    // The Value column names the bytes: NUL and the byte that is not UTF-8 as escapes.
    EXPECT_EQ(u.valuesDescription(), QStringLiteral("\"a\\x00b\\xff\""));

    // Key-value access sees lossless text that goes back to the same bytes.
    const QVariant key = Bastwick::gadgetValueForKey(u, QStringLiteral("key"));
    EXPECT_EQ(Bastwick::bytesFromText(key.toString()), QByteArray("k\0\xfe", 3));
    EXPECT_EQ(Bastwick::gadgetValueForKey(u, QStringLiteral("size")).toLongLong(), 4);
    EXPECT_EQ(Bastwick::gadgetValueForKey(u, QStringLiteral("typeDescription")).toString(),
              QStringLiteral("String"));
}

TEST(DerazUnit, AbsentRepliesLeaveNoValues)
{
    for (int type : {DerazKeyTypeString, DerazKeyTypeList, DerazKeyTypeSet}) {
        DerazUnit u = unit(type);
        u.updateValues(DerazReply::nil());
        EXPECT_FALSE(u.hasValues()) << type;
        EXPECT_EQ(u.size(), 0) << type;
        EXPECT_EQ(u.valuesDescription(), QString()) << type;
        EXPECT_TRUE(u.cmd().isEmpty()) << type;
        TestSupport::LogCapture log;
        EXPECT_TRUE(u.json().isEmpty()) << type;
        // A list or set without values is an absent value for the JSON form, and says so.
        EXPECT_EQ(log.count(QStringLiteral("setSafeValue Error : key =k value null!")),
                  type == DerazKeyTypeString ? 0 : 1)
            << type;
    }
    for (int type : {DerazKeyTypeHash, DerazKeyTypeZSet}) {
        DerazUnit u = unit(type);
        u.updateValues(DerazReply::noReply(QStringLiteral("Connection reset")));
        EXPECT_TRUE(u.rows().isEmpty()) << type;
        EXPECT_EQ(u.size(), 0) << type;
        EXPECT_TRUE(u.cmd().isEmpty()) << type;
    }
}

struct ReplyCase
{
    const char *name;
    int type;
    Items items;
    qint64 size;
    QString description;
    QByteArray cmd;
};

void PrintTo(const ReplyCase &c, std::ostream *os)
{
    *os << c.name;
}

class DerazUnitReply : public ::testing::TestWithParam<ReplyCase>
{
};

TEST_P(DerazUnitReply, FillsAndDescribes)
{
    const ReplyCase &c = GetParam();
    DerazUnit u = unit(c.type);
    switch (c.type) {
    case DerazKeyTypeHash:
        u.updateHashValues(c.items);
        break;
    case DerazKeyTypeList:
        u.updateListValues(c.items);
        break;
    case DerazKeyTypeSet:
        u.updateSetValues(c.items);
        break;
    case DerazKeyTypeZSet:
        u.updateZSetValues(c.items);
        break;
    }
    EXPECT_EQ(u.size(), c.size) << c.name;
    EXPECT_EQ(u.valuesDescription(), c.description) << c.name;
    EXPECT_EQ(u.cmd(), c.cmd) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DerazUnitReply,
    ::testing::Values(
        ReplyCase{"hash pairs", DerazKeyTypeHash, QByteArrayList{"f1", "v1", "f2", "v2"}, 2, "f1-v1,f2-v2",
                  "HSET k f1 v1\nHSET k f2 v2\n"},
        ReplyCase{"hash with trailing field", DerazKeyTypeHash, QByteArrayList{"f", "v", "g"}, 1, "f-v",
                  "HSET k f v\n"},
        ReplyCase{"empty hash", DerazKeyTypeHash, QByteArrayList{}, 0, "", ""},
        ReplyCase{"list in order", DerazKeyTypeList, QByteArrayList{"x", "y"}, 2, "x,y",
                  "RPUSH k x\nRPUSH k y\n"},
        ReplyCase{"set", DerazKeyTypeSet, QByteArrayList{"m"}, 1, "m", "SADD k m\n"},
        ReplyCase{"sorted set", DerazKeyTypeZSet, QByteArrayList{"a", "1.5", "b", "1"}, 2, "1.50-a,1.00-b",
                  "ZADD k 1.5 a\nZADD k 1 b\n"},
        ReplyCase{"sorted set member without score", DerazKeyTypeZSet, QByteArrayList{"a", "2", "b"}, 2,
                  "2.00-a,0.00-b", "ZADD k 2 a\nZADD k 0 b\n"},
        ReplyCase{"sorted set with large and infinite scores", DerazKeyTypeZSet,
                  QByteArrayList{"ts", "1700000000123", "top", "inf", "low", "-inf", "tiny", "0.1"}, 4,
                  "1700000000123.00-ts,inf-top,-inf-low,0.10-tiny",
                  "ZADD k 1700000000123 ts\nZADD k inf top\nZADD k -inf low\nZADD k 0.1 tiny\n"},
        ReplyCase{"value with blank is quoted", DerazKeyTypeList, QByteArrayList{"a b"}, 1, "a b",
                  "RPUSH k \"a b\"\n"},
        ReplyCase{"bytes that are not text and empty values show escaped", DerazKeyTypeSet,
                  QByteArrayList{"\xff", "", "a\tb", "one\r\ntwo"}, 4, R"("\xff","","a\tb","one\r\ntwo")",
                  "SADD k \"\\xff\"\nSADD k \"\"\nSADD k \"a\\tb\"\nSADD k \"one\\r\\ntwo\"\n"},
        ReplyCase{"hash names and values show escaped", DerazKeyTypeHash, QByteArrayList{"f\x01", ""}, 1,
                  R"("f\x01"-"")", "HSET k \"f\\x01\" \"\"\n"}));

// The elements "<prefix>0", "<prefix>1", ... (count of them).
QByteArrayList numbered(const QByteArray &prefix, qsizetype count)
{
    QByteArrayList items;
    items.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        items.append(prefix + QByteArray::number(i));
    return items;
}

// Field/value or member/score pairs: "f<i>", "v<i>" (or the score i).
QByteArrayList pairs(qsizetype count, bool scores = false)
{
    QByteArrayList items;
    items.reserve(2 * count);
    for (qsizetype i = 0; i < count; ++i) {
        items.append("f" + QByteArray::number(i));
        items.append(scores ? QByteArray::number(i) : "v" + QByteArray::number(i));
    }
    return items;
}

TEST(DerazUnit, ValueColumnTextIsBoundedWhateverTheSize)
{
    const qsizetype max = DerazUnit::kDescriptionMaxLength;
    const qsizetype maxEntries = DerazUnit::kDescriptionMaxEntries;
    const QByteArray emoji("\xf0\x9f\x98\x80"); // two UTF-16 units
    const struct
    {
        const char *name;
        int type;
        Items items;
        qint64 size;
        QString start;   // what the text starts with
        qsizetype shown; // characters before the marker
        qsizetype entries;
        bool cut;
    } cases[] = {
        {"short string", DerazKeyTypeString, QByteArrayList{"abc"}, 3, "abc", 3, 1, false},
        {"string of the bound", DerazKeyTypeString, QByteArrayList{QByteArray(max, 'a')}, max, "aaa", max, 1,
         false},
        {"string one past the bound", DerazKeyTypeString, QByteArrayList{QByteArray(max + 1, 'a')}, max + 1,
         "aaa", max, 1, true},
        {"8 MiB string", DerazKeyTypeString, QByteArrayList{QByteArray(8 << 20, 'b')}, 8 << 20, "bbb", max, 1,
         true},
        {"two-byte characters", DerazKeyTypeString,
         QByteArrayList{"a" + QByteArray(4000, 'x').replace("x", "\xc3\xa9")}, 1 + 4000, "a\u00e9\u00e9", max,
         1, true},
        {"surrogate pair at the bound stays whole", DerazKeyTypeString,
         QByteArrayList{"a" + emoji.repeated(200)}, 1 + 400, "a\U0001F600", max - 1, 1, true},
        {"short list", DerazKeyTypeList, numbered("e", 3), 3, "e0,e1,e2", 8, 3, false},
        {"list of the entry bound", DerazKeyTypeList, QByteArrayList(maxEntries, "x"), maxEntries, "x,x,x",
         2 * maxEntries - 1, maxEntries, false},
        {"list one past the entry bound", DerazKeyTypeList, QByteArrayList(maxEntries + 1, "x"),
         maxEntries + 1, "x,x,x", 2 * maxEntries - 1, maxEntries, true},
        {"20,000-element list", DerazKeyTypeList, numbered("e", 20000), 20000, "e0,e1,e2,e3",
         10 * 2 + 54 * 3 + 63, maxEntries, true},
        {"long elements", DerazKeyTypeSet, QByteArrayList(3, QByteArray(200, 'm')), 3, "mmm", max, 2, true},
        {"empty elements shown as \"\"", DerazKeyTypeSet, QByteArrayList(20000, ""), 20000, "\"\",\"\",\"\"",
         3 * maxEntries - 1, maxEntries, true},
        {"20,000-field hash", DerazKeyTypeHash, pairs(20000), 20000, "f0-v0,f1-v1,f2-v2", max, -1, true},
        {"long hash value", DerazKeyTypeHash, QByteArrayList{"f", QByteArray(1 << 20, 'v'), "g", "w"}, 2,
         "f-vvv", max, 1, true},
        {"20,000-member sorted set", DerazKeyTypeZSet, pairs(20000, true), 20000, "0.00-f0,1.00-f1,2.00-f2",
         max, -1, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        DerazUnit u = unit(c.type);
        if (c.type == DerazKeyTypeString)
            u.updateStringValues(c.items->first());
        else
            u.updateValues(DerazReply::array([&] {
                QList<DerazReply> elements;
                for (const QByteArray &item : *c.items)
                    elements.append(DerazReply::string(item));
                return elements;
            }()));
        EXPECT_EQ(u.size(), c.size);
        const QString text = u.valuesDescription();
        EXPECT_TRUE(text.startsWith(c.start)) << text.left(40).toStdString();
        EXPECT_EQ(text.endsWith(DerazUnit::kDescriptionEllipsis), c.cut);
        const QString shown = c.cut ? text.chopped(DerazUnit::kDescriptionEllipsis.size()) : text;
        EXPECT_EQ(shown.size(), c.shown);
        EXPECT_FALSE(shown.contains(QChar(0xFFFD)));
        if (c.entries >= 0)
            EXPECT_EQ(c.type == DerazKeyTypeString ? 1 : shown.count(QLatin1Char(',')) + 1, c.entries);
        if (!shown.isEmpty())
            EXPECT_FALSE(shown.back().isHighSurrogate());
    }
}

TEST(DerazUnit, ScoresKeepDoublePrecision)
{
    DerazUnit u = unit(DerazKeyTypeZSet);
    u.updateZSetValues(QByteArrayList{"m", "1700000000123.25", "n", "0.30000000000000004"});
    ASSERT_EQ(u.rows().size(), 2);
    EXPECT_EQ(u.rows()[0].score(), 1700000000123.25);
    EXPECT_EQ(u.rows()[1].score(), 0.30000000000000004);
    for (const DerazKV &row : u.rows())
        EXPECT_EQ(DerazUnit::scoreFromText(DerazUnit::scoreText(row.score())), row.score());
}

TEST(DerazUnit, CommandTextRebuildsBinaryContent)
{
    const QByteArray key("key with blank\n\xff", 16);
    const QByteArrayList values{QByteArray("\0", 1), "",         " lead",     "trail ",
                                "q\"u\\o",           "\xc3\xa9", "{\"a\":1}", QByteArray("\x80\x81")};
    DerazUnit u = unit(DerazKeyTypeList, key);
    u.updateListValues(values);
    const auto commands = commandsOf(u.cmd());
    ASSERT_EQ(commands.size(), values.size());
    for (qsizetype i = 0; i < values.size(); ++i)
        EXPECT_EQ(commands[i], (QList<QByteArray>{"RPUSH", key, values[i]})) << i;

    DerazUnit h = unit(DerazKeyTypeHash, "h");
    h.updateHashValues(QByteArrayList{"field one", QByteArray("v\r\n", 3)});
    EXPECT_EQ(commandsOf(h.cmd()),
              (QList<QList<QByteArray>>{{"HSET", "h", "field one", QByteArray("v\r\n", 3)}}));
}

TEST(DerazUnit, JsonForms)
{
    DerazUnit s = unit(DerazKeyTypeString);
    s.updateStringValues(QByteArray("v"));
    EXPECT_EQ(s.jsonText(), QByteArray(R"({"k":"v"})"));

    DerazUnit h = unit(DerazKeyTypeHash);
    h.updateHashValues(QByteArrayList{"f", "v"});
    EXPECT_EQ(h.jsonText(), QByteArray(R"({"k":{"f":"v"}})"));

    DerazUnit emptyHash = unit(DerazKeyTypeHash);
    emptyHash.updateHashValues(QByteArrayList{});
    EXPECT_EQ(emptyHash.jsonText(), QByteArray(R"({"k":{}})"));

    DerazUnit l = unit(DerazKeyTypeList);
    l.updateListValues(QByteArrayList{"x", "y"});
    EXPECT_EQ(l.jsonText(), QByteArray(R"({"k":["x","y"]})"));
    DerazUnit set = unit(DerazKeyTypeSet);
    set.updateSetValues(QByteArrayList{"x", "y"});
    EXPECT_EQ(set.jsonText(), l.jsonText());

    DerazUnit other = unit(7);
    other.updateStringValues(QByteArray("v"));
    EXPECT_TRUE(other.json().isEmpty());
    EXPECT_TRUE(other.jsonText().isEmpty());
}

TEST(DerazUnit, SortedSetJsonKeepsEveryMember)
{
    // Repeated and nearly equal scores must not lose members; infinities are texts.
    DerazUnit z = unit(DerazKeyTypeZSet);
    z.updateZSetValues(
        QByteArrayList{"a", "2", "b", "2", "c", "2.001", "d", "inf", "e", "-inf", "f", "1700000000123"});
    const QJsonObject doc = QJsonDocument::fromJson(z.jsonText()).object();
    const QJsonObject members = doc.value(QStringLiteral("k")).toObject();
    ASSERT_EQ(members.size(), 6);
    EXPECT_EQ(members.value(QStringLiteral("a")).toDouble(), 2.0);
    EXPECT_EQ(members.value(QStringLiteral("b")).toDouble(), 2.0);
    EXPECT_EQ(members.value(QStringLiteral("c")).toDouble(), 2.001);
    EXPECT_EQ(members.value(QStringLiteral("d")).toString(), QStringLiteral("inf"));
    EXPECT_EQ(members.value(QStringLiteral("e")).toString(), QStringLiteral("-inf"));
    EXPECT_EQ(members.value(QStringLiteral("f")).toDouble(), 1700000000123.0);
}

TEST(DerazUnit, JsonEscapesBytesThatAreNotText)
{
    DerazUnit u = unit(DerazKeyTypeString, QByteArray("k\x80"));
    u.updateStringValues(QByteArray("\xff"
                                    "a\xc3\xa9"));
    const QByteArray text = u.jsonText();
    // The file stays valid UTF-8 and the bytes come back through the lossless decoding.
    EXPECT_TRUE(Bastwick::isValidUtf8(text)) << text.constData();
    EXPECT_TRUE(text.contains("\\udc80")) << text.constData();
    EXPECT_TRUE(text.contains("\\udcff")) << text.constData();
    EXPECT_TRUE(text.contains("a\xc3\xa9")) << text.constData();
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(text, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    ASSERT_EQ(doc.size(), 1);
    EXPECT_EQ(Bastwick::bytesFromText(doc.begin().key()), QByteArray("k\x80"));
    EXPECT_EQ(Bastwick::bytesFromText(doc.begin().value().toString()), QByteArray("\xff"
                                                                                  "a\xc3\xa9"));
}

TEST(DerazUnit, ValuesFromConvertedReplies)
{
    DerazUnit z = unit(DerazKeyTypeZSet);
    z.updateValues(
        DerazReply::array({DerazReply::string("m"), DerazReply::string("3"), DerazReply::string("n")}));
    ASSERT_EQ(z.rows().size(), 2);
    EXPECT_EQ(z.rows()[0].value(), QByteArray("m"));
    EXPECT_EQ(z.rows()[0].score(), 3.0);
    EXPECT_EQ(z.rows()[1].score(), 0.0);

    DerazUnit s = unit(DerazKeyTypeString);
    s.updateValues(DerazReply::string(QByteArray("\0", 1)));
    EXPECT_EQ(s.values(), QByteArrayList{QByteArray("\0", 1)});
    EXPECT_EQ(s.size(), 1);

    DerazUnit l = unit(DerazKeyTypeList);
    l.updateValues(DerazReply::array({}));
    EXPECT_TRUE(l.hasValues());
    EXPECT_EQ(l.size(), 0);
}

TEST(DerazUnit, Descriptions)
{
    DerazUnit u = unit(DerazKeyTypeList, "k", 30);
    EXPECT_EQ(u.description(), QStringLiteral("key(k) type 2 ttl 30"));
    DerazKV kv("a", "b", -1);
    EXPECT_EQ(kv.description(), QStringLiteral("key(a) value(b) ttl -1"));
}

TEST(DerazType, LookupsByCode)
{
    const QStringList names{"String", "Hash", "List", "Set", "ZSet"};
    const QList<QColor> colors{QColor(228, 0, 127), QColor(243, 152, 0), QColor(0, 160, 233),
                               QColor(146, 7, 143), QColor(19, 174, 103)};
    for (quint32 code = 0; code < 5; ++code) {
        EXPECT_EQ(DerazType(code), names[code]);
        EXPECT_EQ(DerazTypeColor(code).rgb(), colors[code].rgb());
        const QIcon icon = DerazTypeImage(code);
        ASSERT_FALSE(icon.isNull()) << code;
        EXPECT_FALSE(icon.pixmap(16, 16).isNull()) << code;
    }
    EXPECT_TRUE(DerazType(5).isNull());
    EXPECT_FALSE(DerazTypeColor(5).isValid());
    EXPECT_TRUE(DerazTypeImage(5).isNull());
    EXPECT_EQ(DerazTypeCodeFromReply("zset"), 4);
    EXPECT_EQ(DerazTypeCodeFromReply("none"), -1);
}

} // namespace

namespace {

// The JSON line as the JSON form serialised by QJsonDocument gives it, with the characters
// that end lines for some readers escaped: what the line written from the bytes must equal.
QByteArray jsonLineThroughDocument(const DerazUnit &u)
{
    QByteArray text = u.jsonText();
    if (text.isEmpty())
        return text;
    text.replace("\xe2\x80\xa8", "\\u2028");
    text.replace("\xe2\x80\xa9", "\\u2029");
    text.replace("\xc2\x85", "\\u0085");
    return text + '\n';
}

// Bytes with everything but printable ASCII as \xHH, so that a failure shows where two
// texts differ.
std::string visible(const QByteArray &bytes)
{
    std::string out;
    for (const char c : bytes) {
        if (c >= ' ' && c < 0x7F && c != '\\')
            out += c;
        else
            out += "\\x" + QByteArray(1, c).toHex().toStdString();
    }
    return out;
}

QByteArray jsonLine(const DerazUnit &u)
{
    QByteArray out("before|");
    u.appendJsonLine(out);
    EXPECT_TRUE(out.startsWith("before|")) << "appends, keeping what was there";
    return out.mid(7);
}

// Byte strings made of pieces that each take another path through a JSON writer: plain
// text, escapes, control bytes, the three line-ending characters, characters of two to
// four bytes on both sides of the surrogate range (their UTF-16 order differs from their
// byte order), and bytes that are not UTF-8 (lone, truncated, overlong, encoded surrogate).
class AwkwardBytes
{
public:
    explicit AwkwardBytes(quint32 seed)
        : m_random(seed)
    {
    }

    QByteArray next(int maxPieces = 4)
    {
        static const QByteArrayList pieces{
            "a",
            "Zz",
            "key:0001",
            " ",
            "\"",
            "\\",
            "/",
            QByteArray(1, '\0'),
            "\x01",
            "\x08",
            "\t",
            "\n",
            "\x0c",
            "\r",
            "\x1f",
            "\x7f",
            "\xc2\x80",
            "\xc2\x85",
            "\xc3\xa9",
            "\xdf\xbf",
            "\xe2\x80\xa8",
            "\xe2\x80\xa9",
            "\xe0\xa0\x80",
            "\xed\x9f\xbf",
            "\xee\x80\x80",
            "\xef\xbf\xbd",
            "\xef\xbf\xbf",
            "\xf0\x90\x80\x80",
            "\xf0\x9f\x98\x80",
            "\xf4\x8f\xbf\xbf",
            "\x80",
            "\xbf",
            "\xc3",
            "\xe2\x80",
            "\xf0\x9f\x98",
            "\xc0\x80",
            "\xed\xa0\x80",
            "\xf5\x80\x80\x80",
            "\xfe",
            "\xff",
        };
        QByteArray out;
        const int count = int(m_random.bounded(maxPieces + 1));
        for (int i = 0; i < count; ++i)
            out.append(pieces.at(m_random.bounded(int(pieces.size()))));
        return out;
    }

    // A score text as a server may send it: whole numbers on both sides of 2^53, ones that
    // print shorter with an exponent, -0, the infinities and nan.
    QByteArray scoreText()
    {
        static const QByteArrayList texts{
            "0",
            "-0",
            "0.1",
            "1.5",
            "-3",
            "2.5e-300",
            "1e-7",
            "123456789.125",
            "1e15",
            "9007199254740992",
            "9007199254740994",
            "-9007199254740992",
            "1e16",
            "1e20",
            "123456789012345678",
            "1e300",
            "5e-324",
            "inf",
            "-inf",
            "+inf",
            "nan",
        };
        return texts.at(m_random.bounded(int(texts.size())));
    }

    int bounded(int n) { return int(m_random.bounded(n)); }

private:
    QRandomGenerator m_random;
};

TEST(DerazUnit, JsonLineWrittenFromTheBytesEqualsTheDocumentsText)
{
    AwkwardBytes bytes(20261211);
    for (int round = 0; round < 400; ++round) {
        const QByteArray key = bytes.next();
        QList<DerazUnit> units;

        DerazUnit s = unit(DerazKeyTypeString, key);
        s.updateStringValues(bytes.next(8));
        units.append(s);

        // Fields that sort differently as bytes and as text, repeated fields among them: a
        // few, or more than a sort does by insertion.
        QByteArrayList hashItems;
        for (int i = bytes.bounded(24); i > 0; --i)
            hashItems << bytes.next() << bytes.next();
        if (hashItems.size() >= 2)
            hashItems << hashItems.at(2 * bytes.bounded(int(hashItems.size() / 2))) << bytes.next();
        DerazUnit h = unit(DerazKeyTypeHash, key);
        h.updateHashValues(hashItems);
        units.append(h);

        for (const int type : {int(DerazKeyTypeList), int(DerazKeyTypeSet)}) {
            QByteArrayList elements;
            for (int i = bytes.bounded(6); i > 0; --i)
                elements << bytes.next();
            DerazUnit l = unit(type, key);
            l.updateListValues(elements);
            units.append(l);
        }

        // Members with every kind of score, set through the record as the read does it.
        QByteArrayList zsetItems;
        for (int i = bytes.bounded(10); i > 0; --i)
            zsetItems << bytes.next() << bytes.scoreText();
        DerazUnit z = unit(DerazKeyTypeZSet, key);
        z.updateZSetValues(zsetItems);
        units.append(z);

        for (const DerazUnit &u : std::as_const(units)) {
            ASSERT_EQ(visible(jsonLine(u)), visible(jsonLineThroughDocument(u))) << "type " << u.type();
        }
    }
}

TEST(DerazUnit, JsonLineOfRecordsWithNothingToWrite)
{
    const struct
    {
        const char *name;
        DerazUnit record;
    } cases[] = {
        {"string without a reply", unit(DerazKeyTypeString)},
        {"list without a reply", unit(DerazKeyTypeList)},
        {"set without a reply", unit(DerazKeyTypeSet)},
        {"a type of no name",
         [] {
             DerazUnit u = unit(7);
             u.updateStringValues(QByteArray("v"));
             return u;
         }()},
    };
    for (const auto &c : cases) {
        EXPECT_TRUE(jsonLine(c.record).isEmpty()) << c.name;
        EXPECT_TRUE(jsonLineThroughDocument(c.record).isEmpty()) << c.name;
    }
    // A hash or sorted set without a reply is an empty object, as in the JSON form.
    DerazUnit h = unit(DerazKeyTypeHash);
    h.updateHashValues(std::nullopt);
    EXPECT_EQ(jsonLine(h), "{\"k\":{}}\n");
    EXPECT_EQ(jsonLine(h), jsonLineThroughDocument(h));
}

TEST(DerazUnit, CommandTextOfAwkwardRecords)
{
    const QByteArray odd("a b\n\"q\"\\\0\xff\xc3 \xe2\x80\xa8 \xc2\x85", 18);
    const QByteArray oddQuoted = R"("a b\n\"q\"\\\x00\xff\xc3 )"
                                 "\xe2\x80\xa8"
                                 R"( )"
                                 "\xc2\x85"
                                 R"(")";
    const struct
    {
        const char *name;
        int type;
        QByteArrayList reply;
        QByteArray text;
    } cases[] = {
        {"string", DerazKeyTypeString, {odd}, "SET " + oddQuoted + " " + oddQuoted + "\n"},
        {"empty string", DerazKeyTypeString, {""}, "SET " + oddQuoted + " \"\"\n"},
        {"hash",
         DerazKeyTypeHash,
         {"f 1", "", "\t", "v"},
         "HSET " + oddQuoted + " \"f 1\" \"\"\nHSET " + oddQuoted + " \"\\t\" v\n"},
        {"list",
         DerazKeyTypeList,
         {"x", " lead", "trail\xc2\xa0", "\xe2\x80\x83"},
         "RPUSH " + oddQuoted + " x\nRPUSH " + oddQuoted + " \" lead\"\nRPUSH " + oddQuoted +
             " \"trail\xc2\xa0\"\nRPUSH " + oddQuoted + " \"\xe2\x80\x83\"\n"},
        {"set",
         DerazKeyTypeSet,
         {"\x7f", "caf\xc3\xa9"},
         "SADD " + oddQuoted + " \"\\x7f\"\nSADD " + oddQuoted + " caf\xc3\xa9\n"},
        {"sorted set",
         DerazKeyTypeZSet,
         {"a", "1.5", "b", "inf", "c", "1700000000123", "d", "0.1"},
         "ZADD " + oddQuoted + " 1.5 a\nZADD " + oddQuoted + " inf b\nZADD " + oddQuoted +
             " 1700000000123 c\nZADD " + oddQuoted + " 0.1 d\n"},
    };
    for (const auto &c : cases) {
        DerazUnit u = unit(c.type, odd);
        if (c.type == DerazKeyTypeString)
            u.updateStringValues(c.reply.first());
        else
            u.updateValues(DerazReply::array([&] {
                QList<DerazReply> elements;
                for (const QByteArray &item : c.reply)
                    elements.append(DerazReply::string(item));
                return elements;
            }()));
        EXPECT_EQ(u.cmd(), c.text) << c.name;
        QByteArray appended("kept\n");
        u.appendCmd(appended);
        EXPECT_EQ(appended, "kept\n" + c.text) << c.name;
        // Every line reads back into the arguments it was written from.
        for (const QList<QByteArray> &command : commandsOf(u.cmd()))
            EXPECT_EQ(command.value(1), odd) << c.name;
    }
}

} // namespace

namespace {

// A record filled without its Value column's text holds the same content as one filled
// with it, so the export writes the same lines.
TEST(DerazUnit, FillingWithoutTheValueColumnKeepsTheContent)
{
    const struct
    {
        int type;
        QByteArrayList reply;
    } cases[] = {
        {DerazKeyTypeString, {"v\xff"}},
        {DerazKeyTypeHash, {"f", "v", "g", ""}},
        {DerazKeyTypeList, {"x", "y", "x"}},
        {DerazKeyTypeSet, {"m", "n"}},
        {DerazKeyTypeZSet, {"a", "2.5", "b", "1"}},
    };
    for (const auto &c : cases) {
        QList<DerazReply> elements;
        for (const QByteArray &item : c.reply)
            elements.append(DerazReply::string(item));
        const DerazReply reply =
            c.type == DerazKeyTypeString ? DerazReply::string(c.reply.first()) : DerazReply::array(elements);
        DerazUnit described = unit(c.type);
        described.updateValues(reply);
        DerazUnit bare = unit(c.type);
        bare.setDescribesValues(false);
        bare.updateValues(reply);
        EXPECT_FALSE(described.valuesDescription().isEmpty()) << c.type;
        EXPECT_TRUE(bare.valuesDescription().isEmpty()) << c.type;
        EXPECT_EQ(bare.values(), described.values()) << c.type;
        EXPECT_EQ(bare.rows(), described.rows()) << c.type;
        EXPECT_EQ(bare.size(), described.size()) << c.type;
        EXPECT_EQ(jsonLine(bare), jsonLine(described)) << c.type;
        EXPECT_EQ(bare.cmd(), described.cmd()) << c.type;
    }
}

} // namespace

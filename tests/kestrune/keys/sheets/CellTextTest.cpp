#include <kestrune/data/records/CellText.h>

#include <QtCore/QList>
#include <climits>
#include <gtest/gtest.h>

using namespace Kestrune;

namespace {

QByteArray bytes(const char *data, qsizetype size)
{
    return QByteArray(data, size);
}

} // namespace

// Whatever the bytes, what a cell shows reads back to the same bytes, and nothing is
// shown as a replacement character or as an invisible control character.
TEST(CellText, EveryValueReadsBackToItsOwnBytes)
{
    const QList<QByteArray> values = {
        "",
        "plain text",
        " padded ",
        "caf\xc3\xa9",
        bytes("\xff\xfe", 2),
        bytes("a\0b", 3),
        "tab\there",
        "line\r\n",
        "\"quoted\"",
        "\"",
        "{\"a\":1}",
        "\\x41",
        "\"a\" b",
        bytes("\xed\xa0\x80", 3), // an encoded surrogate is not text
    };
    for (const QByteArray &value : values) {
        const QString shown = cellText(value);
        EXPECT_EQ(bytesFromCellText(shown), value) << qPrintable(shown);
        EXPECT_FALSE(shown.contains(QChar(0xFFFD))) << qPrintable(shown);
        for (const QChar c : shown)
            EXPECT_GE(c.unicode(), 0x20) << "control character shown in " << qPrintable(shown);
    }
}

TEST(CellText, TextShowsAsItIsAndOtherBytesInTheQuotedForm)
{
    const struct
    {
        QByteArray value;
        QString shown;
    } cases[] = {
        {"hello world", QStringLiteral("hello world")},
        {"{\"a\":1}", QStringLiteral("{\"a\":1}")},
        {"caf\xc3\xa9", QStringLiteral("caf\u00e9")},
        {bytes("\xff\x00"
               "a",
               3),
         QStringLiteral("\"\\xff\\x00a\"")},
        {"a\tb\r\n", QStringLiteral("\"a\\tb\\r\\n\"")},
        // Text that would read as a quoted token is itself shown quoted.
        {"\"abc\"", QStringLiteral("\"\\\"abc\\\"\"")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(cellText(c.value), c.shown);
}

TEST(CellText, TypedTextInTheQuotedFormIsDecodedAndOtherTextTakenLiterally)
{
    const struct
    {
        QString typed;
        QByteArray bytes;
    } cases[] = {
        {QStringLiteral("\"\\x41\\x00\""), bytes("A\0", 2)},
        {QStringLiteral("\"\\xff\""), bytes("\xff", 1)},
        {QStringLiteral("\"a b\""), "a b"},
        // Not one whole quoted token: taken as typed.
        {QStringLiteral("\"a\" b"), "\"a\" b"},
        {QStringLiteral("\"open"), "\"open"},
        {QStringLiteral("\"bad\\q\""), "\"bad\\q\""},
        {QStringLiteral("\\xff"), "\\xff"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(bytesFromCellText(c.typed), c.bytes) << qPrintable(c.typed);
    // An empty cell is an empty value, never a missing one.
    EXPECT_FALSE(bytesFromCellText(QString()).isNull());
}

TEST(CellText, TimeToLiveTextReadsItsLeadingInteger)
{
    const struct
    {
        const char *text;
        qint64 value;
    } cases[] = {{"-1", -1},    {"100", 100}, {"  42", 42},
                 {"12abc", 12}, {"abc", 0},   {"", 0},
                 {"+7", 7},     {"- 3", 0},   {"99999999999999999999", LLONG_MAX}};
    for (const auto &c : cases)
        EXPECT_EQ(integerValue(QString::fromLatin1(c.text)), c.value) << c.text;
}

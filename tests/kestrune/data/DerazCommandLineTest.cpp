#include <kestrune/data/records/DerazCommandLine.h>

#include <gtest/gtest.h>

#include <QtCore/QRandomGenerator>

namespace {

using Args = QList<QByteArray>;

struct SplitCase
{
    const char *name;
    QByteArray line;
    Args expected;
};

void PrintTo(const SplitCase &c, std::ostream *os)
{
    *os << c.name;
}

class CommandLineSplit : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(CommandLineSplit, SplitsIntoArguments)
{
    const SplitCase &c = GetParam();
    EXPECT_EQ(DerazCommandLine::split(c.line), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineSplit,
    ::testing::Values(
        SplitCase{"empty line", "", {}}, SplitCase{"plain words", "SET k v", {"SET", "k", "v"}},
        SplitCase{"two blanks give an empty argument", "set  a b", {"set", "", "a", "b"}},
        SplitCase{"trailing blank gives an empty argument", "GET k ", {"GET", "k", ""}},
        SplitCase{"json value stays literal", "SET k {\"a\":1}", {"SET", "k", "{\"a\":1}"}},
        SplitCase{"quoted value is decoded", "SET k \"abc\"", {"SET", "k", "abc"}},
        SplitCase{"quoted value keeps blanks", "SET k \"a b  c\"", {"SET", "k", "a b  c"}},
        SplitCase{"quoted empty argument", "SET \"\" v", {"SET", "", "v"}},
        SplitCase{"escapes", "SET k \"q\\\"b\\\\n\\nr\\rt\\t\"", {"SET", "k", QByteArray("q\"b\\n\nr\rt\t")}},
        SplitCase{"hex escapes incl. NUL",
                  "SET k \"\\x00\\xff\\x41\"",
                  {"SET", "k",
                   QByteArray("\0\xff"
                              "A",
                              3)}},
        SplitCase{"closing quote followed by text is literal", "SET k \"a\"b", {"SET", "k", "\"a\"b"}},
        SplitCase{"no closing quote is literal", "SET k \"a b", {"SET", "k", "\"a", "b"}},
        SplitCase{"unknown escape is literal", "SET k \"a\\qb\"", {"SET", "k", "\"a\\qb\""}},
        SplitCase{"bad hex escape is literal", "SET k \"\\xzz\"", {"SET", "k", "\"\\xzz\""}},
        SplitCase{"quote inside a word is literal", "SET k a\"b", {"SET", "k", "a\"b"}},
        SplitCase{"lone quote is literal", "\"", {"\""}},
        SplitCase{"quoted token before another", "\"a b\" c", {"a b", "c"}},
        SplitCase{"invalid utf-8 bytes pass through",
                  QByteArray("SET \xff\xfe k"),
                  {"SET", QByteArray("\xff\xfe"), "k"}}));

struct QuoteCase
{
    const char *name;
    QByteArray argument;
    QByteArray expected;
};

void PrintTo(const QuoteCase &c, std::ostream *os)
{
    *os << c.name;
}

class CommandLineQuote : public ::testing::TestWithParam<QuoteCase>
{
};

TEST_P(CommandLineQuote, WritesArgument)
{
    const QuoteCase &c = GetParam();
    EXPECT_EQ(DerazCommandLine::quote(c.argument), c.expected) << c.name;
    EXPECT_EQ(DerazCommandLine::split(DerazCommandLine::quote(c.argument)), Args{c.argument}) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLineQuote,
    ::testing::Values(QuoteCase{"plain", "abc", "abc"},
                      QuoteCase{"valid utf-8 stays", "\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9"},
                      QuoteCase{"json is quoted", "{\"a\":1}", "\"{\\\"a\\\":1}\""},
                      QuoteCase{"empty", "", "\"\""}, QuoteCase{"blank", "a b", "\"a b\""},
                      QuoteCase{"backslash", "a\\b", "\"a\\\\b\""},
                      QuoteCase{"line breaks and tab", "a\nb\rc\td", "\"a\\nb\\rc\\td\""},
                      QuoteCase{"NUL and DEL", QByteArray("a\0\x7f", 3), "\"a\\x00\\x7f\""},
                      QuoteCase{"invalid utf-8", QByteArray("\xff\xc3"), "\"\\xff\\xc3\""},
                      QuoteCase{"overlong form", QByteArray("\xc0\x80"), "\"\\xc0\\x80\""},
                      QuoteCase{"encoded surrogate", QByteArray("\xed\xa0\x80"), "\"\\xed\\xa0\\x80\""},
                      // U+3000 (ideographic space) at the end would be trimmed away by a line reader.
                      QuoteCase{"trailing unicode space", "a\xe3\x80\x80", "\"a\xe3\x80\x80\""},
                      QuoteCase{"leading no-break space", "\xc2\xa0x", "\"\xc2\xa0x\""}));

TEST(CommandLine, JoinedLinesSplitBackForAnyBytes)
{
    auto *random = QRandomGenerator::global();
    const QByteArray alphabet("ab \"\\\n\r\t\x00\x7f\x80\xc3\xa9\xff{}:", 17);
    for (int round = 0; round < 2000; ++round) {
        Args args;
        const int count = 1 + int(random->bounded(5));
        for (int i = 0; i < count; ++i) {
            QByteArray arg;
            const int length = int(random->bounded(8));
            for (int k = 0; k < length; ++k)
                arg.append(alphabet.at(random->bounded(int(alphabet.size()))));
            args.append(arg);
        }
        const QByteArray line = DerazCommandLine::joinLine(args);
        ASSERT_FALSE(line.contains('\n'));
        ASSERT_EQ(DerazCommandLine::split(line), args) << line.toHex().constData();
    }
}

} // namespace

#include <bastwick/RegexCategories.h>

#include "support/LogCapture.h"

#include <QtCore/QMetaProperty>

#include <gtest/gtest.h>

using namespace Bastwick;

TEST(RegexCategories, MatchTestsPositionsAndTexts)
{
    struct Case
    {
        const char *name;
        QString pattern;
        QString text;
        bool match;
        qsizetype index;
        QStringList texts;
    };
    const QString cafe = QStringLiteral("caf") + QChar(0xE9);
    const Case cases[] = {
        {"digits",
         QStringLiteral("\\d+"),
         QStringLiteral("a12b345"),
         true,
         1,
         {QStringLiteral("12"), QStringLiteral("345")}},
        {"absent", QStringLiteral("z"), QStringLiteral("abc"), false, -1, {}},
        {"empty matches",
         QStringLiteral("x*"),
         QStringLiteral("abc"),
         true,
         0,
         {QString(""), QString(""), QString(""), QString("")}},
        {"Unicode word characters",
         QStringLiteral("\\w+"),
         cafe + QStringLiteral(" au lait"),
         true,
         0,
         {cafe, QStringLiteral("au"), QStringLiteral("lait")}},
        {"positions in UTF-16 units",
         QStringLiteral("b"),
         QString::fromUtf8("\xf0\x9f\x98\x80"
                           "ab"),
         true,
         3,
         {QStringLiteral("b")}},
        {"empty text", QStringLiteral("a"), QString(), false, -1, {}},
    };
    for (const Case &c : cases) {
        const QRegularExpression regex = rx(c.pattern);
        ASSERT_TRUE(regex.isValid()) << c.name;
        EXPECT_EQ(isMatch(regex, c.text), c.match) << c.name;
        EXPECT_EQ(isMatch(c.text, regex), c.match) << c.name;
        EXPECT_EQ(indexOf(regex, c.text), c.index) << c.name;
        EXPECT_EQ(indexOf(c.text, regex), c.index) << c.name;
        EXPECT_EQ(matches(regex, c.text), c.texts) << c.name;
        EXPECT_EQ(matches(c.text, regex), c.texts) << c.name;
        if (c.texts.isEmpty()) {
            EXPECT_TRUE(firstMatch(regex, c.text).isNull()) << c.name;
        } else {
            EXPECT_EQ(firstMatch(c.text, regex), c.texts.first()) << c.name;
            EXPECT_FALSE(firstMatch(c.text, regex).isNull()) << c.name;
        }
    }

    EXPECT_TRUE(isMatch(rxIgnoreCase(QStringLiteral("ABC"), true), QStringLiteral("xabcx")));
    EXPECT_FALSE(isMatch(rxIgnoreCase(QStringLiteral("ABC"), false), QStringLiteral("xabcx")));
    EXPECT_TRUE(isMatch(toRegexIgnoreCase(QString(QChar(0xC9)), true), QString(QChar(0xE9))));
    EXPECT_TRUE(isMatch(rxOptions(QStringLiteral("^b"), QRegularExpression::MultilineOption),
                        QStringLiteral("a\nb")));
    EXPECT_FALSE(isMatch(toRegex(QStringLiteral("^b")), QStringLiteral("a\nb")));
    EXPECT_TRUE(toRegexWithOptions(QStringLiteral("a"), {}).patternOptions() &
                QRegularExpression::UseUnicodePropertiesOption);
    // An expression built elsewhere gets Unicode properties too.
    EXPECT_TRUE(isMatch(QRegularExpression(QStringLiteral("^\\w$")), QString(QChar(0xE9))));
}

TEST(RegexCategories, Split)
{
    struct Case
    {
        QString pattern;
        QString text;
        QStringList pieces;
    };
    const Case cases[] = {
        {QStringLiteral(","),
         QStringLiteral("a,b,,c"),
         {QStringLiteral("a"), QStringLiteral("b"), QString(""), QStringLiteral("c")}},
        {QStringLiteral(","), QStringLiteral(",a"), {QString(""), QStringLiteral("a")}},
        {QStringLiteral(","), QStringLiteral("a,"), {QStringLiteral("a"), QString("")}},
        {QStringLiteral(","), QStringLiteral("abc"), {QStringLiteral("abc")}},
        {QStringLiteral("\\s*;\\s*"),
         QStringLiteral("x ; y;z"),
         {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}},
        {QStringLiteral(","), QString(), {QString("")}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(split(rx(c.pattern), c.text), c.pieces) << qPrintable(c.text);
        EXPECT_EQ(split(c.text, rx(c.pattern)), c.pieces) << qPrintable(c.text);
    }
}

TEST(RegexCategories, ReplaceByTemplate)
{
    struct Case
    {
        const char *name;
        QString pattern;
        QString text;
        QString replacementTemplate;
        QString expected;
    };
    const Case cases[] = {
        {"swap groups", QStringLiteral("(\\w+)=(\\w+)"), QStringLiteral("a=1, b=2"), QStringLiteral("$2=$1"),
         QStringLiteral("1=a, 2=b")},
        {"whole match", QStringLiteral("\\d"), QStringLiteral("a1b2"), QStringLiteral("<$0>"),
         QStringLiteral("a<1>b<2>")},
        {"escaped dollar and backslash", QStringLiteral("\\d"), QStringLiteral("a1"),
         QStringLiteral("\\$1\\\\"), QStringLiteral("a$1\\")},
        {"digits after the last group are text", QStringLiteral("(a)"), QStringLiteral("a"),
         QStringLiteral("$10"), QStringLiteral("a0")},
        {"two-digit group", QStringLiteral("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)"),
         QStringLiteral("abcdefghijk"), QStringLiteral("$11$1"), QStringLiteral("ka")},
        {"group that took no part", QStringLiteral("(a)|(b)"), QStringLiteral("b"), QStringLiteral("[$1]"),
         QStringLiteral("[]")},
        {"group the pattern lacks", QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("[$3]"),
         QStringLiteral("[]")},
        {"a dollar without digits is text", QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("$x$"),
         QStringLiteral("$x$")},
        {"Qt's backreference form is plain text", QStringLiteral("(a)"), QStringLiteral("a"),
         QStringLiteral("\\1"), QStringLiteral("1")},
        {"no match", QStringLiteral("z"), QStringLiteral("abc"), QStringLiteral("$0$0"),
         QStringLiteral("abc")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(replace(rx(c.pattern), c.text, c.replacementTemplate), c.expected) << c.name;
        EXPECT_EQ(replace(c.text, rx(c.pattern), c.replacementTemplate), c.expected) << c.name;
    }
}

TEST(RegexCategories, ReplaceByCallbacks)
{
    const QRegularExpression word = rx(QStringLiteral("[a-z]+"));
    EXPECT_EQ(
        replaceWithBlock(word, QStringLiteral("ab 12 cd"), [](const QString &m) { return m.toUpper(); }),
        QStringLiteral("AB 12 CD"));
    EXPECT_EQ(replaceWithBlock(QStringLiteral("ab"), word, {}), QStringLiteral("ab"));
    EXPECT_EQ(replaceWithDetailsBlock(QStringLiteral("ab"), word, {}), QStringLiteral("ab"));

    // The callbacks are asked from the last match to the first; replacements of a
    // different length leave the other matches in place.
    QStringList asked;
    const QString out = replaceWithDetailsBlock(
        rx(QStringLiteral("(\\d)(x)?")), QStringLiteral("1x-2-3x"), [&](const RegexMatch &m) {
            asked.append(m.value);
            EXPECT_EQ(m.original, QStringLiteral("1x-2-3x"));
            return QStringLiteral("<%1:%2>").arg(m.range.location).arg(m.groups.size());
        });
    EXPECT_EQ(out, QStringLiteral("<0:3>-<3:3>-<5:3>"));
    EXPECT_EQ(asked, (QStringList{QStringLiteral("3x"), QStringLiteral("2"), QStringLiteral("1x")}));
}

TEST(RegexCategories, MatchRecords)
{
    const QList<RegexMatch> found =
        matchesWithDetails(rx(QStringLiteral("(a)(x)?(b*)")), QStringLiteral("ab a"));
    ASSERT_EQ(found.size(), 2);

    const RegexMatch &first = found.at(0);
    EXPECT_EQ(first.value, QStringLiteral("ab"));
    EXPECT_EQ(first.range, Range(0, 2));
    EXPECT_EQ(first.original, QStringLiteral("ab a"));
    ASSERT_EQ(first.groups.size(), 4);
    EXPECT_EQ(first.groups.at(0).value, QStringLiteral("ab"));
    EXPECT_EQ(first.groups.at(1).range, Range(0, 1));
    EXPECT_TRUE(first.groups.at(2).value.isNull()); // absent group
    EXPECT_EQ(first.groups.at(2).range.location, Range::kNotFound);
    EXPECT_EQ(first.groups.at(3).value, QStringLiteral("b"));

    const RegexMatch &second = found.at(1);
    EXPECT_EQ(second.range, Range(3, 1));
    EXPECT_TRUE(second.groups.at(3).value.isNull()); // empty group
    EXPECT_EQ(second.groups.at(3).range, Range(4, 0));

    // Empty matches have no value.
    const QList<RegexMatch> empty = matchesWithDetails(QStringLiteral("abc"), rx(QStringLiteral("x*")));
    ASSERT_EQ(empty.size(), 4);
    for (const RegexMatch &m : empty) {
        EXPECT_TRUE(m.value.isNull());
        EXPECT_EQ(m.range.length, 0);
    }

    const std::optional<RegexMatch> firstRecord =
        firstMatchWithDetails(QStringLiteral("xx42"), rx(QStringLiteral("\\d+")));
    ASSERT_TRUE(firstRecord.has_value());
    EXPECT_EQ(firstRecord->value, QStringLiteral("42"));
    EXPECT_EQ(firstRecord->range, Range(2, 2));
    EXPECT_FALSE(firstMatchWithDetails(rx(QStringLiteral("\\d")), QStringLiteral("abc")).has_value());

    // Records are gadgets: their fields are readable by name.
    const QMetaObject &meta = RegexMatch::staticMetaObject;
    const QVariant range = meta.property(meta.indexOfProperty("range")).readOnGadget(&*firstRecord);
    EXPECT_EQ(range.value<Range>(), Range(2, 2));
}

TEST(RegexCategories, InvalidExpressionsMatchNothingAndSaySo)
{
    TestSupport::LogCapture log;
    const QRegularExpression broken = rx(QStringLiteral("(unclosed"));
    EXPECT_FALSE(broken.isValid());
    EXPECT_TRUE(log.contains(QStringLiteral("invalid regular expression \"(unclosed\"")));

    const QString text = QStringLiteral("(unclosed");
    EXPECT_FALSE(isMatch(broken, text));
    EXPECT_EQ(indexOf(broken, text), -1);
    EXPECT_EQ(split(broken, text), QStringList{text});
    EXPECT_EQ(replace(broken, text, QStringLiteral("x")), text);
    EXPECT_TRUE(matches(broken, text).isEmpty());
    EXPECT_TRUE(firstMatch(broken, text).isNull());
    EXPECT_FALSE(firstMatchWithDetails(broken, text).has_value());
}

TEST(RegexCategories, CaptureMatchesOfRegex)
{
    struct Case
    {
        const char *name;
        QString text;
        QString pattern;
        int capture;
        QStringList expected;
    };
    const Case cases[] = {
        {"words of a word list",
         QStringLiteral("alpha  beta,\ngamma"),
         QStringLiteral("(\\w+)(\\s*)"),
         1,
         {QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")}},
        {"whole matches",
         QStringLiteral("a1b22"),
         QStringLiteral("\\d+"),
         0,
         {QStringLiteral("1"), QStringLiteral("22")}},
        {"a group that took no part gives an empty text",
         QStringLiteral("ab"),
         QStringLiteral("(a)|(b)"),
         2,
         {QString(""), QStringLiteral("b")}},
        {"no match", QStringLiteral("abc"), QStringLiteral("(\\d)"), 1, {}},
        {"group number too high", QStringLiteral("abc"), QStringLiteral("(a)"), 2, {}},
        {"negative group number", QStringLiteral("abc"), QStringLiteral("(a)"), -1, {}},
        {"invalid pattern", QStringLiteral("abc"), QStringLiteral("(a"), 1, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(captureMatchesOfRegex(c.text, c.pattern, c.capture), c.expected) << c.name;
}

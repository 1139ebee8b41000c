#include <tolmere/LineIndex.h>

#include <gtest/gtest.h>

using Tolmere::LineStarts;

namespace {

struct LineCase
{
    const char16_t *text;
    LineStarts starts;
};

class LineIndexTable : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(LineIndexTable, StartsOfEveryLine)
{
    const QString text = QString::fromUtf16(GetParam().text);
    EXPECT_EQ(Tolmere::lineStartIndices(text), GetParam().starts) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Terminators, LineIndexTable,
                         ::testing::Values(LineCase{u"", {0}}, LineCase{u"a", {0}}, LineCase{u"a\n", {0, 2}},
                                           LineCase{u"\r\n", {0, 2}}, LineCase{u"a\r\nb", {0, 3}},
                                           LineCase{u"a\rb\r", {0, 2, 4}}, LineCase{u"\n\n", {0, 1, 2}},
                                           LineCase{u"a\u2028b", {0, 2}}, LineCase{u"a\u2029b", {0, 2}},
                                           LineCase{u"a\u0085b\u0085", {0, 2, 4}},
                                           LineCase{u"\r\r\n\n", {0, 1, 3, 4}}));

TEST(LineIndex, BinarySearchFindsTheLineOfEveryCharacter)
{
    const QString text = QStringLiteral("ab\ncde\n\nf");
    const LineStarts starts = Tolmere::lineStartIndices(text);
    ASSERT_EQ(starts, (LineStarts{0, 3, 7, 8}));
    const QList<qsizetype> expected{0, 0, 0, 1, 1, 1, 1, 2, 3, 3};
    for (qsizetype i = 0; i <= text.size(); ++i)
        EXPECT_EQ(Tolmere::lineNumberForCharacterIndex(starts, i), expected.at(i)) << i;
    EXPECT_EQ(Tolmere::lineNumberForCharacterIndex({}, 5), 0);
}

// An edit rescans from the line holding the first edited character: the lines before
// it keep their entries, later ones are replaced, appended or removed, and the result
// equals a full scan of the new text.
TEST(LineIndex, RescanFromAnEditMatchesAFullScan)
{
    struct Edit
    {
        QString before;
        qsizetype position;
        qsizetype removed;
        QString inserted;
        qsizetype expectedStored;
    };
    const QList<Edit> edits{
        // lines inserted in the middle of line 1: it and everything after it is stored anew
        {QStringLiteral("a\nbb\nc\nd"), 3, 0, QStringLiteral("x\ny\n"), 5},
        // the last lines deleted: their entries go
        {QStringLiteral("a\nb\nc\nd\n"), 3, 5, QString(), 1},
        // an edit inside the last line stores only that line
        {QStringLiteral("a\nb\nc"), 5, 0, QStringLiteral("zz"), 1},
        // a terminator typed at the end adds the empty last line
        {QStringLiteral("a\nb"), 3, 0, QStringLiteral("\r\n"), 2},
        // the second half of a "\r\n" typed after its "\r": the line before the edit
        // ends differently now
        {QStringLiteral("a\rb"), 2, 0, QStringLiteral("\n"), 2},
        // a deletion that joins "\r" and "\n" into one terminator
        {QStringLiteral("a\rX\nb"), 2, 1, QString(), 2},
    };
    for (const Edit &edit : edits) {
        LineStarts starts = Tolmere::lineStartIndices(edit.before);
        QString after = edit.before;
        after.replace(edit.position, edit.removed, edit.inserted);
        const qsizetype stored = Tolmere::rescanLineStarts(starts, edit.position, after);
        EXPECT_EQ(starts, Tolmere::lineStartIndices(after)) << after.toStdString();
        EXPECT_EQ(stored, edit.expectedStored) << after.toStdString();
    }
}

} // namespace

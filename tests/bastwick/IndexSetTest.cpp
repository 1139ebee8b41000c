#include <bastwick/IndexSet.h>

#include <QtCore/QRandomGenerator>

#include <gtest/gtest.h>

#include <set>

using Bastwick::IndexSet;
using Bastwick::Range;

namespace {

QList<Range> rangesOf(std::initializer_list<std::pair<qint64, qint64>> list)
{
    QList<Range> ranges;
    for (const auto &[location, length] : list)
        ranges.append(Range(location, length));
    return ranges;
}

// The indexes of a set, read through its iterator.
std::set<qint64> indexesOf(const IndexSet &set)
{
    return std::set<qint64>(set.begin(), set.end());
}

} // namespace

TEST(IndexSet, AddAndRemoveKeepRangesSortedDisjointAndMerged)
{
    struct Case
    {
        const char *name;
        std::function<void(IndexSet &)> edit;
        QList<Range> expected;
    };
    const Case cases[] = {
        {"adjacent indexes merge",
         [](IndexSet &s) {
             s.addIndex(2);
             s.addIndex(1);
             s.addIndex(3);
         },
         rangesOf({{1, 3}})},
        {"gap stays",
         [](IndexSet &s) {
             s.addIndex(1);
             s.addIndex(3);
         },
         rangesOf({{1, 1}, {3, 1}})},
        {"range bridging two ranges",
         [](IndexSet &s) {
             s.addIndexesInRange(Range(0, 2));
             s.addIndexesInRange(Range(5, 2));
             s.addIndexesInRange(Range(2, 3));
         },
         rangesOf({{0, 7}})},
        {"range swallowing several",
         [](IndexSet &s) {
             s.addIndex(3);
             s.addIndex(5);
             s.addIndex(9);
             s.addIndexesInRange(Range(1, 10));
         },
         rangesOf({{1, 10}})},
        {"insert before the first",
         [](IndexSet &s) {
             s.addIndex(10);
             s.addIndex(2);
         },
         rangesOf({{2, 1}, {10, 1}})},
        {"remove from the middle splits",
         [](IndexSet &s) {
             s.addIndexesInRange(Range(0, 10));
             s.removeIndex(4);
         },
         rangesOf({{0, 4}, {5, 5}})},
        {"remove a range across ranges",
         [](IndexSet &s) {
             s.addIndexesInRange(Range(0, 3));
             s.addIndexesInRange(Range(5, 3));
             s.addIndexesInRange(Range(10, 3));
             s.removeIndexesInRange(Range(2, 10));
         },
         rangesOf({{0, 2}, {12, 1}})},
        {"remove what is not there",
         [](IndexSet &s) {
             s.addIndex(1);
             s.removeIndex(2);
             s.removeIndex(0);
         },
         rangesOf({{1, 1}})},
        {"negative indexes are ignored",
         [](IndexSet &s) {
             s.addIndex(-1);
             s.addIndexesInRange(Range(-3, 5));
         },
         rangesOf({{0, 2}})},
        {"empty ranges change nothing",
         [](IndexSet &s) {
             s.addIndexesInRange(Range(4, 0));
             s.addIndexesInRange(Range(4, -2));
         },
         {}},
        {"set operations",
         [](IndexSet &s) {
             s.addIndexes(IndexSet{1, 2, 3, 7});
             s.removeIndexes(IndexSet{2, 7, 9});
         },
         rangesOf({{1, 1}, {3, 1}})},
    };
    for (const Case &c : cases) {
        IndexSet set;
        c.edit(set);
        EXPECT_EQ(set.ranges(), c.expected) << c.name;
    }
}

TEST(IndexSet, QueriesAndIteration)
{
    IndexSet set{7, 1, 2, 3, 10};
    EXPECT_EQ(set.count(), 5);
    EXPECT_EQ(set.firstIndex(), 1);
    EXPECT_EQ(set.lastIndex(), 10);
    EXPECT_EQ(set.toList(), (QList<qint64>{1, 2, 3, 7, 10}));
    EXPECT_TRUE(set.containsIndex(2));
    EXPECT_FALSE(set.containsIndex(4));
    EXPECT_FALSE(set.containsIndex(-1));
    EXPECT_TRUE(set.containsIndexesInRange(Range(1, 3)));
    EXPECT_FALSE(set.containsIndexesInRange(Range(1, 4)));
    EXPECT_FALSE(set.containsIndexesInRange(Range(2, 0)));
    EXPECT_TRUE(set.containsIndexes(IndexSet{1, 3, 10}));
    EXPECT_FALSE(set.containsIndexes(IndexSet{1, 4}));

    const IndexSet empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.count(), 0);
    EXPECT_EQ(empty.firstIndex(), IndexSet::kNotFound);
    EXPECT_EQ(empty.lastIndex(), IndexSet::kNotFound);
    EXPECT_EQ(empty.begin(), empty.end());

    EXPECT_EQ(IndexSet::fromRange(3, 2), (IndexSet{3, 4}));
    EXPECT_NE(IndexSet::fromRange(3, 2), (IndexSet{3, 5}));
}

TEST(IndexSet, Shift)
{
    struct Case
    {
        const char *name;
        IndexSet start;
        qint64 at;
        qint64 delta;
        IndexSet expected;
    };
    const Case cases[] = {
        {"up from inside a range", IndexSet::fromRange(0, 5), 2, 3, IndexSet{0, 1, 5, 6, 7}},
        {"up leaves lower indexes", IndexSet{1, 8}, 5, 10, IndexSet{1, 18}},
        {"down drops the covered indexes", IndexSet{1, 3, 4, 6, 9}, 5, -2, IndexSet{1, 4, 7}},
        {"down below zero drops those", IndexSet{0, 1, 5, 6}, 5, -6, IndexSet{0}},
        {"nothing at or above", IndexSet{1, 2}, 5, 3, IndexSet{1, 2}},
        {"zero delta", IndexSet{1, 2}, 0, 0, IndexSet{1, 2}},
    };
    for (const Case &c : cases) {
        IndexSet set = c.start;
        set.shiftIndexesStartingAtIndex(c.at, c.delta);
        EXPECT_EQ(set.toList(), c.expected.toList()) << c.name;
    }
}

// Random edits checked against a plain set of indexes.
TEST(IndexSet, AgreesWithAPlainSetUnderRandomEdits)
{
    QRandomGenerator random(99);
    IndexSet set;
    std::set<qint64> model;
    for (int step = 0; step < 3000; ++step) {
        const qint64 location = random.bounded(0, 60);
        const qint64 length = random.bounded(0, 6);
        switch (random.bounded(5)) {
        case 0:
            set.addIndex(location);
            model.insert(location);
            break;
        case 1:
            set.addIndexesInRange(Range(location, length));
            for (qint64 i = location; i < location + length; ++i)
                model.insert(i);
            break;
        case 2:
            set.removeIndex(location);
            model.erase(location);
            break;
        case 3:
            set.removeIndexesInRange(Range(location, length));
            for (qint64 i = location; i < location + length; ++i)
                model.erase(i);
            break;
        default: {
            const qint64 delta = random.bounded(-4, 5);
            set.shiftIndexesStartingAtIndex(location, delta);
            std::set<qint64> shifted;
            for (qint64 i : model) {
                if (i < location) {
                    if (delta < 0 && i >= location + delta)
                        continue;
                    shifted.insert(i);
                } else if (i + delta >= 0) {
                    shifted.insert(i + delta);
                }
            }
            model = shifted;
            break;
        }
        }
        ASSERT_EQ(indexesOf(set), model) << "step " << step;
        ASSERT_EQ(set.count(), qint64(model.size()));
        // Ranges stay sorted, disjoint and never adjacent.
        for (qsizetype i = 1; i < set.ranges().size(); ++i)
            ASSERT_GT(set.ranges().at(i).location, set.ranges().at(i - 1).end()) << "step " << step;
    }
}

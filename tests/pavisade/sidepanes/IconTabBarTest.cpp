#include <pavisade/sidepanes/XTTabBar.h>
#include <pavisade/sidepanes/XTTabBarButtonCell.h>

#include "support/LogCapture.h"

#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

XTTabBarItemList makeItems(int count)
{
    XTTabBarItemList items;
    for (int i = 0; i < count; ++i)
        items.append(std::make_shared<XTTabBarItem>(QIcon(), 10 + i));
    return items;
}

QList<int> states(const XTTabBar &bar)
{
    QList<int> list;
    for (XTTabBarButtonCell *button : bar.barButtons())
        list.append(button->state());
    return list;
}

// Records the selection messages; vetoes while `allow` is false.
class Recorder : public QObject, public XTTabBarDelegate
{
public:
    bool allow = true;
    QStringList calls;
    bool tabBarShouldSelectItem(XTTabBar *, XTTabBarItem *item) override
    {
        calls << QStringLiteral("should %1").arg(item->tag());
        return allow;
    }
    void tabBarWillSelectItem(XTTabBar *bar, XTTabBarItem *item) override
    {
        // The selection has not moved yet.
        calls << QStringLiteral("will %1 (selected %2)").arg(item->tag()).arg(bar->selectedItem()->tag());
    }
    void tabBarDidSelectItem(XTTabBar *bar, XTTabBarItem *item) override
    {
        calls << QStringLiteral("did %1 (selected %2)").arg(item->tag()).arg(bar->selectedItem()->tag());
    }
};

} // namespace

TEST(IconTabBar, ButtonsAreCentredSquaresAsHighAsTheBar)
{
    struct Case
    {
        int items;
        int barWidth;
        QList<int> xs;
    };
    const QList<Case> cases = {
        {3, 200, {52, 84, 116}},
        {1, 33, {0}},           // floor(0.5)
        {3, 64, {-16, 16, 48}}, // narrower than the row: the row overhangs both ends
    };
    for (const Case &c : cases) {
        XTTabBar bar;
        bar.resize(c.barWidth, 22);
        bar.setItems(makeItems(c.items));
        QList<int> xs;
        for (XTTabBarButtonCell *button : bar.barButtons()) {
            xs.append(button->x());
            EXPECT_EQ(button->size(), QSize(32, 22));
        }
        EXPECT_EQ(xs, c.xs) << c.items << " items in " << c.barWidth;
    }
}

TEST(IconTabBar, ButtonsFollowTheBarWhenItIsResized)
{
    XTTabBar bar;
    bar.resize(200, 22);
    bar.setItems(makeItems(2));
    bar.show();
    bar.resize(100, 30);
    EXPECT_EQ(bar.barButtons().at(0)->geometry(), QRect(18, 0, 32, 30));
    EXPECT_EQ(bar.barButtons().at(1)->geometry(), QRect(50, 0, 32, 30));
}

TEST(IconTabBar, ItemListsKeepOneSelectedItemAmongThem)
{
    XTTabBar bar;
    bar.resize(200, 22);
    EXPECT_TRUE(bar.barButtons().isEmpty());
    EXPECT_EQ(bar.selectedItem(), nullptr);

    const XTTabBarItemList first = makeItems(3);
    bar.setItems(first);
    EXPECT_EQ(bar.selectedItem(), first.at(0).get());
    EXPECT_EQ(states(bar), (QList<int>{1, 0, 0}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bar.barButtons().at(i)->property("tag").toInt(), i) << "tags are positions, not item tags";

    // The same list again rebuilds nothing.
    bar.setSelectedItem(first.at(2));
    const QList<XTTabBarButtonCell *> before = bar.barButtons();
    bar.setItems(XTTabBarItemList(first));
    EXPECT_EQ(bar.barButtons(), before);
    EXPECT_EQ(states(bar), (QList<int>{0, 0, 1}));

    // A list that still holds the selection keeps it; one that lacks it selects its first item.
    bar.setItems({first.at(2), first.at(0)});
    EXPECT_EQ(bar.selectedItem(), first.at(2).get());
    EXPECT_EQ(states(bar), (QList<int>{1, 0}));
    const XTTabBarItemList other = makeItems(2);
    bar.setItems(other);
    EXPECT_EQ(bar.selectedItem(), other.at(0).get());

    bar.setItems({});
    EXPECT_TRUE(bar.barButtons().isEmpty());
    EXPECT_EQ(bar.selectedItem(), nullptr);
}

TEST(IconTabBar, PressSelectsThroughTheDelegateWhichMayVeto)
{
    XTTabBar bar;
    bar.resize(200, 22);
    const XTTabBarItemList items = makeItems(3);
    bar.setItems(items);
    Recorder delegate;
    bar.setDelegate(&delegate);

    // Fires on press, before any release.
    QTest::mousePress(bar.barButtons().at(2), Qt::LeftButton);
    EXPECT_EQ(delegate.calls, (QStringList{"should 12", "will 12 (selected 10)", "did 12 (selected 12)"}));
    EXPECT_EQ(states(bar), (QList<int>{0, 0, 1}));
    QTest::mouseRelease(bar.barButtons().at(2), Qt::LeftButton);
    EXPECT_EQ(states(bar), (QList<int>{0, 0, 1})) << "a click never turns the pressed button off";

    // The selected button again still reports will and did.
    delegate.calls.clear();
    QTest::mouseClick(bar.barButtons().at(2), Qt::LeftButton);
    EXPECT_EQ(delegate.calls, (QStringList{"should 12", "will 12 (selected 12)", "did 12 (selected 12)"}));

    // A veto changes nothing and sends nothing more.
    delegate.allow = false;
    delegate.calls.clear();
    QTest::mouseClick(bar.barButtons().at(0), Qt::LeftButton);
    EXPECT_EQ(delegate.calls, QStringList{"should 10"});
    EXPECT_EQ(bar.selectedItem(), items.at(2).get());
    EXPECT_EQ(states(bar), (QList<int>{0, 0, 1}));

    // A disabled item's button takes no press.
    delegate.allow = true;
    items.at(1)->setEnabled(false);
    delegate.calls.clear();
    QTest::mouseClick(bar.barButtons().at(1), Qt::LeftButton);
    EXPECT_TRUE(delegate.calls.isEmpty());
}

TEST(IconTabBar, ButtonsFollowTheirItemsAtOnce)
{
    XTTabBar bar;
    bar.resize(200, 22);
    const XTTabBarItemList items = makeItems(2);
    bar.setItems(items);
    XTTabBarButtonCell *button = bar.barButtons().at(1);
    EXPECT_TRUE(button->icon().isNull());

    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    items.at(1)->setImage(QIcon(pixmap));
    items.at(1)->setToolTip(QStringLiteral("Keys"));
    items.at(1)->setEnabled(false);
    items.at(1)->setKeyEquivalent(QStringLiteral("2"));
    items.at(1)->setKeyEquivalentModifierMask(int(Qt::ControlModifier));
    EXPECT_FALSE(button->icon().isNull());
    EXPECT_EQ(button->toolTip(), QStringLiteral("Keys"));
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(button->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_2));
}

TEST(IconTabBar, SelectingByPositionRebuildsAndRefusesPositionsOutsideTheBar)
{
    XTTabBar bar;
    bar.resize(200, 22);
    const XTTabBarItemList items = makeItems(3);
    bar.setItems(items);
    const QList<XTTabBarButtonCell *> before = bar.barButtons();
    bar.selectBarButtonAtIndex(1);
    EXPECT_EQ(bar.selectedItem(), items.at(1).get());
    EXPECT_NE(bar.barButtons().first(), before.first()) << "the buttons are rebuilt";
    EXPECT_EQ(states(bar), (QList<int>{0, 1, 0}));

    for (int outside : {-1, 3}) {
        TestSupport::LogCapture log;
        bar.selectBarButtonAtIndex(outside);
        EXPECT_EQ(log.count(QStringLiteral("no bar button at %1").arg(outside)), 1);
        EXPECT_EQ(bar.selectedItem(), items.at(1).get());
    }
}

TEST(IconTabBar, NoiseTileIsTheSameFaintPatternEveryTime)
{
    const QImage first = XTNoiseImageCreate(128, 128, 0.015);
    const QImage second = XTNoiseImageCreate(128, 128, 0.015);
    ASSERT_EQ(first.size(), QSize(128, 128));
    EXPECT_EQ(first.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(first, second);
    int highest = 0;
    QSet<int> seen;
    for (int y = 0; y < first.height(); ++y) {
        const uchar *line = first.constScanLine(y);
        for (int x = 0; x < first.width(); ++x) {
            highest = std::max<int>(highest, line[x]);
            seen.insert(line[x]);
        }
    }
    EXPECT_EQ(highest, 3);
    EXPECT_EQ(seen.size(), 4) << "every level 0 to 3 occurs";
}

TEST(IconTabBar, InactiveBarIsALightGradientOverASeparatorLine)
{
    XTTabBar bar;
    bar.resize(120, 22);
    ASSERT_FALSE(bar.drawsActiveLook());
    const QImage image = bar.grab().toImage();
    // Gradient 0.965 at the top to 0.851 at the bottom, noise adds at most 3 levels;
    // the bottom row is the 0.651 line.
    auto grey = [&](int y) { return qGray(image.pixel(60, y)); };
    EXPECT_NEAR(grey(0), 246, 4);
    EXPECT_NEAR(grey(20), 219, 6);
    EXPECT_NEAR(grey(21), 166, 4);
    EXPECT_GT(grey(0), grey(20));
}

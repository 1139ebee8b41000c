#include <tolmere/IconSidebar.h>
#include <tolmere/IconSidebarItemCell.h>
#include <tolmere/KnobStyleScrollBar.h>

#include "support/WaitFor.h"

#include <QtWidgets/QScrollArea>
#include <QtWidgets/QScrollBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

QPixmap icon(const QColor &color)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(color);
    return pixmap;
}

struct Sidebar
{
    explicit Sidebar(int items)
    {
        for (int i = 0; i < items; ++i)
            sidebar->addItemWithImage(icon(Qt::white));
        sidebar->setTarget(&target);
        sidebar->setAction([this](IconSidebar *sender) {
            ++calls;
            EXPECT_EQ(sender, sidebar.get());
        });
    }
    std::unique_ptr<IconSidebar> sidebar = std::make_unique<IconSidebar>();
    QObject target;
    int calls = 0;
};

TEST(IconSidebar, NeighbourSelectionStopsAtBothEnds)
{
    const struct
    {
        int start; // -1: nothing selected
        int step;  // +1 next, -1 previous
        int expected;
        int calls;
    } cases[] = {
        {-1, +1, 0, 1}, {-1, -1, -1, 0}, {0, +1, 1, 1}, {1, -1, 0, 1}, {2, +1, 2, 0}, {0, -1, 0, 0},
    };
    for (const auto &c : cases) {
        Sidebar s(3);
        if (c.start >= 0)
            s.sidebar->setSelectedIndex(c.start);
        s.calls = 0;
        if (c.step > 0)
            s.sidebar->selectNextItem();
        else
            s.sidebar->selectPreviousItem();
        EXPECT_EQ(s.sidebar->selectedIndex(), c.expected) << c.start << " " << c.step;
        EXPECT_EQ(s.calls, c.calls) << c.start << " " << c.step;
    }
}

TEST(IconSidebar, KeysMoveAndClearTheSelection)
{
    Sidebar s(3);
    QTest::keyClick(s.sidebar.get(), Qt::Key_Down);
    QTest::keyClick(s.sidebar.get(), Qt::Key_Down);
    EXPECT_EQ(s.sidebar->selectedIndex(), 1);
    QTest::keyClick(s.sidebar.get(), Qt::Key_Up);
    EXPECT_EQ(s.sidebar->selectedIndex(), 0);
    QTest::keyClick(s.sidebar.get(), Qt::Key_Escape);
    EXPECT_EQ(s.sidebar->selectedIndex(), -1);
    EXPECT_EQ(s.sidebar->selectedItem(), nullptr);
    EXPECT_EQ(s.calls, 4);

    // Without empty selection, Escape keeps the item but still notifies.
    s.sidebar->setSelectedIndex(2);
    s.sidebar->setAllowsEmptySelection(false);
    s.calls = 0;
    QTest::keyClick(s.sidebar.get(), Qt::Key_Escape);
    EXPECT_EQ(s.sidebar->selectedIndex(), 2);
    EXPECT_EQ(s.calls, 1);
}

TEST(IconSidebar, ForeignItemOrIndexChangesNothing)
{
    Sidebar s(2);
    s.sidebar->setSelectedIndex(1);
    s.calls = 0;
    IconSidebarItemCell stranger(icon(Qt::red));
    s.sidebar->setSelectedItem(&stranger);
    s.sidebar->setSelectedIndex(2);
    s.sidebar->setSelectedIndex(-5);
    EXPECT_EQ(s.sidebar->selectedIndex(), 1);
    EXPECT_EQ(s.calls, 0);
    s.sidebar->setSelectedItem(s.sidebar->items().at(0));
    EXPECT_EQ(s.sidebar->selectedIndex(), 0);
    EXPECT_TRUE(s.sidebar->items().at(0)->isChecked());
    EXPECT_FALSE(s.sidebar->items().at(1)->isChecked());
}

TEST(IconSidebar, TurningOffEmptySelectionSelectsTheFirstItem)
{
    Sidebar s(2);
    s.sidebar->setAllowsEmptySelection(false);
    EXPECT_EQ(s.sidebar->selectedIndex(), 0);
    EXPECT_EQ(s.calls, 1);

    Sidebar empty(0);
    empty.sidebar->setAllowsEmptySelection(false);
    EXPECT_EQ(empty.sidebar->selectedIndex(), -1);
    EXPECT_EQ(empty.calls, 0);
}

TEST(IconSidebar, ClicksSelectOneItemAndFallBackToTheItemsOwnAction)
{
    IconSidebar sidebar;
    QObject itemTarget;
    QList<IconSidebarItemCell *> told;
    IconSidebarItemCell *first = sidebar.addItemWithImage(icon(Qt::red), &itemTarget,
                                                          [&](IconSidebarItemCell *item) { told << item; });
    IconSidebarItemCell *second = sidebar.addItemWithImage(icon(Qt::blue), icon(Qt::green), &itemTarget,
                                                           [&](IconSidebarItemCell *item) { told << item; });
    EXPECT_EQ(second->alternateImage().toImage().pixelColor(0, 0), QColor(Qt::green));
    sidebar.resize(62, 200);
    sidebar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sidebar));

    QTest::mouseClick(second, Qt::LeftButton);
    QTest::mouseClick(second, Qt::LeftButton);
    EXPECT_EQ(sidebar.selectedItem(), second) << "a second click keeps the item selected";
    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_TRUE(first->isChecked());
    EXPECT_FALSE(second->isChecked());
    EXPECT_EQ(told, (QList<IconSidebarItemCell *>{second, second, first}));

    // The sidebar's own action takes precedence while its target lives.
    auto sidebarTarget = std::make_unique<QObject>();
    int sidebarCalls = 0;
    sidebar.setTarget(sidebarTarget.get());
    sidebar.setAction([&](IconSidebar *) { ++sidebarCalls; });
    QTest::mouseClick(second, Qt::LeftButton);
    EXPECT_EQ(sidebarCalls, 1);
    EXPECT_EQ(told.size(), 3);
    sidebarTarget.reset();
    QTest::mouseClick(first, Qt::LeftButton);
    EXPECT_EQ(sidebarCalls, 1);
    EXPECT_EQ(told.size(), 4);
}

TEST(IconSidebar, FillsTheHeightOfItsScrollArea)
{
    QScrollArea area;
    area.resize(120, 300);
    auto *sidebar = new IconSidebar;
    for (int i = 0; i < 3; ++i)
        sidebar->addItemWithImage(icon(Qt::white));
    area.setWidget(sidebar);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    EXPECT_EQ(sidebar->enclosingScrollView(), &area);
    EXPECT_EQ(area.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(sidebar->backgroundColor(), QColor::fromRgbF(0.16f, 0.16f, 0.16f));
    EXPECT_EQ(sidebar->scrollerKnobStyle(), IconSidebar::ScrollerKnobStyleLight);

    EXPECT_EQ(area.viewport()->height(), 300);
    EXPECT_EQ(sidebar->height(), 300);
    EXPECT_EQ(sidebar->matrix()->height(), 300);
    EXPECT_EQ(sidebar->width(), 62);

    // More items than fit: the natural height; fewer again after a removal.
    for (int i = 0; i < 4; ++i)
        sidebar->addItemWithImage(icon(Qt::white));
    EXPECT_EQ(sidebar->height(), 7 * 62);
    area.resize(120, 500);
    EXPECT_TRUE(waitFor([&] { return sidebar->height() == 500; }));
    sidebar->removeRow(6);
    sidebar->removeRow(99);
    EXPECT_EQ(sidebar->items().size(), 6);
    EXPECT_EQ(sidebar->height(), 500);
}

TEST(IconSidebar, TheScrollerKnobStyleIsDrawnByTheScrollBar)
{
    QScrollArea area;
    area.resize(120, 200);
    auto *sidebar = new IconSidebar;
    for (int i = 0; i < 8; ++i)
        sidebar->addItemWithImage(icon(Qt::white));
    area.setWidget(sidebar);
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    auto *bar = qobject_cast<KnobStyleScrollBar *>(area.verticalScrollBar());
    ASSERT_NE(bar, nullptr);
    ASSERT_GT(bar->maximum(), 0);

    // The light knob: white at half alpha over what lies behind the bar, which shows
    // around it (no track).
    const auto knobAndTrack = [&] {
        const QImage shot = area.grab().toImage();
        const QPointF centre = bar->mapTo(&area, bar->knobRect().center().toPoint());
        const QPoint track = bar->mapTo(&area, QPoint(bar->width() / 2, bar->height() - 3));
        return std::pair{shot.pixelColor(centre.toPoint()), shot.pixelColor(track)};
    };
    EXPECT_EQ(bar->knobStyle(), KnobStyleScrollBar::KnobStyleLight);
    auto [knob, track] = knobAndTrack();
    EXPECT_NEAR(knob.red(), (255 + track.red()) / 2, 3);
    EXPECT_EQ(track, area.palette().color(QPalette::Window)) << "no track is drawn";

    sidebar->setScrollerKnobStyle(IconSidebar::ScrollerKnobStyleDark);
    EXPECT_EQ(bar, area.verticalScrollBar()) << "the same bar changes its style";
    EXPECT_EQ(bar->knobStyle(), KnobStyleScrollBar::KnobStyleDark);
    std::tie(knob, track) = knobAndTrack();
    EXPECT_NEAR(knob.red(), track.red() / 2, 3);

    // The default style is the widget style's own scroll bar, and it still scrolls.
    sidebar->setScrollerKnobStyle(IconSidebar::ScrollerKnobStyleDefault);
    EXPECT_EQ(bar->knobStyle(), KnobStyleScrollBar::KnobStyleDefault);
    bar->setValue(bar->maximum());
    EXPECT_EQ(sidebar->y(), -bar->maximum());
}

TEST(IconSidebar, ScrollAreaOutlivingItsSidebarNeverReachesIt)
{
    QScrollArea area;
    area.resize(120, 100);
    QPointer<IconSidebar> sidebar = new IconSidebar;
    for (int i = 0; i < 5; ++i)
        sidebar->addItemWithImage(icon(Qt::white));
    area.setWidget(sidebar);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    area.verticalScrollBar()->setValue(40);

    // Taken out of the area, the sidebar no longer follows it.
    area.takeWidget();
    EXPECT_EQ(sidebar->enclosingScrollView(), nullptr);
    const int height = sidebar->height();
    area.resize(120, 900);
    ASSERT_TRUE(waitFor([&] { return area.height() == 900; }));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(sidebar->height(), height);

    // Back in and then destroyed: later resizes and scrolls of the area reach nothing.
    area.setWidget(sidebar);
    delete sidebar.data();
    EXPECT_TRUE(sidebar.isNull());
    area.setWidget(new QWidget);
    area.resize(120, 50);
    area.verticalScrollBar()->setValue(0);
    ASSERT_TRUE(waitFor([&] { return area.height() == 50; }));
    ASSERT_TRUE(TestSupport::waitForPostedEvents()); // nothing reached the destroyed sidebar
}

} // namespace

TEST(IconSidebar, AnotherMatrixBringsItsOwnItems)
{
    Sidebar s(3);
    QPointer<QWidget> former = s.sidebar->matrix();
    QPointer<IconSidebarItemCell> formerItem = s.sidebar->items().first();

    auto *matrix = new QWidget;
    QList<IconSidebarItemCell *> cells;
    for (int i = 0; i < 2; ++i) {
        cells << new IconSidebarItemCell(icon(Qt::red), matrix);
        cells.last()->setChecked(true); // two checked: only the first stays so
    }
    s.sidebar->setMatrix(matrix);
    s.sidebar->setMatrix(nullptr);
    EXPECT_EQ(s.sidebar->matrix(), matrix);
    EXPECT_EQ(matrix->parentWidget(), s.sidebar.get());
    EXPECT_TRUE(former.isNull() && formerItem.isNull()) << "the former holder goes with its items";
    EXPECT_EQ(s.sidebar->items(), cells);
    EXPECT_EQ(s.sidebar->selectedIndex(), 0);
    EXPECT_FALSE(cells[1]->isChecked());
    EXPECT_EQ(s.sidebar->height(), 2 * 62) << "sized to the new items";
    EXPECT_EQ(cells[1]->geometry(), QRect(0, 62, 62, 62));

    // The new items behave as items: selection, the action, removal.
    s.sidebar->setSelectedIndex(1);
    EXPECT_EQ(s.sidebar->selectedItem(), cells[1]);
    EXPECT_EQ(s.calls, 1);
    s.sidebar->removeRow(0);
    EXPECT_EQ(s.sidebar->items(), QList<IconSidebarItemCell *>{cells[1]});
    EXPECT_EQ(s.sidebar->height(), 62);
}

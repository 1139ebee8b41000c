#include <pavisade/forms/FormControls.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>

#include "support/Contrast.h"
#include "support/LogCapture.h"
#include "support/WaitFor.h"

#include <QtGui/QCursor>
#include <QtGui/QPainter>
#include <QtTest/QSignalSpy>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

namespace {

XXXButtonToolBarItem button(qint64 tag = 0, const QString &identifier = QString())
{
    XXXButtonToolBarItem item;
    item.toolBarItemType = XXXButtonToolBarItem::TypeImageButton;
    item.image = "AddTemplate";
    item.tag = tag;
    item.identifier = identifier;
    return item;
}

XXXButtonToolBarItem label(qint64 width = 0, const QString &identifier = QString(), qint64 alignment = 0)
{
    XXXButtonToolBarItem item;
    item.toolBarItemType = XXXButtonToolBarItem::TypeLabel;
    item.title = "1/3";
    item.width = width;
    item.identifier = identifier;
    item.alignment = alignment;
    return item;
}

XXXButtonToolBarItem otherKind()
{
    XXXButtonToolBarItem item;
    item.toolBarItemType = 3;
    return item;
}

// A toolbar inside a parent of the given width, configured and laid out.
struct Strip
{
    QWidget parent;
    XXXButtonToolBar *bar = new XXXButtonToolBar(&parent);

    Strip(int width, const QList<XXXButtonToolBarItem> &items)
    {
        parent.resize(width, 100);
        bar->setGeometry(0, 76, width, 24);
        bar->configToolbarWithItems(items);
        bar->layoutToolBarItem();
    }
    QRect frame(int i) const { return bar->itemView(i) ? bar->itemView(i)->geometry() : QRect(); }
};

struct LayoutCase
{
    const char *name;
    int parentWidth;
    QList<XXXButtonToolBarItem> items;
    QList<int> xs;     // per item; -1 for an item without a view
    QList<int> widths; // per item
    QList<qint64> tags;
};

TEST(ButtonToolBar, ALongTextInASharedLabelStaysOnOneLineInsideItsPlace)
{
    Strip strip(300, {button(), button(), label(0, "info", 2), button()});
    auto *info = qobject_cast<XXXLabel *>(strip.bar->itemView(2));
    ASSERT_TRUE(info);
    const QString progress =
        QStringLiteral("Exported 123456 of 1000000 keys to a-rather-long-file-name-for-a-dump.txt");
    strip.bar->updateLabelWithIdentifier("info", progress);
    EXPECT_EQ(info->geometry().left(), 64) << "after the second button";
    EXPECT_EQ(info->geometry().right(), 300 - 32 - 1) << "before the last button";
    EXPECT_GE(info->y(), 0) << "one line: nothing cut off at the top";
    EXPECT_LE(info->y() + info->height(), 24) << "nor at the bottom";
    EXPECT_LE(info->fontMetrics().horizontalAdvance(info->text()), info->width()) << "nor at the sides";
    EXPECT_TRUE(info->text().startsWith("Exported")) << qPrintable(info->text());
    EXPECT_TRUE(info->text().endsWith(".txt")) << "shortened in the middle: " << qPrintable(info->text());
    EXPECT_EQ(info->toolTip(), progress) << "the whole text is at hand";

    strip.parent.resize(900, 100);
    strip.bar->updateLabelWithIdentifier("info", progress);
    EXPECT_EQ(info->text(), progress) << "shown whole where it fits";
    EXPECT_TRUE(info->toolTip().isEmpty());
}

TEST(ButtonToolBar, HoverAndPressedKeepTheLightIconVisibleOnADarkStripAndNoStateSticks)
{
    QWidget strip;
    strip.setAutoFillBackground(true);
    QPalette palette = strip.palette();
    palette.setColor(QPalette::Window, QColor(0x3a, 0x3a, 0x3a));
    strip.setPalette(palette);
    strip.resize(64, 32);
    auto *button = new XXXToolBarButton(&strip);
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    {
        QPainter p(&icon);
        p.fillRect(QRect(4, 4, 8, 8), Qt::white);
    }
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(16, 16));
    button->setGeometry(16, 4, 32, 24);
    strip.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
    const QPoint inside = button->mapToGlobal(button->rect().center());
    const QPoint outside = strip.mapToGlobal(QPoint(2, 2)) + QPoint(500, 500);

    const struct
    {
        const char *name;
        bool hovered;
        bool pressed;
    } states[] = {{"normal", false, false}, {"hovered", true, false}, {"pressed", true, true}};
    QColor normalAround;
    for (const auto &state : states) {
        QCursor::setPos(state.hovered ? inside : outside);
        button->setAttribute(Qt::WA_UnderMouse, state.hovered);
        button->setDown(state.pressed);
        const QImage shot = button->grab().toImage();
        const QColor iconPixel = shot.pixelColor(shot.width() / 2, shot.height() / 2);
        const QColor around = shot.pixelColor(6, shot.height() / 2);
        EXPECT_GE(TestSupport::contrastRatio(iconPixel, around), 4.5)
            << state.name << ": the icon stays visible";
        EXPECT_GT(iconPixel.lightness(), 200) << state.name;
        if (!state.hovered && !state.pressed)
            normalAround = around;
        else
            EXPECT_GT(around.lightness(), normalAround.lightness()) << state.name << ": the state shows";
        button->setDown(false);
    }

    // A click whose handler ran a panel, after which the pointer is elsewhere: the button
    // does not stay hovered.
    QObject::connect(button, &QAbstractButton::clicked, button, [&] { QCursor::setPos(outside); });
    QCursor::setPos(inside);
    button->setAttribute(Qt::WA_UnderMouse, true);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(button->isHovered());
    EXPECT_FALSE(button->isDown());
}

} // namespace

TEST(ButtonToolBar, LayoutTable)
{
    const QList<LayoutCase> cases = {
        {"three untagged buttons", 400, {button(), button(), button()}, {0, 32, 64}, {32, 32, 32}, {0, 1, 2}},
        {"a tagged button keeps the running number going",
         400,
         {button(), button(5), button()},
         {0, 32, 64},
         {32, 32, 32},
         {0, 5, 2}},
        {"a label with a width is fixed", 1000, {label(120)}, {0}, {120}, {0}},
        {"labels without a width share the free width",
         300,
         {label(), button(), label()},
         {0, 134, 166},
         {134, 32, 134},
         {0, 0, 0}},
        {"the worked example", 400, {button(), button(), label()}, {0, 32, 64}, {32, 32, 336}, {0, 1, 0}},
        {"odd shares are rounded once, after the arithmetic",
         101,
         {label(), label(), label()},
         {0, 34, 67},
         {34, 33, 34},
         {0, 0, 0}},
        {"an item of another kind has no view and shifts nothing",
         400,
         {button(), otherKind(), label(100), button()},
         {0, -1, 32, 132},
         {32, 0, 100, 32},
         {0, 0, 0, 1}},
        {"fixed items wider than the parent leave labels no width",
         50,
         {button(), button(), label()},
         {0, 32, 64},
         {32, 32, 0},
         {0, 1, 0}},
    };
    for (const LayoutCase &c : cases) {
        SCOPED_TRACE(c.name);
        Strip strip(c.parentWidth, c.items);
        for (int i = 0; i < c.items.size(); ++i) {
            SCOPED_TRACE(i);
            QWidget *view = strip.bar->itemView(i);
            if (c.xs.at(i) < 0) {
                EXPECT_EQ(view, nullptr);
                continue;
            }
            ASSERT_TRUE(view);
            EXPECT_EQ(view->x(), c.xs.at(i));
            EXPECT_EQ(view->width(), c.widths.at(i));
            EXPECT_EQ(view->property("tag").toLongLong(), c.tags.at(i));
            if (c.items.at(i).toolBarItemType == XXXButtonToolBarItem::TypeImageButton)
                EXPECT_EQ(view->geometry(), QRect(c.xs.at(i), 0, 32, 24));
        }
    }
}

TEST(ButtonToolBar, LabelsAreCentredVerticallyAlignedAndFollowTheParentWidth)
{
    XXXButtonToolBarItem coloured = label(0, "pages", 2);
    coloured.textColor = Qt::red;
    Strip strip(300, {button(), coloured});
    auto *pages = qobject_cast<XXXLabel *>(strip.bar->itemView(1));
    ASSERT_TRUE(pages);
    EXPECT_TRUE(pages->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(pages->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(pages->font().pixelSize(), 12);
    EXPECT_GT(pages->height(), 0);
    EXPECT_LT(pages->height(), 24);
    EXPECT_LE(std::abs(pages->y() * 2 + pages->height() - 24), 1) << "centred in the 24 px strip";
    EXPECT_EQ(pages->width(), 268);

    strip.parent.show();
    strip.parent.resize(500, 100);
    EXPECT_EQ(pages->width(), 468) << "a label without a width shares the free width at every layout";

    strip.bar->updateLabelWithIdentifier("pages", "2/3");
    EXPECT_EQ(pages->text(), "2/3");
    strip.bar->updateLabelWithIdentifier("nothing", "x");
    EXPECT_EQ(strip.bar->buttonWithIdentifier("pages"), pages);
    EXPECT_EQ(strip.bar->buttonWithIdentifier("nothing"), nullptr);

    // A label laid out while empty takes the height of the text it is given later.
    XXXButtonToolBarItem empty = label(0, "info");
    empty.title.clear();
    Strip later(300, {button(), empty});
    auto *info = qobject_cast<XXXLabel *>(later.bar->itemView(1));
    ASSERT_TRUE(info);
    later.bar->updateLabelWithIdentifier("info", "Exported 100 of 250 keys");
    EXPECT_GT(info->height(), 0);
    EXPECT_LE(std::abs(info->y() * 2 + info->height() - 24), 1);
}

TEST(ButtonToolBar, ClicksReportTheButtonAndASecondConfigurationReplacesTheViews)
{
    XXXButtonToolBarItem tipped = button(8);
    tipped.tooltips = "Reload";
    Strip strip(400, {button(1), tipped});
    QSignalSpy clicks(strip.bar, &XXXButtonToolBar::buttonClicked);
    auto *reload = qobject_cast<QAbstractButton *>(strip.bar->itemView(1));
    ASSERT_TRUE(reload);
    EXPECT_EQ(reload->toolTip(), "Reload");
    EXPECT_TRUE(strip.bar->itemView(0)->toolTip().isEmpty());

    TestSupport::LogCapture log;
    reload->click();
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<QAbstractButton *>(), reload);
    EXPECT_TRUE(log.contains("buttonCallback"));

    strip.bar->configToolbarWithItems({label(50, "only")});
    strip.bar->layoutToolBarItem();
    QApplication::processEvents();
    EXPECT_EQ(strip.bar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(strip.frame(0), QRect(0, strip.frame(0).y(), 50, strip.frame(0).height()));

    strip.bar->configToolbarWithItems({});
    strip.bar->layoutToolBarItem();
    EXPECT_EQ(strip.bar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(), 0);
}

TEST(ButtonToolBar, DefaultsAndTheOlderFilling)
{
    QWidget parent;
    parent.resize(200, 50);
    auto *bar = new XXXButtonToolBar(&parent);
    bar->setUpDefaultToolbarConfig();
    bar->layoutToolBarItem();
    ASSERT_EQ(bar->buttonItems().size(), 3);
    for (int i = 0; i < 3; ++i) {
        auto *b = qobject_cast<QAbstractButton *>(bar->itemView(i));
        ASSERT_TRUE(b);
        EXPECT_FALSE(b->icon().isNull()) << "the add, remove and refresh images are found";
        EXPECT_EQ(bar->elementFrameAtIndex(i), QRectF(32.0 * i, 0, 32, 24));
    }

    XXXButtonToolBar older;
    older.setItems({"AddTemplate", "RemoveTemplate"});
    const auto buttons = older.findChildren<XXXToolBarButton *>();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons.at(0)->tag(), 0);
    EXPECT_EQ(buttons.at(1)->tag(), 1);
    EXPECT_EQ(buttons.at(1)->size(), QSize(32, 24));
    EXPECT_TRUE(older.buttonItems().isEmpty());
}

TEST(ButtonToolBar, TheOlderItemViewsArePlacedAtOnceAndTaggedByRunningNumber)
{
    QWidget parent;
    parent.resize(300, 50);
    auto *bar = new XXXButtonToolBar(&parent);
    XXXButtonToolBarItem tipped = button(9, "named");
    tipped.tooltips = "Tip";
    bar->setButtonItems({button(), tipped, otherKind(), label(0, "pages")});
    bar->addToolBarItemToView2();
    auto *first = qobject_cast<XXXToolBarButton *>(bar->itemView(0));
    auto *second = qobject_cast<XXXToolBarButton *>(bar->itemView(1));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->geometry(), QRect(0, 0, 32, 24));
    EXPECT_EQ(second->geometry(), QRect(32, 0, 32, 24));
    EXPECT_EQ(second->tag(), 1) << "the running number, whatever the item's tag";
    EXPECT_TRUE(second->objectName().isEmpty());
    EXPECT_TRUE(second->toolTip().isEmpty());
    EXPECT_EQ(bar->itemView(2), nullptr);
    auto *pages = qobject_cast<XXXLabel *>(bar->itemView(3));
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->x(), 64);
    EXPECT_EQ(pages->tag(), 0);
}

// Widths may come from views anywhere, so a resize of any widget in the process, not only
// of the toolbar or its parent, lays the items out again (on the next turn).
TEST(ButtonToolBar, AnyResizeInTheProcessLaysTheItemsOutAgain)
{
    Strip strip(300, {button(), button()});
    const QRect placed = strip.frame(1);
    struct Trigger
    {
        const char *name;
        std::function<void()> resize;
    };
    // Hidden widgets keep their resize events until shown.
    strip.parent.show();
    QWidget elsewhere;
    elsewhere.resize(50, 50);
    elsewhere.show();
    const Trigger triggers[] = {
        {"an unrelated window", [&] { elsewhere.resize(elsewhere.width() + 10, 60); }},
        {"an item view", [&] { strip.bar->itemView(0)->resize(33, 24); }},
    };
    for (const Trigger &trigger : triggers) {
        SCOPED_TRACE(trigger.name);
        strip.bar->itemView(1)->move(200, 0); // out of place, without a resize
        trigger.resize();
        EXPECT_TRUE(waitFor([&] { return strip.frame(1).x() != 200; }));
    }
    EXPECT_EQ(strip.frame(1).x(), strip.frame(0).right() + 1) << "the second item follows the first";
    EXPECT_EQ(strip.frame(1).width(), placed.width());
}

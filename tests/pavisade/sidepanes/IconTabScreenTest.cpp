#include <pavisade/sidepanes/X3InspectorTabViewController.h>
#include <pavisade/sidepanes/XTTabBarButtonCell.h>
#include <pavisade/sidepanes/XXXInspectorTabViewController.h>

#include "support/LogCapture.h"

#include <QtTest/QTest>
#include <QtWidgets/QTabBar>

#include <gtest/gtest.h>

namespace {

class Child : public X3CommonViewController
{
};

std::shared_ptr<XXXTabItemDefine> definition(const QString &title, const QString &imageName)
{
    auto item = std::make_shared<XXXTabItemDefine>();
    item->setTitle(title);
    item->setIdentifier(title.toLower());
    item->setImageName(imageName);
    item->setToolTip(title + QStringLiteral(" tip"));
    return item;
}

// An inspector with up to three tabs (the second image is missing) and one child per tab.
template <class Base> class Inspector : public Base
{
public:
    int tabs = 3;
    QList<X3CommonViewController *> children;
    XXXTabItemDefineList tabColumnsDef() const override
    {
        const XXXTabItemDefineList all = {definition("General", "PreferencesGeneral"),
                                          definition("Keys", "NoSuchImage"),
                                          definition("Values", "AddTemplate")};
        return all.mid(0, tabs);
    }
    void tabViewControllersConfig() override { this->setControllers(children); }
};

template <class Screen> void makeChildren(Screen &screen)
{
    for (int i = 0; i < screen.tabs; ++i)
        screen.children.append(new Child);
}

bool placedIn(X3CommonViewController *child, QTabWidget *tabs, int index)
{
    return child->parentWidget() == tabs->widget(index) && child->isVisibleTo(tabs->widget(index));
}

template <class T> class InspectorTabScreen : public ::testing::Test
{
};
using Screens = ::testing::Types<X3InspectorTabViewController, XXXInspectorTabViewController>;
TYPED_TEST_SUITE(InspectorTabScreen, Screens);

} // namespace

TYPED_TEST(InspectorTabScreen, StripTakesTheTopBandAboveAFramelessTabView)
{
    Inspector<TypeParam> screen;
    makeChildren(screen);
    screen.resize(300, 400);
    screen.view();
    screen.show();
    QApplication::processEvents();

    XTTabBar *strip = screen.inspectorTabBar();
    EXPECT_EQ(strip->geometry(), QRect(0, 0, 300, 22));
    EXPECT_EQ(screen.tabView()->geometry(), QRect(0, 22, 300, 378));
    EXPECT_FALSE(screen.tabView()->tabBar()->isVisible());
    EXPECT_TRUE(screen.tabView()->documentMode());

    ASSERT_EQ(strip->barButtons().size(), 3);
    EXPECT_EQ(strip->barButtons().at(0)->x(), 102); // (300 - 3 * 32) / 2
    EXPECT_EQ(strip->selectedItem(), strip->items().at(0).get());
    EXPECT_EQ(strip->barButtons().at(0)->toolTip(), QStringLiteral("General tip"));
    EXPECT_FALSE(strip->barButtons().at(0)->icon().isNull());
    EXPECT_TRUE(strip->barButtons().at(1)->icon().isNull()) << "a missing image gives a button without one";
    // Only the first icon answers Ctrl+1: the same key on every icon would fire none.
    EXPECT_EQ(strip->barButtons().at(0)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_1));
    EXPECT_TRUE(strip->barButtons().at(1)->shortcut().isEmpty());
    EXPECT_TRUE(strip->barButtons().at(2)->shortcut().isEmpty());

    // The band stays across the top when the screen grows.
    screen.resize(500, 300);
    EXPECT_EQ(strip->geometry(), QRect(0, 0, 500, 22));
    EXPECT_EQ(strip->barButtons().at(0)->x(), 202);
}

TYPED_TEST(InspectorTabScreen, PressingAnIconShowsItsTabAndPlacesTheChildOnce)
{
    Inspector<TypeParam> screen;
    makeChildren(screen);
    screen.resize(300, 400);
    screen.view();
    screen.show();
    XTTabBar *strip = screen.inspectorTabBar();
    QTabWidget *tabs = screen.tabView();

    TestSupport::LogCapture log;
    QTest::mousePress(strip->barButtons().at(2), Qt::LeftButton);
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_TRUE(placedIn(screen.children.at(2), tabs, 2));
    EXPECT_EQ(log.count(QStringLiteral("tab index =2")), 1);

    QTest::mousePress(strip->barButtons().at(2), Qt::LeftButton);
    EXPECT_EQ(tabs->widget(2)->findChildren<Child *>(QString(), Qt::FindDirectChildrenOnly).size(), 1);

    // Selecting the tab view directly leaves the strip where it was.
    tabs->setCurrentIndex(0);
    EXPECT_EQ(strip->selectedItem(), strip->items().at(2).get());
    EXPECT_TRUE(placedIn(screen.children.at(0), tabs, 0));
}

TYPED_TEST(InspectorTabScreen, SelectingByPositionGoesThroughTheStrip)
{
    Inspector<TypeParam> screen;
    makeChildren(screen);
    screen.resize(300, 400);
    screen.view();
    XTTabBar *strip = screen.inspectorTabBar();

    screen.selectedAtIndex(1);
    EXPECT_EQ(screen.tabView()->currentIndex(), 1);
    ASSERT_EQ(strip->barButtons().size(), 3);
    EXPECT_EQ(strip->barButtons().at(1)->state(), 1);
    EXPECT_EQ(strip->barButtons().at(0)->state(), 0);

    TestSupport::LogCapture log;
    screen.selectedAtIndex(3);
    EXPECT_EQ(log.count(QStringLiteral("no bar button at 3")), 1);
    EXPECT_EQ(screen.tabView()->currentIndex(), 1);
}

TYPED_TEST(InspectorTabScreen, WithoutDefinitionsThereAreNoIconsAndNoTabs)
{
    Inspector<TypeParam> screen;
    screen.tabs = 0;
    screen.resize(300, 400);
    screen.view();
    EXPECT_TRUE(screen.inspectorTabBar()->barButtons().isEmpty());
    EXPECT_EQ(screen.tabView()->count(), 0);
    EXPECT_EQ(screen.inspectorTabBar()->geometry(), QRect(0, 0, 300, 22));
}

TEST(InspectorTabScreen, OlderInspectorHasEveryChildInItsTabFromTheStart)
{
    Inspector<XXXInspectorTabViewController> screen;
    makeChildren(screen);
    screen.resize(300, 400);
    screen.view();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(screen.children.at(i)->parentWidget(), screen.tabView()->widget(i)) << i;
}

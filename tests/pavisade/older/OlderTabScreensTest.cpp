#include <pavisade/older/X3TabViewBackController.h>
#include <pavisade/older/XXXTabViewController.h>
#include <pavisade/older/XXXTabXibViewController.h>

#include "support/LogCapture.h"

#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

namespace {

class Child : public X3CommonViewController
{
public:
    int configs = 0;
    int sizeConfigs = 0;
    void viewConfig() override { ++configs; }
    void viewSizeConfig() override { ++sizeConfigs; }
};

std::shared_ptr<XXXTabItemDefine> tab(const QString &title)
{
    auto item = std::make_shared<XXXTabItemDefine>();
    item->setTitle(title);
    item->setIdentifier(title.toLower());
    return item;
}

template <class Base> class Screen : public Base
{
public:
    int tabs = 4;
    QList<Child *> children;
    explicit Screen(int childCount = 4)
    {
        for (int i = 0; i < childCount; ++i)
            children.append(new Child);
    }
    XXXTabItemDefineList tabColumnsDef() const override
    {
        const XXXTabItemDefineList all = {tab("Browse"), tab("Query"), tab("Console"), tab("Command")};
        return all.mid(0, tabs);
    }
    void tabViewControllersConfig() override
    {
        QList<X3CommonViewController *> list;
        for (Child *child : children)
            list.append(child);
        this->setControllers(list);
    }
};

int placedChildren(QTabWidget *tabs)
{
    int placed = 0;
    for (int i = 0; i < tabs->count(); ++i)
        placed += tabs->widget(i)->findChildren<Child *>(QString(), Qt::FindDirectChildrenOnly).size();
    return placed;
}

} // namespace

TEST(OlderTabScreens, EveryChildIsInItsTabFromStartUpAndSelectionPlacesNothing)
{
    struct Case
    {
        int tabs;
        int children;
        int placed;
    };
    // More children than tabs: only those with a tab are placed; no tabs: none.
    for (const Case &c : {Case{4, 4, 4}, Case{2, 4, 2}, Case{4, 2, 2}, Case{0, 3, 0}}) {
        Screen<X3TabViewBackController> screen(c.children);
        screen.tabs = c.tabs;
        screen.resize(400, 300);
        screen.view();
        TestSupport::LogCapture log;
        QTabWidget *tabs = screen.tabView();
        EXPECT_EQ(placedChildren(tabs), c.placed) << c.tabs << " tabs, " << c.children << " children";
        for (int i = 0; i < c.placed; ++i)
            EXPECT_EQ(screen.children.at(i)->parentWidget(), tabs->widget(i));
        for (int i = 0; i < tabs->count(); ++i)
            tabs->setCurrentIndex(i);
        EXPECT_EQ(placedChildren(tabs), c.placed);
        EXPECT_FALSE(log.contains(QStringLiteral("addSubview")));
    }
}

TEST(OlderTabScreens, BackScreenPaddingMovesNothingUntilTheNextSizing)
{
    Screen<X3TabViewBackController> screen;
    screen.resize(400, 300);
    screen.view();
    screen.show();
    QApplication::processEvents();
    const QRect before = screen.tabView()->geometry();
    screen.setTabViewTopPadding(22);
    QApplication::processEvents();
    EXPECT_EQ(screen.tabView()->geometry(), before);
    const int sizedBefore = screen.children.at(3)->sizeConfigs;
    screen.viewSizeConfig();
    QApplication::processEvents();
    EXPECT_EQ(screen.tabView()->geometry(), QRect(0, 22, 400, 278));
    EXPECT_EQ(screen.children.at(3)->sizeConfigs, sizedBefore + 1) << "every child is sized, shown or not";
}

TEST(OlderTabScreens, OlderScreenLogsEverySelectionAndConfiguresItsChildren)
{
    Screen<XXXTabViewController> screen;
    screen.resize(400, 300);
    screen.view();
    EXPECT_EQ(placedChildren(screen.tabView()), 4);
    for (Child *child : screen.children)
        EXPECT_EQ(child->configs, 1) << "sized through viewConfig at start-up";

    TestSupport::LogCapture log;
    screen.tabView()->setCurrentIndex(2);
    screen.tabView()->setCurrentIndex(0);
    EXPECT_EQ(log.count(QStringLiteral("tab index =2")), 1);
    EXPECT_EQ(log.count(QStringLiteral("tab index =0")), 1);
    EXPECT_EQ(placedChildren(screen.tabView()), 4);

    // Its sizing hooks are the older base's: they do not reach the tabs.
    screen.setTabViewTopPadding(30);
    screen.viewSizeConfig();
    screen.show();
    QApplication::processEvents();
    EXPECT_EQ(screen.tabView()->geometry(), screen.rect());
    screen.tabViewSizeConfig();
    QApplication::processEvents();
    EXPECT_EQ(screen.tabView()->geometry(), QRect(0, 30, 400, 270));
}

namespace {
class XibScreen : public Screen<XXXTabXibViewController>
{
public:
    QTabWidget *outlet = nullptr;
    QTabWidget *tabXibView() override { return outlet; }
};
} // namespace

TEST(OlderTabScreens, XibScreenWithoutATabViewStartsWithNoTabs)
{
    XibScreen screen;
    screen.resize(400, 300);
    screen.view();
    EXPECT_FALSE(screen.hasTabView());
    EXPECT_TRUE(screen.findChildren<QTabWidget *>().isEmpty()) << "no tab view is made in code";
    EXPECT_EQ(screen.controllers().size(), 4) << "the children are still configured";
}

TEST(OlderTabScreens, XibScreenFillsTheTabViewItIsGivenWhereItLies)
{
    XibScreen screen;
    screen.outlet = new QTabWidget(&screen);
    screen.outlet->setGeometry(10, 10, 200, 150);
    screen.resize(400, 300);
    screen.view();
    EXPECT_EQ(screen.tabView(), screen.outlet);
    EXPECT_EQ(screen.outlet->count(), 4);
    EXPECT_EQ(placedChildren(screen.outlet), 4);
    EXPECT_EQ(screen.outlet->geometry(), QRect(10, 10, 200, 150));
}

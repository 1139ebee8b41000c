#include <pavisade/viewcontrollers/X3TabViewController.h>

#include "support/LogCapture.h"

#include <QtCore/QBuffer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTabBar>

#include <gtest/gtest.h>

namespace {

class Child : public X3CommonViewController
{
public:
    int sizeConfigs = 0;
    void viewSizeConfig() override { ++sizeConfigs; }
};

std::shared_ptr<XXXTabItemDefine> tab(const QString &title, const QString &identifier)
{
    auto item = std::make_shared<XXXTabItemDefine>();
    item->setTitle(title);
    item->setIdentifier(identifier);
    return item;
}

class Probe : public X3TabViewController
{
public:
    QList<X3CommonViewController *> children;
    int tabs = 4;
    XXXTabItemDefineList tabColumnsDef() const override
    {
        const XXXTabItemDefineList all = {tab("Browse", "browse"), tab("Query", "query"),
                                          tab("Console", "console"), tab("Command", "command")};
        return all.mid(0, tabs);
    }
    void tabViewControllersConfig() override { setControllers(children); }
};

} // namespace

TEST(TabViewController, WithoutOverridesAnEmptyTabViewFillsTheScreen)
{
    X3TabViewController screen;
    screen.resize(300, 200);
    screen.view();
    screen.show();
    QApplication::processEvents();
    EXPECT_EQ(screen.tabView()->count(), 0);
    EXPECT_EQ(screen.tabView()->geometry(), screen.rect());
    EXPECT_TRUE(screen.controllers().isEmpty());
}

TEST(TabViewController, EachChildIsPlacedOnceAtTheFirstSelectionOfItsTab)
{
    Probe screen;
    auto *browse = new Child;
    auto *query = new Child;
    auto *console = new Child;
    auto *command = new Child;
    screen.children = {browse, query, console, command};
    TestSupport::LogCapture log;
    screen.resize(400, 300);
    screen.view();
    screen.show();

    QTabWidget *tabs = screen.tabView();
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), "Browse");
    EXPECT_EQ(tabs->tabText(3), "Command");
    EXPECT_EQ(tabs->widget(2)->objectName(), "console");
    EXPECT_EQ(browse->parentWidget(), tabs->widget(0)) << "the first tab is selected when added";
    EXPECT_EQ(query->parentWidget(), &screen) << "other children wait, owned and hidden";
    EXPECT_FALSE(query->isVisible());
    EXPECT_EQ(log.count("tab index addSubview =0"), 1);
    EXPECT_GE(browse->sizeConfigs, 1);

    tabs->setCurrentIndex(2);
    EXPECT_EQ(console->parentWidget(), tabs->widget(2));
    QApplication::processEvents();
    EXPECT_EQ(console->geometry(), tabs->widget(2)->rect());
    tabs->setCurrentIndex(0);
    tabs->setCurrentIndex(2);
    EXPECT_EQ(log.count("tab index addSubview ="), 2) << "going back to a tab places nothing again";
    EXPECT_EQ(Pavisade::selectedTabViewItemIndex(tabs), 2);

    // Rebuilding makes new, empty containers; children are placed again on selection and
    // never destroyed on the way.
    screen.tabReLayout();
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(browse->parentWidget(), tabs->widget(0));
    tabs->setCurrentIndex(2);
    EXPECT_EQ(console->parentWidget(), tabs->widget(2));
    EXPECT_EQ(screen.controllers().size(), 4);
}

TEST(TabViewController, FewerChildrenThanTabsOrNoTabsPlaceNothingAndDoNotFail)
{
    Probe screen;
    auto *only = new Child;
    screen.children = {only};
    screen.view();
    QTabWidget *tabs = screen.tabView();
    tabs->setCurrentIndex(3);
    EXPECT_TRUE(tabs->widget(3)->findChildren<QWidget *>().isEmpty()) << "a tab without a child stays empty";
    screen.tabViewDidSelectTabViewItem(tabs, 9);
    screen.tabViewDidSelectTabViewItem(tabs, -1);

    Probe none;
    none.tabs = 0;
    none.children = {new Child, new Child};
    none.view();
    EXPECT_EQ(none.tabView()->count(), 0);
    EXPECT_EQ(none.controllers().first()->parentWidget(), &none);

    // An empty definition list leaves existing tabs in place.
    Pavisade::setTabColumnsDef(tabs, {});
    EXPECT_EQ(tabs->count(), 4);
}

TEST(TabViewController, PaddingsMoveTheTabViewOnlyInTheCodeBuiltScreen)
{
    X3TabViewController screen;
    screen.resize(300, 200);
    screen.view();
    screen.show();
    screen.setTabViewTopPadding(22);
    screen.setTabViewLeftPadding(10);
    QApplication::processEvents();
    EXPECT_EQ(screen.tabView()->geometry(), QRect(10, 22, 290, 178));

    X3TabViewXibController xib;
    xib.resize(300, 200);
    xib.view();
    xib.show();
    xib.setTabViewTopPadding(22);
    QApplication::processEvents();
    EXPECT_EQ(xib.tabView()->geometry().top(), 0);
}

TEST(TabItemDefine, DictionaryArchiveAndEquality)
{
    auto partial = XXXTabItemDefine::fromDictionary({{"title", "Browse"}, {"identifier", "browse"}});
    EXPECT_EQ(partial->title(), "Browse");
    EXPECT_EQ(partial->identifier(), "browse");
    EXPECT_TRUE(partial->controllerName().isNull());
    EXPECT_EQ(partial->tag(), 0);

    const struct
    {
        QVariant tag;
        qint64 expected;
    } tags[] = {{7, 7},
                {QString("12"), 12},
                {QString("twelve"), 0},
                {QVariantList{1}, 0},
                {qint64(1) << 40, qint64(1) << 40}};
    for (const auto &c : tags) {
        SCOPED_TRACE(c.tag.toString().toStdString());
        EXPECT_EQ(XXXTabItemDefine::fromDictionary({{"tag", c.tag}})->tag(), c.expected);
    }

    auto full = XXXTabItemDefine::fromDictionary({{"title", "Query"},
                                                  {"identifier", "query"},
                                                  {"controllerName", "DerazQueryViewController"},
                                                  {"imageName", "query"},
                                                  {"toolTip", "Run a query"},
                                                  {"tag", 3}});
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << *full;
    }
    XXXTabItemDefine back;
    {
        QDataStream in(bytes);
        in >> back;
    }
    EXPECT_TRUE(back.isEqual(full.get()));
    EXPECT_FALSE(partial->encodeWithCoder().contains("toolTip")) << "unset strings are not archived";
    EXPECT_TRUE(partial->encodeWithCoder().contains("tag"));

    XXXTabItemDefine copy;
    copy.initWithCoder(full->encodeWithCoder());
    copy.setToolTip(QString());
    EXPECT_FALSE(copy.isEqual(full.get())) << "a field the receiver lacks makes records unequal";
    EXPECT_FALSE(full->isEqual(&copy));
    QObject stranger;
    EXPECT_FALSE(full->isEqual(&stranger));
    EXPECT_FALSE(full->isEqual(nullptr));

    TestSupport::LogCapture log;
    copy.setValueForKey("colour", "red");
    EXPECT_FALSE(copy.valueForKey("colour").isValid());
    EXPECT_EQ(log.count("Undefined Key: colour"), 2);
    EXPECT_EQ(copy.dynamicPropertyNames().size(), 0);
    copy.setValueForKey("tag", "5");
    EXPECT_EQ(copy.tag(), 5);
}

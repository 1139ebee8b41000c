#include <pavisade/forms/FormControls.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/viewcontrollers/X3CommonPageViewController.h>
#include <pavisade/viewcontrollers/XXXCommonViewController.h>

#include "support/LogCapture.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

namespace {

class PagedScreen : public X3CommonPageViewController
{
public:
    QList<XXXButtonToolBarItem> toolbarItemsConfig() const override
    {
        XXXButtonToolBarItem pages;
        pages.toolBarItemType = XXXButtonToolBarItem::TypeLabel;
        pages.identifier = "pages";
        return {pages};
    }
};

} // namespace

TEST(PageViewController, PageCountAndPageLabel)
{
    const struct
    {
        qint64 rows, pageSize, pages;
        QString label;
    } cases[] = {
        {30, 30, 1, "1/1"}, {31, 30, 2, "1/2"}, {0, 30, 0, "0/0"}, {5, 0, 1, "1/1"}, {5, -3, 1, "1/1"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, page size " << c.pageSize);
        PagedScreen screen;
        screen.view();
        screen.setUpToolBarConfig();
        auto *manager = new XXXPageManager;
        screen.setPageManager(manager);
        EXPECT_EQ(manager->parent(), &screen) << "the screen keeps an unowned manager alive";
        manager->setTotalRowNum(c.rows);
        manager->setPageSize(c.pageSize);
        TestSupport::LogCapture log;
        EXPECT_EQ(screen.pageTotalNum(), c.pages);
        EXPECT_EQ(log.contains("one page holds all"), c.pageSize <= 0 && c.rows > 0);
        screen.updatePageInfo();
        auto *label = qobject_cast<XXXLabel *>(screen.toolBarView()->buttonWithIdentifier("pages"));
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), c.label);
    }

    PagedScreen screen;
    EXPECT_EQ(screen.pageTotalNum(), 0) << "no manager: nothing to count";
    EXPECT_FALSE(screen.nextPage());
    auto *manager = new XXXPageManager;
    screen.setPageManager(manager);
    manager->setTotalRowNum(70);
    manager->setPageSize(30);
    screen.pageTotalNum();
    EXPECT_TRUE(screen.isFirstPage());
    EXPECT_TRUE(screen.nextPage());
    EXPECT_TRUE(screen.goLastPage());
    EXPECT_EQ(screen.currentPageIndex(), 2);
    EXPECT_TRUE(screen.isLastPage());
    EXPECT_FALSE(screen.goPage(3));
    EXPECT_TRUE(screen.prePage());
    EXPECT_TRUE(screen.goFirstPage());
}

TEST(OlderCommonViewController, AwakeningConfiguresInsteadOfLocalisingAndResizesReachIt)
{
    struct Older : XXXCommonViewController
    {
        QStringList calls;
        int resizes = 0;
        void tableViewConfig() override { calls << "table"; }
        void splitViewConfig() override { calls << "split"; }
        void treeViewConfig() override { calls << "tree"; }
        void tabViewConfig() override { calls << "tab"; }
        void splitViewSizeConfig() override { calls << "splitSize"; }
        void tableViewSizeConfig() override { calls << "tableSize"; }
        void treeViewSizeConfig() override { calls << "treeSize"; }
        void toolBarGLocation() override { calls << "localised"; }
        void resizeUI() override { ++resizes; }
    } screen;
    EXPECT_EQ(screen.nibName(), "XXXCommonViewController");
    screen.view();
    EXPECT_EQ(screen.calls, (QStringList{"table", "split", "tree", "splitSize", "tableSize", "treeSize"}));

    QWidget window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    screen.resizes = 0;
    window.resize(210, 110);
    EXPECT_TRUE(waitFor([&] { return screen.resizes == 1; })) << "registered from its constructor";

    EXPECT_FALSE(screen.hasToolBar());
    XXXButtonToolBar *bar = screen.toolBarView2();
    EXPECT_EQ(bar->size(), QSize(0, 0));
    EXPECT_EQ(screen.toolBarView(), bar) << "both accessors share one toolbar";
}

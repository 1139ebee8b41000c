#include <pavisade/PavisadeClasses.h>
#include <pavisade/forms/FormControls.h>
#include <pavisade/older/XXXTableViewPageControllerViewController.h>
#include <pavisade/older/XXXTableViewXibPageController.h>
#include <pavisade/sheets/XSheet.h>
#include <pavisade/tables/NSTableViewEX.h>
#include <pavisade/tables/ScrollViewPosition.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/tables/X3DoubleEidtTableViewController.h>
#include <pavisade/tables/X3TableViewPageController.h>
#include <pavisade/tables/X3TableViewXibController.h>
#include <pavisade/tables/X3TableViewXibPageController.h>
#include <pavisade/tables/XXXTableViewDataDelegate.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>

#include <bastwick/platform/ClassRegistry.h>

#include "support/LogCapture.h"
#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtTest/QAbstractItemModelTester>
#include <QtTest/QTest>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QScrollBar>

#include <gtest/gtest.h>

using namespace Pavisade;

namespace {

static TestSupport::SetupHook hook([] { Pavisade::registerPavisadeClasses(); });

// A list screen that records its hooks and shows two rows.
class ListScreen : public X3TableViewController
{
public:
    QStringList calls;
    XXXTableViewDataDelegate model;
    bool withColumns = true;

    void tableViewStyleConfig() override { calls.append("style"); }
    XXXNSTableColumnFieldList tableColumnsDef() const override
    {
        return withColumns ? tableViewColumnsWithNames({"name"}) : XXXNSTableColumnFieldList();
    }
    void tableViewColumnConfig() override
    {
        calls.append("columns");
        X3TableViewController::tableViewColumnConfig();
    }
    void tableViewDelegateConfig() override
    {
        calls.append("delegate");
        model.setData({DictionaryRow::create({{"name", "b"}}), DictionaryRow::create({{"name", "a"}})});
        model.setOwner(tableView());
    }
    void tableViewSizeConfig() override
    {
        calls.append("size");
        X3TableViewController::tableViewSizeConfig();
    }
};

// Receives the empty-area action of a table.
class ActionTarget : public QObject
{
    Q_OBJECT

public:
    int calls = 0;
    Q_INVOKABLE void addRow(QObject *sender)
    {
        Q_UNUSED(sender);
        ++calls;
    }
};

class CountingModel : public XXXTableViewDataDelegate
{
public:
    int added = 0;
    void addEmptyRow(QObject *sender) override
    {
        Q_UNUSED(sender);
        ++added;
    }
};

} // namespace

TEST(TableScreen, HooksRunInOrderAndTheTableFillsTheScreen)
{
    ListScreen screen;
    screen.resize(300, 400);
    screen.view();
    screen.show();
    EXPECT_EQ(screen.calls, QStringList({"style", "columns", "delegate", "size"}));
    EXPECT_EQ(screen.tableView()->parentWidget(), &screen);
    EXPECT_EQ(screen.tableView()->geometry(), QRect(0, 0, 300, 400));
    EXPECT_EQ(screen.tableView()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(screen.tableViewScrollView(), screen.tableView());
    EXPECT_EQ(screen.model.columnCount(), 1);
    // One definition takes the whole width (laid out again once shown, as a window resize does).
    screen.resizeUI();
    EXPECT_EQ(screen.tableView()->horizontalHeader()->sectionSize(0),
              screen.tableView()->viewport()->width());

    // No definitions: the columns stay as they are.
    ListScreen bare;
    bare.withColumns = false;
    bare.view();
    EXPECT_EQ(bare.model.columnCount(), 0);
}

TEST(TableScreen, ToolbarStripLayoutIsTheSameAtEveryResize)
{
    ListScreen screen;
    screen.resize(300, 400);
    screen.view();
    screen.show();
    screen.setUpToolBarConfig();
    for (int pass = 0; pass < 2; ++pass) {
        screen.tableViewSizeConfig();
        EXPECT_EQ(screen.toolBarView()->geometry(), QRect(0, 376, 300, 24));
        EXPECT_EQ(screen.tableView()->geometry(), QRect(0, 0, 300, 376));
    }
    screen.resize(500, 200);
    EXPECT_EQ(screen.toolBarView()->geometry(), QRect(0, 176, 500, 24));
    EXPECT_EQ(screen.tableView()->geometry(), QRect(0, 0, 500, 176));

    // The interface variant centres the toolbar in its strip and leaves the table alone.
    X3TableViewXibController xib;
    xib.resize(300, 400);
    xib.view();
    xib.show();
    xib.updateToolbarParentViewHeight(30);
    xib.setUpToolBarConfig();
    xib.layoutToolBar();
    EXPECT_EQ(xib.toolBarView()->geometry(), QRect(0, 373, 300, 24));
    EXPECT_EQ(xib.tableView()->geometry(), QRect(0, 0, 300, 370));
}

TEST(ScrollViewPosition, ScrollToTopShowsTheTopOfTheDocument)
{
    // A document 1000 high in a clip 300 high, scrolled to its far corner.
    QScrollArea area;
    area.setFrameShape(QFrame::NoFrame);
    area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area.resize(300, 300);
    auto *document = new QWidget;
    document->setFixedSize(500, 1000);
    area.setWidget(document);
    area.show();
    area.verticalScrollBar()->setValue(area.verticalScrollBar()->maximum());
    area.horizontalScrollBar()->setValue(area.horizontalScrollBar()->maximum());
    ASSERT_EQ(document->mapTo(area.viewport(), QPoint(0, 0)), QPoint(-200, -700));

    scrollToTop(&area);
    EXPECT_EQ(document->mapTo(area.viewport(), QPoint(0, 0)), QPoint(0, 0));

    // A list screen's scroll view: its first row comes to the top.
    ListScreen screen;
    screen.resize(300, 200);
    screen.view();
    screen.show();
    XXXTableViewDataDelegate::RowList rows;
    for (int i = 0; i < 100; ++i)
        rows.append(DictionaryRow::create({{"name", QString::number(i)}}));
    screen.model.setData(rows);
    screen.tableView()->scrollToBottom();
    ASSERT_GT(screen.tableView()->rowAt(0), 0);
    scrollToTop(screen.tableViewScrollView());
    EXPECT_EQ(screen.tableView()->rowAt(0), 0);

    scrollToTop(nullptr); // nothing to scroll
}

TEST(TableScreen, SortingAColumnOrdersTheRows)
{
    ListScreen screen;
    screen.view();
    screen.setSortColumns();
    screen.tableView()->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    EXPECT_EQ(screen.model.itemOfRow(0)->valueForKey("name"), QVariant("a"));
    screen.tableView()->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
    EXPECT_EQ(screen.model.itemOfRow(0)->valueForKey("name"), QVariant("b"));
}

TEST(NSTableViewEX, EmptyAreaDoubleClickSendsTheAction)
{
    QMainWindow window;
    auto *table = new NSTableViewEX;
    window.setCentralWidget(table);
    window.resize(400, 300);
    XXXTableViewDataDelegate model;
    updateWithColumnNames(table, {"name"});
    model.setOwner(table);
    model.setData({DictionaryRow::create({{"name", "a"}})});
    ActionTarget target;
    table->setEmptyDoubleClickTarget(&target);
    table->setEmptyDoubleClickAction("addRow");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QPoint onRow = table->visualRect(model.index(0, 0)).center();
    const QPoint below(10, table->viewport()->height() - 10);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, onRow);
    EXPECT_EQ(target.calls, 0);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(target.calls, 1);
    EXPECT_EQ(table->clickedRow(), -1);
    EXPECT_EQ(table->clickedColumn(), -1);

    // While a sheet is up on the window, nothing.
    XSheet sheet;
    sheet.beginOnWindow(&window, [](qint64) {});
    ASSERT_TRUE(waitFor([&] { return sheet.isVisible(); }));
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(target.calls, 1);
    sheet.cancel();
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, below);
    EXPECT_EQ(target.calls, 2);
}

TEST(NSTableViewEX, DoubleEditScreenAddsARowThroughTheModel)
{
    struct Screen : X3DoubleEidtTableViewController
    {
        CountingModel model;
        XXXNSTableColumnFieldList tableColumnsDef() const override
        {
            return tableViewColumnsWithNames({"name"});
        }
        void tableViewDelegateConfig() override { model.setOwner(tableView()); }
    };
    QMainWindow window;
    auto *screen = new Screen;
    window.setCentralWidget(screen);
    window.resize(400, 300);
    screen->view();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_NE(screen->editTableView(), nullptr);
    EXPECT_EQ(screen->tableView(), screen->editTableView());
    EXPECT_EQ(screen->editTableView()->emptyDoubleClickAction(), "addEmptyRow");
    QTest::mouseDClick(screen->editTableView()->viewport(), Qt::LeftButton, {}, QPoint(10, 100));
    EXPECT_EQ(screen->model.added, 1);
}

namespace {

// A paged table screen whose toolbar carries the "pages" label.
template <class Base> class PagedTableScreen : public Base
{
public:
    QList<XXXButtonToolBarItem> toolbarItemsConfig() const override
    {
        XXXButtonToolBarItem pages;
        pages.toolBarItemType = XXXButtonToolBarItem::TypeLabel;
        pages.identifier = "pages";
        return {pages};
    }
    QString pagesLabel()
    {
        auto *label = qobject_cast<XXXLabel *>(this->toolBarView()->buttonWithIdentifier("pages"));
        return label ? label->text() : QString("<no label>");
    }
};

template <class Base> class PagedTableScreenTest : public testing::Test
{
};
using PagedTableScreens =
    testing::Types<X3TableViewXibPageController, X3TableViewPageController, XXXTableViewXibPageController,
                   XXXTableViewPageControllerViewController>;
TYPED_TEST_SUITE(PagedTableScreenTest, PagedTableScreens);

template <class Screen>
concept PagesToEnds = requires(Screen &screen)
{
    screen.goFirstPage();
    screen.goLastPage();
};

// Only the current paged screens jump to the ends; the older ones get there through
// goPage.
static_assert(PagesToEnds<X3TableViewXibPageController> && PagesToEnds<X3TableViewPageController>);
static_assert(!PagesToEnds<XXXTableViewXibPageController> &&
              !PagesToEnds<XXXTableViewPageControllerViewController>);

template <class Screen> bool toLastPage(Screen &screen)
{
    if constexpr (PagesToEnds<Screen>)
        return screen.goLastPage();
    else
        return screen.goPage(screen.pageTotalNum() - 1);
}

template <class Screen> bool toFirstPage(Screen &screen)
{
    if constexpr (PagesToEnds<Screen>)
        return screen.goFirstPage();
    else
        return screen.goPage(0);
}

} // namespace

TYPED_TEST(PagedTableScreenTest, PagesThroughTheManagerAndShowsThePageInTheToolbar)
{
    EXPECT_TRUE(Bastwick::ClassRegistry::instance().contains(TypeParam::staticMetaObject.className()));

    PagedTableScreen<TypeParam> screen;
    screen.view();
    screen.setUpToolBarConfig();

    // Without a manager nothing pages and the label reads "0/0".
    EXPECT_EQ(screen.pageTotalNum(), 0);
    EXPECT_FALSE(screen.nextPage());
    EXPECT_FALSE(toFirstPage(screen));
    EXPECT_FALSE(screen.isLastPage());
    EXPECT_EQ(screen.currentPageIndex(), 0);
    screen.updatePageInfo();
    EXPECT_EQ(screen.pagesLabel(), "0/0");

    auto *manager = new XXXPageManager;
    screen.setPageManager(manager);
    EXPECT_EQ(manager->parent(), &screen);
    manager->setPageSize(30);
    manager->setTotalRowNum(0);
    screen.updatePageInfo();
    EXPECT_EQ(screen.pagesLabel(), "0/0") << "no rows, first page";

    manager->setTotalRowNum(61);
    screen.updatePageInfo();
    EXPECT_EQ(manager->pageTotalNum(), 3) << "61 rows of 30 make three pages, stored in the manager";
    EXPECT_EQ(screen.pagesLabel(), "1/3");
    EXPECT_TRUE(screen.isFirstPage());
    EXPECT_FALSE(screen.prePage());

    const struct
    {
        std::function<bool()> move;
        bool moved;
        QString label;
    } steps[] = {
        // clang-format off
        {[&] { return screen.nextPage(); }, true, "2/3"},
        {[&] { return toLastPage(screen); }, true, "3/3"},
        {[&] { return screen.nextPage(); }, false, "3/3"},
        {[&] { return screen.goPage(3); }, false, "3/3"},
        {[&] { return screen.prePage(); }, true, "2/3"},
        {[&] { return toFirstPage(screen); }, true, "1/3"},
        // clang-format on
    };
    for (const auto &step : steps) {
        EXPECT_EQ(step.move(), step.moved) << step.label.toStdString();
        screen.updatePageInfo();
        EXPECT_EQ(screen.pagesLabel(), step.label);
    }
    EXPECT_EQ(manager->currentPageIndex(), screen.currentPageIndex());
    EXPECT_EQ(screen.pageSize(), 30);
    EXPECT_EQ(screen.totalRowNum(), 61);
}

TYPED_TEST(PagedTableScreenTest, PageSizeOfZeroOrLessShowsEveryRowOnOnePage)
{
    PagedTableScreen<TypeParam> screen;
    screen.view();
    screen.setUpToolBarConfig();
    auto *manager = new XXXPageManager;
    screen.setPageManager(manager);
    const struct
    {
        qint64 rows, pageSize, pages;
        QString label;
    } cases[] = {{5, 0, 1, "1/1"}, {5, -3, 1, "1/1"}, {0, 0, 0, "0/0"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, page size " << c.pageSize);
        manager->setTotalRowNum(c.rows);
        manager->setPageSize(c.pageSize);
        TestSupport::LogCapture log;
        screen.updatePageInfo();
        EXPECT_EQ(screen.pageTotalNum(), c.pages);
        EXPECT_EQ(screen.pagesLabel(), c.label);
        EXPECT_EQ(log.contains("one page holds all"), c.rows > 0);
        EXPECT_FALSE(screen.nextPage()) << "a single page has no next one";
    }
}

template <class Screen> class PagedDoubleEditScreenTest : public testing::Test
{
};
using PagedDoubleEditScreens =
    testing::Types<X3TableViewPageController, XXXTableViewPageControllerViewController>;
TYPED_TEST_SUITE(PagedDoubleEditScreenTest, PagedDoubleEditScreens);

TYPED_TEST(PagedDoubleEditScreenTest, StillAddsRowsOnTheEmptyArea)
{
    TypeParam screen;
    screen.view();
    EXPECT_EQ(screen.tableView(), screen.editTableView());
    EXPECT_EQ(screen.editTableView()->emptyDoubleClickAction(), "addEmptyRow");
}

#include "TableScreenTest.moc"

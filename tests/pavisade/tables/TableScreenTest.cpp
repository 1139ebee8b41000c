#include <pavisade/PavisadeClasses.h>
#include <pavisade/sheets/XSheet.h>
#include <pavisade/tables/NSTableViewEX.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/tables/X3DoubleEidtTableViewController.h>
#include <pavisade/tables/X3TableViewXibController.h>
#include <pavisade/tables/XXXTableViewDataDelegate.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>

#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtTest/QAbstractItemModelTester>
#include <QtTest/QTest>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QMainWindow>

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

#include "TableScreenTest.moc"

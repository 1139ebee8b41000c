#include <pavisade/PavisadeClasses.h>
#include <pavisade/older/XXXDoubleEidtTableViewController.h>
#include <pavisade/older/XXXTableViewController.h>
#include <pavisade/older/XXXTableViewXibController.h>
#include <pavisade/tables/NSTableViewEX.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>

#include "support/TestSetup.h"

#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

namespace {

static TestSupport::SetupHook hook([] { Pavisade::registerPavisadeClasses(); });

// Records its hooks; the older screens have no style hook.
template <class Base> class List : public Base
{
public:
    QStringList calls;
    void tableViewStyleConfig() override { calls.append("style"); }
    XXXNSTableColumnFieldList tableColumnsDef() const override
    {
        return Pavisade::tableViewColumnsWithNames({"name", "value"});
    }
    void tableViewColumnConfig() override
    {
        calls.append("columns");
        Base::tableViewColumnConfig();
    }
    void tableViewDelegateConfig() override { calls.append("delegate"); }
    void tableViewSizeConfig() override
    {
        calls.append("size");
        Base::tableViewSizeConfig();
    }
};

class XibList : public List<XXXTableViewXibController>
{
public:
    QTableView *outlet = nullptr;
    QTableView *tableXibView() override { return outlet; }
};

} // namespace

TEST(OlderTableScreens, StartUpRunsTheOlderHooksAndSizesTwice)
{
    List<XXXTableViewController> screen;
    screen.resize(400, 300);
    screen.view();
    EXPECT_EQ(screen.calls, (QStringList{"columns", "delegate", "size", "size", "size"}));
    EXPECT_EQ(screen.tableView()->geometry(), QRect(0, 0, 400, 300));

    // With a toolbar the table sits above its strip.
    screen.setUpDefaultToolBarConfig();
    screen.show();
    screen.resize(400, 320);
    QApplication::processEvents();
    const int strip = int(XXXButtonToolBar::defaultButtonSize().height());
    EXPECT_EQ(screen.tableView()->geometry(), QRect(0, 0, 400, 320 - strip));
}

TEST(OlderTableScreens, DoubleClickScreenHasAnEditableTable)
{
    List<XXXDoubleEidtTableViewController> screen;
    screen.resize(300, 200);
    screen.view();
    EXPECT_FALSE(screen.calls.contains("style"));
    EXPECT_NE(qobject_cast<NSTableViewEX *>(screen.tableView()), nullptr);
    EXPECT_EQ(screen.editTableView(), screen.tableView());
}

TEST(OlderTableScreens, XibScreenWithoutOutletsHasNoTable)
{
    XibList screen;
    screen.resize(300, 200);
    screen.view();
    screen.resizeUI();
    EXPECT_EQ(screen.tableView(), nullptr);
    EXPECT_TRUE(screen.findChildren<QTableView *>().isEmpty());
    EXPECT_EQ(screen.calls.count("size"), 4);

    const QList<XXXButtonToolBarItem> items = screen.toolbarItemsConfig();
    ASSERT_EQ(items.size(), 3);
    QStringList images;
    for (const XXXButtonToolBarItem &item : items) {
        EXPECT_EQ(item.toolBarItemType, 7);
        EXPECT_TRUE(item.title.isEmpty());
        images << item.image;
    }
    EXPECT_EQ(images, (QStringList{"AddTemplate", "RemoveTemplate", "RefreshTemplate"}));
}

TEST(OlderTableScreens, XibScreenKeepsItsTableDirectlyAboveTheStrip)
{
    XibList screen;
    screen.outlet = new QTableView(&screen);
    screen.outlet->setGeometry(5, 5, 50, 50);
    screen.resize(300, 200);
    screen.view();
    screen.setUpToolBarConfig();
    screen.show();
    screen.resize(320, 240);
    QApplication::processEvents();
    const int strip = qRound(screen.toolbarParentViewDefaultHeight());
    // Sized the same way however often it runs.
    screen.tableViewSizeConfig();
    screen.tableViewSizeConfig();
    EXPECT_EQ(screen.outlet->geometry(), QRect(0, 0, 320, 240 - strip));
    EXPECT_EQ(screen.toolBarView()->geometry().bottom(), 239);
}

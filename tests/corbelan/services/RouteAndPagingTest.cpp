#include <corbelan/services/RouteManager.h>
#include <corbelan/services/XXXPageManager.h>
#include <corbelan/services/XXXTablePageControll.h>

#include <bastwick/platform/ClassRegistry.h>

#include "QtPrinters.h"
#include "support/LogCapture.h"
#include "support/TestSetup.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

int g_made = 0;

class RouteTestController : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString nibName READ nibName WRITE setNibName)
public:
    RouteTestController() { ++g_made; }
    QString nibName() const { return m_nibName; }
    void setNibName(const QString &name) { m_nibName = name; }

private:
    QString m_nibName;
};

class OtherRouteController : public QObject
{
    Q_OBJECT
public:
    OtherRouteController() { ++g_made; }
};

TestSupport::SetupHook registerControllers([] {
    Bastwick::ClassRegistry::instance().registerClass<RouteTestController>();
    Bastwick::ClassRegistry::instance().registerClass<OtherRouteController>();
});

TEST(RouteManager, MakesOneControllerPerRouteTextAndCachesIt)
{
    RouteManager routes;
    g_made = 0;
    TestSupport::LogCapture log;
    EXPECT_EQ(routes.open(QStringLiteral("AppMainID")), nullptr);
    EXPECT_TRUE(log.contains(QStringLiteral("RouteManager controller not config!")));
    EXPECT_EQ(g_made, 0);

    QList<int> madeWhenCalledBack;
    QList<QVariantMap> params;
    routes.map(QStringLiteral("AppMainID"), &RouteTestController::staticMetaObject,
               [&](const QVariantMap &p) {
                   madeWhenCalledBack.append(g_made);
                   params.append(p);
               });
    QObject *main = routes.open(QStringLiteral("AppMainID"));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->metaObject(), &RouteTestController::staticMetaObject);
    EXPECT_EQ(qobject_cast<RouteTestController *>(main)->nibName(), QStringLiteral("RouteTestController"));
    EXPECT_EQ(routes.open(QStringLiteral("AppMainID")), main);
    EXPECT_EQ(g_made, 1);
    // The callback ran once, before the controller was made.
    EXPECT_EQ(madeWhenCalledBack, QList<int>{0});

    // Another query is another route text: another controller, with its parameters.
    QObject *withQuery = routes.open(QStringLiteral("AppMainID?tab=2&name=a%20b"));
    ASSERT_NE(withQuery, nullptr);
    EXPECT_NE(withQuery, main);
    ASSERT_EQ(params.size(), 2);
    EXPECT_EQ(params.last(), (QVariantMap{{QStringLiteral("tab"), QStringLiteral("2")},
                                          {QStringLiteral("name"), QStringLiteral("a b")}}));

    // Mapping again changes what later routes make, not what is cached.
    routes.map(QStringLiteral("AppMainID"), QStringLiteral("OtherRouteController"));
    EXPECT_EQ(routes.open(QStringLiteral("AppMainID")), main);
    QObject *other = routes.open(QStringLiteral("AppMainID?x=1"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->metaObject(), &OtherRouteController::staticMetaObject);
    EXPECT_EQ(routes.viewControllers().size(), 3);

    // A class that cannot be made answers null and caches nothing.
    routes.map(QStringLiteral("Broken"), QStringLiteral("NoSuchController"));
    EXPECT_EQ(routes.open(QStringLiteral("Broken")), nullptr);
    EXPECT_EQ(routes.instanceCachedMaps().size(), 3);

    // A controller destroyed by its owner is made again, never answered dangling.
    delete main;
    QObject *again = routes.open(QStringLiteral("AppMainID"));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->metaObject(), &OtherRouteController::staticMetaObject);
    qDeleteAll(routes.viewControllers());
}

TEST(RouteManager, ParsesTheIdentifierAndOnlyTheQuery)
{
    const struct
    {
        const char *route;
        const char *key;
        QVariantMap params;
    } cases[] = {
        {"AppMainID", "AppMainID", {}},
        {"AppMainID?a=1", "AppMainID", {{QStringLiteral("a"), QStringLiteral("1")}}},
        {"A?a=1&b=2;c=%20", "A", {{"a", "1"}, {"b", "2"}, {"c", " "}}},
        {"A?a=1?b", "A", {{"a", "1?b"}}}, // only the first "?" starts the query
        {"A?novalue&x==y&ok=1", "A", {{"ok", "1"}}},
        {"", "", {}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(RouteManager::parseUrlKey(QString::fromLatin1(c.route)), QString::fromLatin1(c.key))
            << c.route;
        EXPECT_EQ(RouteManager::parseUrlParams(QString::fromLatin1(c.route)), c.params) << c.route;
    }
}

TEST(Paging, PageCounts)
{
    const struct
    {
        qint64 rows, size, pages;
    } cases[] = {{0, 30, 0}, {1, 30, 1}, {30, 30, 1}, {31, 30, 2}, {100, 30, 4}, {5, 0, 0}, {5, -3, 0}};
    for (const auto &c : cases) {
        XXXPageManager m;
        m.setTotalRowNum(c.rows);
        m.setPageSize(c.size);
        m.computeNumberOfPages();
        EXPECT_EQ(m.pageTotalNum(), c.pages) << c.rows << " rows at " << c.size;
    }
}

TEST(Paging, MovingBetweenPages)
{
    XXXPageManager fresh;
    EXPECT_EQ(fresh.currentPageIndex(), 0);
    EXPECT_EQ(fresh.pageSize(), 30);
    EXPECT_EQ(fresh.pageTotalNum(), 0);
    EXPECT_TRUE(fresh.isFirstPage());
    EXPECT_TRUE(fresh.isLastPage());
    EXPECT_FALSE(fresh.nextPage());
    EXPECT_FALSE(fresh.prePage());
    EXPECT_FALSE(fresh.goFirstPage());
    EXPECT_FALSE(fresh.goLastPage());

    XXXPageManager m;
    m.setTotalRowNum(100);
    m.computeNumberOfPages();
    EXPECT_TRUE(m.goLastPage());
    EXPECT_EQ(m.currentPageIndex(), 3);
    EXPECT_FALSE(m.nextPage());
    EXPECT_TRUE(m.prePage());
    EXPECT_EQ(m.currentPageIndex(), 2);
    for (qint64 refused : {qint64(4), qint64(-1), qint64(-100)}) {
        EXPECT_FALSE(m.goPage(refused)) << refused;
        EXPECT_EQ(m.currentPageIndex(), 2);
    }
    EXPECT_TRUE(m.goPage(2)); // already there
    EXPECT_TRUE(m.goFirstPage());
    EXPECT_FALSE(m.prePage());

    XXXPageManager one;
    one.setTotalRowNum(10);
    one.computeNumberOfPages();
    EXPECT_FALSE(one.goLastPage());
    EXPECT_TRUE(one.goFirstPage());
    EXPECT_TRUE(one.isLastPage());
}

TEST(Paging, RowRangeOfTheCurrentPageStaysWithinTheRows)
{
    const struct
    {
        qint64 rows, size, index;
        XXXPageRange range;
    } cases[] = {
        {100, 30, 0, {0, 30}}, {100, 30, 3, {90, 10}}, // last page: to the end
        {0, 30, 0, {0, 0}},    {20, 30, 0, {0, 20}},   {60, 30, 1, {30, 30}},
    };
    for (const auto &c : cases) {
        XXXPageManager m;
        m.setTotalRowNum(c.rows);
        m.setPageSize(c.size);
        m.computeNumberOfPages();
        ASSERT_TRUE(c.index == 0 || m.goPage(c.index));
        EXPECT_EQ(m.currentPageRange(), c.range) << c.rows << "/" << c.size << "@" << c.index;
    }

    // The list shrinks under a page position that nobody reset.
    XXXPageManager m;
    m.setTotalRowNum(100);
    m.computeNumberOfPages();
    ASSERT_TRUE(m.goPage(2));
    m.setTotalRowNum(45);
    EXPECT_EQ(m.currentPageRange(), (XXXPageRange{45, 0}));
    m.setTotalRowNum(70);
    EXPECT_EQ(m.currentPageRange(), (XXXPageRange{60, 10}));
}

TEST(Paging, TablePageControllHoldsOneManager)
{
    XXXTablePageControll holder;
    holder.setTabIndex(4);
    std::shared_ptr<XXXPageManager> manager = holder.pageManager();
    EXPECT_EQ(holder.tabIndex(), 0);
    EXPECT_EQ(holder.pageManager(), manager);

    const struct
    {
        qint64 size, rows, pageSize, pages;
    } cases[] = {{50, 120, 50, 3}, {0, 120, 20, 6}, {-5, 10, 20, 1}};
    for (const auto &c : cases) {
        holder.updatePageSize(c.size, c.rows);
        EXPECT_EQ(manager->pageSize(), c.pageSize);
        EXPECT_EQ(manager->totalRowNum(), c.rows);
        holder.computeNumberOfPages();
        EXPECT_EQ(manager->pageTotalNum(), c.pages);
    }
}

} // namespace

#include "RouteAndPagingTest.moc"

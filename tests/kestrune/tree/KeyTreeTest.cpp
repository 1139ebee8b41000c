#include <kestrune/AppNotifications.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/tree/DerazKeyLeafRows.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>
#include <kestrune/tree/KeyTreeItemDelegate.h>

#include <bastwick/platform/NotificationCenter.h>

#include "../data/StateTestHelpers.h"
#include "support/Alerts.h"
#include "support/LogCapture.h"
#include "support/RedisServer.h"
#include "support/StderrCapture.h"
#include "support/WaitFor.h"

#include <QtCore/QLoggingCategory>
#include <QtTest/QAbstractItemModelTester>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <gtest/gtest.h>
#include <pavisade/trees/OutlineView.h>

#include <memory>

namespace {

using TestSupport::closeAlerts;
using TestSupport::openAlerts;

TestSupport::RedisServer &server()
{
    return TestSupport::RedisServer::running();
}

void setKey(const QByteArray &key, int db = 0)
{
    server().command({"SET", key, "v"});
    if (db != 0)
        server().command({"MOVE", key, QByteArray::number(db)});
}

// A key tree over a registry and view state of its own, shown in a tree view and
// checked by the model tester throughout.
class KeyTreeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server().isRunning()) << qPrintable(server().error());
        server().flushAll();
        tree.setUniformRowHeights(true);
        tester = std::make_unique<QAbstractItemModelTester>(
            &model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.attachTreeView(&tree);
        tree.resize(300, 600);
        tree.show();
        QObject::connect(&model, &DerazKeysViewDataDelegate::connectFinished, [this](bool ok) {
            ++finished;
            lastOk = ok;
        });
    }
    void TearDown() override
    {
        closeAlerts();
        server().flushAll();
    }

    std::shared_ptr<DBProfile> profile(int port = -1)
    {
        return StateTest::derazProfile(server().host(), port < 0 ? server().port() : port);
    }

    bool connectAndWait(const std::shared_ptr<DBProfile> &p)
    {
        const int before = finished;
        model.connectToDBStoreWithProfile(p);
        EXPECT_TRUE(waitFor([&] { return finished > before; }, 20000));
        return lastOk;
    }

    QModelIndex dbIndex(int db) const { return model.index(db, 0, model.index(0, 0)); }

    StateTest::Preferences preferences;
    DataStoreBO registry{&preferences.preference};
    SimpleDBStateManager states{&registry};
    DerazKeysViewDataDelegate model{&registry, &states};
    Pavisade::OutlineView tree;
    std::unique_ptr<QAbstractItemModelTester> tester;
    int finished = 0;
    bool lastOk = false;
};

TEST_F(KeyTreeTest, ConnectShowsTheConnectionItsSixteenDatabasesAndTheirKeys)
{
    const QByteArray notUtf8("bad\xff\xfe", 5);
    for (const QByteArray &key : {QByteArray("user/1"), QByteArray("   "), notUtf8, QByteArray("plain")})
        setKey(key);
    setKey("elsewhere", 3);

    int completions = 0, statuses = 0;
    QObject context;
    Bastwick::NotificationCenter::defaultCenter().addObserver(&context, kConnectionCompletionMsg,
                                                              [&](const auto &) { ++completions; });
    Bastwick::NotificationCenter::defaultCenter().addObserver(&context, kDBConnectServerStatusMsg,
                                                              [&](const auto &) { ++statuses; });

    const auto p = profile();
    ASSERT_TRUE(connectAndWait(p));
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(statuses, 1);
    EXPECT_TRUE(openAlerts().isEmpty());

    ASSERT_EQ(model.rowCount(), 1);
    const auto connection = model.nodeForIndex(model.index(0, 0));
    EXPECT_EQ(connection->value("type").toString(), kStoreNode);
    EXPECT_EQ(connection->value("name").toString(), "deraz");
    EXPECT_EQ(connection->value("host").toString(), server().host());
    EXPECT_EQ(connection->value("ID").toLongLong(), p->connID());
    EXPECT_EQ(model.index(0, 0).data(KeyTreeItemDelegate::DetailRole).toString(),
              QStringLiteral("%1:%2").arg(server().host()).arg(server().port()));
    EXPECT_TRUE(tree.isExpanded(model.index(0, 0))) << "the connection opens on connect";

    ASSERT_EQ(model.rowCount(model.index(0, 0)), 16);
    const QString id = QString::number(p->connID());
    EXPECT_EQ(dbIndex(0).data().toString(), "DB0(4)") << "the count is the key list's, blank key included";
    EXPECT_EQ(dbIndex(3).data().toString(), "DB3(1)");
    EXPECT_EQ(dbIndex(15).data().toString(), "DB15(0)");
    EXPECT_EQ(model.nodeForIndex(dbIndex(0))->url(), id + "/DB0");
    EXPECT_EQ(model.rowCount(dbIndex(15)), 0);

    // Three keys shown: the blank one is not, and is not lost from the list either.
    ASSERT_EQ(model.rowCount(dbIndex(0)), 3);
    QMap<QByteArray, QString> urls;
    for (int row = 0; row < 3; ++row) {
        const QModelIndex key = model.index(row, 0, dbIndex(0));
        const auto node = model.nodeForIndex(key);
        EXPECT_EQ(node->value("type").toString(), kDerazKeyNode);
        EXPECT_FALSE(model.flags(key) & Qt::ItemIsEditable);
        EXPECT_FALSE(model.hasChildren(key));
        urls.insert(DerazKeysViewDataDelegate::keyOfNode(node), node->url());
    }
    EXPECT_EQ(urls.keys(), (QList<QByteArray>{"bad\xff\xfe", "plain", "user/1"}));
    EXPECT_EQ(urls.value("user/1"), id + "/DB0/user/1");
    EXPECT_EQ(DataStoreBO::keyNameByURL(urls.value(notUtf8)), notUtf8) << "non-UTF-8 bytes survive the URL";
    EXPECT_EQ(model.rowCount(dbIndex(3)), 1);

    tree.expand(dbIndex(0));
    EXPECT_EQ(tree.visualRect(model.index(0, 0)).height(), KeyTreeItemDelegate::kRowHeight);
    EXPECT_EQ(tree.visualRect(model.index(2, 0, dbIndex(0))).height(), KeyTreeItemDelegate::kRowHeight);
}

TEST(DerazKeyLeafRows, MapsShownRowsAroundBlankKeys)
{
    const DerazKeyList keys = DerazKeyList::fromList({" ", "a", "\t\n", "", "b", "c", "  "});
    DerazKeyLeafRows rows("1/DB0", keys);
    ASSERT_EQ(rows.childCount(), 3);
    EXPECT_EQ(rows.keyAt(0), "a");
    EXPECT_EQ(rows.keyAt(1), "b");
    EXPECT_EQ(rows.keyAt(2), "c");
    EXPECT_EQ(rows.childValue(1, "url").toString(), "1/DB0/b");
    EXPECT_EQ(rows.indexOfUrl("1/DB0/c"), 2);
    EXPECT_EQ(rows.indexOfUrl("1/DB0/ "), -1) << "a hidden key has no row";
    EXPECT_EQ(rows.indexOfUrl("1/DB1/c"), -1) << "a key of another database";
    EXPECT_EQ(rows.indexOfUrl("1/DB0"), -1);
    // A few urls are searched one by one, many in one pass over the keys: same answer.
    QSet<QString> urls{"1/DB0/c", "1/DB0/a", "1/DB0/ ", "1/DB1/b", "1/DB0", "junk"};
    EXPECT_EQ(rows.indexesOfUrls(urls), QList<qsizetype>({0, 2}));
    for (int i = 0; i < 10; ++i)
        urls.insert(QStringLiteral("1/DB2/k%1").arg(i));
    EXPECT_EQ(rows.indexesOfUrls(urls), QList<qsizetype>({0, 2}));
}

// Leaf rows that count how often a key's values are read.
class CountingKeyRows : public Pavisade::TreeLeafRows
{
public:
    qsizetype childCount() const override { return 1000; }
    QVariant childValue(qsizetype index, const QString &key) const override
    {
        ++reads;
        return key == QLatin1String("type") ? QVariant(kDerazKeyNode) : QVariant(QString::number(index));
    }
    mutable int reads = 0;
};

// The shown databases in row order: none under a collapsed connection, and an expanded
// database's keys neither listed nor read.
TEST(DerazKeysViewDataDelegate, ListsTheShownDatabasesInRowOrder)
{
    StateTest::Preferences preferences;
    DataStoreBO registry{&preferences.preference};
    SimpleDBStateManager states{&registry};
    DerazKeysViewDataDelegate model{&registry, &states};
    Pavisade::OutlineView tree;
    model.attachTreeView(&tree);
    const auto connection =
        Pavisade::TreeNode::createWithChildren({{"type", kStoreNode}, {"url", "1"}, {"name", "local"}});
    const auto keys = std::make_shared<CountingKeyRows>();
    for (int db = 0; db < 3; ++db) {
        const QString name = QStringLiteral("DB%1").arg(db);
        const auto node = Pavisade::TreeNode::createWithChildren(
            {{"type", kDerazNode}, {"url", "1/" + name}, {"name", name}});
        if (db == 1)
            node->setLeafRows(keys);
        connection->appendChild(node);
    }
    model.addData(connection);
    EXPECT_TRUE(model.databaseNodeURLs().isEmpty()) << "a collapsed connection shows no database";

    tree.expand(model.indexForNode(connection));
    tree.expand(model.indexForNode(connection->childNodes().at(1)));
    ASSERT_EQ(model.visibleRowCount(), 1 + 3 + 1000);
    EXPECT_EQ(model.databaseNodeURLs(), QStringList({"1/DB0", "1/DB1", "1/DB2"}));
    EXPECT_EQ(keys->reads, 0);
}

TEST_F(KeyTreeTest, AFailedConnectShowsOneAlertWithTheServerMessageAndPostsNothing)
{
    int posted = 0;
    QObject context;
    Bastwick::NotificationCenter::defaultCenter().addObserver(&context, kDBConnectServerStatusMsg,
                                                              [&](const auto &) { ++posted; });
    Bastwick::NotificationCenter::defaultCenter().addObserver(&context, kConnectionCompletionMsg,
                                                              [&](const auto &) { ++posted; });
    EXPECT_FALSE(connectAndWait(profile(TestSupport::RedisServer::freePort())));
    const auto alerts = openAlerts();
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_FALSE(alerts.first()->informativeText().isEmpty());
    EXPECT_EQ(posted, 0);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(KeyTreeTest, ReconnectingKeepsOneNodeWithFreshDatabases)
{
    setKey("a");
    const auto p = profile();
    ASSERT_TRUE(connectAndWait(p));
    setKey("b");
    ASSERT_TRUE(connectAndWait(p));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(dbIndex(0).data().toString(), "DB0(2)");
}

TEST_F(KeyTreeTest, RefreshKeepsExpandedDatabasesAndTheSelectedKey)
{
    setKey("k1");
    setKey("k2", 3);
    ASSERT_TRUE(connectAndWait(profile()));
    tree.expand(dbIndex(3));
    tree.expand(dbIndex(5));
    tree.collapse(dbIndex(5));
    const QModelIndex key = model.index(0, 0, dbIndex(3));
    tree.selectionModel()->setCurrentIndex(key,
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QString keyURL = model.nodeForIndex(key)->url();
    EXPECT_EQ(states.dbViewState()->currentNodeURL(), keyURL) << "selection reaches the view state";

    setKey("k3", 3);
    const int before = finished;
    model.refresh();
    ASSERT_TRUE(waitFor([&] { return finished > before; }, 20000));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_TRUE(tree.isExpanded(model.index(0, 0)));
    EXPECT_TRUE(tree.isExpanded(dbIndex(3)));
    EXPECT_FALSE(tree.isExpanded(dbIndex(5)));
    EXPECT_FALSE(tree.isExpanded(dbIndex(0)));
    EXPECT_EQ(model.rowCount(dbIndex(3)), 2);
    const QModelIndexList selected = tree.selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(model.nodeForIndex(selected.first())->url(), keyURL);
}

TEST_F(KeyTreeTest, SelectingADatabaseAnnouncesItAndClosingRemovesTheConnection)
{
    const auto p = profile();
    ASSERT_TRUE(connectAndWait(p));
    tree.selectionModel()->setCurrentIndex(dbIndex(2),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(states.dbViewState()->currentNodeURL(), QString::number(p->connID()) + "/DB2");
    EXPECT_EQ(model.databaseNodeURLs().size(), 16);

    registry.closeDataStoreByConnIDs({p->connID()});
    model.refresh();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(model.databaseNodeURLs().isEmpty());
    EXPECT_FALSE(model.findFirstDatabaseNode());

    // Closing one profile's node directly leaves the other connection's.
    const auto other = profile();
    other->setUsername(QStringLiteral("other"));
    other->urlFormat();
    ASSERT_TRUE(connectAndWait(p));
    ASSERT_TRUE(connectAndWait(other));
    ASSERT_EQ(model.rowCount(), 2);
    model.closeDBStoreWithProfile(p);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.nodeForIndex(model.index(0, 0))->value("ID").toLongLong(), other->connID());
}

TEST_F(KeyTreeTest, LookUpsFollowTheShownRowsAndACurrentNodeIsKept)
{
    // No rows at all.
    EXPECT_EQ(model.nodeItemIndex(QStringLiteral("1/DB0")), -1);
    EXPECT_TRUE(model.databaseNodeURLs().isEmpty());
    EXPECT_FALSE(model.findFirstTableNode());
    EXPECT_FALSE(model.findFirstDatabaseNode());
    EXPECT_TRUE(model.firstDatabaseNodeURL().isNull());

    setKey("k", 2);
    const auto p = profile();
    ASSERT_TRUE(connectAndWait(p));
    const QString id = QString::number(p->connID());
    // The connect gave the view state the first database shown (no key is shown yet).
    EXPECT_EQ(states.dbViewState()->currentNodeURL(), id + "/DB0");
    EXPECT_EQ(model.firstDatabaseNodeURL(), id + "/DB0");
    EXPECT_FALSE(model.findFirstTableNode()) << "keys of a collapsed database are no rows";
    EXPECT_EQ(model.nodeItemIndex(id + "/DB3"), 4);
    EXPECT_EQ(model.nodeItemIndex(id + "/DB2/k"), -1);

    tree.expand(dbIndex(2));
    ASSERT_TRUE(model.findFirstTableNode());
    EXPECT_EQ(model.findFirstTableNode()->url(), id + "/DB2/k");
    EXPECT_EQ(model.nodeItemIndex(id + "/DB2/k"), 4);
    EXPECT_EQ(model.nodeItemIndex(id + "/DB3"), 5);
    EXPECT_EQ(model.databaseNodeURLs().size(), 16);

    // A current node that no row carries stays, and selects nothing.
    states.dbViewState()->setCurrentNodeURL(id + "/DB9/gone");
    model.updateStateNodeURL();
    EXPECT_EQ(states.dbViewState()->currentNodeURL(), id + "/DB9/gone");
    tree.selectionModel()->clearSelection();
    model.updateNodeLastSelection();
    EXPECT_TRUE(tree.selectionModel()->selectedRows().isEmpty());
}

TEST_F(KeyTreeTest, AConnectKeepsTheUserNameAndPasswordOnlyWhenThePreferenceAllowsIt)
{
    const struct
    {
        bool allowed;
        QString user;
        QString expectedUser;
        QString expectedPassword;
    } cases[] = {{false, QStringLiteral("alice"), QStringLiteral("kept"), QStringLiteral("kept-secret")},
                 {true, QStringLiteral("bob"), QStringLiteral("bob"), QStringLiteral("pw-bob")}};
    // The connection keeps them in the application's preferences (the test's own
    // settings folder).
    AppPreference *stored = AppPreference::sharedPreference();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.allowed);
        stored->setAllowRemberPassword(c.allowed);
        stored->setMgUserName(QStringLiteral("kept"));
        stored->setMgPassword(QStringLiteral("kept-secret"));
        const auto p = profile();
        p->setUsername(c.user);
        p->setPassword(QStringLiteral("pw-") + c.user);
        p->urlFormat();
        ASSERT_TRUE(connectAndWait(p));
        EXPECT_EQ(stored->mgUserName(), c.expectedUser);
        EXPECT_EQ(stored->mgPassword(), c.expectedPassword);
    }
}

TEST_F(KeyTreeTest, NoLogLineAlertOrTitleShowsAPassword)
{
    const QByteArray password = "S3cretPW";
    TestSupport::RedisServer secured;
    TestSupport::RedisServer otherPassword;
    ASSERT_TRUE(secured.start()) << qPrintable(secured.error());
    ASSERT_TRUE(otherPassword.start()) << qPrintable(otherPassword.error());
    secured.command({"SET", "k", "v"});
    // Set after start: the fixture's readiness check is a PING without password.
    secured.command({"CONFIG", "SET", "requirepass", password});
    otherPassword.command({"CONFIG", "SET", "requirepass", "another"});
    const auto withPassword = [&](int port) {
        auto p = StateTest::derazProfile(server().host(), port);
        p->setUsername(QStringLiteral("alice"));
        p->setPassword(QString::fromLatin1(password));
        p->urlFormat();
        return p;
    };
    const auto p = withPassword(secured.port());
    ASSERT_TRUE(p->url().contains(QString::fromLatin1(password))) << "the profile URL carries it";

    // Every category of the application on, every line and every byte written to the
    // standard error kept, and the texts of every window and alert that opened.
    QLoggingCategory::setFilterRules(QStringLiteral("kestrune*=true"));
    QStringList shown;
    const auto noteShown = [&shown] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            shown << w->windowTitle();
            if (auto *box = qobject_cast<QMessageBox *>(w))
                shown << box->text() << box->informativeText() << box->detailedText();
        }
    };
    QStringList lines;
    QByteArray written;
    {
        TestSupport::StderrCapture stderrCapture;
        TestSupport::LogCapture log;

        ASSERT_TRUE(connectAndWait(p));
        const QModelIndex connection = model.index(0, 0);
        tree.expand(connection);
        tree.selectionModel()->setCurrentIndex(connection, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
        tree.expand(dbIndex(0));
        tree.selectionModel()->setCurrentIndex(
            model.index(0, 0, dbIndex(0)), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        tree.collapse(dbIndex(0));
        tree.collapse(connection);
        noteShown();

        const int before = finished;
        model.refresh();
        ASSERT_TRUE(waitFor([&] { return finished > before; }, 20000));
        ASSERT_TRUE(lastOk);

        // An unreachable server and a refused password, each with its alert.
        for (const int port : {TestSupport::RedisServer::freePort(), otherPassword.port()}) {
            EXPECT_FALSE(connectAndWait(withPassword(port)));
            ASSERT_TRUE(waitFor([] { return !openAlerts().isEmpty(); }));
            noteShown();
            closeAlerts();
        }

        registry.closeDataStoreByConnIDs({p->connID()});
        model.closeDBStoreWithProfile(p);
        EXPECT_EQ(model.rowCount(), 0);
        noteShown();
        lines = log.lines();
        written = stderrCapture.text();
    }
    QLoggingCategory::setFilterRules(QStringLiteral("kestrune.*.debug=true"));

    EXPECT_TRUE(lines.filter(QStringLiteral("alice:***@")).size() > 0)
        << "the connection's URL was logged, masked";
    for (const QString &line : lines)
        EXPECT_FALSE(line.contains(QString::fromLatin1(password))) << qPrintable(line);
    EXPECT_FALSE(written.contains(password)) << written.constData();
    for (const QString &text : shown)
        EXPECT_FALSE(text.contains(QString::fromLatin1(password))) << qPrintable(text);
}

} // namespace

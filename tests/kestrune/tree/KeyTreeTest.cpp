#include <kestrune/AppNotifications.h>
#include <kestrune/data/model/DBConnection.h>
#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBStore.h>
#include <kestrune/data/model/DBTable.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBImageCache.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/tree/DerazKeyLeafRows.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>
#include <kestrune/tree/KeyTreeItemDelegate.h>

#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/XXXRWResultSet.h>

#include <bastwick/platform/NotificationCenter.h>

#include "../data/StateTestHelpers.h"
#include "support/Alerts.h"
#include "support/LogCapture.h"
#include "support/RedisServer.h"
#include "support/StderrCapture.h"
#include "support/TempDir.h"
#include "support/WaitFor.h"

#include <QtCore/QLoggingCategory>
#include <QtGui/QIcon>
#include <QtTest/QAbstractItemModelTester>
#include <QtTest/QSignalSpy>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <gtest/gtest.h>
#include <pavisade/trees/OutlineView.h>

#include <memory>
#include <utility>

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

// --- Connections of another engine: local SQLite files as their databases ----------------

// A table of a local file with the row count read when the file was listed.
class CountedTable : public DBTable
{
public:
    CountedTable(const std::shared_ptr<DBDatabase> &db, const QString &name, qint64 count)
        : DBTable(db, name)
        , m_count(count)
    {
    }
    qint64 numberOfRecords() const override { return m_count; }

private:
    qint64 m_count = 0;
};

// One connection over local SQLite files: each file is a database named after it, its
// tables listed from the file with their row counts; the files named as system ones make
// system databases. An unreadable file fails the open.
struct LocalFiles
{
    QStringList files;
    QStringList systemFiles;
};

class LocalFilesConnection : public DBConnection
{
public:
    LocalFilesConnection(std::shared_ptr<DBProfile> profile, LocalFiles files)
        : DBConnection(std::move(profile))
        , m_files(std::move(files))
    {
    }

    bool open(Bastwick::Error *error) override
    {
        for (const QString &file : m_files.files) {
            const auto sqlite = XXXRWDatabase::databaseWithPath(file);
            if (!sqlite->openWithFlags(0x00000001 /* read only */)) {
                *error = Bastwick::Error{QStringLiteral("local"), 1, QStringLiteral("cannot open ") + file};
                return false;
            }
            auto db = std::make_shared<DBDatabase>(shared_from_this(), file);
            db->setIsSystemDB(m_files.systemFiles.contains(file));
            QStringList names;
            auto rs = sqlite->executeQuery(
                QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
            while (rs && rs->next())
                names.append(rs->stringForColumnIndex(0));
            if (rs)
                rs->close();
            DBDatabase::TableList tables;
            for (const QString &name : names) {
                auto count = sqlite->executeQuery(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(name));
                const qint64 rows = count && count->next() ? count->longLongIntForColumnIndex(0) : 0;
                if (count)
                    count->close();
                tables.append(std::make_shared<CountedTable>(db, name, rows));
            }
            db->setTables(tables);
            m_opened.append(db);
            m_databases.append(db);
        }
        return true;
    }
    // As a real connection: the databases hold the connection, so it keeps them strongly
    // only until the store takes them, and weakly after.
    DatabaseList databases() const override
    {
        DatabaseList out;
        for (const auto &weak : m_databases)
            if (auto db = weak.lock())
                out.append(db);
        return out;
    }
    DatabaseList takeDatabases() override { return std::exchange(m_opened, {}); }

private:
    LocalFiles m_files;
    DatabaseList m_opened;
    QList<std::weak_ptr<DBDatabase>> m_databases;
};

class LocalFilesStore : public DBStore
{
public:
    LocalFilesStore(std::shared_ptr<DBProfile> profile, LocalFiles files)
        : DBStore(std::move(profile))
        , m_files(std::move(files))
    {
    }
    std::shared_ptr<DBConnection> newConnection(std::shared_ptr<DBProfile> profile) const override
    {
        return std::make_shared<LocalFilesConnection>(std::move(profile), m_files);
    }

private:
    LocalFiles m_files;
};

void makeSQLiteFile(const QString &path, const QList<QPair<QString, int>> &tables)
{
    const auto sqlite = XXXRWDatabase::databaseWithPath(path);
    ASSERT_TRUE(sqlite->open());
    for (const auto &[name, rows] : tables) {
        ASSERT_TRUE(sqlite->executeUpdate(QStringLiteral("CREATE TABLE \"%1\" (v)").arg(name)));
        for (int i = 0; i < rows; ++i)
            ASSERT_TRUE(
                sqlite->executeUpdate(QStringLiteral("INSERT INTO \"%1\" VALUES (?)").arg(name), {i}));
    }
    sqlite->close();
}

QImage iconImage(const QVariant &decoration)
{
    return decoration.value<QIcon>().pixmap(16, 16).toImage();
}

QImage namedImage(const QString &name)
{
    return QIcon(QPixmap::fromImage(SimpleDBImageCache::imageNamed(name))).pixmap(16, 16).toImage();
}

std::shared_ptr<DBProfile> profileOfScheme(const QString &scheme, const QString &host, qint64 port)
{
    auto p = StateTest::derazProfile(host, port);
    p->setScheme(scheme);
    p->urlFormat();
    return p;
}

class OtherEngineTreeTest : public KeyTreeTest
{
protected:
    void SetUp() override
    {
        KeyTreeTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        makeSQLiteFile(dir.path("shop.sqlite"), {{"orders", 3}, {"items", 0}});
        makeSQLiteFile(dir.path("catalog.sqlite"), {{"schema", 2}});
    }

    std::shared_ptr<DBProfile> localProfile()
    {
        auto p = profileOfScheme(QStringLiteral("local"), QStringLiteral("localhost"), 0);
        registry.cacheDBStore(p, std::make_shared<LocalFilesStore>(
                                     p, LocalFiles{{dir.path("shop.sqlite"), dir.path("catalog.sqlite")},
                                                   {dir.path("catalog.sqlite")}}));
        return p;
    }

    TestSupport::TempDir dir;
};

TEST_F(OtherEngineTreeTest, AConnectionOfAnotherEngineShowsItsDatabasesAndTables)
{
    int statuses = 0;
    QObject context;
    Bastwick::NotificationCenter::defaultCenter().addObserver(&context, kDBConnectServerStatusMsg,
                                                              [&](const auto &) { ++statuses; });
    const auto p = localProfile();
    ASSERT_TRUE(connectAndWait(p));
    EXPECT_EQ(statuses, 1);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.nodeForIndex(model.index(0, 0))->value("name").toString(), "local");
    ASSERT_EQ(model.rowCount(model.index(0, 0)), 2);
    const QString id = QString::number(p->connID());

    const struct
    {
        int row;
        QString name;
        bool isSys;
        QString icon;
        QList<QPair<QString, QString>> tables; // name, count
        QString tableIcon;
    } cases[] = {
        {0, "shop.sqlite", false, "DBDatabase", {{"items", "0"}, {"orders", "3"}}, "DBDocs"},
        {1, "catalog.sqlite", true, "DBDatabase-Sys", {{"schema", "2"}}, "DBTable-Sys"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QModelIndex db = dbIndex(c.row);
        const auto node = model.nodeForIndex(db);
        EXPECT_EQ(node->value("type").toString(), kDatabaseNode);
        EXPECT_EQ(db.data().toString(), c.name) << "the last path component of the database name";
        EXPECT_EQ(node->value("isSys").toBool(), c.isSys);
        EXPECT_EQ(node->url(), id + "/" + c.name);
        EXPECT_EQ(iconImage(db.data(Qt::DecorationRole)), namedImage(c.icon));
        ASSERT_EQ(model.rowCount(db), c.tables.size());
        for (int t = 0; t < c.tables.size(); ++t) {
            const QModelIndex table = model.index(t, 0, db);
            const auto tableNode = model.nodeForIndex(table);
            EXPECT_EQ(tableNode->value("type").toString(), kTableNode);
            EXPECT_EQ(table.data().toString(), c.tables[t].first);
            EXPECT_EQ(table.data(KeyTreeItemDelegate::DetailRole).toString(), c.tables[t].second);
            EXPECT_EQ(tableNode->url(), id + "/" + c.name + "/" + c.tables[t].first);
            EXPECT_EQ(iconImage(table.data(Qt::DecorationRole)), namedImage(c.tableIcon));
            EXPECT_FALSE(model.hasChildren(table));
        }
    }

    // Only shown rows of kind "Database" count.
    EXPECT_EQ(model.databaseNumbers(), 2);
    tree.collapse(model.index(0, 0));
    EXPECT_EQ(model.databaseNumbers(), 0);
    tree.expand(model.index(0, 0));
    tree.expand(dbIndex(0));
    tree.selectionModel()->setCurrentIndex(model.index(1, 0, dbIndex(0)),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(states.dbViewState()->currentNodeURL(), id + "/shop.sqlite/orders") << "a table is a unit";
}

TEST_F(OtherEngineTreeTest, DerazDatabasesAreNotCountedAsDatabases)
{
    ASSERT_TRUE(connectAndWait(profile()));
    ASSERT_TRUE(connectAndWait(localProfile()));
    tree.expand(model.index(1, 0));
    EXPECT_EQ(model.databaseNodeURLs().size(), 18);
    EXPECT_EQ(model.databaseNumbers(), 2);
}

TEST_F(OtherEngineTreeTest, TheLocalFileRootAndItsTablesAreBuiltFromTheProfile)
{
    // The local-file edition's builders: the root is named after the profile's file and
    // lists the tables of its one database.
    auto p = profileOfScheme(QStringLiteral("local"), QStringLiteral("localhost"), 7);
    p->setUrl(QStringLiteral("local://localhost/") + dir.path("shop.sqlite"));
    p->setConnID(42);
    const auto root = model.connectionDBRootMap(p);
    EXPECT_EQ(root->value("name").toString(), "shop.sqlite");
    EXPECT_EQ(root->value("type").toString(), kDatabaseNode);
    EXPECT_EQ(root->value("host").toString(), "localhost");
    EXPECT_EQ(root->value("port").toLongLong(), 7);
    EXPECT_EQ(root->value("ID").toLongLong(), 42);
    EXPECT_EQ(root->url(), "42/shop.sqlite");

    auto shared = std::make_shared<LocalFilesConnection>(p, LocalFiles{{dir.path("shop.sqlite")}, {}});
    Bastwick::Error error;
    ASSERT_TRUE(shared->open(&error));
    const auto db = shared->takeDatabases().value(0);
    const auto tables = model.tableTreeNodeWithDBProfile(p, db);
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(tables[1]->value("name").toString(), "orders");
    EXPECT_EQ(tables[1]->value("count").toString(), "3");
    EXPECT_EQ(tables[1]->url(), "42/" + db->name() + "/orders") << "the database's own name, not shortened";

    for (const auto &table : tables)
        root->appendChild(table);
    model.addData(root);
    tree.expand(model.index(0, 0));
    EXPECT_EQ(model.databaseNumbers(), 1);
    EXPECT_EQ(iconImage(model.index(0, 0).data(Qt::DecorationRole)), namedImage("DBDatabase"));
    EXPECT_EQ(model.index(1, 0, model.index(0, 0)).data(KeyTreeItemDelegate::DetailRole).toString(), "3");
}

TEST_F(KeyTreeTest, ConnectionRowsShowTheLookOfTheirScheme)
{
    const struct
    {
        QString scheme;
        QString text;
        QString detail;
        QString icon;
    } cases[] = {
        {"sqlite", "SQLite", "", "DBDocs"},
        {"mysql", "mysql", "db.example:3306", "mysql-node"},
        {"postgres", "postgres", "db.example:3306", "postgresql-node"},
        {"deraz", "deraz", "db.example:3306", "deraz"},
        {"other", "other", "db.example:3306", "deraz"},
    };
    qint64 id = 100;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.scheme.toStdString());
        auto p = profileOfScheme(c.scheme, QStringLiteral("db.example"), 3306);
        p->setConnID(++id);
        model.addData(model.connectionStoreRootMap(p));
        const QModelIndex row = model.index(model.rowCount() - 1, 0);
        EXPECT_EQ(row.data().toString(), c.text);
        EXPECT_EQ(row.data(KeyTreeItemDelegate::DetailRole).toString(), c.detail);
        const QImage icon = iconImage(row.data(Qt::DecorationRole));
        EXPECT_FALSE(icon.isNull());
        EXPECT_EQ(icon, namedImage(c.icon));
    }
}

TEST_F(KeyTreeTest, RefreshingAShownNodeRedrawsItFromTheKeptDatabases)
{
    setKey("a");
    const auto p = profile();
    ASSERT_TRUE(connectAndWait(p));
    const QString dbURL = QString::number(p->connID()) + "/DB0";
    states.dbViewState()->setCurrentNodeURL(QString());
    const auto before = model.nodeForIndex(dbIndex(0));
    int completions = 0;
    QObject context;
    Bastwick::NotificationCenter::defaultCenter().addObserver(&context, kConnectionCompletionMsg,
                                                              [&](const auto &) { ++completions; });

    // The row is shown: the store keeps its databases, the row is redrawn, the Deraz
    // children stay, nothing is posted, and the view state gets a current node again.
    setKey("b");
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.refreshWithNodeURL(dbURL);
    ASSERT_TRUE(waitFor([&] { return !changed.isEmpty(); }, 20000));
    EXPECT_EQ(changed.first().at(0).toModelIndex(), dbIndex(0));
    EXPECT_EQ(reset.size(), 0);
    EXPECT_EQ(model.nodeForIndex(dbIndex(0)), before);
    EXPECT_EQ(dbIndex(0).data().toString(), "DB0(1)") << "the kept databases, not the server's";
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(states.dbViewState()->currentNodeURL(), dbURL);

    // A node no row shows: the profile connects anew and the new key shows.
    const int finishedBefore = finished;
    model.refreshWithNodeURL(dbURL + "/a");
    ASSERT_TRUE(waitFor([&] { return finished > finishedBefore; }, 20000));
    EXPECT_EQ(dbIndex(0).data().toString(), "DB0(2)");
    EXPECT_EQ(completions, 1);

    // A node URL of no registered profile does nothing.
    model.refreshWithNodeURL(QStringLiteral("999/DB0"));
    EXPECT_EQ(model.rowCount(), 1);
}

} // namespace

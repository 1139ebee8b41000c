#include "StateTestHelpers.h"

#include <kestrune/data/DataClasses.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/deraz/DerazStore.h>
#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/records/DBProfileDAO.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBState.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>

#include <corbelan/services/XXXTablePageControll.h>

#include <bastwick/ByteText.h>

#include "support/FreshLocalStore.h"
#include "support/RedisServer.h"
#include "support/TestSetup.h"

#include <gtest/gtest.h>

#include <QtCore/QThread>

#include <algorithm>

namespace {

static TestSupport::SetupHook registerClasses([] { Kestrune::registerDataClasses(); });

TEST(DataStoreBO, NodeURLParts)
{
    struct Case
    {
        QString url;
        qint64 connID;
        QString dbName; // "<null>" for none
        QString table;  // "<null>" for none
        QString dbURL;  // "<null>" for none
    };
    const QString none = QStringLiteral("<null>");
    const Case cases[] = {
        {"12/DB3/k", 12, "DB3", "k", "12/DB3"},
        {"12/DB3", 12, "DB3", none, "12/DB3"},
        {"12", 12, none, none, none},
        {"12/", 12, "", none, "12/"},
        {"abc/DB0", 0, "DB0", none, "abc/DB0"},
        {"", 0, none, none, none},
        // Keys may hold "/": everything after the second separator is the key.
        {"12/DB3/a/b", 12, "DB3", "a/b", "12/DB3"},
        {"7/DB0/user:1/profile/", 7, "DB0", "user:1/profile/", "7/DB0"},
        {"7/DB0/", 7, "DB0", "", "7/DB0"},
        {"99999999999999999999/DB0", 0, "DB0", none, "99999999999999999999/DB0"},
    };
    auto orNone = [&](const QString &s) { return s.isNull() ? none : s; };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url.toStdString());
        EXPECT_EQ(DataStoreBO::connIDByNodeURL(c.url), c.connID);
        EXPECT_EQ(orNone(DataStoreBO::dbNameByURL(c.url)), c.dbName);
        EXPECT_EQ(orNone(DataStoreBO::tableNameByURL(c.url)), c.table);
        EXPECT_EQ(orNone(DataStoreBO::dbStoreURLFromNodeURL(c.url)), c.dbURL);
    }
    EXPECT_EQ(DataStoreBO::connIDByNodeURL(QString()), 0);
    EXPECT_TRUE(DataStoreBO::dbNameByURL(QString()).isNull());
}

TEST(DataStoreBO, KeyBytesTravelLosslesslyThroughNodeURLs)
{
    const QByteArray keys[] = {
        QByteArray("plain"),
        QByteArray("a/b/c"),
        QByteArray("with blank"),
        QByteArray("caf\xc3\xa9"),
        QByteArray("\xff\xfe/\x80 raw", 9),
        QByteArray("nul\0byte", 8),
    };
    for (const QByteArray &key : keys) {
        SCOPED_TRACE(key.toHex().toStdString());
        const QString url = DataStoreBO::keyNodeURL(QStringLiteral("3/DB0"), key);
        EXPECT_EQ(DataStoreBO::keyNameByURL(url), key);
        EXPECT_EQ(DataStoreBO::dbStoreURLFromNodeURL(url), QStringLiteral("3/DB0"));
        EXPECT_EQ(DataStoreBO::connIDByNodeURL(url), 3);
    }
}

TEST(DataStoreBO, ConnectionIdentifiers)
{
    StateTest::Preferences prefs;
    DataStoreBO registry(&prefs.preference);

    auto first = StateTest::derazProfile("10.0.0.1", 6379);
    first->setID(41); // a stored row key: never replaced
    auto store = registry.dbStoreWithDBProfile(first);
    ASSERT_NE(store, nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<DerazStore>(store), nullptr);
    EXPECT_EQ(first->connID(), 1);
    EXPECT_EQ(first->ID(), 41);

    // Another object with the same profile URL shares the identifier and the store.
    auto same = StateTest::derazProfile("10.0.0.1", 6379);
    EXPECT_EQ(registry.dbStoreWithDBProfile(same), store);
    EXPECT_EQ(same->connID(), 1);

    // A different host or port gets the next identifier.
    auto otherPort = StateTest::derazProfile("10.0.0.1", 6380);
    auto otherHost = StateTest::derazProfile("10.0.0.2", 6379);
    auto otherPortStore = registry.dbStoreWithDBProfile(otherPort);
    EXPECT_EQ(otherPort->connID(), 2);
    EXPECT_NE(otherPortStore, store);
    registry.dbStoreWithDBProfile(otherHost);
    EXPECT_EQ(otherHost->connID(), 3);

    // A scheme without a container: no store, but registered with a new identifier.
    auto mysql = StateTest::derazProfile("10.0.0.3", 3306);
    mysql->setScheme(kMySQLURLScheme);
    mysql->urlFormat();
    EXPECT_EQ(registry.dbStoreWithDBProfile(mysql), nullptr);
    EXPECT_EQ(mysql->connID(), 4);
    EXPECT_EQ(registry.dataStoreProfiles().size(), 4);
    EXPECT_TRUE(registry.dataStoreProfiles().contains(mysql));

    // Local-file profiles are not taken.
    auto sqlite = std::make_shared<DBProfile>();
    sqlite->setScheme(kSQLiteURLScheme);
    sqlite->setUrl(QStringLiteral("/tmp/a.sqlite"));
    EXPECT_EQ(registry.dbStoreWithDBProfile(sqlite), nullptr);
    EXPECT_EQ(sqlite->connID(), 0);
    EXPECT_EQ(registry.dataStoreProfiles().size(), 4);

    // Nor are profiles whose URL was never formed: they would share one empty key.
    for (const char *host : {"10.0.0.8", "10.0.0.9"}) {
        auto bare = std::make_shared<DBProfile>();
        bare->setScheme(kDerazURLScheme);
        bare->setHost(QString::fromLatin1(host));
        bare->setPort(6379);
        EXPECT_EQ(registry.dbStoreWithDBProfile(bare), nullptr) << host;
        EXPECT_EQ(bare->connID(), 0) << host;
    }
    EXPECT_EQ(registry.dataStoreProfiles().size(), 4);

    // Look-ups by node URL.
    EXPECT_EQ(registry.dbStoreByNodeURL(QStringLiteral("1/DB0/k")), store);
    EXPECT_EQ(registry.profileByNodeURL(QStringLiteral("2")), otherPort);
    EXPECT_EQ(registry.dbSchemaByNodeURL(QStringLiteral("1/DB0")), kDerazURLScheme);
    EXPECT_EQ(registry.dbStoreByNodeURL(QStringLiteral("4/DB0")), nullptr);
    EXPECT_TRUE(registry.dbSchemaByNodeURL(QStringLiteral("9")).isNull());
    EXPECT_EQ(registry.databaseByNodeURL(QString()), nullptr);
    EXPECT_EQ(registry.databaseByNodeURL(QStringLiteral("1/DB0")), nullptr); // not loaded
    EXPECT_EQ(registry.databaseByNodeURL(QStringLiteral("9/DB0")), nullptr);
    EXPECT_EQ(registry.tableByNodeURL(QStringLiteral("1/DB0/t")), nullptr);
    EXPECT_EQ(DataStoreBO::dbNodeURLWithStore(*store, QStringLiteral("DB5")), QStringLiteral("1/DB5"));

    // Closing drops the registration; registering again gives the next identifier.
    registry.closeDataStoreByProfile(same); // another object with the registered url
    EXPECT_EQ(registry.dbStoreByNodeURL(QStringLiteral("1")), nullptr);
    EXPECT_EQ(registry.dataStoreProfiles().size(), 3);
    auto again = registry.dbStoreWithDBProfile(first);
    EXPECT_EQ(first->connID(), 5);
    EXPECT_NE(again, store);

    registry.closeDataStoreByConnIDs({QVariant(qint64(2)), QVariant(QStringLiteral("5")), QVariant(77)});
    EXPECT_EQ(registry.dbStoreByNodeURL(QStringLiteral("2")), nullptr);
    EXPECT_EQ(registry.dbStoreByNodeURL(QStringLiteral("5")), nullptr);
    EXPECT_EQ(registry.dataStoreProfiles(), (QList<std::shared_ptr<DBProfile>>{otherHost, mysql}));
    registry.closeDataStoreByProfiles({otherHost, mysql});
    EXPECT_TRUE(registry.dataStoreProfiles().isEmpty());

    // The built-in local-file profile takes an identifier on its first read only.
    const auto local = registry.sqliteProfile();
    EXPECT_EQ(local->connID(), 6);
    EXPECT_EQ(local->url(), QStringLiteral("sqlite-node"));
    EXPECT_EQ(registry.sqliteProfile(), local);
    EXPECT_EQ(registry.generateConnectionID(), 7);
}

TEST(DataStoreBO, ClosesAProfileByTheURLItWasRegisteredUnder)
{
    StateTest::Preferences prefs;
    DataStoreBO registry(&prefs.preference);

    auto profile = StateTest::derazProfile("10.0.0.1", 6379);
    auto store = registry.dbStoreWithDBProfile(profile);
    ASSERT_NE(store, nullptr);
    const qint64 id = profile->connID();
    const QString registeredURL = profile->url();

    // The user edits the profile after it connected: its URL is no longer the one it
    // was registered under, and its identifier field may be changed too.
    profile->setHost(QStringLiteral("10.0.0.2"));
    profile->urlFormat();
    ASSERT_NE(profile->url(), registeredURL);
    profile->setConnID(99);

    registry.closeDataStoreByProfile(profile);
    EXPECT_TRUE(registry.dataStoreProfiles().isEmpty());
    EXPECT_EQ(registry.dbStoreByNodeURL(QString::number(id)), nullptr);
    EXPECT_EQ(registry.findProfileByURLString(registeredURL), nullptr);

    // A reconnect with the old URL is a new registration, with a new identifier.
    auto reconnect = StateTest::derazProfile("10.0.0.1", 6379);
    ASSERT_EQ(reconnect->url(), registeredURL);
    auto again = registry.dbStoreWithDBProfile(reconnect);
    EXPECT_NE(reconnect->connID(), id);
    EXPECT_NE(again, store);
}

// The clients connected to the server, apart from the one asking.
int otherClients(const TestSupport::RedisServer &server)
{
    const QByteArray list = server.command({"CLIENT", "LIST"});
    return int(list.count("id=")) - 1;
}

TEST(DataStoreBO, OneProfileObjectConnectedToTwoServersClosesEachConnectionAsItself)
{
    // The quick-connect form keeps one profile object and the values typed last: connect
    // to server A, then through the same object to server B, then close one of the two.
    TestSupport::RedisServer serverA, serverB;
    ASSERT_TRUE(serverA.start()) << serverA.error().toStdString();
    ASSERT_TRUE(serverB.start()) << serverB.error().toStdString();
    for (const bool closeFirst : {true, false}) {
        SCOPED_TRACE(closeFirst ? "closing A" : "closing B");
        StateTest::Preferences prefs;
        DataStoreBO registry(&prefs.preference);
        auto form = StateTest::derazProfile(serverA.host(), serverA.port());
        const auto storeA = registry.dbStoreWithDBProfile(form);
        ASSERT_NE(storeA, nullptr);
        ASSERT_FALSE(StateTest::fetch(storeA).has_value());
        const qint64 idA = form->connID();
        form->setPort(serverB.port());
        form->urlFormat();
        const auto storeB = registry.dbStoreWithDBProfile(form);
        ASSERT_NE(storeB, nullptr);
        ASSERT_FALSE(StateTest::fetch(storeB).has_value());
        const qint64 idB = form->connID();
        ASSERT_NE(idA, idB);

        struct Connection
        {
            qint64 id;
            std::shared_ptr<DBStore> store;
            const TestSupport::RedisServer *server;
        };
        const Connection a{idA, storeA, &serverA}, b{idB, storeB, &serverB};
        for (const Connection &c : {a, b}) {
            const QString node = QString::number(c.id);
            EXPECT_EQ(registry.dbStoreByNodeURL(node), c.store);
            const auto profile = registry.profileByNodeURL(node);
            ASSERT_NE(profile, nullptr);
            EXPECT_EQ(profile->port(), c.server->port());
            EXPECT_EQ(profile->connID(), c.id);
            EXPECT_EQ(DataStoreBO::dbNodeURLWithStore(*c.store, QStringLiteral("DB0")), node + "/DB0");
            EXPECT_EQ(registry.findProfileByURLString(profile->url()), profile);
            EXPECT_TRUE(waitFor([&] { return otherClients(*c.server) == 1; }, 10000));
        }

        const Connection &closed = closeFirst ? a : b;
        const Connection &kept = closeFirst ? b : a;
        registry.closeDataStoreByConnIDs({QVariant(closed.id)});
        EXPECT_EQ(registry.dbStoreByNodeURL(QString::number(closed.id)), nullptr);
        EXPECT_EQ(registry.profileByNodeURL(QString::number(closed.id)), nullptr);
        EXPECT_EQ(registry.dbStoreByNodeURL(QString::number(kept.id)), kept.store);
        EXPECT_TRUE(waitFor([&] { return otherClients(*closed.server) == 0; }, 10000))
            << "the closed connection is gone from its server";
        EXPECT_EQ(otherClients(*kept.server), 1) << "the other connection stays open";

        // What a refresh does: every registered profile connects again, under the
        // identifier and with the store it has.
        const auto profiles = registry.dataStoreProfiles();
        ASSERT_EQ(profiles.size(), 1);
        EXPECT_EQ(profiles.first()->port(), kept.server->port());
        EXPECT_EQ(registry.dbStoreWithDBProfile(profiles.first()), kept.store);
        EXPECT_EQ(profiles.first()->connID(), kept.id);

        registry.closeDataStoreByConnIDs({QVariant(kept.id)});
        EXPECT_TRUE(registry.dataStoreProfiles().isEmpty());
        EXPECT_TRUE(waitFor([&] { return otherClients(*kept.server) == 0; }, 10000));
    }
}

TEST(DataStoreBO, RegistrationFromManyThreads)
{
    StateTest::Preferences prefs;
    DataStoreBO registry(&prefs.preference);
    constexpr int kThreads = 8;
    constexpr int kEach = 40;
    constexpr int kHosts = 5;
    QList<QList<std::pair<QString, qint64>>> seen(kThreads);
    QList<QThread *> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.append(QThread::create([&registry, &seen, t] {
            for (int i = 0; i < kEach; ++i) {
                auto profile =
                    StateTest::derazProfile(QStringLiteral("10.1.0.%1").arg((t + i) % kHosts), 6379);
                const auto store = registry.dbStoreWithDBProfile(profile);
                seen[t].append({profile->url(), store ? profile->connID() : -1});
                (void)registry.databaseByNodeURL(QStringLiteral("%1/DB0").arg(profile->connID()));
            }
        }));
        threads.last()->start();
    }
    for (QThread *thread : threads) {
        thread->wait();
        delete thread;
    }
    QHash<QString, qint64> idByURL;
    for (const auto &list : seen) {
        for (const auto &[url, id] : list) {
            ASSERT_GT(id, 0);
            EXPECT_EQ(idByURL.value(url, id), id) << "one identifier per profile URL";
            idByURL.insert(url, id);
        }
    }
    EXPECT_EQ(idByURL.size(), kHosts);
    QList<qint64> ids = idByURL.values();
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (QList<qint64>{1, 2, 3, 4, 5}));
    EXPECT_EQ(registry.dataStoreProfiles().size(), kHosts);
}

TEST(DataStoreBO, ConnectionNodes)
{
    StateTest::Preferences prefs;
    DataStoreBO registry(&prefs.preference);
    EXPECT_FALSE(registry.findConnectionNodeByURLString(QString()).isValid());
    registry.cacheConnectionNode(QStringLiteral("4"), QStringLiteral("node four"));
    EXPECT_EQ(registry.findConnectionNodeByURLString(QStringLiteral("4")).toString(),
              QStringLiteral("node four"));
    EXPECT_EQ(registry.connectionNodeByID(4).toString(), QStringLiteral("node four"));
    EXPECT_EQ(registry.connectionNodeByNodeURL(QStringLiteral("4/DB1/k")).toString(),
              QStringLiteral("node four"));
    registry.closeDataStore(QStringLiteral("4"));
    EXPECT_FALSE(registry.connectionNodeByID(4).isValid());
    EXPECT_FALSE(registry.findConnectionNodeByURLString(QStringLiteral("4")).isValid());
}

TEST(DataStoreBO, PageControllersPerURL)
{
    StateTest::Preferences prefs;
    prefs.preference.setPageSize(50);
    DataStoreBO registry(&prefs.preference);
    registry.dbStoreWithDBProfile(StateTest::derazProfile("10.0.0.1", 6379));

    const auto a = registry.tablePageControllWithURL(QStringLiteral("1/DB0/t"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->pageManager()->pageSize(), 50);
    EXPECT_EQ(a->pageManager()->totalRowNum(), 0); // no table is ever listed on Deraz
    EXPECT_EQ(registry.tablePageControllWithURL(QStringLiteral("1/DB0/t")), a);
    EXPECT_NE(registry.tablePageControllWithURL(QStringLiteral("1/DB0/u")), a);

    // The page size is read on every call.
    prefs.preference.setPageSize(0);
    EXPECT_EQ(registry.tablePageControllWithURL(QStringLiteral("1/DB0/t"))->pageManager()->pageSize(), 20);

    const auto q1 =
        registry.queryPageControllWithURL(QStringLiteral("1/DB0"), QStringLiteral("select * from t"));
    const auto q2 =
        registry.queryPageControllWithURL(QStringLiteral("1/DB0"), QStringLiteral("select * from t"));
    ASSERT_NE(q1, nullptr);
    EXPECT_NE(q1, q2);
    EXPECT_EQ(q1->pageManager()->totalRowNum(), 0);
    EXPECT_NE(registry.queryCollectionPageControllWithURL(QStringLiteral("1/DB0"), {}, {}), nullptr);
}

// Against a real server and the local database opened from the build's seed.
class RegistryWithServer : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        auto &server = TestSupport::RedisServer::shared();
        ASSERT_TRUE(server.isRunning() || server.start()) << server.error().toStdString();
    }

    void SetUp() override
    {
        ASSERT_TRUE(store.open());
        TestSupport::RedisServer::shared().flushAll();
        auto dao = DBProfileDAO::create();
        ASSERT_NE(dao, nullptr);
        dao->clearAll();
    }

    std::shared_ptr<DBProfile> serverProfile(const QString &database = {})
    {
        const auto &server = TestSupport::RedisServer::shared();
        return StateTest::derazProfile(server.host(), server.port(), database);
    }

    TestSupport::FreshLocalStore store;
    StateTest::Preferences prefs;
    DataStoreBO registry{&prefs.preference};
};

TEST_F(RegistryWithServer, ProfileRowsStayTheirOwnAfterConnecting)
{
    auto other = serverProfile(QStringLiteral("other"));
    other->setName(QStringLiteral("other"));
    auto mine = serverProfile();
    mine->setName(QStringLiteral("mine"));
    ASSERT_TRUE(other->save());
    ASSERT_TRUE(mine->save());
    const qint64 otherRow = other->ID();
    const qint64 myRow = mine->ID();
    ASSERT_NE(otherRow, myRow);

    // The first registration: its connection identifier equals the other profile's row
    // key, the case where a shared field would make the saves below hit the wrong row.
    auto store = registry.dbStoreWithDBProfile(mine);
    ASSERT_NE(store, nullptr);
    ASSERT_EQ(mine->connID(), 1);
    ASSERT_EQ(otherRow, 1);
    EXPECT_EQ(mine->ID(), myRow);
    ASSERT_FALSE(StateTest::fetch(store).has_value());

    // Node URLs and databases use the connection identifier.
    const auto db3 = registry.databaseByNodeURL(QStringLiteral("1/DB3/some/key"));
    ASSERT_NE(db3, nullptr);
    EXPECT_EQ(db3->name(), QStringLiteral("DB3"));
    EXPECT_EQ(db3->connID(), 1);
    EXPECT_EQ(registry.databaseByNodeURL(QStringLiteral("1/DB99")), nullptr);
    EXPECT_EQ(registry.databaseByNodeURL(QStringLiteral("1")), nullptr);

    // Saving, updating and deleting touch this profile's own row.
    mine->setAlias(QStringLiteral("renamed"));
    ASSERT_TRUE(mine->save());
    mine->setAutoLogin(true);
    ASSERT_TRUE(mine->update());
    auto dao = DBProfileDAO::create();
    auto rows = dao->findAllProfiles();
    ASSERT_EQ(rows.size(), 2);
    for (const auto &row : rows) {
        if (row->ID() == myRow) {
            EXPECT_EQ(row->alias(), QStringLiteral("renamed"));
            EXPECT_TRUE(row->autoLogin());
        } else {
            EXPECT_EQ(row->ID(), otherRow);
            EXPECT_EQ(row->name(), QStringLiteral("other"));
            EXPECT_TRUE(row->alias().isEmpty());
        }
    }
    ASSERT_TRUE(mine->deleteProfile());
    rows = dao->findAllProfiles();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first()->ID(), otherRow);
}

TEST_F(RegistryWithServer, ReconnectResetsTheStoresOfConnectionNodes)
{
    EXPECT_TRUE(registry.reConnect().isEmpty()); // no nodes

    auto first = registry.dbStoreWithDBProfile(serverProfile());
    auto second = registry.dbStoreWithDBProfile(serverProfile(QStringLiteral("second")));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_FALSE(StateTest::fetch(first).has_value());
    ASSERT_FALSE(StateTest::fetch(second).has_value());
    const auto heldDatabase = registry.databaseByNodeURL(QStringLiteral("1/DB0"));
    ASSERT_NE(heldDatabase, nullptr);

    // Nodes of connection 1 (twice), and of an identifier without a store; none of 2.
    registry.cacheConnectionNode(QStringLiteral("1"), QStringLiteral("connection one"));
    registry.cacheConnectionNode(QStringLiteral("1/DB0"), QStringLiteral("database node"));
    registry.cacheConnectionNode(QStringLiteral("9"), QStringLiteral("nothing registered"));
    EXPECT_EQ(registry.reConnect(), QList<qint64>{1});
    EXPECT_FALSE(first->isLoaded());
    EXPECT_EQ(registry.databaseByNodeURL(QStringLiteral("1/DB0")), nullptr);
    EXPECT_TRUE(second->isLoaded());
    // The registry keeps its entries; a database already handed out stays usable.
    EXPECT_EQ(registry.dbStoreByNodeURL(QStringLiteral("1")), first);
    EXPECT_EQ(registry.findConnectionNodeByURLString(QStringLiteral("1")).toString(),
              QStringLiteral("connection one"));
    EXPECT_EQ(heldDatabase->name(), QStringLiteral("DB0"));

    // The next fetch connects anew.
    ASSERT_FALSE(StateTest::fetch(first).has_value());
    EXPECT_TRUE(first->isLoaded());
    const auto fresh = registry.databaseByNodeURL(QStringLiteral("1/DB0"));
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, heldDatabase);
    EXPECT_NE(fresh->connection(), heldDatabase->connection());

    registry.closeDataStore(QStringLiteral("1"));
    registry.closeDataStore(QStringLiteral("1/DB0"));
    EXPECT_TRUE(registry.reConnect().isEmpty());
    EXPECT_TRUE(first->isLoaded());
}

TEST_F(RegistryWithServer, CurrentDatabaseFallbacks)
{
    SimpleDBStateManager manager(&registry);
    auto state = manager.dbViewState();
    EXPECT_EQ(manager.currentDatabase(), nullptr); // nothing registered

    auto first = serverProfile();
    auto store = registry.dbStoreWithDBProfile(first);
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(manager.currentDatabase(), nullptr); // registered, not loaded yet
    ASSERT_FALSE(StateTest::fetch(store).has_value());

    struct Case
    {
        QString current;
        QString expected; // database name, or empty for none
    };
    const Case single[] = {
        {QString(), "DB0"},   // no current node: the one profile's first database
        {"1/DB3", "DB3"},     // a database node
        {"1/DB7/a/b", "DB7"}, // a key node whose key holds "/"
        {"1", "DB0"},         // a connection node falls back
        {"1/DB99", "DB0"},    // no such database: falls back
        {"8/DB3", "DB0"},     // an unregistered connection: falls back
    };
    for (const Case &c : single) {
        SCOPED_TRACE(c.current.toStdString());
        state->setCurrentNodeURL(c.current);
        const auto db = manager.currentDatabase();
        ASSERT_NE(db, nullptr);
        EXPECT_EQ(db->name(), c.expected);
        EXPECT_EQ(db->connID(), 1);
    }

    auto second = serverProfile(QStringLiteral("second"));
    auto secondStore = registry.dbStoreWithDBProfile(second);
    ASSERT_FALSE(StateTest::fetch(secondStore).has_value());
    const Case two[] = {
        {QString(), ""},
        {"1", ""},
        {"2/DB5", "DB5"},
        {"1/DB2/k", "DB2"},
    };
    for (const Case &c : two) {
        SCOPED_TRACE(c.current.toStdString());
        state->setCurrentNodeURL(c.current);
        const auto db = manager.currentDatabase();
        if (c.expected.isEmpty()) {
            EXPECT_EQ(db, nullptr);
        } else {
            ASSERT_NE(db, nullptr);
            EXPECT_EQ(db->name(), c.expected);
        }
    }

    // The scheme follows the current node's connection.
    state->setCurrentNodeURL(QStringLiteral("2/DB5"));
    EXPECT_EQ(state->scheme(), kDerazURLScheme);
    state->setScheme(QStringLiteral("mysql"));
    EXPECT_EQ(state->scheme(), kDerazURLScheme);
    state->setCurrentNodeURL(QStringLiteral("9/DB0"));
    EXPECT_TRUE(state->scheme().isNull());

    // The manager keeps one state of each kind, the view state holding the general one.
    EXPECT_EQ(manager.dbViewState(), state);
    EXPECT_EQ(state->dbState(), manager.dbState());
    EXPECT_EQ(manager.dbState()->moduleQueue()->label(), QStringLiteral("SimpleDBState"));
}

} // namespace

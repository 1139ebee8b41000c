#include <kestrune/data/DataClasses.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/records/DBProfileDAO.h>

#include <corbelan/sqlite/XXXDBManager.h>
#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/XXXRWDatabaseQueue.h>

#include <bastwick/platform/UserDefaults.h>

#include <support/FreshLocalStore.h>
#include <support/TempDir.h>
#include <support/TestSetup.h>

#include <gtest/gtest.h>

#include <QtCore/QDir>

namespace {

static TestSupport::SetupHook registerClasses([] { Kestrune::registerDataClasses(); });

std::shared_ptr<DBProfile> profile(const QString &name, const QString &host, qint64 port)
{
    auto p = std::make_shared<DBProfile>();
    p->setName(name);
    p->setScheme(kDerazURLScheme);
    p->setHost(host);
    p->setPort(port);
    p->setPassword(QStringLiteral("pw"));
    p->urlFormat();
    return p;
}

TEST(DBProfileDAO, SaveUpdateDeleteAgainstLocalFile)
{
    // The shared manager goes back to the application's folders when the test ends.
    TestSupport::FreshLocalStore store;
    XXXDBManager *manager = XXXDBManager::sharedXXXDBManager();
    EXPECT_EQ(DBProfileDAO::create(), nullptr); // no local database yet
    EXPECT_FALSE(profile("none", "h", 1)->save());

    TestSupport::TempDir dir;
    ASSERT_TRUE(dir.isValid());
    manager->setDocumentsPath(dir.path());
    manager->setResourcePath(dir.path()); // no seed: a new, empty file
    ASSERT_TRUE(manager->openDataBaseWithPath(QDir(dir.path()).filePath(QStringLiteral("Deraz.sqlite"))));
    ASSERT_TRUE(manager->queue()->inDatabase([](XXXRWDatabase *db) {
        db->executeUpdate(QStringLiteral(
            "CREATE TABLE DBProfile (ID INTEGER PRIMARY KEY, name TEXT, username TEXT, password TEXT, host "
            "TEXT, "
            "port INTEGER, url TEXT, alias TEXT, path TEXT, database TEXT, autoLogin BOOL, scheme TEXT)"));
    }));

    auto dao = DBProfileDAO::create();
    ASSERT_NE(dao, nullptr);
    EXPECT_EQ(dao->tableName(), QStringLiteral("DBProfile"));
    EXPECT_EQ(dao->keyList(), QStringList{QStringLiteral("ID")});
    // The other columns in table order: statements bind their values in this order.
    EXPECT_EQ(dao->fldExcludeKeyList(), (QStringList{"name", "username", "password", "host", "port", "url",
                                                     "alias", "path", "database", "autoLogin", "scheme"}));

    auto a = profile("a", "127.0.0.1", 6379);
    auto b = profile("b", "10.0.0.2", 6380);
    a->setConnID(99); // never written: the row key stays the table's own
    ASSERT_TRUE(a->save());
    ASSERT_TRUE(b->save());
    EXPECT_GT(a->ID(), 0);
    EXPECT_GT(b->ID(), a->ID());
    EXPECT_EQ(a->connID(), 99);

    auto all = dao->findAllProfiles();
    ASSERT_EQ(all.size(), 2);
    EXPECT_TRUE(all[0]->isEqual(*a));
    EXPECT_TRUE(all[1]->isEqual(*b));
    EXPECT_EQ(all[0]->connID(), 0);

    // Saving again updates the row instead of adding one.
    a->setAlias(QStringLiteral("renamed"));
    ASSERT_TRUE(a->save());
    b->setAutoLogin(true);
    ASSERT_TRUE(b->update());
    all = dao->findAllProfiles();
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0]->alias(), QStringLiteral("renamed"));
    EXPECT_TRUE(all[1]->autoLogin());

    ASSERT_TRUE(a->deleteProfile());
    all = dao->findAllProfiles();
    ASSERT_EQ(all.size(), 1);
    EXPECT_TRUE(all[0]->isEqual(*b));

    manager->closeDataBase();
}

TEST(AppPreference, DefaultsAndFileList)
{
    TestSupport::TempDir dir;
    Bastwick::UserDefaults defaults(QDir(dir.path()).filePath(QStringLiteral("prefs.ini")));
    AppPreference preference(&defaults);
    XXXPreference::prepareSharedInstance(&preference);
    EXPECT_EQ(preference.pageSize(), 100);
    EXPECT_EQ(preference.magicNumbers(), 20);
    EXPECT_TRUE(preference.allowAutoLogin());
    EXPECT_TRUE(preference.allowRemberPassword());
    EXPECT_FALSE(preference.allowShowSysTables());
    EXPECT_EQ(preference.mgPort(), 27017);
    EXPECT_TRUE(preference.mgIP().isEmpty());
    EXPECT_EQ(preference.defaultKVDataConfig().size(), 10);

    preference.setPageSize(50);
    EXPECT_EQ(preference.pageSize(), 50);

    preference.addDBFile(QStringList{QStringLiteral("/a"), QStringLiteral("/a")});
    EXPECT_EQ(preference.localDBFileList(), (QStringList{"/a", "/a"}));
    preference.addDBFile(QStringLiteral("/a"));
    preference.addDBFile(QVariant(5));
    EXPECT_EQ(preference.localDBFileList(), (QStringList{"/a", "/a"}));
    preference.addDBFile(QStringLiteral("/b"));
    preference.removeDBFile(QStringLiteral("/a"));
    EXPECT_EQ(preference.localDBFileList(), QStringList{"/b"});
    preference.removeAllDBFiles();
    EXPECT_TRUE(preference.localDBFileList().isEmpty());
}

} // namespace

#include "StateTestHelpers.h"

#include <kestrune/data/DataClasses.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/data/state/DerazCommand.h>
#include <kestrune/data/state/DerazCommandDAO.h>
#include <kestrune/data/state/XXXAppVersion.h>
#include <kestrune/data/state/XXXAppVersionDAO.h>

#include <corbelan/services/FileManager.h>
#include <corbelan/sqlite/XXXDBManager.h>
#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/XXXRWDatabaseQueue.h>

#include "support/FreshLocalStore.h"
#include "support/LogCapture.h"
#include "support/TestSetup.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QFileInfo>

namespace {

static TestSupport::SetupHook registerClasses([] { Kestrune::registerDataClasses(); });

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QFileDevice::Permissions permissionBits(const QString &path)
{
    // Qt reports ReadUser/WriteUser beside the owner bits; compare the owner/group/other bits.
    const auto all = QFileInfo(path).permissions();
    return all & (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                  QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                  QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
}

std::shared_ptr<DerazCommand> command(const QString &name, const QString &group)
{
    auto c = std::make_shared<DerazCommand>();
    c->setCommand(name);
    c->setGroupName(group);
    c->setArgs(QStringLiteral("key"));
    c->setDesc(name + QStringLiteral(" description"));
    return c;
}

QStringList names(const QList<std::shared_ptr<DerazCommand>> &commands)
{
    QStringList out;
    for (const auto &c : commands)
        out.append(c->command());
    out.sort();
    return out;
}

class LocalStore : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(store.hasSeed()); }

    TestSupport::FreshLocalStore store;
};

TEST_F(LocalStore, OpensTheSeedOwnerOnly)
{
    // Nothing open yet: no access object, and the version falls back.
    EXPECT_EQ(DerazCommandDAO::create(), nullptr);
    EXPECT_EQ(XXXAppVersionDAO::create(), nullptr);
    EXPECT_EQ(DataBaseBO::sharedInstance().hisVersion(), QStringLiteral("1.0"));
    EXPECT_FALSE(command("GET", "string")->save());

    EXPECT_EQ(appDBPath(), FileManager::appPath() + QStringLiteral("/Deraz.sqlite"));
    ASSERT_TRUE(DataBaseBO::sharedInstance().openDataBase());
    ASSERT_TRUE(QFile::exists(appDBPath()));
    EXPECT_EQ(permissionBits(appDBPath()), kOwnerOnly);

    // A file left readable by others is tightened when it is opened again.
    DataBaseBO::sharedInstance().closeDataBase();
    ASSERT_TRUE(
        QFile::setPermissions(appDBPath(), kOwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    ASSERT_TRUE(DataBaseBO::sharedInstance().openDataBase());
    EXPECT_EQ(permissionBits(appDBPath()), kOwnerOnly);

    // The seed's tables are there, empty.
    auto commands = DerazCommandDAO::create();
    auto versions = XXXAppVersionDAO::create();
    ASSERT_NE(commands, nullptr);
    ASSERT_NE(versions, nullptr);
    EXPECT_EQ(commands->tableName(), QStringLiteral("DerazCommand"));
    EXPECT_EQ(commands->keyList(), QStringList{QStringLiteral("ID")});
    EXPECT_EQ(versions->keyList(), QStringList{QStringLiteral("versionID")});
    // The columns that are not keys keep table order.
    EXPECT_EQ(commands->fldExcludeKeyList(), (QStringList{"command", "args", "desc", "groupName", "href"}));
    EXPECT_EQ(versions->fldExcludeKeyList(), (QStringList{"versionNO", "history"}));
    // The build fills the command reference from its HTML page; the version table is empty.
    EXPECT_FALSE(commands->findAllCommands().isEmpty());
    EXPECT_EQ(DataBaseBO::sharedInstance().appNewVersion(), QStringLiteral("2.0"));

    // Settings are owner-only too.
    StateTest::Preferences prefs;
    prefs.preference.setPageSize(100);
    ASSERT_TRUE(prefs.defaults.synchronize());
    EXPECT_EQ(permissionBits(prefs.defaults.filePath()), kOwnerOnly);
}

TEST_F(LocalStore, CommandReferenceQueries)
{
    ASSERT_TRUE(DataBaseBO::sharedInstance().openDataBase());
    // Start from an empty table instead of the shipped rows.
    for (const auto &shipped : DerazCommandDAO::create()->findAllCommands())
        ASSERT_TRUE(shipped->deleteCommand());
    for (const auto &[name, group] :
         std::initializer_list<std::pair<const char *, const char *>>{{"SET", "string"},
                                                                      {"GETSET", "string"},
                                                                      {"GET", "string"},
                                                                      {"HMSET", "hash"},
                                                                      {"HGETALL", "hash"},
                                                                      {"smembers", "set"},
                                                                      {"it's", "other"},
                                                                      {"100%_sure", "other"}}) {
        ASSERT_TRUE(command(QString::fromLatin1(name), QString::fromLatin1(group))->save()) << name;
    }
    auto dao = DerazCommandDAO::create();
    ASSERT_NE(dao, nullptr);
    EXPECT_EQ(dao->findAllCommands().size(), 8);
    EXPECT_EQ(names(dao->findCommandsInGroup(QStringLiteral("hash"))), (QStringList{"HGETALL", "HMSET"}));

    struct Case
    {
        QString text;
        QStringList found;
    };
    const Case cases[] = {
        {"SET", {"GETSET", "HMSET", "SET"}},
        {"set", {"GETSET", "HMSET", "SET"}}, // ASCII letters match in either case
        {"mem", {"smembers"}},
        {"'", {"it's"}}, // a quote is just a character
        {"it's", {"it's"}},
        {"x' OR '1'='1", {}}, // not a statement fragment
        {"\"", {}},
        {"", {"100%_sure", "GET", "GETSET", "HGETALL", "HMSET", "SET", "it's", "smembers"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        QStringList expected = c.found;
        expected.sort();
        EXPECT_EQ(names(dao->searchCommands(c.text)), expected);
    }
    // The table is intact after the searches.
    EXPECT_EQ(dao->findAllCommands().size(), 8);

    // Rows come back as models of their own with their row keys.
    auto set = dao->searchCommands(QStringLiteral("GETSET")).value(0);
    ASSERT_NE(set, nullptr);
    EXPECT_GT(set->ID(), 0);
    EXPECT_EQ(set->desc(), QStringLiteral("GETSET description"));
    set->setHref(QStringLiteral("#getset"));
    ASSERT_TRUE(set->update());
    EXPECT_EQ(dao->searchCommands(QStringLiteral("GETSET")).value(0)->href(), QStringLiteral("#getset"));
    ASSERT_TRUE(set->deleteCommand());
    EXPECT_EQ(dao->findAllCommands().size(), 7);
}

TEST_F(LocalStore, HistoryVersion)
{
    ASSERT_TRUE(DataBaseBO::sharedInstance().openDataBase());
    DataBaseBO &store = DataBaseBO::sharedInstance();
    EXPECT_EQ(store.hisVersion(), QStringLiteral("1.0")); // empty table

    XXXAppVersion first;
    first.setVersionNO(QStringLiteral("1.4"));
    first.setHistory(QStringLiteral("first"));
    ASSERT_TRUE(first.save());
    XXXAppVersion second;
    second.setVersionNO(QStringLiteral("1.5"));
    ASSERT_TRUE(second.save());
    EXPECT_EQ(store.hisVersion(), QStringLiteral("1.4"));

    // A first record without a number answers nothing.
    first.setVersionNO(QString());
    ASSERT_TRUE(XXXDBManager::sharedXXXDBManager()->queue()->inDatabase([](XXXRWDatabase *db) {
        db->executeUpdate(
            QStringLiteral("UPDATE XXXAppVersion SET versionNO = NULL WHERE versionNO = '1.4'"));
    }));
    EXPECT_TRUE(store.hisVersion().isNull());
}

TEST(LocalStoreModels, FieldsArchiveEqualityAndUndefinedKeys)
{
    const QVariantMap row{{"ID", 7},
                          {"command", "HSET"},
                          {"args", "key field value"},
                          {"desc", "Sets a field"},
                          {"groupName", "hash"},
                          {"href", QVariant::fromValue(nullptr)},
                          {"color", "red"}};
    DerazCommand a(row);
    EXPECT_EQ(a.ID(), 7);
    EXPECT_EQ(a.command(), QStringLiteral("HSET"));
    EXPECT_TRUE(a.href().isNull()); // a null value leaves the field untouched

    DerazCommand b;
    b.initWithCoder(a.encodeWithCoder());
    EXPECT_TRUE(b.isEqual(a));
    EXPECT_FALSE(a.encodeWithCoder().contains(QStringLiteral("href")));
    b.setArgs(QStringLiteral("other"));
    EXPECT_FALSE(b.isEqual(a));

    XXXAppVersion v({{"versionID", "3"}, {"versionNO", "2.0"}});
    EXPECT_EQ(v.versionID(), 3);
    XXXAppVersion w;
    w.initWithCoder(v.encodeWithCoder());
    EXPECT_TRUE(w.isEqual(v));
    EXPECT_FALSE(a.jsonKeyPathsByProperty().isValid());

    TestSupport::LogCapture log;
    EXPECT_FALSE(a.valueForKey(QStringLiteral("color")).isValid());
    EXPECT_FALSE(a.setValueForKey(QStringLiteral("color"), QStringLiteral("red")));
    EXPECT_FALSE(v.valueForKey(QStringLiteral("colour")).isValid());
    EXPECT_EQ(log.count(QStringLiteral("Undefined Key: color")), 2);
    EXPECT_TRUE(log.contains(QStringLiteral("Undefined Key: colour")));
    EXPECT_EQ(a.valueForKey(QStringLiteral("groupName")).toString(), QStringLiteral("hash"));
}

} // namespace

// The text-only SQLite stack: the driver and its result, and the SQL builder with its pools.

#include "AltSqliteTestSupport.h"

#include "support/TempDir.h"

#include <corbelan/sqlite/alternative/LitesqlAdapter.h>
#include <corbelan/sqlite/alternative/LitesqlDriver.h>

#include <bastwick/ByteText.h>

#include <QtCore/QFileInfo>

#include <gtest/gtest.h>

#include <functional>

using namespace AltSqliteTest;

namespace {

// Each test works on its own file name under Documents/DirOV, seeded from its own folder.
class LitesqlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static int serial = 0;
        m_name = QStringLiteral("lite-%1.db").arg(++serial);
        LitesqlDriver::setResourceDirectory(m_seeds.path());
        ASSERT_TRUE(
            makeDatabase(m_seeds.path(m_name), QStringLiteral("CREATE TABLE t (id INTEGER, a TEXT, b);"
                                                              "INSERT INTO t VALUES (1, 'x', NULL);"
                                                              "INSERT INTO t VALUES (2, 'y', 2.5);")));
    }

    TestSupport::TempDir m_seeds;
    QString m_name;
};

QList<QStringList> rows(std::initializer_list<QStringList> list)
{
    return QList<QStringList>(list);
}

} // namespace

TEST_F(LitesqlTest, DriverPlacesItsFileUnderDirOVAndKeepsAnExistingOne)
{
    auto driver = LitesqlDriver::create(m_name);
    ASSERT_TRUE(driver);
    EXPECT_EQ(driver->databasePath(), QDir(documentsPath()).filePath(QStringLiteral("DirOV/") + m_name));
    EXPECT_TRUE(QFileInfo(driver->databasePath()).isWritable());
    EXPECT_EQ(driver->querySql(QStringLiteral("INSERT INTO t VALUES (3, 'z', 0)")).code(), SQLITE_DONE);
    driver.reset();

    // The seed changes, but the file already in place is kept.
    ASSERT_TRUE(makeDatabase(m_seeds.path(m_name), QStringLiteral("CREATE TABLE other (v);")));
    auto again = LitesqlDriver::create(m_name);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->querySql(QStringLiteral("SELECT count(*) FROM t")).data(), rows({{"3"}}));

    // No seed at all: SQLite makes an empty file.
    auto unseeded = LitesqlDriver::create(QStringLiteral("no-seed-") + m_name);
    ASSERT_TRUE(unseeded);
    EXPECT_TRUE(unseeded->querySql(QStringLiteral("SELECT name FROM sqlite_master")).data().isEmpty());
}

TEST_F(LitesqlTest, DriverAnswersCodesRowsAndMessages)
{
    auto driver = LitesqlDriver::create(m_name);
    ASSERT_TRUE(driver);
    struct Case
    {
        const char *what;
        QString sql;
        QVariantList bind;
        qint64 code;
        QList<QStringList> data;
        bool hasMsg;
    };
    const QList<Case> cases = {
        {"select: texts per row, NULL as empty, numbers in decimal",
         QStringLiteral("SELECT id, a, b FROM t ORDER BY id"),
         {},
         SQLITE_DONE,
         rows({{"1", "x", ""}, {"2", "y", "2.5"}}),
         false},
        {"insert: done, no rows",
         QStringLiteral("INSERT INTO t VALUES (?, ?, ?)"),
         {7, QStringLiteral("w"), QVariant::fromValue(nullptr)},
         SQLITE_DONE,
         {},
         false},
        {"values are bound as their text",
         QStringLiteral("SELECT typeof(?), ?, ? = ?"),
         {5, 5, 5, QStringLiteral("5")},
         SQLITE_DONE,
         rows({{"text", "5", "1"}}),
         false},
        {"syntax error: the prepare's code and message",
         QStringLiteral("SELEKT 1"),
         {},
         SQLITE_ERROR,
         {},
         true},
        {"no statement in the text: nothing run",
         QStringLiteral(" -- nothing"),
         {1},
         SQLITE_MISUSE,
         {},
         false},
        {"missing table", QStringLiteral("SELECT * FROM nowhere"), {}, SQLITE_ERROR, {}, true},
        {"step failure keeps the rows read before it",
         QStringLiteral("SELECT CASE WHEN id = 2 THEN abs(-9223372036854775807 - 1) ELSE id END FROM t"),
         {},
         SQLITE_ERROR,
         rows({{"1"}}),
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const LitesqlResult result = driver->querySql(c.sql, c.bind);
        EXPECT_EQ(result.code(), c.code);
        EXPECT_EQ(result.data(), c.data);
        EXPECT_EQ(!result.msg().isNull(), c.hasMsg) << result.msg().toStdString();
    }
    EXPECT_TRUE(driver->querySql(QStringLiteral("SELEKT 1")).msg().contains(QStringLiteral("syntax error")));
    // The null marker inserted above was bound as its description text, not as NULL.
    EXPECT_EQ(driver->querySql(QStringLiteral("SELECT a, b, typeof(b) FROM t WHERE id = 7")).data(),
              rows({{"w", "<null>", "text"}}));
}

TEST_F(LitesqlTest, BuildersRunTheirStatementsWithTheirValues)
{
    LitesqlAdapter adapter(m_name);
    adapter.setTableName(QStringLiteral("t"));
    ASSERT_TRUE(adapter.litesqlDrv());
    struct Case
    {
        const char *what;
        std::function<LitesqlAdapter::Result(LitesqlAdapter &)> run;
        QString sql;
        qint64 code;
    };
    const QList<Case> cases = {
        {"insert",
         [](LitesqlAdapter &a) {
             return a.insertData({{QStringLiteral("a"), QStringLiteral("new")}, {QStringLiteral("id"), 3}});
         },
         QStringLiteral("INSERT INTO t (a,id) VALUES (?,?)"), SQLITE_DONE},
        {"update with condition: set values first, then the condition's",
         [](LitesqlAdapter &a) {
             return a.updateData({{QStringLiteral("a"), QStringLiteral("upd")}}, QStringLiteral("id=?"), {3});
         },
         QStringLiteral("UPDATE t SET a=?  WHERE id=?"), SQLITE_DONE},
        {"update of two columns without condition",
         [](LitesqlAdapter &a) {
             return a.updateData({{QStringLiteral("a"), QStringLiteral("all")}, {QStringLiteral("b"), 1}},
                                 QString());
         },
         QStringLiteral("UPDATE t SET a=? ,b=? "), SQLITE_DONE},
        {"select with condition",
         [](LitesqlAdapter &a) {
             return a.selectFields({QStringLiteral("id"), QStringLiteral("a")}, QStringLiteral("id>?"), {1});
         },
         QStringLiteral("SELECT id,a FROM t WHERE id>?"), SQLITE_DONE},
        {"select with an empty condition",
         [](LitesqlAdapter &a) { return a.selectFields({QStringLiteral("id")}, QString()); },
         QStringLiteral("SELECT id FROM t"), SQLITE_DONE},
        {"delete", [](LitesqlAdapter &a) { return a.deleteByCondition(QStringLiteral("id=?"), {1}); },
         QStringLiteral("DELETE FROM t WHERE id=?"), SQLITE_DONE},
        {"create",
         [](LitesqlAdapter &a) {
             return a.createTable(QStringLiteral("u"),
                                  {QStringLiteral("k INTEGER"), QStringLiteral("v TEXT")});
         },
         QStringLiteral("CREATE TABLE IF NOT EXISTS u (k INTEGER,v TEXT)"), SQLITE_DONE},
        {"drop", [](LitesqlAdapter &a) { return a.dropTable(QStringLiteral("u")); },
         QStringLiteral("DROP TABLE u "), SQLITE_DONE},
        {"drop of a missing table", [](LitesqlAdapter &a) { return a.dropTable(QStringLiteral("u")); },
         QString(), SQLITE_ERROR},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SqlTrace trace(adapter.litesqlDrv()->dbHandler());
        const auto result = c.run(adapter);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->code(), c.code);
        EXPECT_EQ(trace.statements(), c.sql.isNull() ? QStringList() : QStringList{c.sql});
    }
    EXPECT_EQ(adapter.excuteSQL(QStringLiteral("SELECT id, a, b FROM t ORDER BY id"))->data(),
              rows({{"2", "all", "1"}, {"3", "all", "1"}}));
    EXPECT_EQ(adapter.excuteSQL(QStringLiteral("SELECT ? + 1"), {41})->data(), rows({{"42"}}));

    // Text decoded from bytes that are not UTF-8 is bound as those bytes and reads back the same.
    const QString decoded = Bastwick::textFromBytes(QByteArray("k\xff\xfe\x80z", 5));
    const QList<QStringList> expected{{QStringLiteral("6BFFFE807A"), decoded}};
    EXPECT_EQ(adapter.excuteSQL(QStringLiteral("SELECT hex(?), ?"), {decoded, decoded})->data(), expected);
}

TEST_F(LitesqlTest, EmptyListsGiveAFailedResultWithoutRunningAnything)
{
    LitesqlAdapter adapter(m_name);
    adapter.setTableName(QStringLiteral("t"));
    const QList<std::function<LitesqlAdapter::Result()>> runs = {
        [&] { return adapter.selectFields({}, QString()); },
        [&] { return adapter.insertData({}); },
        [&] { return adapter.updateData({}, QStringLiteral("id=1")); },
        [&] { return adapter.createTable(QStringLiteral("u"), {}); },
    };
    for (int i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(i);
        SqlTrace trace(adapter.litesqlDrv()->dbHandler());
        const auto result = runs[i]();
        ASSERT_TRUE(result);
        EXPECT_EQ(result->code(), SQLITE_ERROR);
        EXPECT_FALSE(result->msg().isEmpty());
        EXPECT_TRUE(trace.statements().isEmpty());
    }
    EXPECT_EQ(adapter.excuteSQL(QStringLiteral("SELECT count(*) FROM t"))->data(), rows({{"2"}}));
}

TEST_F(LitesqlTest, PoolsHandOutOneAdapterPerDatabaseAndPerExistingTable)
{
    auto first = LitesqlAdapter::database(m_name);
    ASSERT_TRUE(first);
    EXPECT_EQ(LitesqlAdapter::database(m_name), first);
    EXPECT_TRUE(first->tableName().isEmpty());

    auto table = LitesqlAdapter::database(m_name, QStringLiteral("t"));
    ASSERT_TRUE(table);
    EXPECT_NE(table, first);
    EXPECT_NE(table->litesqlDrv(), first->litesqlDrv());
    EXPECT_EQ(table->tableName(), QStringLiteral("t"));
    EXPECT_EQ(LitesqlAdapter::database(m_name, QStringLiteral("t")), table);

    // A missing table is refused and not remembered: once it exists it is served.
    EXPECT_FALSE(LitesqlAdapter::database(m_name, QStringLiteral("later")));
    EXPECT_FALSE(LitesqlAdapter::create(m_name, QStringLiteral("later")));
    ASSERT_EQ(first->createTable(QStringLiteral("later"), {QStringLiteral("v")})->code(), SQLITE_DONE);
    auto later = LitesqlAdapter::database(m_name, QStringLiteral("later"));
    ASSERT_TRUE(later);
    EXPECT_EQ(later->tableName(), QStringLiteral("later"));
    auto direct = LitesqlAdapter::create(m_name, QStringLiteral("later"));
    ASSERT_TRUE(direct);
    EXPECT_NE(direct, later);
}

TEST_F(LitesqlTest, AnAdapterWhoseDatabaseDoesNotOpenAnswersNothing)
{
    // A folder where the file should be cannot be opened as a database.
    const QString name = QStringLiteral("folder-") + m_name;
    ASSERT_TRUE(QDir().mkpath(QDir(documentsPath()).filePath(QStringLiteral("DirOV/") + name)));
    EXPECT_FALSE(LitesqlDriver::create(name));
    LitesqlAdapter adapter(name);
    adapter.setTableName(QStringLiteral("t"));
    EXPECT_FALSE(adapter.litesqlDrv());
    EXPECT_FALSE(adapter.excuteSQL(QStringLiteral("SELECT 1")));
    EXPECT_FALSE(adapter.selectFields({QStringLiteral("1")}, QString()));
    EXPECT_FALSE(adapter.insertData({{QStringLiteral("a"), 1}}));
    EXPECT_FALSE(adapter.dropTable(QStringLiteral("t")));
    EXPECT_FALSE(LitesqlAdapter::database(name, QStringLiteral("t")));
}

// The raw SQLite manager and DAO: seeding, statements, binding, row mapping, failures.

#include "AltSqliteTestSupport.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/TestSetup.h"

#include <corbelan/sqlite/alternative/SQLiteDAO.h>
#include <corbelan/sqlite/alternative/SQLiteDBManager.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/ClassRegistry.h>

#include <QtCore/QDateTime>
#include <QtCore/QFileInfo>
#include <QtCore/QObject>

#include <gtest/gtest.h>

#include <functional>

using namespace AltSqliteTest;
using TestSupport::LogCapture;

// The model of table "RawPerson".
class RawPerson : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint64 id MEMBER m_id)
    Q_PROPERTY(QString name MEMBER m_name)
    Q_PROPERTY(int age MEMBER m_age)
    Q_PROPERTY(QString note MEMBER m_note)
    Q_PROPERTY(QByteArray photo MEMBER m_photo)
public:
    Q_INVOKABLE RawPerson() = default;
    qint64 m_id = 0;
    QString m_name;
    int m_age = -7;
    QString m_note = QStringLiteral("unset");
    QByteArray m_photo;
};

namespace {

TestSupport::SetupHook registerModels([] { Bastwick::ClassRegistry::instance().registerClass<RawPerson>(); });

const char *const kSchema = "CREATE TABLE RawPerson (id INTEGER, name TEXT, age INTEGER, note TEXT, "
                            "photo BLOB);"
                            "CREATE TABLE Kinds (v);";

// Each test opens its own file in Documents, seeded from a seed folder of its own.
class RawSqliteDAOTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static int serial = 0;
        m_name = QStringLiteral("raw-%1.sqlite").arg(++serial);
        SQLiteDBManager::setResourceDirectory(m_seeds.path());
        ASSERT_TRUE(makeDatabase(m_seeds.path(m_name), QString::fromLatin1(kSchema)));
        ASSERT_TRUE(SQLiteDBManager::sharedInstance().openDataBase(m_name));
        m_dao = SQLiteBaseDAO::create<SQLiteDAO>();
        ASSERT_TRUE(m_dao);
        m_dao->setTableName(QStringLiteral("RawPerson"));
        m_dao->setKeyList({QStringLiteral("id")});
        for (const char *row : {"(1,'ann',30,'a',NULL)", "(2,'bob',40,NULL,NULL)", "(3,'cy',40,'c',NULL)",
                                "(3,'dup',50,'d',NULL)"})
            ASSERT_TRUE(
                m_dao->sqlUpdate(QStringLiteral("INSERT INTO RawPerson VALUES ") + QString::fromLatin1(row)));
    }
    void TearDown() override
    {
        m_dao.reset();
        SQLiteDBManager::sharedInstance().closeDataBase();
    }

    static QStringList names(const SQLiteBaseDAO::ModelList &models)
    {
        QStringList out;
        for (const auto &m : models)
            out.append(m->property("name").toString());
        return out;
    }

    TestSupport::TempDir m_seeds;
    QString m_name;
    std::shared_ptr<SQLiteDAO> m_dao;
};

} // namespace

TEST(RawSqliteManagerTest, SeedsTheDocumentsCopyOnlyWhenMissing)
{
    TestSupport::TempDir seeds;
    SQLiteDBManager::setResourceDirectory(seeds.path());
    SQLiteDBManager &manager = SQLiteDBManager::sharedInstance();
    ASSERT_TRUE(makeDatabase(seeds.path(QStringLiteral("seeded.sqlite")),
                             QStringLiteral("CREATE TABLE t (v); INSERT INTO t VALUES ('seed');")));

    { // First start: copied from the seed, writable, opened.
        LogCapture log;
        ASSERT_TRUE(manager.openDataBase(QStringLiteral("seeded.sqlite")));
        EXPECT_EQ(manager.getDBPath(), QDir(documentsPath()).filePath(QStringLiteral("seeded.sqlite")));
        EXPECT_TRUE(log.contains(QStringLiteral("create database success")));
        EXPECT_TRUE(log.contains(QStringLiteral("dbPath= ") + manager.getDBPath() + QStringLiteral(" \n")));
        EXPECT_TRUE(QFileInfo(manager.getDBPath()).isWritable());
        auto dao = SQLiteBaseDAO::create<SQLiteDAO>();
        ASSERT_TRUE(dao);
        EXPECT_TRUE(dao->sqlUpdate(QStringLiteral("INSERT INTO t VALUES ('mine')")));
        manager.closeDataBase();
    }
    { // Second start: the Documents copy is kept, with the row written there.
        LogCapture log;
        ASSERT_TRUE(manager.openDataBase(QStringLiteral("seeded.sqlite")));
        EXPECT_FALSE(log.contains(QStringLiteral("create database success")));
        EXPECT_EQ(typedColumn(manager.dbHandler(), QStringLiteral("SELECT v FROM t ORDER BY v")),
                  (QStringList{QStringLiteral("text:'mine'"), QStringLiteral("text:'seed'")}));
        manager.closeDataBase();
        EXPECT_EQ(manager.dbHandler(), nullptr);
    }
    { // No seed: the failed copy is reported and SQLite creates an empty file.
        LogCapture log;
        ASSERT_TRUE(manager.openDataBase(QStringLiteral("unseeded.sqlite")));
        EXPECT_TRUE(log.contains(QStringLiteral("Failed to create writable database file with message '")));
        EXPECT_TRUE(typedColumn(manager.dbHandler(), QStringLiteral("SELECT name AS v FROM sqlite_master"))
                        .isEmpty());
        manager.closeDataBase();
    }
    { // A file that cannot be opened: the connection held before is let go of, so no DAO
      // made afterwards writes into the previous file.
        ASSERT_TRUE(manager.openDataBase(QStringLiteral("seeded.sqlite")));
        ASSERT_TRUE(QDir().mkpath(QDir(documentsPath()).filePath(QStringLiteral("raw-folder.sqlite"))));
        EXPECT_FALSE(manager.openDataBase(QStringLiteral("raw-folder.sqlite")));
        EXPECT_EQ(manager.dbHandler(), nullptr);
        EXPECT_FALSE(SQLiteBaseDAO::create<SQLiteDAO>());
    }
}

TEST_F(RawSqliteDAOTest, QueriesRunTheirStatementsAndMapRows)
{
    struct Case
    {
        const char *what;
        std::function<SQLiteBaseDAO::ModelList(SQLiteDAO &)> run;
        QString sql;
        QStringList names;
    };
    const QList<Case> cases = {
        {"findAll",
         [](SQLiteDAO &d) { return d.findAll(); },
         QStringLiteral("SELECT * FROM  RawPerson  "),
         {"ann", "bob", "cy", "dup"}},
        {"findByPage reads page 1 of size 2",
         [](SQLiteDAO &d) { return d.findByPage(1, 2); },
         QStringLiteral("SELECT * FROM  RawPerson  LIMIT 2 OFFSET 2 "),
         {"cy", "dup"}},
        {"findByPage past the end",
         [](SQLiteDAO &d) { return d.findByPage(5, 2); },
         QStringLiteral("SELECT * FROM  RawPerson  LIMIT 2 OFFSET 10 "),
         {}},
        {"findByAttributes, two keys",
         [](SQLiteDAO &d) {
             return d.findByAttributes(
                 {{QStringLiteral("age"), 40}, {QStringLiteral("name"), QStringLiteral("bob")}});
         },
         QStringLiteral("SELECT * FROM  RawPerson WHERE age = :age AND name = :name "),
         {"bob"}},
        {"findByAttributes, one key",
         [](SQLiteDAO &d) {
             return d.findByAttributes({{QStringLiteral("age"), 40}});
         },
         QStringLiteral("SELECT * FROM  RawPerson WHERE age = :age "),
         {"bob", "cy"}},
        {"query by array",
         [](SQLiteDAO &d) {
             return d.sqlQuery(QStringLiteral("SELECT * FROM RawPerson WHERE age > ? AND age < ?"),
                               QVariantList{35, 45});
         },
         QStringLiteral("SELECT * FROM RawPerson WHERE age > ? AND age < ?"),
         {"bob", "cy"}},
        {"query by dictionary",
         [](SQLiteDAO &d) {
             return d.sqlQuery(QStringLiteral("SELECT * FROM RawPerson WHERE name = :n"),
                               QVariantMap{{QStringLiteral("n"), QStringLiteral("cy")}});
         },
         QStringLiteral("SELECT * FROM RawPerson WHERE name = :n"),
         {"cy"}},
        {"no row answers nothing",
         [](SQLiteDAO &d) { return d.sqlQuery(QStringLiteral("SELECT * FROM RawPerson WHERE age = 99")); },
         QStringLiteral("SELECT * FROM RawPerson WHERE age = 99"),
         {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SqlTrace trace(m_dao->db());
        const auto models = c.run(*m_dao);
        EXPECT_EQ(names(models), c.names);
        EXPECT_EQ(trace.statements(), QStringList{c.sql});
    }

    // Row mapping: columns land in the model's properties; NULL leaves the default.
    const auto all = m_dao->findAll();
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(all[0]->property("id").toLongLong(), 1);
    EXPECT_EQ(all[0]->property("age").toInt(), 30);
    EXPECT_EQ(all[0]->property("note").toString(), QStringLiteral("a"));
    EXPECT_EQ(all[1]->property("note").toString(), QStringLiteral("unset"));
}

TEST_F(RawSqliteDAOTest, FindByKeyAnswersExactlyOneRow)
{
    RawPerson probe;
    SqlTrace trace(m_dao->db());
    probe.m_id = 1;
    const auto one = m_dao->findByKey(QVariant::fromValue(static_cast<QObject *>(&probe)));
    ASSERT_TRUE(one);
    EXPECT_EQ(one->property("name").toString(), QStringLiteral("ann"));
    EXPECT_EQ(trace.statements(), QStringList{QStringLiteral("SELECT * FROM  RawPerson  WHERE id = ?  ")});

    probe.m_id = 3; // two rows carry key 3
    EXPECT_FALSE(m_dao->findByKey(QVariant::fromValue(static_cast<QObject *>(&probe))));
    probe.m_id = 9;
    EXPECT_FALSE(m_dao->findByKey(QVariant::fromValue(static_cast<QObject *>(&probe))));
    EXPECT_FALSE(m_dao->findByKey(QVariant()));
    // A map works as the key holder too; two key columns are joined by AND.
    m_dao->setKeyList({QStringLiteral("id"), QStringLiteral("name")});
    trace.clear();
    const auto dup = m_dao->findByKey(
        QVariantMap{{QStringLiteral("id"), 3}, {QStringLiteral("name"), QStringLiteral("dup")}});
    ASSERT_TRUE(dup);
    EXPECT_EQ(dup->property("age").toInt(), 50);
    EXPECT_EQ(trace.statements(),
              QStringList{QStringLiteral("SELECT * FROM  RawPerson  WHERE id = ? AND name = ?  ")});

    LogCapture log;
    m_dao->setKeyList({});
    EXPECT_FALSE(m_dao->findByKey(QVariantMap{{QStringLiteral("id"), 1}}));
    EXPECT_TRUE(log.contains(QStringLiteral("table no primary key field!")));
}

TEST_F(RawSqliteDAOTest, BindsValuesByKind)
{
    const QDateTime moment(QDate(2020, 1, 2), QTime(3, 4, 5), Qt::UTC);
    struct Case
    {
        const char *what;
        QVariant value;
        QString stored;
    };
    const QList<Case> cases = {
        {"bool true", QVariant(true), QStringLiteral("integer:1")},
        {"bool false", QVariant(false), QStringLiteral("integer:0")},
        {"int", QVariant(-12), QStringLiteral("integer:-12")},
        {"short", QVariant::fromValue<short>(7), QStringLiteral("integer:7")},
        {"64-bit", QVariant::fromValue<qint64>(Q_INT64_C(9000000000)), QStringLiteral("integer:9000000000")},
        {"unsigned 64-bit above the signed range keeps its bits",
         QVariant::fromValue<quint64>(Q_UINT64_C(18446744073709551615)), QStringLiteral("integer:-1")},
        {"float", QVariant::fromValue<float>(1.5f), QStringLiteral("real:1.5")},
        {"double", QVariant(2.25), QStringLiteral("real:2.25")},
        {"text with a quote", QVariant(QStringLiteral("it's")), QStringLiteral("text:'it''s'")},
        {"bytes", QVariant(QByteArray("\x00\x01", 2)), QStringLiteral("blob:X'0001'")},
        {"empty bytes are a zero-length blob", QVariant(QByteArray()), QStringLiteral("blob:X''")},
        {"nil", QVariant(), QStringLiteral("null:NULL")},
        {"null marker", QVariant::fromValue(nullptr), QStringLiteral("null:NULL")},
        {"date as seconds since 1970", QVariant(moment), QStringLiteral("real:1577934245.0")},
        {"an invalid date is no date", QVariant(QDateTime()), QStringLiteral("null:NULL")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(m_dao->sqlUpdate(QStringLiteral("DELETE FROM Kinds")));
        ASSERT_TRUE(m_dao->sqlUpdate(QStringLiteral("INSERT INTO Kinds VALUES (?)"), QVariantList{c.value}));
        EXPECT_EQ(m_dao->errorCode(), 0);
        EXPECT_EQ(typedColumn(m_dao->db(), QStringLiteral("SELECT v FROM Kinds")), QStringList{c.stored});
    }

    // Named parameters keep their prefix in the update form; a key without one is skipped.
    ASSERT_TRUE(m_dao->sqlUpdate(QStringLiteral("DELETE FROM Kinds")));
    EXPECT_TRUE(m_dao->sqlUpdate(QStringLiteral("INSERT INTO Kinds VALUES (:v)"),
                                 QVariantMap{{QStringLiteral(":v"), 5}, {QStringLiteral("w"), 6}}));
    EXPECT_EQ(typedColumn(m_dao->db(), QStringLiteral("SELECT v FROM Kinds")),
              QStringList{QStringLiteral("integer:5")});

    // Columns come back by their kind.
    ASSERT_TRUE(m_dao->sqlUpdate(QStringLiteral("UPDATE RawPerson SET photo = ? WHERE id = 1"),
                                 QVariantList{QByteArray("\xff\x00", 2)}));
    const auto ann = m_dao->findByAttributes({{QStringLiteral("id"), 1}});
    ASSERT_EQ(ann.size(), 1);
    EXPECT_EQ(ann[0]->property("photo").toByteArray(), QByteArray("\xff\x00", 2));

    // Text decoded from bytes that are not UTF-8 is stored as exactly those bytes and
    // reads back as the same text.
    const QByteArray raw("k\xff\xfe\x80z", 5);
    ASSERT_TRUE(m_dao->sqlUpdate(QStringLiteral("UPDATE RawPerson SET name = ? WHERE id = 2"),
                                 QVariantList{Bastwick::textFromBytes(raw)}));
    EXPECT_EQ(typedColumn(m_dao->db(), QStringLiteral("SELECT hex(name) AS v FROM RawPerson WHERE id = 2")),
              QStringList{QStringLiteral("text:'6BFFFE807A'")});
    const auto bob = m_dao->findByAttributes({{QStringLiteral("id"), 2}});
    ASSERT_EQ(bob.size(), 1);
    EXPECT_EQ(Bastwick::bytesFromText(bob[0]->property("name").toString()), raw);
}

TEST_F(RawSqliteDAOTest, ClearAllAndCountWithTheirStatements)
{
    EXPECT_EQ(m_dao->getCount(), 4);
    EXPECT_EQ(m_dao->count(), 4);
    SqlTrace trace(m_dao->db());
    LogCapture log;
    EXPECT_TRUE(m_dao->clearAll());
    EXPECT_TRUE(log.contains(QStringLiteral("clearAll sql=DELETE FROM  RawPerson ")));
    EXPECT_EQ(trace.statements(), QStringList{QStringLiteral("DELETE FROM  RawPerson ")});
    EXPECT_EQ(m_dao->getCount(), 0);
    EXPECT_TRUE(m_dao->findAll().isEmpty());

    trace.clear();
    m_dao->setTableName(QString());
    EXPECT_EQ(m_dao->getCount(), 0);
    EXPECT_TRUE(trace.statements().isEmpty());
}

TEST_F(RawSqliteDAOTest, FailuresAreLoggedAndAnswerNothing)
{
    struct Case
    {
        const char *what;
        std::function<bool(SQLiteDAO &)> run; // true when the call answered NO / nothing
        QString logged;
        int errorCode; // -2: not checked
    };
    const QList<Case> cases = {
        {"update with a syntax error",
         [](SQLiteDAO &d) { return !d.sqlUpdate(QStringLiteral("INSERT INTO")); },
         QStringLiteral("sqlUpdate Error: sqlite3_exec RawPerson failed ! retCode =1 "), 1},
        {"update by array that does not prepare",
         [](SQLiteDAO &d) {
             return !d.sqlUpdate(QStringLiteral("INSERT INTO Nowhere VALUES (?)"), QVariantList{1});
         },
         QStringLiteral("sqlUpdate Error: sqlite3_prepare_v2  sql =INSERT INTO Nowhere VALUES (?)  "), 1},
        {"update by dictionary that does not prepare",
         [](SQLiteDAO &d) {
             return !d.sqlUpdate(QStringLiteral("UPDATE Nowhere SET v = :v"),
                                 QVariantMap{{QStringLiteral(":v"), 1}});
         },
         QStringLiteral("sqlUpdate Error: sqlite3_prepare_v2  sql =UPDATE Nowhere SET v = :v  "), 1},
        {"update by array whose step fails",
         [](SQLiteDAO &d) {
             return d.sqlUpdate(QStringLiteral("CREATE TABLE U (v UNIQUE)")) &&
                    d.sqlUpdate(QStringLiteral("INSERT INTO U VALUES (?)"), QVariantList{1}) &&
                    !d.sqlUpdate(QStringLiteral("INSERT INTO U VALUES (?)"), QVariantList{1});
         },
         QStringLiteral("sqlUpdate Error: finalize statement  sql =INSERT INTO U VALUES (?) "),
         SQLITE_CONSTRAINT},
        {"update by array with no statement in the text: nothing bound or stepped",
         [](SQLiteDAO &d) { return !d.sqlUpdate(QStringLiteral("  "), QVariantList{1}); },
         QStringLiteral("sqlUpdate Error: sqlite3_prepare_v2  sql =    "), SQLITE_MISUSE},
        {"count of a missing table",
         [](SQLiteDAO &d) {
             d.setTableName(QStringLiteral("Nowhere"));
             const bool zero = d.getCount() == 0;
             d.setTableName(QStringLiteral("RawPerson"));
             return zero;
         },
         QStringLiteral("Error,failed to prepare statement getCount for Nowhere"), -2},
        {"query that does not prepare",
         [](SQLiteDAO &d) { return d.sqlQuery(QStringLiteral("SELECT * FROM Nowhere")).isEmpty(); },
         QStringLiteral("sqlQuery Error: sqlite3_prepare sql =SELECT * FROM Nowhere"), -2},
        {"query by array that does not prepare",
         [](SQLiteDAO &d) {
             return d.sqlQuery(QStringLiteral("SELECT * FROM Nowhere WHERE v = ?"), QVariantList{1})
                 .isEmpty();
         },
         QStringLiteral("sqlQuery Error:sqlite3_prepare sql =SELECT * FROM Nowhere WHERE v = ? "), -2},
        {"query by array with too few arguments",
         [](SQLiteDAO &d) {
             return d
                 .sqlQuery(QStringLiteral("SELECT * FROM RawPerson WHERE id = ? OR id = ?"), QVariantList{1})
                 .isEmpty();
         },
         QStringLiteral("sqlQuery sql =SELECT * FROM RawPerson WHERE id = ? OR id = ?  The number of bind "
                        "parameters does not match!"),
         -2},
        {"query by dictionary with a missing parameter",
         [](SQLiteDAO &d) {
             return d
                 .sqlQuery(QStringLiteral("SELECT * FROM RawPerson WHERE id = :a OR id = :b"),
                           QVariantMap{{QStringLiteral("a"), 1}})
                 .isEmpty();
         },
         QStringLiteral("The number of bind parameters does not match!"), -2},
        {"findByAttributes without attributes", [](SQLiteDAO &d) { return d.findByAttributes({}).isEmpty(); },
         QStringLiteral("findByAttributes :  attribute parameter is null  !"), -2},
        {"the base's hooks do nothing",
         [](SQLiteDAO &d) {
             return !d.insert(QVariantMap{{QStringLiteral("id"), 9}}) && !d.update(QVariant()) &&
                    !d.deleteObject(QVariant()) && d.getCount() == 4;
         },
         QString(), -2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        EXPECT_TRUE(c.run(*m_dao));
        if (!c.logged.isEmpty()) {
            EXPECT_TRUE(log.contains(c.logged)) << log.lines().join(QLatin1Char('\n')).toStdString();
        }
        if (c.errorCode != -2) {
            EXPECT_EQ(m_dao->errorCode(), c.errorCode);
            EXPECT_TRUE(log.contains(
                QStringLiteral("SQLite DB Error Message (errorCode=%1: errorMsg= ").arg(c.errorCode)));
        }
    }

    // A table without a model class of its name gives no models.
    m_dao->setTableName(QStringLiteral("Kinds"));
    ASSERT_TRUE(m_dao->sqlUpdate(QStringLiteral("INSERT INTO Kinds VALUES (1)")));
    EXPECT_TRUE(m_dao->findAll().isEmpty());
}

TEST_F(RawSqliteDAOTest, ADAOOutlivingTheManagersCloseAnswersNothing)
{
    SQLiteDBManager::sharedInstance().closeDataBase();
    EXPECT_EQ(m_dao->db(), nullptr);
    EXPECT_FALSE(m_dao->sqlUpdate(QStringLiteral("DELETE FROM RawPerson")));
    EXPECT_FALSE(m_dao->sqlUpdate(QStringLiteral("DELETE FROM RawPerson WHERE id = ?"), QVariantList{1}));
    EXPECT_TRUE(m_dao->findAll().isEmpty());
    EXPECT_FALSE(m_dao->findByKey(QVariantMap{{QStringLiteral("id"), 1}}));
    EXPECT_EQ(m_dao->getCount(), 0);
    EXPECT_FALSE(SQLiteBaseDAO::create<SQLiteDAO>());

    // Reopened, the rows written before are there for a new DAO.
    ASSERT_TRUE(SQLiteDBManager::sharedInstance().openDataBase(m_name));
    auto fresh = SQLiteBaseDAO::create<SQLiteDAO>();
    ASSERT_TRUE(fresh);
    fresh->setTableName(QStringLiteral("RawPerson"));
    EXPECT_EQ(fresh->getCount(), 4);

    // Opened once more while open: the DAO made before keeps a working connection.
    ASSERT_TRUE(SQLiteDBManager::sharedInstance().openDataBase(m_name));
    EXPECT_NE(fresh->db(), SQLiteDBManager::sharedInstance().dbHandler());
    EXPECT_EQ(fresh->getCount(), 4);
    EXPECT_TRUE(fresh->sqlUpdate(QStringLiteral("DELETE FROM RawPerson WHERE id = 1")));
}

#include "RawSqliteTest.moc"

// The older DAO pair: DBManager with its queue and second connection, and BaseDAO.

#include "AltSqliteTestSupport.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/TestSetup.h"

#include <corbelan/sqlite/DataModel.h>
#include <corbelan/sqlite/XXXRWResultSet.h>
#include <corbelan/sqlite/alternative/BaseDAO.h>
#include <corbelan/sqlite/alternative/DBManager.h>

#include <corbelan/CorbelanClasses.h>

#include <bastwick/platform/ClassRegistry.h>

#include <gtest/gtest.h>

#include <QtCore/QVariantHash>

#include <functional>
#include <memory>

using namespace AltSqliteTest;
using TestSupport::LogCapture;

// The model of table "OldNote"; counts the executeTransform calls it got.
class OldNote : public DataModel
{
    Q_OBJECT
    Q_PROPERTY(qint64 id MEMBER m_id)
    Q_PROPERTY(QString title MEMBER m_title)
    Q_PROPERTY(QString body MEMBER m_body)
public:
    Q_INVOKABLE explicit OldNote(QObject *parent = nullptr)
        : DataModel(parent)
    {
    }
    void executeTransform() override { ++m_transforms; }
    qint64 m_id = 0;
    QString m_title;
    QString m_body = QStringLiteral("empty");
    int m_transforms = 0;
};

namespace {

TestSupport::SetupHook registerModels([] {
    Corbelan::registerCorbelanClasses();
    Bastwick::ClassRegistry::instance().registerClass<OldNote>();
});

class NoteDAO : public BaseDAO
{
public:
    NoteDAO()
    {
        setTableName(QStringLiteral("OldNote"));
        setFldList({QStringLiteral("id"), QStringLiteral("title"), QStringLiteral("body")});
        setKeyList({QStringLiteral("id")});
        setFldExcludeKeyList({QStringLiteral("title"), QStringLiteral("body")});
    }
};

QVariant holder(OldNote &note)
{
    return QVariant::fromValue<QObject *>(&note);
}

QStringList titles(const QList<XXXModelRef> &models)
{
    QStringList out;
    for (const XXXModelRef &m : models)
        out.append(m.valueForKey(QStringLiteral("title")).toString());
    return out;
}

// Each test opens its own file, seeded with an empty OldNote table, and traces both
// connections of the manager.
class OlderDAOTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static int serial = 0;
        m_name = QStringLiteral("older-%1.sqlite").arg(++serial);
        DBManager *manager = DBManager::sharedDBManager();
        manager->setResourcePath(m_seeds.path());
        ASSERT_TRUE(makeDatabase(
            m_seeds.path(m_name),
            QStringLiteral("CREATE TABLE OldNote (id INTEGER PRIMARY KEY, title TEXT, body TEXT);")));
        ASSERT_TRUE(manager->openDataBase(m_name));
        sqlite3 *queueHandle = nullptr;
        manager->queue()->inDatabase([&](XXXRWDatabase *db) { queueHandle = db->sqliteHandle(); });
        m_queueTrace = std::make_unique<SqlTrace>(queueHandle);
        m_directTrace = std::make_unique<SqlTrace>(manager->db()->sqliteHandle());
        m_dao = std::make_unique<NoteDAO>();
        ASSERT_TRUE(m_dao->isValid());
    }
    void TearDown() override
    {
        m_dao.reset();
        // Dropped before the manager lets go of the traced connections.
        m_queueTrace.reset();
        m_directTrace.reset();
        DBManager::sharedDBManager()->closeDataBase();
    }
    void clearTraces()
    {
        m_queueTrace->clear();
        m_directTrace->clear();
    }

    TestSupport::TempDir m_seeds;
    QString m_name;
    std::unique_ptr<SqlTrace> m_queueTrace;
    std::unique_ptr<SqlTrace> m_directTrace;
    std::unique_ptr<NoteDAO> m_dao;
};

} // namespace

TEST(OlderDBManagerTest, OpensTheSeededCopyWithAQueueAndASecondConnection)
{
    TestSupport::TempDir seeds;
    DBManager *manager = DBManager::sharedDBManager();
    manager->setResourcePath(seeds.path());
    ASSERT_TRUE(makeDatabase(seeds.path(QStringLiteral("older-seed.sqlite")),
                             QStringLiteral("CREATE TABLE t (v); INSERT INTO t VALUES (1);")));
    {
        LogCapture log;
        ASSERT_TRUE(manager->openDataBase(QStringLiteral("older-seed.sqlite")));
        const QString path = QDir(documentsPath()).filePath(QStringLiteral("older-seed.sqlite"));
        EXPECT_EQ(manager->getDBPath(), path);
        // This line carries no function-and-line prefix.
        EXPECT_TRUE(log.lines().contains(QStringLiteral("dbPath= ") + path + QStringLiteral(" \n")));
        EXPECT_TRUE(log.contains(QStringLiteral("create database success")));
        EXPECT_TRUE(manager->db()->sqliteHandle());
        bool caching = false;
        manager->queue()->inDatabase([&](XXXRWDatabase *db) { caching = db->shouldCacheStatements(); });
        EXPECT_TRUE(caching);
        EXPECT_FALSE(manager->db()->shouldCacheStatements());
    }
    { // Opened again: the copy is kept and nothing is copied.
        LogCapture log;
        ASSERT_TRUE(manager->openDataBase(QStringLiteral("older-seed.sqlite")));
        EXPECT_FALSE(log.contains(QStringLiteral("create database success")));
    }
    { // No seed: reported as a failed copy of DBManager; SQLite makes an empty file.
        LogCapture log;
        ASSERT_TRUE(manager->openDataBase(QStringLiteral("older-unseeded.sqlite")));
        EXPECT_TRUE(log.contains(QStringLiteral("Failed to create writable database file with message '")));
        EXPECT_TRUE(log.contains(QStringLiteral("DBManager")));
    }
    // A folder in the file's place cannot be opened: no queue.
    ASSERT_TRUE(QDir().mkpath(QDir(documentsPath()).filePath(QStringLiteral("older-folder.sqlite"))));
    {
        LogCapture log;
        EXPECT_FALSE(manager->openDataBase(QStringLiteral("older-folder.sqlite")));
        EXPECT_TRUE(log.lines().contains(QStringLiteral("error opening the database with queue!")));
        BaseDAO dao;
        EXPECT_FALSE(dao.isValid());
        EXPECT_FALSE(dao.sqlUpdate(QStringLiteral("DELETE FROM t")));
        EXPECT_TRUE(dao.sqlQuery(QStringLiteral("SELECT * FROM t")).isEmpty());
    }
    manager->closeDataBase();
}

TEST_F(OlderDAOTest, InsertNumbersFromTheMaximumPlusOneAndWritesTheKeyBack)
{
    OldNote first;
    first.m_title = QStringLiteral("first");
    {
        LogCapture log;
        EXPECT_TRUE(m_dao->insert(holder(first)));
        EXPECT_TRUE(
            log.contains(QStringLiteral("insert sql=INSERT INTO OldNote (id,title,body) VALUES ( ?,?,? )")));
    }
    // An empty table has no maximum: the first key is 1 + 1.
    EXPECT_EQ(first.m_id, 2);
    EXPECT_EQ(m_queueTrace->statements(),
              QStringList{QStringLiteral("INSERT INTO OldNote (id,title,body) VALUES ( ?,?,? )")});
    EXPECT_EQ(m_directTrace->statements(),
              (QStringList{QStringLiteral("SELECT max(id) FROM  OldNote  "),
                           QStringLiteral("SELECT * FROM  OldNote  WHERE id = ?  ")}));

    OldNote second;
    second.m_title = QStringLiteral("second");
    EXPECT_TRUE(m_dao->insert(holder(second)));
    EXPECT_EQ(second.m_id, 3);

    // Saving a stored model again updates its row.
    clearTraces();
    first.m_title = QStringLiteral("first, changed");
    {
        LogCapture log;
        EXPECT_TRUE(m_dao->insert(holder(first)));
        EXPECT_TRUE(log.contains(QStringLiteral("info:add OldNote exsist!\n")));
    }
    EXPECT_EQ(m_queueTrace->statements(),
              QStringList{QStringLiteral("UPDATE OldNote SET title = ? , body = ?  WHERE id = ?  ")});
    EXPECT_EQ(titles(m_dao->findAll()),
              (QStringList{QStringLiteral("first, changed"), QStringLiteral("second")}));

    // A map is a model too; an array is not.
    EXPECT_TRUE(m_dao->insert(
        QVariantMap{{QStringLiteral("id"), 10}, {QStringLiteral("title"), QStringLiteral("map")}}));
    LogCapture log;
    EXPECT_FALSE(m_dao->insert(QVariantList{holder(second)}));
    EXPECT_TRUE(log.contains(QStringLiteral("insert takes one model, not an array")));
    EXPECT_FALSE(m_dao->insert(QVariant()));
    EXPECT_EQ(m_dao->rowNumbers(), 3);
}

TEST_F(OlderDAOTest, WritesRunOnTheQueueAndReadsOnTheSecondConnection)
{
    ASSERT_TRUE(m_dao->sqlUpdate(
        QStringLiteral("INSERT INTO OldNote VALUES (1, 'a', NULL), (2, 'b', 'x'), (3, 'c', 'y')")));
    OldNote probe;
    probe.m_id = 2;
    struct Case
    {
        const char *what;
        std::function<QVariant()> run;
        QVariant answer;
        QStringList onQueue;
        QStringList direct;
    };
    const QList<Case> cases = {
        {"findAll",
         [&] { return QVariant(titles(m_dao->findAll())); },
         QVariant(QStringList{"a", "b", "c"}),
         {},
         {QStringLiteral("SELECT * FROM  OldNote  ")}},
        {"findByKey of a bare key",
         [&] { return m_dao->findByKey(3).valueForKey(QStringLiteral("title")); },
         QVariant(QStringLiteral("c")),
         {},
         {QStringLiteral("SELECT * FROM  OldNote  WHERE id = ?  ")}},
        {"findByAttributes",
         [&] {
             return QVariant(
                 titles(m_dao->findByAttributes({{QStringLiteral("body"), QStringLiteral("y")}})));
         },
         QVariant(QStringList{"c"}),
         {},
         {QStringLiteral("SELECT * FROM  OldNote  WHERE body = :body  ")}},
        {"findByPage",
         [&] { return QVariant(titles(m_dao->findByPage(1, 2))); },
         QVariant(QStringList{"c"}),
         {},
         {QStringLiteral("SELECT * FROM  OldNote  LIMIT 2 OFFSET 2 ")}},
        {"sqlQuery by array",
         [&] {
             return QVariant(titles(
                 m_dao->sqlQuery(QStringLiteral("SELECT * FROM OldNote WHERE id < ?"), QVariantList{2})));
         },
         QVariant(QStringList{"a"}),
         {},
         {QStringLiteral("SELECT * FROM OldNote WHERE id < ?")}},
        {"rowNumbers",
         [&] { return QVariant(m_dao->rowNumbers()); },
         QVariant(qint64(3)),
         {},
         {QStringLiteral("SELECT count(*) as count FROM OldNote")}},
        {"pageNumberWithSize",
         [&] { return QVariant(m_dao->pageNumberWithSize(2)); },
         QVariant(qint64(2)),
         {},
         {QStringLiteral("SELECT count(*) as count FROM OldNote")}},
        {"sumOf keeps the neutral answer",
         [&] { return QVariant(m_dao->sumOf(QStringLiteral("id"))); },
         QVariant(qint64(0)),
         {},
         {}},
        {"findMaxKey",
         [&] { return m_dao->findMaxKey(); },
         QVariant(qint64(3)),
         {},
         {QStringLiteral("SELECT max(id) FROM  OldNote  ")}},
        {"sqlUpdate by array",
         [&] {
             return QVariant(m_dao->sqlUpdate(QStringLiteral("UPDATE OldNote SET body = ? WHERE id = 1"),
                                              QVariantList{QStringLiteral("z")}));
         },
         QVariant(true),
         {},
         {QStringLiteral("UPDATE OldNote SET body = ? WHERE id = 1")}},
        {"sqlUpdate by dictionary",
         [&] {
             return QVariant(m_dao->sqlUpdate(QStringLiteral("UPDATE OldNote SET body = :b WHERE id = 1"),
                                              QVariantMap{{QStringLiteral("b"), QStringLiteral("w")}}));
         },
         QVariant(true),
         {},
         {QStringLiteral("UPDATE OldNote SET body = :b WHERE id = 1")}},
        {"update",
         [&] {
             probe.m_title = QStringLiteral("B");
             probe.m_body = QString();
             return QVariant(m_dao->update(holder(probe)));
         },
         QVariant(true),
         {QStringLiteral("UPDATE OldNote SET title = ? , body = ?  WHERE id = ?  ")},
         {QStringLiteral("SELECT * FROM  OldNote  WHERE id = ?  ")}},
        {"delete",
         [&] { return QVariant(m_dao->deleteObject(holder(probe))); },
         QVariant(true),
         {QStringLiteral("DELETE FROM  OldNote WHERE id = ?  ")},
         {QStringLiteral("SELECT * FROM  OldNote  WHERE id = ?  ")}},
        {"delete of a missing row",
         [&] { return QVariant(m_dao->deleteObject(holder(probe))); },
         QVariant(false),
         {},
         {QStringLiteral("SELECT * FROM  OldNote  WHERE id = ?  ")}},
        {"sqlUpdate of a text alone",
         [&] {
             return QVariant(m_dao->sqlUpdate(QStringLiteral("UPDATE OldNote SET body = 'q' WHERE id = 3")));
         },
         QVariant(true),
         {QStringLiteral("UPDATE OldNote SET body = 'q' WHERE id = 3")},
         {}},
        {"clearAll",
         [&] { return QVariant(m_dao->clearAll()); },
         QVariant(true),
         {QStringLiteral("DELETE FROM  OldNote ")},
         {}},
        {"findMaxKey of an empty table",
         [&] { return m_dao->findMaxKey(); },
         QVariant(qint64(1)),
         {},
         {QStringLiteral("SELECT max(id) FROM  OldNote  ")}},
        {"findAll of an empty table",
         [&] { return QVariant(m_dao->findAll().size()); },
         QVariant(0),
         {},
         {QStringLiteral("SELECT * FROM  OldNote  ")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        clearTraces();
        EXPECT_EQ(c.run(), c.answer);
        EXPECT_EQ(m_queueTrace->statements(), c.onQueue);
        EXPECT_EQ(m_directTrace->statements(), c.direct);
    }
}

TEST_F(OlderDAOTest, RowModelsAreTransformedAndNullsLeaveDefaults)
{
    ASSERT_TRUE(m_dao->sqlUpdate(QStringLiteral("INSERT INTO OldNote VALUES (1, 'a', NULL)")));
    const XXXModelRef byKey = m_dao->findByKey(1);
    ASSERT_TRUE(byKey);
    const auto note = byKey.as<OldNote>();
    ASSERT_TRUE(note);
    EXPECT_EQ(note->m_transforms, 1);
    EXPECT_EQ(note->m_body, QStringLiteral("empty"));
    const auto all = m_dao->sqlQuery(QStringLiteral("SELECT * FROM OldNote"));
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all[0].as<OldNote>()->m_transforms, 1);

    // Without key columns: no look-up by key, and the maximum is 1.
    LogCapture log;
    m_dao->setKeyList({});
    EXPECT_FALSE(m_dao->findByKey(1));
    EXPECT_EQ(m_dao->findMaxKey(), QVariant(qint64(1)));
    EXPECT_TRUE(log.contains(QStringLiteral("table no primary key field!")));
    EXPECT_EQ(m_dao->pageNumberWithSize(0), 0);
    EXPECT_TRUE(log.contains(QStringLiteral("pageSize>0")));
}

TEST_F(OlderDAOTest, ValueModelsKeepTheirNewKeyAndBareKeysAreRefused)
{
    ASSERT_TRUE(m_dao->sqlUpdate(QStringLiteral("INSERT INTO OldNote VALUES (5, 'five', NULL)")));
    const auto rows = [&] {
        QStringList out;
        for (const XXXModelRef &m : m_dao->sqlQuery(QStringLiteral("SELECT * FROM OldNote ORDER BY id")))
            out.append(m.valueForKey(QStringLiteral("id")).toString() + QLatin1Char(':') +
                       m.valueForKey(QStringLiteral("title")).toString());
        return out;
    };

    // A map or hash model without a key is numbered like an object model, and the row
    // is written with that key.
    EXPECT_TRUE(m_dao->insert(
        QVariantMap{{QStringLiteral("id"), 0}, {QStringLiteral("title"), QStringLiteral("map")}}));
    EXPECT_TRUE(m_dao->insert(QVariantHash{{QStringLiteral("title"), QStringLiteral("hash")}}));
    EXPECT_EQ(rows(),
              (QStringList{QStringLiteral("5:five"), QStringLiteral("6:map"), QStringLiteral("7:hash")}));

    // A bare key names a row for findByKey, but insert, update and delete need the
    // model's fields: they refuse it instead of binding NULL and answering success.
    struct Case
    {
        const char *what;
        std::function<bool()> run;
    };
    const QList<Case> cases = {
        {"insert", [&] { return m_dao->insert(5); }},
        {"update", [&] { return m_dao->update(5); }},
        {"delete", [&] { return m_dao->deleteObject(5); }},
        {"delete by text", [&] { return m_dao->deleteObject(QStringLiteral("5")); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        clearTraces();
        LogCapture log;
        EXPECT_FALSE(c.run());
        EXPECT_TRUE(log.contains(QStringLiteral("takes a model, not a bare key value")));
        EXPECT_TRUE(m_queueTrace->statements().isEmpty());
    }
    EXPECT_EQ(m_dao->findByKey(5).valueForKey(QStringLiteral("title")), QVariant(QStringLiteral("five")));
    EXPECT_EQ(rows(),
              (QStringList{QStringLiteral("5:five"), QStringLiteral("6:map"), QStringLiteral("7:hash")}));
}

TEST_F(OlderDAOTest, AfterCloseDataBaseTheQueueStillWritesButReadsAnswerNothing)
{
    m_directTrace.reset(); // its connection is about to close
    DBManager::sharedDBManager()->closeDataBase();
    OldNote note;
    note.m_id = 10;
    note.m_title = QStringLiteral("after close");
    EXPECT_TRUE(m_dao->insert(holder(note)));
    EXPECT_EQ(note.m_id, 10);
    {
        LogCapture log;
        EXPECT_TRUE(m_dao->findAll().isEmpty());
        EXPECT_TRUE(log.contains(QStringLiteral("is not open.")));
    }
    // The row is in the file: the queue wrote it.
    bool found = false;
    DBManager::sharedDBManager()->queue()->inDatabase([&](XXXRWDatabase *db) {
        XXXRWResultSetPtr rs = db->executeQuery(QStringLiteral("SELECT title FROM OldNote WHERE id = 10"));
        found = rs && rs->next() && rs->stringForColumnIndex(0) == QStringLiteral("after close");
        if (rs)
            rs->close();
    });
    EXPECT_TRUE(found);

    // A DAO made after the manager replaced its connection and queue no longer reaches
    // the old ones.
    m_queueTrace.reset(); // the traced connections go away with the reopen
    m_directTrace.reset();
    ASSERT_TRUE(DBManager::sharedDBManager()->openDataBase(m_name));
    EXPECT_FALSE(m_dao->queue());
    EXPECT_FALSE(m_dao->sqlUpdate(QStringLiteral("DELETE FROM OldNote")));
    NoteDAO fresh;
    EXPECT_EQ(titles(fresh.findAll()), QStringList{QStringLiteral("after close")});
}

#include "OlderDAOTest.moc"

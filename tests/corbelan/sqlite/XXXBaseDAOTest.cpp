// The table data-access base over the manager's queue: the statements it builds for
// tables with one key, two keys and no key, key numbering, finds and pages, and the
// business-object and model bases on top.

#include "SqliteTestModels.h"

#include <corbelan/sqlite/DataModel.h>
#include <corbelan/sqlite/XXXDBManager.h>
#include <corbelan/sqlite/XXXRWResultSet.h>

#include <bastwick/platform/KeyValue.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <thread>
#include <vector>

using TestSupport::LogCapture;
using TestSupport::TempDir;

namespace {

// True when some captured line ends with exactly this text (trailing blanks included:
// the key condition ends in a blank and the statement templates add one).
bool loggedLineEndingWith(const LogCapture &log, const QString &text)
{
    for (const QString &line : log.lines())
        if (line.endsWith(text))
            return true;
    return false;
}

QVariant holderOf(QObject *model)
{
    return QVariant::fromValue<QObject *>(model);
}

class XXXBaseDAOTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        XXXDBManager *manager = XXXDBManager::sharedXXXDBManager();
        manager->setDocumentsPath(tmp.path(QStringLiteral("docs")));
        manager->setResourcePath(tmp.path(QStringLiteral("no-seed")));
        ASSERT_TRUE(manager->openDataBaseWithPath(tmp.path(QStringLiteral("docs/app.sqlite"))));
        manager->queue()->inDatabase([](XXXRWDatabase *db) {
            for (const char *sql : {
                     "CREATE TABLE Note (ID INTEGER PRIMARY KEY, title TEXT, score REAL, flag INTEGER)",
                     "CREATE TABLE Pair (a INTEGER, b INTEGER, val TEXT, PRIMARY KEY (a, b))",
                     "CREATE TABLE Loose (name TEXT, value TEXT)",
                     "CREATE TABLE Tag (label TEXT PRIMARY KEY)",
                     "CREATE TABLE GadgetRow (ID INTEGER PRIMARY KEY, text TEXT NOT NULL)",
                 })
                ASSERT_TRUE(db->executeUpdate(QString::fromLatin1(sql)));
        });
    }

    void TearDown() override
    {
        XXXDBManager *manager = XXXDBManager::sharedXXXDBManager();
        manager->closeDataBase();
        manager->setQueue(nullptr);
        manager->setDocumentsPath(QString());
        manager->setResourcePath(QStringLiteral(":"));
    }

    TempDir tmp;
};

} // namespace

// One key, two keys, no key: each write builds the exact statement text, an insert of
// an existing row updates it, and a table without a key can only insert.
TEST_F(XXXBaseDAOTest, writesBuildTheExactStatementsForEveryKeyShape)
{
    struct Case
    {
        const char *table;
        QStringList fields;
        QStringList keys;
        std::function<std::shared_ptr<QObject>()> make; // a model, its keys set
        QString changedField;
        const char *insertSql;
        const char *updateSql;
        const char *findSql;
        const char *deleteSql;
    };
    const Case cases[] = {
        {"Note",
         {"ID", "title", "score", "flag"},
         {"ID"},
         [] {
             auto n = std::make_shared<Note>();
             n->m_id = 0; // numbered on insert
             n->m_title = QStringLiteral("first");
             return n;
         },
         "title",
         "insert sql=INSERT INTO Note (ID,title,score,flag) VALUES ( ?,?,?,? )",
         "update sql=UPDATE Note SET title = ? , score = ? , flag = ?  WHERE ID = ?  ",
         "findByKey sql=SELECT * FROM  Note  WHERE ID = ?  ",
         "delete sql=DELETE FROM  Note WHERE ID = ?  "},
        {"Pair",
         {"a", "b", "val"},
         {"a", "b"},
         [] {
             auto p = std::make_shared<Pair>();
             p->m_a = 3;
             p->m_b = 4;
             p->m_val = QStringLiteral("first");
             return p;
         },
         "val",
         "insert sql=INSERT INTO Pair (a,b,val) VALUES ( ?,?,? )",
         "update sql=UPDATE Pair SET val = ?  WHERE a = ? AND b = ?  ",
         "findByKey sql=SELECT * FROM  Pair  WHERE a = ? AND b = ?  ",
         "delete sql=DELETE FROM  Pair WHERE a = ? AND b = ?  "},
        {"Loose",
         {"name", "value"},
         {},
         [] {
             auto l = std::make_shared<Loose>();
             l->m_name = QStringLiteral("n");
             l->m_value = QStringLiteral("first");
             return l;
         },
         "value",
         "insert sql=INSERT INTO Loose (name,value) VALUES ( ?,? )",
         nullptr,
         nullptr,
         nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table);
        TableDAO dao(QString::fromLatin1(c.table), c.fields, c.keys);
        ASSERT_TRUE(dao.isValid());
        const bool keyed = !c.keys.isEmpty();
        auto model = c.make();
        QVariant holder = holderOf(model.get());
        {
            LogCapture log;
            EXPECT_TRUE(dao.insert(holder));
            EXPECT_TRUE(loggedLineEndingWith(log, QString::fromLatin1(c.insertSql)));
        }
        EXPECT_EQ(dao.rowNumbers(), 1);

        Bastwick::setValueForKey(model.get(), c.changedField, QStringLiteral("second"));
        {
            LogCapture log;
            EXPECT_TRUE(dao.insert(holder)); // a second save of the same model
            if (keyed) {
                EXPECT_TRUE(
                    log.contains(QStringLiteral("info:add %1 exsist!").arg(QString::fromLatin1(c.table))));
                EXPECT_TRUE(loggedLineEndingWith(log, QString::fromLatin1(c.updateSql)));
                EXPECT_TRUE(loggedLineEndingWith(log, QString::fromLatin1(c.findSql)));
            }
        }
        EXPECT_EQ(dao.rowNumbers(), keyed ? 1 : 2);

        if (keyed) {
            const XXXModelRef found = dao.findByKey(holder);
            ASSERT_FALSE(found.isNull());
            EXPECT_EQ(found.valueForKey(c.changedField), QVariant(QStringLiteral("second")));
            EXPECT_TRUE(dao.update(holder));
            LogCapture log;
            EXPECT_TRUE(dao.deleteObject(holder));
            EXPECT_TRUE(loggedLineEndingWith(log, QString::fromLatin1(c.deleteSql)));
            EXPECT_EQ(dao.rowNumbers(), 0);
            EXPECT_FALSE(dao.deleteObject(holder)); // gone
            EXPECT_FALSE(dao.update(holder));
        } else {
            LogCapture log;
            EXPECT_FALSE(dao.update(holder));
            EXPECT_FALSE(dao.deleteObject(holder));
            EXPECT_TRUE(log.contains(QStringLiteral("table no primary key field!")));
            EXPECT_TRUE(dao.findByKey(holder).isNull());
            EXPECT_EQ(dao.rowNumbers(), 2);
        }
    }
}

TEST_F(XXXBaseDAOTest, numberedKeysAreSixtyFourBitAndWrittenBack)
{
    NoteDAO dao;
    Note first;
    ASSERT_TRUE(dao.insert(holderOf(&first)));
    EXPECT_EQ(first.m_id, 1);
    ASSERT_TRUE(dao.sqlUpdate(QStringLiteral("INSERT INTO Note (ID, title) VALUES (?, ?)"),
                              QVariantList{qint64(5000000000), QStringLiteral("far")}));
    EXPECT_EQ(dao.findMaxKey(), QVariant::fromValue(qint64(5000000000)));
    Note next;
    ASSERT_TRUE(dao.insert(holderOf(&next)));
    EXPECT_EQ(next.m_id, 5000000001);
    EXPECT_EQ(dao.sumOf(QStringLiteral("ID")), 1 + 5000000000 + 5000000001);
    EXPECT_EQ(dao.rowNumbers(), 3);
    {
        LogCapture log;
        ASSERT_TRUE(dao.clearAll());
        EXPECT_TRUE(loggedLineEndingWith(log, QStringLiteral("clearAll sql=DELETE FROM  Note ")));
        EXPECT_EQ(dao.findMaxKey(), QVariant::fromValue(qint64(0)));
        EXPECT_TRUE(loggedLineEndingWith(log, QStringLiteral("findMaxKey sql=SELECT max(ID) FROM  Note  ")));
    }
    EXPECT_EQ(dao.sumOf(QStringLiteral("ID")), 0);
}

// Inserts from many threads at once never draw the same key.
TEST_F(XXXBaseDAOTest, concurrentInsertsDrawDistinctKeys)
{
    constexpr int kThreads = 6;
    constexpr int kEach = 15;
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            NoteDAO dao;
            for (int i = 0; i < kEach; ++i) {
                Note note;
                if (!dao.insert(holderOf(&note)) || note.m_id == 0)
                    ++failures;
            }
        });
    }
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
    NoteDAO dao;
    EXPECT_EQ(dao.rowNumbers(), kThreads * kEach);
    EXPECT_EQ(dao.findMaxKey().toLongLong(), kThreads * kEach);
}

TEST_F(XXXBaseDAOTest, findsPagesAndCounts)
{
    NoteDAO dao;
    EXPECT_TRUE(dao.findAll().isEmpty());
    EXPECT_TRUE(dao.findByPage(0, 10).isEmpty());
    EXPECT_TRUE(dao.sqlQuery(QStringLiteral("SELECT * FROM Note")).isEmpty());
    EXPECT_TRUE(dao.findByAttributes({{QStringLiteral("title"), QStringLiteral("x")}}).isEmpty());
    EXPECT_EQ(dao.pageNumberWithSize(10), 0);

    QVariantList notes;
    std::vector<std::unique_ptr<Note>> keep;
    for (int i = 1; i <= 25; ++i) {
        keep.push_back(std::make_unique<Note>());
        keep.back()->m_title = (i == 3) ? QStringLiteral("it's 3") : QStringLiteral("n%1").arg(i);
        keep.back()->m_score = i / 2.0;
        keep.back()->m_flag = i % 2;
        notes << holderOf(keep.back().get());
    }
    ASSERT_TRUE(dao.insert(notes));

    struct Page
    {
        qint64 size;
        qint64 pages;
    };
    for (const Page p : {Page{10, 3}, Page{25, 1}, Page{30, 1}, Page{1, 25}}) {
        EXPECT_EQ(dao.pageNumberWithSize(p.size), p.pages) << p.size;
        EXPECT_EQ(dao.count(), 25);
    }
    {
        LogCapture log;
        EXPECT_EQ(dao.pageNumberWithSize(0), 0);
        EXPECT_TRUE(log.contains(QStringLiteral("pageSize>0")));
    }
    {
        LogCapture log;
        const auto page = dao.findByPage(2, 10);
        ASSERT_EQ(page.size(), 5);
        EXPECT_EQ(page.first().as<Note>()->m_id, 21);
        EXPECT_TRUE(loggedLineEndingWith(
            log, QStringLiteral("findByPage sql=SELECT * FROM  Note  LIMIT 10 OFFSET 20  pageindex=2")));
    }
    LogCapture findAllLog;
    const auto all = dao.findAll();
    ASSERT_EQ(all.size(), 25);
    EXPECT_TRUE(loggedLineEndingWith(findAllLog, QStringLiteral("findAll sql=SELECT * FROM  Note  ")));
    const auto fifth = all.at(4).as<Note>();
    ASSERT_TRUE(fifth);
    EXPECT_EQ(fifth->m_title, QStringLiteral("n5"));
    EXPECT_EQ(fifth->m_score, 2.5);
    EXPECT_TRUE(fifth->m_flag);

    // Values with quotes are bound, never pasted into the statement.
    const auto quoted = dao.findByAttributes({{QStringLiteral("title"), QStringLiteral("it's 3")}});
    ASSERT_EQ(quoted.size(), 1);
    EXPECT_EQ(quoted.first().as<Note>()->m_id, 3);
    const auto two = dao.findByAttributes({{QStringLiteral("flag"), true}, {QStringLiteral("score"), 0.5}});
    ASSERT_EQ(two.size(), 1);
    EXPECT_EQ(two.first().as<Note>()->m_id, 1);
    {
        LogCapture log;
        EXPECT_TRUE(dao.findByAttributes({}).isEmpty());
        EXPECT_TRUE(log.contains(QStringLiteral("findByAttributes :  attribute parameter is null  !")));
    }
    // SQL text with a stray quote: a logged error and no rows, nothing else.
    {
        LogCapture log;
        EXPECT_TRUE(dao.sqlQuery(QStringLiteral("select * from Note where title like '%it's%'")).isEmpty());
        EXPECT_TRUE(log.contains(QStringLiteral("DB Error: 1")));
    }
    EXPECT_EQ(dao.sqlQuery(QStringLiteral("select * from Note where title like ?"),
                           QVariantList{QStringLiteral("%it's%")})
                  .size(),
              1);
    EXPECT_EQ(
        dao.sqlQuery(QStringLiteral("select * from Note where ID > :min"), QVariantMap{{"min", 20}}).size(),
        5);
    EXPECT_TRUE(dao.sqlUpdate(QStringLiteral("DELETE FROM Note WHERE ID > :min"), QVariantMap{{"min", 20}}));
    EXPECT_EQ(dao.rowNumbers(), 20);
}

TEST_F(XXXBaseDAOTest, rowsBecomeModelsByKeyValue)
{
    NoteDAO dao;
    // A NULL column leaves the property as the model made it.
    ASSERT_TRUE(dao.sqlUpdate(QStringLiteral("INSERT INTO Note (ID, title, score) VALUES (3, NULL, NULL)")));
    const auto found = dao.findByKey(qint64(3)).as<Note>();
    ASSERT_TRUE(found);
    EXPECT_EQ(found->m_id, 3);
    EXPECT_EQ(found->m_title, QStringLiteral("untitled"));
    EXPECT_EQ(found->m_score, 0.0);
    EXPECT_TRUE(dao.findByKey(qint64(4)).isNull());
    EXPECT_TRUE(dao.findByKey(QVariantMap{{"ID", 3}}).as<Note>());
    // Absent and null key values are ignored by the scalar key property: no row, no crash.
    EXPECT_TRUE(dao.findByKey(QVariantMap{}).isNull());
    EXPECT_TRUE(dao.findByKey(QVariantMap{{"ID", QVariant()}}).isNull());
    EXPECT_FALSE(dao.deleteObject(QVariantMap{{"ID", Bastwick::nullValue()}}));
    EXPECT_EQ(dao.rowNumbers(), 1);

    // Two keys: a bare value stands for every key column; a map or list names them.
    TableDAO pairs(QStringLiteral("Pair"), {"a", "b", "val"}, {"a", "b"});
    ASSERT_TRUE(pairs.sqlUpdate(
        QStringLiteral("INSERT INTO Pair VALUES (4, 4, 'same'), (4, 5, 'diff'), (6, 7, 'x')")));
    EXPECT_EQ(pairs.findByKey(4).valueForKey(QStringLiteral("val")), QVariant(QStringLiteral("same")));
    EXPECT_TRUE(pairs.deleteOne(4));
    EXPECT_TRUE(pairs.deleteObject(QVariantMap{{"a", 4}, {"b", 5}}));
    EXPECT_TRUE(pairs.deleteObject(QVariantList{6, 7}));
    EXPECT_EQ(pairs.rowNumbers(), 0);

    // Every column a key: the update sets the keys to their own values.
    TableDAO tags(QStringLiteral("Tag"), {"label"}, {"label"});
    Tag tag;
    tag.m_label = QStringLiteral("x");
    ASSERT_TRUE(tags.insert(holderOf(&tag)));
    LogCapture log;
    EXPECT_TRUE(tags.update(holderOf(&tag)));
    EXPECT_TRUE(
        loggedLineEndingWith(log, QStringLiteral("update sql=UPDATE Tag SET label = ?  WHERE label = ?  ")));
}

// Gadget models, and an array insert that keeps the elements that succeeded.
TEST_F(XXXBaseDAOTest, gadgetModelsAndPartialArrays)
{
    TableDAO dao(QStringLiteral("GadgetRow"), {"ID", "text"}, {"ID"});
    GadgetRow a{10, QStringLiteral("a")};
    GadgetRow broken{11, QString()}; // NOT NULL column
    GadgetRow c{12, QStringLiteral("c")};
    EXPECT_FALSE(dao.insert(
        QVariantList{QVariant::fromValue(a), QVariant::fromValue(broken), QVariant::fromValue(c)}));
    EXPECT_TRUE(dao.insert(QVariantList{}));
    const auto rows = dao.findAll();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_FALSE(rows.first().isObject());
    EXPECT_EQ(rows.first().gadgetValue<GadgetRow>().text, QStringLiteral("a"));
    EXPECT_EQ(rows.last().gadgetValue<GadgetRow>().id, 12);
    EXPECT_TRUE(dao.deleteObject(QVariant::fromValue(c)));
    EXPECT_EQ(dao.rowNumbers(), 1);
}

// A gadget, a map and the elements of a list take the key an insert draws for them, so
// saving them again updates their row instead of adding another.
TEST_F(XXXBaseDAOTest, valueModelsSavedTwiceStayOneRow)
{
    TableDAO dao(QStringLiteral("GadgetRow"), {"ID", "text"}, {"ID"});
    QVariant gadget = QVariant::fromValue(GadgetRow{0, QStringLiteral("gadget")});
    QVariant map = QVariantMap{{QStringLiteral("ID"), 0}, {QStringLiteral("text"), QStringLiteral("map")}};
    QVariant list = QVariantList{QVariant::fromValue(GadgetRow{0, QStringLiteral("listed")})};
    ASSERT_TRUE(dao.insert(gadget));
    ASSERT_TRUE(dao.insert(map));
    ASSERT_TRUE(dao.insert(list));
    EXPECT_EQ(gadget.value<GadgetRow>().id, 1);
    EXPECT_EQ(map.toMap().value(QStringLiteral("ID")).toLongLong(), 2);
    EXPECT_EQ(list.toList().constFirst().value<GadgetRow>().id, 3);

    // Changed and saved again: the same three rows, changed.
    Bastwick::setValueForKey(gadget, QStringLiteral("text"), QStringLiteral("gadget again"));
    Bastwick::setValueForKey(map, QStringLiteral("text"), QStringLiteral("map again"));
    QVariantList elements = list.toList();
    Bastwick::setValueForKey(elements[0], QStringLiteral("text"), QStringLiteral("listed again"));
    list = elements;
    EXPECT_TRUE(dao.insert(gadget));
    EXPECT_TRUE(dao.insert(map));
    EXPECT_TRUE(dao.insert(list));
    QStringList rows;
    for (const XXXModelRef &row : dao.findAll())
        rows.append(QString::number(row.gadgetValue<GadgetRow>().id) + QLatin1Char(':') +
                    row.gadgetValue<GadgetRow>().text);
    EXPECT_EQ(rows, (QStringList{QStringLiteral("1:gadget again"), QStringLiteral("2:map again"),
                                 QStringLiteral("3:listed again")}));
}

// SQLite would store a NaN as NULL: a write carrying one is refused, naming the column,
// and the table keeps what it had.
TEST_F(XXXBaseDAOTest, aNaNValueIsRefusedNamingTheColumn)
{
    NoteDAO dao;
    Note note;
    note.m_title = QStringLiteral("kept");
    note.m_score = 2.5;
    ASSERT_TRUE(dao.insert(holderOf(&note)));

    struct Case
    {
        const char *what;
        std::function<bool(Note &)> write;
    };
    const Case cases[] = {
        {"insert of a new row", [&](Note &n) { return dao.insert(holderOf(&n)); }},
        {"update", [&](Note &n) { return dao.update(holderOf(&n)); }},
        {"insert of a stored row", [&](Note &n) { return dao.insert(holderOf(&n)); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Note bad;
        bad.m_id = QByteArray(c.what) == "insert of a new row" ? 0 : note.m_id;
        bad.m_title = QStringLiteral("bad");
        bad.m_score = std::numeric_limits<double>::quiet_NaN();
        LogCapture log;
        EXPECT_FALSE(c.write(bad));
        EXPECT_TRUE(log.contains(QStringLiteral("the value of column score of table Note is NaN")))
            << log.lines().join(u'\n').toStdString();
    }
    ASSERT_EQ(dao.rowNumbers(), 1);
    const auto stored = dao.findByKey(note.m_id).as<Note>();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->m_title, QStringLiteral("kept"));
    EXPECT_EQ(stored->m_score, 2.5);
}

// Each failed row write keeps its own reason, and the next write that succeeds clears it.
TEST_F(XXXBaseDAOTest, aFailedWriteKeepsItsReason)
{
    NoteDAO dao;
    Note stored;
    ASSERT_TRUE(dao.insert(holderOf(&stored)));
    ASSERT_TRUE(dao.sqlUpdate(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Note WHEN "
                                             "NEW.title = 'refused' BEGIN SELECT RAISE(ABORT, 'not this "
                                             "title'); END")));
    Note missing;
    missing.m_id = stored.m_id + 100;
    Note nan;
    nan.m_score = std::numeric_limits<double>::quiet_NaN();
    Note refused;
    refused.m_id = stored.m_id;
    refused.m_title = QStringLiteral("refused");

    struct Case
    {
        const char *what;
        std::function<bool()> write;
        QString reason;
    };
    const Case cases[] = {
        {"update of a missing row", [&] { return dao.update(holderOf(&missing)); },
         QStringLiteral("no such row in Note")},
        {"delete of a missing row", [&] { return dao.deleteObject(holderOf(&missing)); },
         QStringLiteral("no such row in Note")},
        {"a NaN value", [&] { return dao.insert(holderOf(&nan)); },
         QStringLiteral("the value of column score of table Note is NaN, which cannot be stored")},
        {"a write SQLite refuses", [&] { return dao.update(holderOf(&refused)); },
         QStringLiteral("not this title")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(c.write());
        EXPECT_EQ(dao.lastError().description.toStdString(), c.reason.toStdString());
        EXPECT_TRUE(dao.update(holderOf(&stored)));
        EXPECT_EQ(dao.lastError(), Bastwick::Error());
    }

    XXXDBManager *manager = XXXDBManager::sharedXXXDBManager();
    manager->closeDataBase();
    manager->setQueue(nullptr);
    EXPECT_FALSE(dao.update(holderOf(&stored)));
    EXPECT_EQ(dao.lastError().description.toStdString(), "the local database is not open");
}

TEST_F(XXXBaseDAOTest, withoutAnOpenDatabaseEverythingAnswersNothing)
{
    XXXDBManager *manager = XXXDBManager::sharedXXXDBManager();
    XXXRWDatabaseQueuePtr queue = manager->queue();
    manager->setQueue(nullptr);
    NoteDAO dao;
    manager->setQueue(queue);
    EXPECT_FALSE(dao.isValid());
    Note note;
    EXPECT_FALSE(dao.insert(holderOf(&note)));
    EXPECT_TRUE(dao.findAll().isEmpty());
    EXPECT_EQ(dao.rowNumbers(), 0);

    // A table object outliving the queue it was made with answers nothing, safely.
    NoteDAO stale;
    ASSERT_TRUE(stale.isValid());
    manager->closeDataBase();
    manager->setQueue(nullptr);
    queue.reset();
    EXPECT_FALSE(stale.insert(holderOf(&note)));
    EXPECT_EQ(stale.rowNumbers(), 0);
}

TEST_F(XXXBaseDAOTest, businessObjectsFindTheirTablesByName)
{
    NoteBO *bo = XXXBO::sharedInstance<NoteBO>();
    ASSERT_TRUE(bo);
    EXPECT_EQ(XXXBO::sharedInstance<NoteBO>(), bo);
    XXXBO *base = XXXBO::sharedInstance<XXXBO>();
    ASSERT_TRUE(base);
    EXPECT_NE(static_cast<XXXBO *>(bo), base); // one instance per class
    EXPECT_FALSE(qobject_cast<NoteBO *>(base));

    EXPECT_EQ(bo->daoClassName(), QStringLiteral("NoteDAO"));
    EXPECT_EQ(bo->modelClassName(), QStringLiteral("Note"));
    BOOKBO book;
    EXPECT_EQ(book.daoClassName(), QStringLiteral("DAOOKDAO"));
    EXPECT_EQ(book.modelClassName(), QStringLiteral("OK"));
    EXPECT_EQ(book.dao(), nullptr);
    EXPECT_FALSE(book.save(QVariantMap{{"ID", 1}}));

    ASSERT_TRUE(qobject_cast<NoteDAO *>(bo->dao()));
    EXPECT_TRUE(bo->save(QVariantMap{{"ID", 0}, {"title", "from a map"}, {"unknown", 1}}));
    EXPECT_TRUE(bo->save(QVariantMap{{"ID", 1}, {"title", "changed"}}));
    const auto all = bo->all();
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all.first().as<Note>()->m_title, QStringLiteral("changed"));
    EXPECT_TRUE(bo->deleteObject(QVariantMap{{"ID", 1}}));
    EXPECT_TRUE(bo->allDefines().isEmpty());

    // By the naming rule the base business object gets the neutral XXXDAO, until another
    // class is configured.
    ASSERT_TRUE(base->dao());
    EXPECT_STREQ(base->dao()->metaObject()->className(), "XXXDAO");
    EXPECT_TRUE(base->all().isEmpty());
    base->configDAOClass(QStringLiteral("NoteDAO"));
    ASSERT_TRUE(qobject_cast<NoteDAO *>(base->dao()));
    EXPECT_TRUE(base->save(holderOf(std::make_unique<Note>().get())));
    EXPECT_EQ(bo->all().size(), 1);
    base->setDao(nullptr);
}

namespace {
class Described : public DataModel
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER m_name)
    Q_PROPERTY(QString note MEMBER m_note)
    Q_PROPERTY(int count MEMBER m_count)
public:
    QString m_name = QStringLiteral("x");
    QString m_note; // absent
    int m_count = 2;
};
} // namespace

TEST(ModelBases, describeOwnPropertiesAndBuildNothingFromDictionaries)
{
    Described model;
    EXPECT_EQ(model.objectAsDictionary(), (QVariantMap{{"name", "x"}, {"count", 2}}));
    EXPECT_TRUE(model.description().contains(QStringLiteral("name = x")));
    EXPECT_FALSE(model.description().contains(QStringLiteral("note")));
    EXPECT_FALSE(model.initWithDictionary({{"name", "y"}}));
    EXPECT_FALSE(model.jsonKeyPathsByProperty().isValid());
    XXXDataModel plain;
    EXPECT_FALSE(plain.initWithDictionary({{"name", "y"}}));
    EXPECT_FALSE(plain.jsonKeyPathsByProperty().isValid());
}

#include "XXXBaseDAOTest.moc"

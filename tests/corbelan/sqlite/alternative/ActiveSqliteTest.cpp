// The active-record base and its sample record.

#include "AltSqliteTestSupport.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/alternative/ActiveSqlite.h>
#include <corbelan/sqlite/alternative/TodolistEntity.h>

#include <bastwick/platform/Exception.h>

#include <gtest/gtest.h>

#include <functional>

using namespace AltSqliteTest;
using TestSupport::LogCapture;

namespace {

// The statements a traced connection ran, from its log lines.
QStringList ranStatements(const LogCapture &log)
{
    QStringList out;
    for (const QString &line : log.lines()) {
        for (const QString &marker :
             {QStringLiteral(" executeQuery: "), QStringLiteral(" executeUpdate: ")}) {
            const int at = line.indexOf(marker);
            if (at >= 0)
                out.append(line.mid(at + marker.size()));
        }
    }
    return out;
}

class ActiveSqliteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_dir.path(QStringLiteral("active.sqlite"));
        m_db = XXXRWDatabase::databaseWithPath(m_path);
        ASSERT_TRUE(m_db->open());
        ASSERT_TRUE(m_db->executeUpdate(TodolistEntity::sqlForCreateTable()));
        m_db->close();
        m_db->setTraceExecution(true);
    }

    // Adds n rows "todo 1" ... "todo n"; every third one done, done of the 5th NULL.
    void addRows(int n)
    {
        ASSERT_TRUE(m_db->open());
        for (int i = 1; i <= n; ++i) {
            const QVariant done = i == 5 ? QVariant() : QVariant(i % 3 == 0);
            ASSERT_TRUE(m_db->executeUpdate(
                QStringLiteral("INSERT INTO todolist(timestamp, done, todo) VALUES (?, ?, ?)"),
                QVariantList{1000.0 * i, done, QStringLiteral("todo %1").arg(i)}));
        }
        m_db->close();
    }

    TestSupport::TempDir m_dir;
    QString m_path;
    XXXRWDatabasePtr m_db;
};

} // namespace

TEST(ActiveSqliteRaiseTest, RecordsWithoutAConnectionAndTheBasesHooksRaise)
{
    struct Case
    {
        const char *what;
        std::function<void()> run;
        QString reason;
    };
    const QList<Case> cases = {
        {"plain base", [] { ActiveSqlite record; },
         QStringLiteral("请使用 initWithRWDB: 初始化ActiveSqlite")},
        {"plain sample", [] { TodolistEntity record; },
         QStringLiteral("请使用 initWithRWDB: 初始化TodolistEntity")},
        {"base table name", [] { ActiveSqlite::classTableName(); },
         QStringLiteral("子类必需实现：+(NSString *)tableName")},
        {"base fields", [] { ActiveSqlite::classFields(); },
         QStringLiteral("子类必需实现：+(NSString *)fields")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.run();
            ADD_FAILURE() << "did not raise";
        } catch (const Bastwick::Exception &e) {
            EXPECT_EQ(e.reason(), c.reason);
        }
    }
    EXPECT_EQ(ActiveSqlite::fieldPrimary(), QStringLiteral("id"));
    EXPECT_TRUE(ActiveSqlite::sqlForCreateTable().isNull());
    EXPECT_EQ(TodolistEntity::classFields(), (QStringList{QStringLiteral("id"), QStringLiteral("timestamp"),
                                                          QStringLiteral("done"), QStringLiteral("todo")}));
}

TEST(ActiveSqliteValueTest, ValueHelpersConvertAndFallBack)
{
    const QVariant nil;
    const QVariant null = QVariant::fromValue(nullptr);
    EXPECT_EQ(ActiveSqlite::getString(QString()), QStringLiteral(""));
    EXPECT_FALSE(ActiveSqlite::getString(QString()).isNull());
    EXPECT_TRUE(ActiveSqlite::isDBNull(ActiveSqlite::nilFilter(nil)));
    EXPECT_EQ(ActiveSqlite::nilFilter(QVariant(3)), QVariant(3));
    EXPECT_TRUE(ActiveSqlite::isDBNull(ActiveSqlite::stringToValue(nil)));
    EXPECT_FALSE(ActiveSqlite::isDBNull(nil));
    EXPECT_TRUE(ActiveSqlite::isDBNull(ActiveSqlite::dateToValue(QDateTime())));
    EXPECT_EQ(ActiveSqlite::dateToValue(QDateTime::fromMSecsSinceEpoch(1500)).toDouble(), 1.5);

    struct Case
    {
        const char *what;
        QVariant value;
        bool asBool;
        qint64 asInt;
        double asFloat;
        QString asString;
    };
    const QList<Case> cases = {
        {"nil gives the defaults", nil, false, ActiveSqlite::kNotStored, 2.2250738585072014e-308, QString()},
        {"null gives the defaults", null, false, ActiveSqlite::kNotStored, 2.2250738585072014e-308,
         QString()},
        {"integer", QVariant::fromValue<qint64>(2), true, 2, 2.0, QStringLiteral("2")},
        {"double, read in single precision", QVariant(0.1), true, 0, double(0.1f), QStringLiteral("0.1")},
        {"text", QVariant(QStringLiteral("7")), true, 7, 7.0, QStringLiteral("7")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ActiveSqlite::valueToBool(c.value), c.asBool);
        EXPECT_EQ(ActiveSqlite::valueToInt(c.value), c.asInt);
        EXPECT_EQ(ActiveSqlite::valueToFloat(c.value), c.asFloat);
        EXPECT_EQ(ActiveSqlite::valueToString(c.value), c.asString);
    }
    EXPECT_TRUE(ActiveSqlite::valueToBool(null, true));
    EXPECT_EQ(ActiveSqlite::valueToInt(nil, 5), 5);

    const QDateTime fallback = QDateTime::fromMSecsSinceEpoch(42000);
    EXPECT_EQ(ActiveSqlite::valueToDate(QVariant(86400.0)), QDateTime::fromMSecsSinceEpoch(86400000));
    EXPECT_EQ(ActiveSqlite::valueToDate(QVariant(QStringLiteral("2015-03-04 05:06:07"))),
              QDateTime(QDate(2015, 3, 4), QTime(5, 6, 7)));
    EXPECT_FALSE(ActiveSqlite::valueToDate(QVariant(QStringLiteral("2015-03-04"))).isValid());
    EXPECT_EQ(ActiveSqlite::valueToDate(null, fallback), fallback);
    EXPECT_EQ(ActiveSqlite::valueToDate(nil, fallback), fallback);
    EXPECT_EQ(ActiveSqlite::valueToDate(QVariant(QByteArray("x")), fallback), fallback);
}

TEST_F(ActiveSqliteTest, SaveInsertsNewRecordsAndUpdatesStoredOnes)
{
    TodolistEntity entity(m_db);
    EXPECT_EQ(entity.tableName(), QStringLiteral("todolist"));
    EXPECT_EQ(entity.primaryId(), ActiveSqlite::kNotStored);
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(Q_INT64_C(1600000000250));
    entity.setTimestamp(when);
    entity.setTodo(QStringLiteral("it's done"));
    entity.setDone(true);
    {
        LogCapture log;
        EXPECT_TRUE(entity.save());
        EXPECT_EQ(ranStatements(log),
                  QStringList{QStringLiteral("INSERT INTO todolist(timestamp,done,todo) VALUES (?,?,?)")});
    }
    // The new id is answered, not kept: the record still counts as not stored.
    EXPECT_EQ(entity.primaryId(), ActiveSqlite::kNotStored);
    EXPECT_FALSE(m_db->sqliteHandle()); // closed after the operation

    TodolistEntity read(m_db);
    ASSERT_TRUE(read.findOneWithPrimaryId(1));
    EXPECT_EQ(read.primaryId(), 1);
    EXPECT_EQ(read.timestamp(), when);
    EXPECT_TRUE(read.done());
    EXPECT_EQ(read.todo(), QStringLiteral("it's done"));
    EXPECT_EQ(read.data().value(QStringLiteral("todo")).toString(), QStringLiteral("it's done"));

    // A stored record is updated by its id.
    read.setTodo(QString());
    read.setDone(false);
    {
        LogCapture log;
        EXPECT_TRUE(read.save());
        EXPECT_EQ(
            ranStatements(log),
            QStringList{QStringLiteral("UPDATE todolist SET timestamp = ?,done = ?,todo = ? WHERE id = ?")});
    }
    TodolistEntity again(m_db);
    ASSERT_TRUE(again.findOneWithPrimaryId(1));
    EXPECT_FALSE(again.done());
    EXPECT_TRUE(again.todo().isNull());

    // With an id set, insert names four columns, the id last, and binds all four values.
    TodolistEntity withId(m_db);
    withId.setPrimaryId(7);
    withId.setTodo(QStringLiteral("seven"));
    {
        LogCapture log;
        EXPECT_EQ(withId.insert(), 7);
        EXPECT_EQ(
            ranStatements(log),
            QStringList{QStringLiteral("INSERT INTO todolist(timestamp,done,todo, id) VALUES (?,?,?, ?)")});
    }
    TodolistEntity seven(m_db);
    ASSERT_TRUE(seven.findOneWithPrimaryId(7));
    EXPECT_EQ(seven.todo(), QStringLiteral("seven"));
    EXPECT_FALSE(seven.timestamp().isValid());

    // A second insert of the same id fails: -1, and save reports the failure.
    TodolistEntity clash(m_db);
    clash.setPrimaryId(7);
    EXPECT_EQ(clash.insert(), -1);
    EXPECT_TRUE(clash.update()); // id 7 exists: the update runs
    ActiveSqlite base(m_db);
    EXPECT_FALSE(base.save()); // the base's insert hook answers "not stored"
}

TEST_F(ActiveSqliteTest, AFailedInsertMakesSaveAnswerNo)
{
    TodolistEntity entity(m_db);
    ASSERT_TRUE(entity.executeWithSql(QStringLiteral("DROP TABLE todolist")));
    EXPECT_EQ(entity.insert(), -1);
    EXPECT_FALSE(entity.save());
}

TEST_F(ActiveSqliteTest, FindOneLeavesTheRecordAloneWhenNoRowMatches)
{
    addRows(5);
    TodolistEntity entity(m_db);
    entity.setTodo(QStringLiteral("mine"));
    {
        LogCapture log;
        EXPECT_FALSE(entity.findOneWithPrimaryId(99));
        EXPECT_EQ(ranStatements(log),
                  QStringList{QStringLiteral(
                      "SELECT id,timestamp,done,todo FROM todolist WHERE 1 = 1  AND id = 99  LIMIT 1")});
    }
    EXPECT_EQ(entity.todo(), QStringLiteral("mine"));
    EXPECT_EQ(entity.primaryId(), ActiveSqlite::kNotStored);

    // A NULL done parses as NO; conditions and order clauses go in as given.
    ASSERT_TRUE(
        entity.findOneWithCondition(QStringLiteral(" AND todo = ?"), {QStringLiteral("todo 5")}, QString()));
    EXPECT_EQ(entity.primaryId(), 5);
    EXPECT_FALSE(entity.done());
    ASSERT_TRUE(entity.findOneWithCondition(QString(), {}, QStringLiteral("ORDER BY id DESC")));
    EXPECT_EQ(entity.primaryId(), 5);
}

TEST_F(ActiveSqliteTest, QueriesCountsSumsAndDeletes)
{
    addRows(25);
    TodolistEntity entity(m_db);
    struct Case
    {
        const char *what;
        std::function<QVariant()> run;
        QVariant expected;
        QString sql;
    };
    const QList<Case> cases = {
        {"count all", [&] { return QVariant(entity.countWithCondition(QString())); }, QVariant(qint64(25)),
         QStringLiteral("SELECT COUNT(id) total FROM todolist WHERE 1 = 1 ")},
        {"count with condition",
         [&] { return QVariant(entity.countWithCondition(QStringLiteral(" AND done = ?"), {true})); },
         QVariant(qint64(8)),
         QStringLiteral("SELECT COUNT(id) total FROM todolist WHERE 1 = 1  AND done = ?")},
        {"sum",
         [&] {
             return QVariant(
                 entity.sumWithCondition(QStringLiteral(" AND id <= 3"), QStringLiteral("timestamp")));
         },
         QVariant(6000.0),
         QStringLiteral("SELECT sum(timestamp) total FROM todolist WHERE 1 = 1  AND id <= 3")},
        {"sum over no rows is 0",
         [&] {
             return QVariant(entity.sumWithCondition(QStringLiteral(" AND id > 100"), QStringLiteral("id")));
         },
         QVariant(0.0), QStringLiteral("SELECT sum(id) total FROM todolist WHERE 1 = 1  AND id > 100")},
        {"scalar of no row is nil",
         [&] { return entity.scalarWithSql(QStringLiteral("SELECT id FROM todolist WHERE id = 0")); },
         QVariant(), QStringLiteral("SELECT id FROM todolist WHERE id = 0")},
        {"ranges take offset and count",
         [&] {
             QStringList todos;
             for (const QVariantMap &row : entity.findWithCondition(QStringLiteral(" AND done = 1"), {},
                                                                    QStringLiteral("ORDER BY id DESC"), 1, 2))
                 todos.append(row.value(QStringLiteral("todo")).toString());
             return QVariant(todos);
         },
         QVariant(QStringList{QStringLiteral("todo 21"), QStringLiteral("todo 18")}),
         QStringLiteral("SELECT id,timestamp,done,todo FROM todolist WHERE 1 = 1  AND done = 1 ORDER BY id "
                        "DESC LIMIT 1, 2")},
        {"find all", [&] { return QVariant(qint64(entity.findAllWithOrderBy(QString()).size())); },
         QVariant(qint64(25)),
         QStringLiteral(
             "SELECT id,timestamp,done,todo FROM todolist WHERE 1 = 1   LIMIT 0, 9223372036854775807")},
        {"delete by id", [&] { return QVariant(entity.deleteWithPrimary(25)); }, QVariant(true),
         QStringLiteral("DELETE FROM todolist WHERE 1 = 1 AND id = 25")},
        {"delete with condition",
         [&] { return QVariant(entity.deleteWithCondition(QStringLiteral(" AND id > ?"), {20})); },
         QVariant(true), QStringLiteral("DELETE FROM todolist WHERE 1 = 1 AND id > ?")},
        {"count after deletes", [&] { return QVariant(entity.countWithCondition(QString())); },
         QVariant(qint64(20)), QStringLiteral("SELECT COUNT(id) total FROM todolist WHERE 1 = 1 ")},
        {"a failing statement",
         [&] { return QVariant(entity.executeWithSql(QStringLiteral("DELETE FROM nowhere"))); },
         QVariant(false), QStringLiteral("DELETE FROM nowhere")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        EXPECT_EQ(c.run(), c.expected);
        EXPECT_EQ(ranStatements(log), QStringList{c.sql});
    }
    const auto rows = entity.findWithSql(QStringLiteral("SELECT todo, done FROM todolist WHERE id = ?"), {5});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value(QStringLiteral("todo")), QVariant(QStringLiteral("todo 5")));
    EXPECT_TRUE(ActiveSqlite::isDBNull(rows[0].value(QStringLiteral("done"))));
}

TEST_F(ActiveSqliteTest, PaginationClampsTheIndex)
{
    addRows(25);
    TodolistEntity entity(m_db);
    struct Case
    {
        qint64 index;
        qint64 size;
        double pageIndex, pageCount, startIndex;
    };
    const QList<Case> cases = {
        {0, 10, 0, 3, 0},  {2, 10, 2, 3, 20}, {5, 10, 3, 3, 30}, // past the end: one past the last page
        {-1, 10, 0, 3, 0}, {0, 25, 0, 1, 0},  {1, 0, 0, 0, 0},   // a page size of 0 gives 0 pages
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index << " size " << c.size);
        const ActivePagination page = entity.paginationWithCondition(QString(), {}, c.index, c.size);
        EXPECT_EQ(page.pageSize, double(c.size));
        EXPECT_EQ(page.totalCount, 25.0);
        EXPECT_EQ(page.pageIndex, c.pageIndex);
        EXPECT_EQ(page.pageCount, c.pageCount);
        EXPECT_EQ(page.startIndex, c.startIndex);
        EXPECT_EQ(page.endIndex, double(c.size));
    }
    const ActivePagination done = entity.paginationWithSql(
        QStringLiteral("SELECT COUNT(id) FROM todolist WHERE done = ?"), {true}, 0, 3);
    EXPECT_EQ(done.totalCount, 8.0);
    EXPECT_EQ(done.pageCount, 3.0);
    // A page past the end reads no rows.
    EXPECT_TRUE(
        entity
            .findAllWithOrderBy(QString(),
                                qint64(entity.paginationWithCondition(QString(), {}, 5, 10).startIndex), 10)
            .isEmpty());
}

TEST_F(ActiveSqliteTest, SchemaProbes)
{
    TodolistEntity entity(m_db);
    EXPECT_EQ(entity.findSqlWithTableName(QStringLiteral("todolist")),
              QStringLiteral("CREATE TABLE todolist(id INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, timestamp "
                             "FLOAT, done boolean, todo TEXT)"));
    struct Case
    {
        QString table;
        QString field;
        bool tableExists;
        bool fieldExists;
    };
    const QList<Case> cases = {
        {QStringLiteral("todolist"), QStringLiteral("done"), true, true},
        {QStringLiteral("todolist"), QStringLiteral("missing"), true, false},
        {QStringLiteral("nowhere"), QStringLiteral("id"), false, false},
        {QStringLiteral("it's"), QStringLiteral("id"), false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table.toStdString());
        EXPECT_EQ(entity.existsWithTableName(c.table), c.tableExists);
        EXPECT_EQ(entity.existsWithTableName(c.table, c.field), c.fieldExists);
    }
    entity.alterWithField(QStringLiteral("priority"), QStringLiteral("INTEGER"));
    EXPECT_TRUE(entity.existsWithTableName(QStringLiteral("todolist"), QStringLiteral("priority")));
    // A quoted table name is a name, not SQL.
    ASSERT_TRUE(entity.executeWithSql(QStringLiteral("CREATE TABLE \"it's\" (id)")));
    EXPECT_TRUE(entity.existsWithTableName(QStringLiteral("it's")));
    EXPECT_TRUE(entity.existsWithTableName(QStringLiteral("it's"), QStringLiteral("id")));
    EXPECT_FALSE(m_db->sqliteHandle());
}

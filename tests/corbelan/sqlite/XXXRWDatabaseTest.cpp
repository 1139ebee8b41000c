// The connection, its result sets and its schema additions, on real SQLite files.

#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/XXXRWResultSet.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/KeyValue.h>

#include "SqliteTestModels.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <QtCore/QDir>
#include <QtCore/QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <limits>

using TestSupport::LogCapture;
using TestSupport::TempDir;

namespace {

XXXRWDatabasePtr openMemory()
{
    auto db = XXXRWDatabase::databaseWithPath();
    EXPECT_TRUE(db->open());
    return db;
}

QString typeOf(const XXXRWDatabasePtr &db, qint64 rowid)
{
    return db->stringForQuery(QStringLiteral("SELECT typeof(v) FROM t WHERE rowid = ?"), {rowid});
}

} // namespace

// Every kind of value binds as the column type its metatype asks for and reads back equal.
TEST(XXXRWDatabase, bindsEachKindAndReadsItBack)
{
    auto db = openMemory();
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE t (v)")));

    const QByteArray oddBytes("\xff\xfe-\x80", 4);
    struct Case
    {
        const char *name;
        QVariant bound;
        const char *sqlType;
        QVariant readBack; // objectForColumnIndex
    };
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(1700000000250);
    const Case cases[] = {
        {"invalid", QVariant(), "null", Bastwick::nullValue()},
        {"null marker", Bastwick::nullValue(), "null", Bastwick::nullValue()},
        {"absent text", QVariant(QString()), "null", Bastwick::nullValue()},
        {"empty text", QVariant(QStringLiteral("")), "text", QVariant(QStringLiteral(""))},
        {"text with quotes", QVariant(QStringLiteral("it's \"x\"; --")), "text",
         QVariant(QStringLiteral("it's \"x\"; --"))},
        {"text from undecodable bytes", QVariant(Bastwick::textFromBytes(oddBytes)), "text",
         QVariant(Bastwick::textFromBytes(oddBytes))},
        {"true", QVariant(true), "integer", QVariant::fromValue(qint64(1))},
        {"false", QVariant(false), "integer", QVariant::fromValue(qint64(0))},
        {"char", QVariant::fromValue(char('A')), "integer", QVariant::fromValue(qint64(65))},
        {"negative int", QVariant(-5), "integer", QVariant::fromValue(qint64(-5))},
        {"unsigned int above INT_MAX", QVariant(4000000000u), "integer",
         QVariant::fromValue(qint64(4000000000))},
        {"int64 max", QVariant::fromValue(std::numeric_limits<qint64>::max()), "integer",
         QVariant::fromValue(std::numeric_limits<qint64>::max())},
        {"uint64 max keeps its bits", QVariant::fromValue(std::numeric_limits<quint64>::max()), "integer",
         QVariant::fromValue(qint64(-1))},
        {"double", QVariant(1.5), "real", QVariant(1.5)},
        {"float", QVariant::fromValue(0.25f), "real", QVariant(0.25)},
        {"blob with zero byte", QVariant(QByteArray("a\0b", 3)), "blob", QVariant(QByteArray("a\0b", 3))},
        {"empty blob", QVariant(QByteArray()), "blob", QVariant(QByteArray(""))},
        {"date without formatter", QVariant(when), "real", QVariant(1700000000.25)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO t (v) VALUES (?)"), {c.bound}));
        const qint64 rowid = db->lastInsertRowId();
        EXPECT_EQ(typeOf(db, rowid), QString::fromLatin1(c.sqlType));
        auto rs = db->executeQuery(QStringLiteral("SELECT v FROM t WHERE rowid = ?"), {rowid});
        ASSERT_TRUE(rs && rs->next());
        const QVariant got = rs->objectForColumnIndex(0);
        EXPECT_EQ(got.metaType(), c.readBack.metaType());
        EXPECT_EQ(got, c.readBack);
        rs->close();
    }

    // Typed getters over the same kinds.
    auto rs = db->executeQuery(QStringLiteral("SELECT 2, 'text', x'00ff', NULL, 3.5"));
    ASSERT_TRUE(rs && rs->next());
    EXPECT_TRUE(rs->boolForColumnIndex(0));
    EXPECT_EQ(rs->stringForColumnIndex(1), QStringLiteral("text"));
    EXPECT_EQ(rs->dataForColumnIndex(2), QByteArray("\x00\xff", 2));
    EXPECT_TRUE(rs->stringForColumnIndex(3).isNull());
    EXPECT_TRUE(rs->dataForColumnIndex(3).isNull());
    EXPECT_TRUE(rs->columnIndexIsNull(3));
    EXPECT_EQ(rs->intForColumnIndex(3), 0);
    EXPECT_EQ(rs->doubleForColumnIndex(4), 3.5);
    EXPECT_TRUE(rs->stringForColumnIndex(-1).isNull());
    rs->close();
}

// SQLite would store a NaN as NULL and the write would answer success: the call is
// refused instead, with an error naming the parameter, and nothing is written.
TEST(XXXRWDatabase, aNaNArgumentIsRefusedNamingTheParameter)
{
    auto db = openMemory();
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE t (ratio REAL)")));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QVariantList positional{QVariant(1.5), QVariant(nan)};
    const QVariantMap named{{QStringLiteral("ratio"), QVariant::fromValue(float(nan))}};
    struct Case
    {
        const char *what;
        QString sql;
        const QVariantList *array;
        const QVariantMap *dictionary;
        const char *parameter;
    };
    const Case cases[] = {
        {"by position", QStringLiteral("INSERT INTO t VALUES (?), (?)"), &positional, nullptr,
         "parameter 2 "},
        {"by name in the text", QStringLiteral("INSERT INTO t VALUES (:first), (:second)"), &positional,
         nullptr, "parameter :second "},
        {"by dictionary", QStringLiteral("INSERT INTO t VALUES (:ratio)"), nullptr, &named,
         "parameter :ratio "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        Bastwick::Error error;
        EXPECT_FALSE(db->executeUpdate(c.sql, &error, c.array, c.dictionary));
        EXPECT_EQ(error.code, SQLITE_MISMATCH);
        EXPECT_TRUE(error.description.contains(QString::fromLatin1(c.parameter)))
            << error.description.toStdString();
        EXPECT_TRUE(log.contains(QStringLiteral("is NaN, which cannot be stored")));
        EXPECT_FALSE(db->executeQuery(c.sql, c.array, c.dictionary)) << "a query is refused too";
    }
    EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT count(*) FROM t")), 0);
    EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES (?)"), {2.5}))
        << "the connection is free";
}

TEST(XXXRWDatabase, datesGoThroughTheFormatterWhenOneIsSet)
{
    auto db = openMemory();
    db->setDateFormat(XXXRWDatabase::storeableDateFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE d (v)")));
    const QDateTime when(QDate(2024, 2, 29), QTime(23, 30, 5), QTimeZone(3600));
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO d VALUES (?)"), {when}));
    EXPECT_EQ(db->stringForQuery(QStringLiteral("SELECT v FROM d")), QStringLiteral("2024-02-29 22:30:05"));
    const QDateTime back = db->dateForQuery(QStringLiteral("SELECT v FROM d"));
    EXPECT_EQ(back.toMSecsSinceEpoch(), when.toMSecsSinceEpoch());
}

// Cached statements are reused per SQL text, a statement held by an open result set is
// not handed out twice, and a failed bind leaves a usable statement in the cache.
TEST(XXXRWDatabase, statementCacheReusesAndSurvivesBindFailures)
{
    auto db = openMemory();
    db->setShouldCacheStatements(true);
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE c (n INTEGER)")));
    const QString insert = QStringLiteral("INSERT INTO c VALUES (?)");
    const QString select = QStringLiteral("SELECT n FROM c WHERE n >= ?");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(db->executeUpdate(insert, {i}));
    EXPECT_EQ(db->cachedStatements().value(insert).size(), 1);
    EXPECT_EQ(db->cachedStatements().value(insert).constFirst()->useCount(), 3);

    auto first = db->executeQuery(select, {0});
    ASSERT_TRUE(first && first->next());
    auto second = db->executeQuery(select, {1}); // the first still reads its statement
    ASSERT_TRUE(second && second->next());
    EXPECT_EQ(db->cachedStatements().value(select).size(), 2);
    EXPECT_EQ(second->intForColumnIndex(0), 1);
    first->close();
    second->close();

    {
        LogCapture log;
        EXPECT_FALSE(db->executeQuery(select, QVariantList{}));
        EXPECT_FALSE(db->executeUpdate(insert, QVariantList{}));
        EXPECT_TRUE(log.contains(QStringLiteral("the bind count is not correct")));
    }
    for (const auto &set : db->cachedStatements())
        for (const auto &statement : set)
            EXPECT_NE(statement->statement(), nullptr);
    // The same texts still work, from the cache.
    EXPECT_TRUE(db->executeUpdate(insert, {7}));
    EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT count(*) FROM c WHERE n >= ?"), {2}), 2);
    EXPECT_EQ(db->cachedStatements().value(insert).size(), 1);

    db->setShouldCacheStatements(false);
    EXPECT_TRUE(db->cachedStatements().isEmpty());
    EXPECT_TRUE(db->executeUpdate(insert, {8}));
}

TEST(XXXRWDatabase, bindCountsAndNamedParameters)
{
    auto db = openMemory();
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE p (a, b)")));
    const QString two = QStringLiteral("INSERT INTO p VALUES (?, ?)");
    const QString named = QStringLiteral("INSERT INTO p VALUES (:a, :b)");
    struct Case
    {
        const char *name;
        std::function<bool()> run;
        bool ok;
        const char *logged;
    };
    const Case cases[] = {
        {"too few", [&] { return db->executeUpdate(two, {1}); }, false, "the bind count (1) is not correct"},
        {"surplus ignored",
         [&] {
             return db->executeUpdate(two, {1, 2, 3});
         },
         true, nullptr},
        {"by name",
         [&] {
             return db->executeUpdate(named, QVariantMap{{"a", 1}, {"b", 2}});
         },
         true, nullptr},
        {"unknown name",
         [&] {
             return db->executeUpdate(named, QVariantMap{{"a", 1}, {"c", 2}});
         },
         false, "Could not find index for c"},
        {"query too few",
         [&] { return db->executeQuery(QStringLiteral("SELECT ?"), QVariantList{}) != nullptr; }, false,
         "bind count is not correct for the # of variables (executeQuery)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        EXPECT_EQ(c.run(), c.ok);
        if (c.logged) {
            EXPECT_TRUE(log.contains(QString::fromLatin1(c.logged)));
        }
    }
    EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT count(*) FROM p")), 2);
}

TEST(XXXRWDatabase, formatExtractionTurnsConversionsIntoParameters)
{
    struct Case
    {
        const char *format;
        QVariantList args;
        const char *sql;
        QVariantList extracted;
    };
    const Case cases[] = {
        {"SELECT %@, %d", {QStringLiteral("x"), 5}, "SELECT ?, ?", {QStringLiteral("x"), 5}},
        {"WHERE a = %@", {QVariant()}, "WHERE a = NULL", {}},
        {"x %hd y", {}, "x hd y", {}},
        {"%lld %qu %s",
         {qint64(1) << 40, 7, QStringLiteral("t")},
         "? ? ?",
         {QVariant::fromValue(qint64(1) << 40), QVariant::fromValue(quint64(7)), QStringLiteral("t")}},
        {"100%%d", {3}, "100%?", {3}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        QString sql;
        QVariantList extracted;
        XXXRWDatabase::extractSQL(QString::fromLatin1(c.format), c.args, &sql, &extracted);
        EXPECT_EQ(sql, QString::fromLatin1(c.sql));
        EXPECT_EQ(extracted, c.extracted);
    }
    auto db = openMemory();
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE f (a, b)")));
    // A quote in the value cannot break the statement: it is bound, not pasted.
    EXPECT_TRUE(db->executeUpdateWithFormat(QStringLiteral("INSERT INTO f VALUES (%@, %d)"),
                                            {QStringLiteral("o'hara"), 4}));
    auto rs = db->executeQueryWithFormat(QStringLiteral("SELECT b FROM f WHERE a = %@"),
                                         {QStringLiteral("o'hara")});
    ASSERT_TRUE(rs && rs->next());
    EXPECT_EQ(rs->intForColumnIndex(0), 4);
    rs->close();
}

// Column names are matched without regard to case; the later of two equal names wins
// in the map, while the whole-row dictionary keeps both spellings.
TEST(XXXRWDatabase, resultSetColumnNames)
{
    auto db = openMemory();
    auto rs = db->executeQuery(QStringLiteral("SELECT 1 AS Foo, 2 AS foo, NULL AS Gone"));
    ASSERT_TRUE(rs);
    {
        LogCapture log;
        EXPECT_TRUE(rs->resultDictionary().isEmpty()); // before the first row
        EXPECT_TRUE(log.contains(QStringLiteral("There seem to be no columns in this set.")));
    }
    ASSERT_TRUE(rs->next());
    EXPECT_EQ(rs->columnIndexForName(QStringLiteral("FOO")), 1);
    EXPECT_EQ(rs->intForColumn(QStringLiteral("fOo")), 2);
    EXPECT_TRUE(Bastwick::isNull(rs->objectForColumnName(QStringLiteral("gone"))));
    {
        LogCapture log;
        EXPECT_TRUE(Bastwick::isNull(rs->objectForColumnName(QStringLiteral("missing"))));
        EXPECT_TRUE(log.contains(QStringLiteral("could not find the column named 'missing'")));
    }
    const QVariantMap row = rs->resultDictionary();
    EXPECT_EQ(row.value(QStringLiteral("Foo")), QVariant::fromValue(qint64(1)));
    EXPECT_EQ(row.value(QStringLiteral("foo")), QVariant::fromValue(qint64(2)));
    EXPECT_TRUE(Bastwick::isNull(row.value(QStringLiteral("Gone"))));
    EXPECT_FALSE(rs->next());
    EXPECT_FALSE(db->hasOpenResultSets());
    EXPECT_EQ(rs->intForColumnIndex(0), 0); // closed: reads as nothing

    auto empty = db->executeQuery(QStringLiteral("SELECT 1 WHERE 0"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(db->hasOpenResultSets());
    EXPECT_FALSE(empty->next());
    EXPECT_FALSE(db->hasOpenResultSets());
}

// A row written into an object by column name, each value as its text: NULL columns
// leave the property alone, names the object does not have are ignored.
TEST(XXXRWDatabase, rowsWriteIntoObjectsByColumnName)
{
    auto db = openMemory();
    auto rs = db->executeQuery(
        QStringLiteral("SELECT 7 AS ID, NULL AS title, '2.5' AS score, 1 AS flag, 'x' AS nowhere"));
    ASSERT_TRUE(rs && rs->next());
    EXPECT_TRUE(rs->hasAnotherRow());
    Note note;
    rs->kvcMagic(&note);
    EXPECT_EQ(note.m_id, 7);
    EXPECT_EQ(note.m_title, QStringLiteral("untitled"));
    EXPECT_EQ(note.m_score, 2.5);
    EXPECT_TRUE(note.m_flag);
    EXPECT_FALSE(note.dynamicPropertyNames().contains("nowhere"));

    QVariant row = QVariant::fromValue(GadgetRow{});
    auto gadgetRows = db->executeQuery(QStringLiteral("SELECT 3 AS ID, 'three' AS text"));
    ASSERT_TRUE(gadgetRows && gadgetRows->next());
    gadgetRows->kvcMagic(row);
    EXPECT_EQ(row.value<GadgetRow>().id, 3);
    EXPECT_EQ(row.value<GadgetRow>().text, QStringLiteral("three"));

    const QVariantMap lower = rs->resultDict();
    EXPECT_EQ(lower.value(QStringLiteral("id")), QVariant::fromValue(qint64(7)));
    EXPECT_TRUE(Bastwick::isNull(lower.value(QStringLiteral("title"))));
    EXPECT_FALSE(rs->next());
    EXPECT_FALSE(rs->hasAnotherRow());
}

TEST(XXXRWDatabase, transactionsAndQuotedSavepoints)
{
    auto db = openMemory();
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE s (n)")));
    {
        LogCapture log;
        EXPECT_FALSE(db->commit()); // outside a transaction
        EXPECT_TRUE(log.contains(QStringLiteral("cannot commit - no transaction is active")));
    }
    EXPECT_FALSE(db->inTransaction());

    ASSERT_TRUE(db->beginTransaction());
    EXPECT_TRUE(db->inTransaction());
    EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO s VALUES (1)")));
    EXPECT_TRUE(db->rollback());
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT count(*) FROM s")), 0);

    for (const QString &name : {QStringLiteral("plain"), QStringLiteral("it's"), QStringLiteral("''")}) {
        SCOPED_TRACE(name.toStdString());
        Bastwick::Error error;
        ASSERT_TRUE(db->startSavePointWithName(name, &error)) << error.description.toStdString();
        EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO s VALUES (2)")));
        EXPECT_TRUE(db->rollbackToSavePointWithName(name, &error));
        EXPECT_TRUE(db->releaseSavePointWithName(name, &error));
    }
    EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT count(*) FROM s")), 0);
    EXPECT_EQ(XXXRWEscapeSavePointName(QStringLiteral("a'b''")), QStringLiteral("a''b''''"));

    Bastwick::Error error;
    LogCapture log;
    EXPECT_FALSE(db->releaseSavePointWithName(QStringLiteral("never"), &error));
    EXPECT_EQ(error.domain, QStringLiteral("XXXRWDatabase"));
    EXPECT_EQ(error.code, SQLITE_ERROR);

    EXPECT_FALSE(db->inSavePoint([&](bool *rollback) {
        db->executeUpdate(QStringLiteral("INSERT INTO s VALUES (3)"));
        *rollback = true;
    }));
    EXPECT_FALSE(
        db->inSavePoint([&](bool *) { db->executeUpdate(QStringLiteral("INSERT INTO s VALUES (4)")); }));
    EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT group_concat(n) FROM s")), 4);
}

// Opening, closing and bad files: every failure is a logged false or null, never a
// crash, and a failed open leaves the connection ready to really open later.
TEST(XXXRWDatabase, openCloseAndBadFiles)
{
    TempDir tmp;
    const QString inMissingDir = tmp.path(QStringLiteral("later/x.sqlite"));
    auto db = XXXRWDatabase::databaseWithPath(inMissingDir);
    {
        LogCapture log;
        EXPECT_FALSE(db->open());
        EXPECT_TRUE(log.contains(QStringLiteral("error opening!: 14")));
    }
    EXPECT_EQ(db->sqliteHandle(), nullptr);
    {
        LogCapture log;
        EXPECT_FALSE(db->executeUpdate(QStringLiteral("CREATE TABLE x (a)")));
        EXPECT_TRUE(log.contains(QStringLiteral("is not open.")));
    }
    ASSERT_TRUE(QDir().mkpath(tmp.path(QStringLiteral("later"))));
    EXPECT_TRUE(db->open());
    EXPECT_TRUE(db->open()); // already open
    EXPECT_TRUE(db->goodConnection());
    EXPECT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE x (a)")));

    // A statement prepared behind the wrapper's back is finalised by close.
    sqlite3_stmt *leaked = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db->sqliteHandle(), "SELECT 1", -1, &leaked, nullptr), SQLITE_OK);
    auto open = db->executeQuery(QStringLiteral("SELECT a FROM x"));
    ASSERT_TRUE(open);
    {
        LogCapture log;
        EXPECT_TRUE(db->close());
        EXPECT_EQ(log.count(QStringLiteral("Closing leaked statement")), 1);
    }
    EXPECT_FALSE(open->next()); // closed with the connection
    EXPECT_TRUE(db->close());
    EXPECT_TRUE(XXXRWDatabase::databaseWithPath(tmp.path(QStringLiteral("never")))->close());

    // Not an SQLite file: the error surfaces at the first statement.
    const QString junk = tmp.path(QStringLiteral("junk.sqlite"));
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'j'));
    }
    auto bad = XXXRWDatabase::databaseWithPath(junk);
    ASSERT_TRUE(bad->open());
    {
        LogCapture log;
        EXPECT_FALSE(bad->executeQuery(QStringLiteral("SELECT * FROM sqlite_master")));
        EXPECT_TRUE(log.contains(QStringLiteral("DB Error: 26")));
    }
    EXPECT_EQ(bad->lastError().domain, QStringLiteral("XXXRWDatabase"));
    EXPECT_EQ(bad->lastError().code, SQLITE_NOTADB);
    EXPECT_TRUE(bad->hadError());
    EXPECT_FALSE(bad->goodConnection());

    // An empty path is SQLite's private temporary database, a null one memory.
    auto temp = XXXRWDatabase::databaseWithPath(QStringLiteral(""));
    EXPECT_EQ(temp->sqlitePath(), QByteArray(""));
    EXPECT_TRUE(temp->open());
    EXPECT_EQ(XXXRWDatabase::databaseWithPath()->sqlitePath(), QByteArray(":memory:"));
}

TEST(XXXRWDatabase, lockedDatabaseAnswersFalseAndKeepsTheRow)
{
    TempDir tmp;
    const QString path = tmp.path(QStringLiteral("locked.sqlite"));
    auto writer = XXXRWDatabase::databaseWithPath(path);
    auto other = XXXRWDatabase::databaseWithPath(path);
    ASSERT_TRUE(writer->open());
    ASSERT_TRUE(other->open());
    ASSERT_TRUE(writer->executeUpdate(QStringLiteral("CREATE TABLE k (n)")));
    ASSERT_TRUE(writer->executeUpdate(QStringLiteral("INSERT INTO k VALUES (1)")));
    ASSERT_TRUE(writer->beginTransaction()); // exclusive
    {
        LogCapture log;
        EXPECT_FALSE(other->executeUpdate(QStringLiteral("INSERT INTO k VALUES (2)")));
        EXPECT_EQ(other->lastErrorCode(), SQLITE_BUSY);
        // Refused at prepare or at the first step, depending on what SQLite must read.
        auto rs = other->executeQuery(QStringLiteral("SELECT n FROM k"));
        EXPECT_FALSE(rs && rs->next());
        EXPECT_TRUE(log.contains(QStringLiteral("database is locked")) ||
                    log.contains(QStringLiteral("Database busy")));
        EXPECT_FALSE(other->hasOpenResultSets());
    }
    EXPECT_TRUE(writer->commit());
    EXPECT_EQ(other->intForQuery(QStringLiteral("SELECT count(*) FROM k")), 1);
}

TEST(XXXRWDatabase, schemaAndSingleValueAdditions)
{
    auto db = openMemory();
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE People (Name TEXT, age INTEGER)")));
    ASSERT_TRUE(
        db->executeUpdate(QStringLiteral("INSERT INTO People VALUES ('ann', 40), ('bob', 3000000000)")));

    EXPECT_TRUE(db->tableExists(QStringLiteral("people")));
    EXPECT_FALSE(db->tableExists(QStringLiteral("nobody")));
    EXPECT_TRUE(db->columnExists(QStringLiteral("NAME"), QStringLiteral("People")));
    EXPECT_TRUE(db->columnExistsColumnName(QStringLiteral("People"), QStringLiteral("Age")));
    EXPECT_FALSE(db->columnExists(QStringLiteral("name"), QStringLiteral("nobody")));
    EXPECT_FALSE(db->columnExists(QStringLiteral("name"), QStringLiteral("it's")));
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE \"it's\" (quoted INTEGER)")));
    EXPECT_TRUE(db->columnExists(QStringLiteral("quoted"), QStringLiteral("it's")));
    EXPECT_FALSE(db->columnExists(QStringLiteral("name"), QStringLiteral("it's")));

    EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT count(*) FROM People")), 2);
    EXPECT_EQ(
        db->longForQuery(QStringLiteral("SELECT age FROM People WHERE Name = ?"), {QStringLiteral("bob")}),
        3000000000LL);
    EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT age FROM People WHERE 0")), 0);
    EXPECT_TRUE(db->stringForQuery(QStringLiteral("SELECT Name FROM People WHERE 0")).isNull());
    EXPECT_EQ(db->stringForQuery(QStringLiteral("SELECT Name FROM People ORDER BY age")),
              QStringLiteral("ann"));
    EXPECT_FALSE(db->hasOpenResultSets());

    auto schema = db->getSchema();
    ASSERT_TRUE(schema && schema->next());
    EXPECT_EQ(schema->stringForColumn(QStringLiteral("name")), QStringLiteral("People"));
    schema->close();

    db->setUserVersion(2147483647u);
    EXPECT_EQ(db->userVersion(), 2147483647u);

    Bastwick::Error error;
    EXPECT_FALSE(db->validateSQL(QStringLiteral("DELET FROM People"), &error));
    EXPECT_EQ(error.code, SQLITE_ERROR);
    EXPECT_EQ(error.domain, QStringLiteral("NSCocoaErrorDomain"));
    EXPECT_TRUE(db->validateSQL(QStringLiteral("DELETE FROM People"), &error));
    EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT count(*) FROM People")), 2);

    db->makeFunctionNamed(QStringLiteral("twice"), 1, [](sqlite3_context *ctx, int, sqlite3_value **argv) {
        sqlite3_result_int64(ctx, 2 * sqlite3_value_int64(argv[0]));
    });
    EXPECT_EQ(db->longForQuery(QStringLiteral("SELECT twice(age) FROM People WHERE Name = 'bob'")),
              6000000000LL);
}

TEST(XXXRWDatabase, reentrantUseIsRefused)
{
    auto db = openMemory();
    bool answeredInside = true;
    db->makeFunctionNamed(QStringLiteral("nested"), 0, [&](sqlite3_context *ctx, int, sqlite3_value **) {
        // Still inside the running statement: the connection refuses another one.
        answeredInside = db->executeUpdate(QStringLiteral("CREATE TABLE z (a)"));
        sqlite3_result_int(ctx, 1);
    });
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE y (a)")));
    LogCapture log;
    EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO y VALUES (nested())")));
    EXPECT_FALSE(answeredInside);
    EXPECT_TRUE(log.contains(QStringLiteral("is currently in use.")));
}

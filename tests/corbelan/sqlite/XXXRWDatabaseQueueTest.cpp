// The database queue and the connection pool: serialised work from several threads,
// re-entrance, reopening, and transactions whose begin or commit fails.

#include <corbelan/sqlite/XXXRWDatabasePool.h>
#include <corbelan/sqlite/XXXRWDatabaseQueue.h>
#include <corbelan/sqlite/XXXRWResultSet.h>

#include <bastwick/platform/Exception.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <functional>
#include <latch>
#include <stdexcept>
#include <thread>
#include <vector>

using TestSupport::LogCapture;
using TestSupport::TempDir;

namespace {

// A parent and a child whose reference is checked only at commit: inserting an orphan
// child makes the commit fail.
void makeDeferredForeignKey(XXXRWDatabase *db)
{
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("PRAGMA foreign_keys = ON")));
    ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE parent (id INTEGER PRIMARY KEY)")));
    ASSERT_TRUE(db->executeUpdate(QStringLiteral(
        "CREATE TABLE child (pid INTEGER REFERENCES parent(id) DEFERRABLE INITIALLY DEFERRED)")));
}

int count(XXXRWDatabase *db, const char *table)
{
    return db->intForQuery(QStringLiteral("SELECT count(*) FROM %1").arg(QString::fromLatin1(table)));
}

} // namespace

TEST(XXXRWDatabaseQueue, creationOpensOrAnswersNull)
{
    TempDir tmp;
    {
        LogCapture log;
        EXPECT_EQ(XXXRWDatabaseQueue::databaseQueueWithPath(tmp.path(QStringLiteral("no/such/dir.sqlite"))),
                  nullptr);
        EXPECT_TRUE(log.contains(QStringLiteral("Could not create database queue for path")));
    }
    auto memory = XXXRWDatabaseQueue::databaseQueueWithPath();
    ASSERT_TRUE(memory);
    EXPECT_TRUE(memory->label().startsWith(QStringLiteral("XXXRWdb.<XXXRWDatabaseQueue: 0x")));
    EXPECT_EQ(memory->label(), QStringLiteral("XXXRWdb.") + memory->description());
    int answer = 0;
    EXPECT_TRUE(memory->inDatabase(
        [&](XXXRWDatabase *db) { answer = db->intForQuery(QStringLiteral("SELECT 6*7")); }));
    EXPECT_EQ(answer, 42);
}

namespace {

// A connection class of its own, as a queue subclass may choose one.
class TracingDatabase : public XXXRWDatabase
{
public:
    using XXXRWDatabase::XXXRWDatabase;
};

class TracingQueue : public XXXRWDatabaseQueue
{
public:
    explicit TracingQueue(const QString &path)
        : XXXRWDatabaseQueue(path, kDefaultOpenFlags,
                             [](const QString &p) { return std::make_shared<TracingDatabase>(p); })
    {
    }
};

} // namespace

TEST(XXXRWDatabaseQueue, aSubclassChoosesItsConnectionClass)
{
    TempDir tmp;
    TracingQueue queue(tmp.path(QStringLiteral("traced.sqlite")));
    ASSERT_TRUE(queue.isOpen());
    bool traced = false;
    queue.inDatabase([&](XXXRWDatabase *db) {
        traced = dynamic_cast<TracingDatabase *>(db) != nullptr;
        EXPECT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE t (n)")));
    });
    EXPECT_TRUE(traced);
    // After close the file is reopened as a plain connection, with the same contents.
    queue.close();
    queue.inDatabase([&](XXXRWDatabase *db) {
        ASSERT_NE(db, nullptr);
        EXPECT_EQ(dynamic_cast<TracingDatabase *>(db), nullptr);
        EXPECT_TRUE(db->tableExists(QStringLiteral("T")));
    });
    // The plain class factory makes plain connections.
    EXPECT_EQ(dynamic_cast<TracingDatabase *>(XXXRWDatabaseQueue::databaseClass()(QString()).get()), nullptr);
}

// Read-modify-write from many threads at once: only a serialised queue keeps every increment.
TEST(XXXRWDatabaseQueue, serialisesWorkFromManyThreads)
{
    TempDir tmp;
    auto queue = XXXRWDatabaseQueue::databaseQueueWithPath(tmp.path(QStringLiteral("q.sqlite")));
    ASSERT_TRUE(queue);
    queue->inDatabase([](XXXRWDatabase *db) {
        db->setShouldCacheStatements(true);
        db->executeUpdate(QStringLiteral("CREATE TABLE counter (n INTEGER)"));
        db->executeUpdate(QStringLiteral("INSERT INTO counter VALUES (0)"));
    });
    constexpr int kThreads = 8;
    constexpr int kRounds = 50;
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            start.arrive_and_wait();
            for (int i = 0; i < kRounds; ++i) {
                queue->inDatabase([](XXXRWDatabase *db) {
                    const qint64 n = db->longForQuery(QStringLiteral("SELECT n FROM counter"));
                    db->executeUpdate(QStringLiteral("UPDATE counter SET n = ?"), {n + 1});
                });
            }
        });
    }
    for (auto &thread : threads)
        thread.join();
    qint64 total = 0;
    queue->inDatabase(
        [&](XXXRWDatabase *db) { total = db->longForQuery(QStringLiteral("SELECT n FROM counter")); });
    EXPECT_EQ(total, kThreads * kRounds);
}

TEST(XXXRWDatabaseQueue, reentrantCallsAreRefusedWithoutDeadlock)
{
    auto first = XXXRWDatabaseQueue::databaseQueueWithPath();
    auto second = XXXRWDatabaseQueue::databaseQueueWithPath();
    ASSERT_TRUE(first && second);
    bool innerRan = false;
    bool secondRan = false;
    bool cycleRan = false;
    bool innerAccepted = true;
    bool cycleAccepted = true;
    LogCapture log;
    EXPECT_TRUE(first->inDatabase([&](XXXRWDatabase *) {
        innerAccepted = first->inDatabase([&](XXXRWDatabase *) { innerRan = true; });
        // Another queue may be called from here, but not back into this one.
        second->inDatabase([&](XXXRWDatabase *) {
            secondRan = true;
            cycleAccepted = first->inDatabase([&](XXXRWDatabase *) { cycleRan = true; });
        });
        EXPECT_FALSE(first->inTransaction([](XXXRWDatabase *, bool *) {}));
    }));
    EXPECT_FALSE(innerAccepted);
    EXPECT_FALSE(innerRan);
    EXPECT_TRUE(secondRan);
    EXPECT_FALSE(cycleAccepted);
    EXPECT_FALSE(cycleRan);
    EXPECT_GE(log.count(QStringLiteral("inDatabase: was called reentrantly on the same queue")), 3);
    // The queue still works afterwards.
    EXPECT_TRUE(first->inDatabase([](XXXRWDatabase *db) { EXPECT_TRUE(db->goodConnection()); }));
}

TEST(XXXRWDatabaseQueue, closeReopensAndOpenResultSetsAreReported)
{
    TempDir tmp;
    const QString path = tmp.path(QStringLiteral("reopen.sqlite"));
    auto queue = XXXRWDatabaseQueue::databaseQueueWithPath(path);
    ASSERT_TRUE(queue);
    queue->inDatabase([&](XXXRWDatabase *db) {
        db->executeUpdate(QStringLiteral("CREATE TABLE r (n)"));
        db->executeUpdate(QStringLiteral("INSERT INTO r VALUES (5)"));
    });
    queue->close();
    queue->close(); // twice is harmless
    {
        LogCapture log;
        XXXRWResultSetPtr leftOpen;
        queue->inDatabase([&](XXXRWDatabase *db) {
            ASSERT_NE(db, nullptr);
            EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT n FROM r")), 5);
            leftOpen = db->executeQuery(QStringLiteral("SELECT n FROM r"));
        });
        EXPECT_TRUE(log.contains(QStringLiteral("there is at least one open result set around")));
        EXPECT_TRUE(log.contains(QStringLiteral("query: 'SELECT n FROM r'")));
        queue->inDatabase([&](XXXRWDatabase *) { leftOpen->close(); });
    }

    // A file that cannot be reopened hands the block null.
    queue->close();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir(tmp.path()).rmdir(tmp.path()));
    LogCapture log;
    bool sawNull = false;
    queue->inDatabase([&](XXXRWDatabase *db) { sawNull = db == nullptr; });
    EXPECT_TRUE(sawNull);
    EXPECT_TRUE(log.contains(QStringLiteral("XXXRWDatabaseQueue could not reopen database for path")));
}

TEST(XXXRWDatabaseQueue, transactionsCheckBeginAndCommit)
{
    auto queue = XXXRWDatabaseQueue::databaseQueueWithPath();
    ASSERT_TRUE(queue);
    queue->inDatabase([](XXXRWDatabase *db) {
        makeDeferredForeignKey(db);
        db->executeUpdate(QStringLiteral("INSERT INTO parent VALUES (1)"));
    });

    struct Case
    {
        const char *name;
        bool deferred;
        int childParent;
        bool rollback;
        bool ok;
        int childrenAfter;
        const char *endingStatement = nullptr; // run by the block after its insert
    };
    const Case cases[] = {
        {"commit", false, 1, false, true, 1},
        {"deferred commit", true, 1, false, true, 2},
        {"rollback asked", false, 1, true, true, 2},
        {"commit fails: rolled back", false, 99, false, false, 2},
        {"the block ended the transaction itself", false, 1, false, false, 2, "ROLLBACK"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const bool ok = queue->beginTransaction(c.deferred, [&](XXXRWDatabase *db, bool *rollback) {
            EXPECT_TRUE(db->inTransaction());
            EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO child VALUES (?)"), {c.childParent}));
            if (c.endingStatement)
                EXPECT_TRUE(db->executeUpdate(QString::fromLatin1(c.endingStatement)));
            *rollback = c.rollback;
        });
        EXPECT_EQ(ok, c.ok);
        queue->inDatabase([&](XXXRWDatabase *db) {
            EXPECT_EQ(count(db, "child"), c.childrenAfter);
            EXPECT_FALSE(db->inTransaction());
        });
    }

    // A begin that fails runs nothing.
    queue->inDatabase([](XXXRWDatabase *db) { ASSERT_TRUE(db->beginTransaction()); });
    bool ran = false;
    {
        LogCapture log;
        EXPECT_FALSE(queue->inTransaction([&](XXXRWDatabase *, bool *) { ran = true; }));
        EXPECT_TRUE(log.contains(QStringLiteral("could not begin a transaction")));
    }
    EXPECT_FALSE(ran);
    queue->inDatabase([](XXXRWDatabase *db) { EXPECT_TRUE(db->rollback()); });

    EXPECT_FALSE(queue->inSavePoint([](XXXRWDatabase *db, bool *rollback) {
        db->executeUpdate(QStringLiteral("INSERT INTO parent VALUES (2)"));
        *rollback = true;
    }));
    queue->inDatabase([](XXXRWDatabase *db) { EXPECT_EQ(count(db, "parent"), 1); });
}

namespace {

class RecordingDelegate : public XXXRWDatabasePoolDelegate
{
public:
    bool accept = true;
    int added = 0;
    bool databasePoolShouldAddDatabaseToPool(XXXRWDatabasePool *, XXXRWDatabase *) override { return accept; }
    void databasePoolDidAddDatabase(XXXRWDatabasePool *, XXXRWDatabase *) override { ++added; }
};

} // namespace

TEST(XXXRWDatabasePool, handsOutOneConnectionPerCaller)
{
    TempDir tmp;
    auto pool = XXXRWDatabasePool::databasePoolWithPath(tmp.path(QStringLiteral("pool.sqlite")));
    EXPECT_EQ(pool->label(), QStringLiteral("XXXRWdb.") + pool->description());
    RecordingDelegate delegate;
    pool->setDelegate(&delegate);

    std::latch bothInside(2);
    XXXRWDatabase *seen[2] = {nullptr, nullptr};
    std::vector<std::thread> threads;
    for (int i = 0; i < 2; ++i) {
        threads.emplace_back([&, i] {
            pool->inDatabase([&](XXXRWDatabase *db) {
                seen[i] = db;
                bothInside.arrive_and_wait(); // both hold a connection at once
            });
        });
    }
    for (auto &thread : threads)
        thread.join();
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_EQ(pool->countOfCheckedInDatabases(), 2u);
    EXPECT_EQ(pool->countOfCheckedOutDatabases(), 0u);
    EXPECT_EQ(delegate.added, 2);

    XXXRWDatabase *a = nullptr;
    XXXRWDatabase *b = nullptr;
    pool->inDatabase([&](XXXRWDatabase *db) { a = db; });
    pool->inDatabase([&](XXXRWDatabase *db) { b = db; });
    EXPECT_EQ(a, b); // the last returned is handed out again

    pool->releaseAllDatabases();
    EXPECT_EQ(pool->countOfOpenDatabases(), 0u);
}

TEST(XXXRWDatabasePool, limitsRefusalsAndReturns)
{
    TempDir tmp;
    auto pool = XXXRWDatabasePool::databasePoolWithPath(tmp.path(QStringLiteral("pool.sqlite")));
    pool->setMaximumNumberOfDatabasesToCreate(1);
    auto held = pool->db();
    ASSERT_TRUE(held);
    {
        LogCapture log;
        EXPECT_EQ(pool->db(), nullptr);
        EXPECT_TRUE(
            log.contains(QStringLiteral("Maximum number of databases (1) has already been reached!")));
    }
    pool->pushDatabaseBackInPool(nullptr);
    pool->pushDatabaseBackInPool(held);
    try {
        pool->pushDatabaseBackInPool(held);
        ADD_FAILURE() << "giving a connection back twice must raise";
    } catch (const Bastwick::Exception &e) {
        EXPECT_EQ(e.name(), QStringLiteral("Database already in pool"));
    }
    EXPECT_EQ(pool->countOfCheckedInDatabases(), 1u);

    // A refused connection is closed and leaves the handed-out list.
    RecordingDelegate refusing;
    refusing.accept = false;
    pool->setDelegate(&refusing);
    EXPECT_EQ(pool->db(), nullptr);
    EXPECT_EQ(pool->countOfOpenDatabases(), 0u);
    EXPECT_EQ(refusing.added, 0);
    pool->setMaximumNumberOfDatabasesToCreate(0);
    EXPECT_EQ(pool->db(), nullptr);
    EXPECT_EQ(refusing.added, 0);
    pool->setDelegate(nullptr);

    // A connection that cannot reopen leaves the handed-out list too.
    auto db = pool->db();
    ASSERT_TRUE(db);
    db->close();
    pool->pushDatabaseBackInPool(db);
    ASSERT_TRUE(QDir(tmp.path()).removeRecursively());
    {
        LogCapture log;
        EXPECT_EQ(pool->db(), nullptr);
        EXPECT_TRUE(log.contains(QStringLiteral("Could not open up the database at path")));
    }
    EXPECT_EQ(pool->countOfOpenDatabases(), 0u);
}

TEST(XXXRWDatabasePool, transactionsCheckBeginAndCommit)
{
    TempDir tmp;
    auto pool = XXXRWDatabasePool::databasePoolWithPath(tmp.path(QStringLiteral("pool.sqlite")));
    pool->inDatabase([](XXXRWDatabase *db) { makeDeferredForeignKey(db); });
    // foreign_keys is per connection: the pool hands the same one back.
    EXPECT_TRUE(pool->inTransaction([](XXXRWDatabase *db, bool *) {
        EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO parent VALUES (1)")));
    }));
    {
        LogCapture log;
        EXPECT_FALSE(pool->inDeferredTransaction([](XXXRWDatabase *db, bool *) {
            EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO child VALUES (42)")));
        }));
        EXPECT_TRUE(log.contains(QStringLiteral("could not commit the transaction, rolling back")));
    }
    EXPECT_TRUE(pool->inTransaction([](XXXRWDatabase *db, bool *rollback) {
        db->executeUpdate(QStringLiteral("INSERT INTO parent VALUES (2)"));
        *rollback = true;
    }));
    EXPECT_FALSE(pool->inSavePoint([](XXXRWDatabase *db, bool *) {
        db->executeUpdate(QStringLiteral("INSERT INTO parent VALUES (3)"));
    }));
    pool->inDatabase([](XXXRWDatabase *db) {
        EXPECT_FALSE(db->inTransaction());
        EXPECT_EQ(count(db, "child"), 0);
        EXPECT_EQ(db->stringForQuery(QStringLiteral("SELECT group_concat(id) FROM parent")),
                  QStringLiteral("1,3"));
    });
    EXPECT_EQ(pool->countOfCheckedOutDatabases(), 0u);
}

namespace {

// The ways a block can run inside a transaction or a savepoint, on a queue or a pool.
struct ThrowingCase
{
    const char *name;
    std::function<void(const std::function<void(XXXRWDatabase *)> &)> run;
};

QList<ThrowingCase> throwingCases(const XXXRWDatabaseQueuePtr &queue, const XXXRWDatabasePoolPtr &pool)
{
    QList<ThrowingCase> cases;
    if (queue) {
        cases.append({"queue transaction", [queue](const auto &work) {
                          queue->inTransaction([&](XXXRWDatabase *db, bool *) { work(db); });
                      }});
        cases.append({"queue deferred transaction", [queue](const auto &work) {
                          queue->inDeferredTransaction([&](XXXRWDatabase *db, bool *) { work(db); });
                      }});
        cases.append({"queue savepoint", [queue](const auto &work) {
                          queue->inSavePoint([&](XXXRWDatabase *db, bool *) { work(db); });
                      }});
    }
    if (pool) {
        cases.append({"pool transaction", [pool](const auto &work) {
                          pool->inTransaction([&](XXXRWDatabase *db, bool *) { work(db); });
                      }});
        cases.append({"pool savepoint", [pool](const auto &work) {
                          pool->inSavePoint([&](XXXRWDatabase *db, bool *) { work(db); });
                      }});
        cases.append({"pool plain block", [pool](const auto &work) { pool->inDatabase(work); }});
    }
    return cases;
}

void insertAndThrow(XXXRWDatabase *db)
{
    EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES ('inside')")));
    throw std::runtime_error("the block gives up");
}

} // namespace

// A block that throws leaves no transaction or savepoint open behind it: its work is
// undone, plain writes made afterwards stay written after a close, later transactions
// work, and a pooled connection goes back to the pool.
TEST(XXXRWDatabaseQueue, aThrowingBlockLeavesNothingOpen)
{
    TempDir tmp;
    const QString path = tmp.path(QStringLiteral("throw.sqlite"));
    auto queue = XXXRWDatabaseQueue::databaseQueueWithPath(path);
    ASSERT_TRUE(queue);
    queue->inDatabase(
        [](XXXRWDatabase *db) { db->executeUpdate(QStringLiteral("CREATE TABLE t (v TEXT)")); });
    for (const ThrowingCase &c : throwingCases(queue, nullptr)) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(c.run(insertAndThrow), std::runtime_error);
        queue->inDatabase([](XXXRWDatabase *db) {
            EXPECT_FALSE(db->inTransaction());
            EXPECT_NE(sqlite3_get_autocommit(db->sqliteHandle()), 0) << "a transaction is still open";
            EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES ('after')")));
        });
        EXPECT_TRUE(queue->inTransaction([](XXXRWDatabase *db, bool *) {
            EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES ('committed')")));
        }));
    }
    queue->close();
    queue->inDatabase([](XXXRWDatabase *db) {
        EXPECT_EQ(db->stringForQuery(QStringLiteral("SELECT group_concat(v) FROM t")),
                  QStringLiteral("after,committed,after,committed,after,committed"));
    });
}

TEST(XXXRWDatabasePool, aThrowingBlockLeavesNothingOpenAndGivesTheConnectionBack)
{
    TempDir tmp;
    auto pool = XXXRWDatabasePool::databasePoolWithPath(tmp.path(QStringLiteral("throw.sqlite")));
    ASSERT_TRUE(pool);
    pool->inDatabase([](XXXRWDatabase *db) { db->executeUpdate(QStringLiteral("CREATE TABLE t (v TEXT)")); });
    int expectedRows = 0;
    for (const ThrowingCase &c : throwingCases(nullptr, pool)) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(c.run(insertAndThrow), std::runtime_error);
        EXPECT_EQ(pool->countOfCheckedOutDatabases(), 0u);
        EXPECT_EQ(pool->countOfCheckedInDatabases(), 1u);
        // A plain block keeps what it wrote before it threw (it has no transaction).
        if (QByteArray(c.name) == "pool plain block")
            ++expectedRows;
        pool->inDatabase([](XXXRWDatabase *db) {
            EXPECT_NE(sqlite3_get_autocommit(db->sqliteHandle()), 0) << "a transaction is still open";
        });
        EXPECT_TRUE(pool->inTransaction([](XXXRWDatabase *db, bool *) {
            EXPECT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES ('committed')")));
        }));
        ++expectedRows;
    }
    pool->releaseAllDatabases();
    pool->inDatabase([&](XXXRWDatabase *db) { EXPECT_EQ(count(db, "t"), expectedRows); });
}

// A file that is not a database is refused when the queue or the pool is made, with the
// reason, and left as it is.
TEST(XXXRWDatabaseQueue, aFileThatIsNotADatabaseIsRefusedAtCreation)
{
    TempDir tmp;
    const QString junk = tmp.path(QStringLiteral("junk.sqlite"));
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'j'));
    }
    struct Case
    {
        const char *name;
        std::function<bool(Bastwick::Error *)> make; // true when something was handed out
        const char *logged;
    };
    const Case cases[] = {
        {"queue",
         [&](Bastwick::Error *error) {
             return XXXRWDatabaseQueue::databaseQueueWithPath(junk, XXXRWDatabaseQueue::kDefaultOpenFlags,
                                                              error) != nullptr;
         },
         "Could not create database queue for path"},
        {"pool",
         [&](Bastwick::Error *error) {
             return XXXRWDatabasePool::databasePoolWithPath(junk, XXXRWDatabasePool::kDefaultOpenFlags,
                                                            error) != nullptr;
         },
         "Could not create database pool for path"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        Bastwick::Error error;
        EXPECT_FALSE(c.make(&error));
        EXPECT_EQ(error.domain, QStringLiteral("XXXRWDatabase"));
        EXPECT_EQ(error.code, SQLITE_NOTADB);
        EXPECT_TRUE(log.contains(QString::fromLatin1(c.logged))) << log.lines().join(u'\n').toStdString();
        EXPECT_EQ(QFileInfo(junk).size(), 4096);
    }
}

// The SQLite adapter and its serial queue.

#include "AltSqliteTestSupport.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <corbelan/sqlite/alternative/SQLiteDataBaseAdapter.h>
#include <corbelan/sqlite/alternative/SQLiteDataBaseQueue.h>

#include <QtCore/QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

using namespace AltSqliteTest;
using TestSupport::LogCapture;

namespace {

// A queue class of its own: the factory makes objects of the class it is asked for.
class JournalQueue : public SQLiteDataBaseQueue
{
public:
    JournalQueue() = default;
};

} // namespace

TEST(SQLiteDataBaseQueueTest, OpensOnlyWhatCanBeOpened)
{
    TestSupport::TempDir dir;
    struct Case
    {
        const char *what;
        QString path;
        bool opens;
    };
    const QList<Case> cases = {
        {"a new file", dir.path(QStringLiteral("new.sqlite")), true},
        {"a folder that does not exist", dir.path(QStringLiteral("missing/db.sqlite")), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        auto queue = SQLiteDataBaseQueue::dataBaseWithPath(c.path);
        EXPECT_EQ(bool(queue), c.opens);
        EXPECT_EQ(log.contains(QStringLiteral("SQLiteDataBaseQueue open db path =") + c.path +
                               QStringLiteral(" failed!")),
                  !c.opens);
        if (queue) {
            EXPECT_EQ(queue->dbPath(), c.path);
            EXPECT_EQ(queue->label(), QStringLiteral("sqlitedatabase.") + queue->description());
            EXPECT_TRUE(queue->description().startsWith(QStringLiteral("<SQLiteDataBaseQueue: 0x")));
        }
        const std::shared_ptr<JournalQueue> own = SQLiteDataBaseQueue::dataBaseWithPath<JournalQueue>(c.path);
        EXPECT_EQ(bool(own), c.opens);
    }
}

TEST(SQLiteDataBaseQueueTest, RunsBlocksOneAtATimeFromManyThreads)
{
    TestSupport::TempDir dir;
    auto queue = SQLiteDataBaseQueue::dataBaseWithPath(dir.path(QStringLiteral("q.sqlite")));
    ASSERT_TRUE(queue);
    queue->inDatabase([](SQLiteDataBaseAdapter *db) {
        ASSERT_TRUE(db && db->db());
        ASSERT_EQ(sqlite3_exec(db->db(), "CREATE TABLE n (v INTEGER)", nullptr, nullptr, nullptr), SQLITE_OK);
    });

    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    LogCapture log;
    constexpr int kThreads = 6;
    constexpr int kBlocks = 25;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back(QThread::create([&] {
            for (int i = 0; i < kBlocks; ++i) {
                queue->inDatabase([&](SQLiteDataBaseAdapter *db) {
                    if (inside.fetch_add(1) != 0)
                        overlapped = true;
                    // A read-modify-write that loses updates if two blocks interleave.
                    sqlite3_exec(db->db(), "INSERT INTO n SELECT count(*) FROM n", nullptr, nullptr, nullptr);
                    inside.fetch_sub(1);
                });
            }
        }));
        threads.back()->start();
    }
    for (auto &t : threads)
        ASSERT_TRUE(t->wait(60000));
    EXPECT_FALSE(overlapped);
    queue->inDatabase([&](SQLiteDataBaseAdapter *db) {
        // Every row holds the count before it: 0, 1, 2, ... without gaps or repeats.
        EXPECT_EQ(
            typedColumn(
                db->db(),
                QStringLiteral("SELECT count(DISTINCT v) = count(*) AND max(v) = count(*) - 1 AS v FROM n")),
            QStringList{QStringLiteral("integer:1")});
    });
    // The adapter keeps no result sets, so every block ends with the warning.
    EXPECT_EQ(log.count(QStringLiteral("Warning: there is at least one open result set around after "
                                       "performing [SQLiteDataBaseQueue inDatabase:]")),
              kThreads * kBlocks + 1);
}

TEST(SQLiteDataBaseQueueTest, AfterCloseBlocksGetAFreshUnopenedAdapter)
{
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("c.sqlite"));
    auto queue = SQLiteDataBaseQueue::dataBaseWithPath(path);
    ASSERT_TRUE(queue);
    queue->inDatabase([](SQLiteDataBaseAdapter *db) {
        ASSERT_EQ(sqlite3_exec(db->db(), "CREATE TABLE t (v); INSERT INTO t VALUES (42)", nullptr, nullptr,
                               nullptr),
                  SQLITE_OK);
    });
    queue->close();
    SQLiteDataBaseAdapter *seen = nullptr;
    queue->inDatabase([&](SQLiteDataBaseAdapter *db) {
        seen = db;
        ASSERT_TRUE(db);
        EXPECT_EQ(db->db(), nullptr);
        EXPECT_EQ(db->dbPath(), path);
        ASSERT_TRUE(db->open());
        EXPECT_TRUE(db->open()); // already open: no second handle
        EXPECT_EQ(typedColumn(db->db(), QStringLiteral("SELECT v FROM t")),
                  QStringList{QStringLiteral("integer:42")});
    });
    EXPECT_EQ(queue->db(), seen);
    queue->close();
    queue->close(); // closing a closed queue is harmless
}

TEST(SQLiteDataBaseQueueTest, ReentrantCallsAreRefusedInsteadOfDeadlocking)
{
    TestSupport::TempDir dir;
    auto first = SQLiteDataBaseQueue::dataBaseWithPath(dir.path(QStringLiteral("r.sqlite")));
    auto second = SQLiteDataBaseQueue::dataBaseWithPath(dir.path(QStringLiteral("s.sqlite")));
    ASSERT_TRUE(first && second);
    const QString refusal = QStringLiteral("inDatabase: was called reentrantly on the same queue, "
                                           "which would lead to a deadlock");
    struct Case
    {
        const char *what;
        std::function<bool()> nested; // runs inside a block of the first queue
        bool runs;
    };
    const QList<Case> cases = {
        {"same queue", [&] { return first->inDatabase([](SQLiteDataBaseAdapter *) {}); }, false},
        {"back through a second queue",
         [&] {
             bool inner = true;
             second->inDatabase(
                 [&](SQLiteDataBaseAdapter *) { inner = first->inDatabase([](SQLiteDataBaseAdapter *) {}); });
             return inner;
         },
         false},
        {"another queue",
         [&] { return second->inDatabase([](SQLiteDataBaseAdapter *db) { EXPECT_TRUE(db->db()); }); }, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LogCapture log;
        bool answered = !c.runs;
        EXPECT_TRUE(first->inDatabase([&](SQLiteDataBaseAdapter *) { answered = c.nested(); }));
        EXPECT_EQ(answered, c.runs);
        EXPECT_EQ(log.contains(refusal), !c.runs);
    }
    // close from inside a block is refused too; the adapter stays open.
    LogCapture log;
    first->inDatabase([&](SQLiteDataBaseAdapter *) { first->close(); });
    EXPECT_TRUE(log.contains(refusal));
    first->inDatabase([](SQLiteDataBaseAdapter *db) { EXPECT_TRUE(db->db()); });
}

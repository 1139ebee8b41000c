// The database manager: first start, second start, a missing or broken seed, and the
// seed database the build produces.

#include <corbelan/sqlite/XXXDBManager.h>
#include <corbelan/sqlite/XXXRWResultSet.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/WaitFor.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QThread>

#include <gtest/gtest.h>

#include <atomic>

#include <sys/syscall.h>
#include <unistd.h>

using TestSupport::LogCapture;
using TestSupport::TempDir;

namespace {

const QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
const QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                         QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                         QFileDevice::WriteOther | QFileDevice::ExeOther;

bool run(XXXDBManager &manager, const std::function<void(XXXRWDatabase *)> &fn)
{
    return manager.queue() && manager.queue()->inDatabase([&](XXXRWDatabase *db) {
        ASSERT_TRUE(db);
        fn(db);
    });
}

void writeJunk(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(2048, 'x'));
}

// Whether the thread (a kernel thread id of this process) is asleep in a timed wait, as
// SQLite's busy handler is between its tries for a locked file.
bool asleepInATimedWait(pid_t tid)
{
    QFile call(QStringLiteral("/proc/self/task/%1/syscall").arg(tid));
    if (!call.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const long number = call.readAll().split(' ').value(0).toLong(&ok);
    return ok && (number == SYS_clock_nanosleep || number == SYS_nanosleep);
}

} // namespace

// The build's seed holds the application's three tables, with the profile columns.
TEST(XXXDBManager, firstAndSecondStartWithTheShippedSeed)
{
    ASSERT_TRUE(QFile::exists(QStringLiteral(":/Deraz.sqlite")));
    TempDir tmp;
    const QString docs = tmp.path(QStringLiteral("home/Documents")); // missing: created
    {
        XXXDBManager manager;
        manager.setDocumentsPath(docs);
        LogCapture log;
        ASSERT_TRUE(manager.openDataBaseWithName(QStringLiteral("Deraz.sqlite")));
        EXPECT_TRUE(log.contains(QStringLiteral("create database success")));
        EXPECT_EQ(manager.defaultDBPath(), QDir(docs).filePath(QStringLiteral("Deraz.sqlite")));
        const QFileDevice::Permissions perms = QFile::permissions(manager.defaultDBPath());
        EXPECT_EQ(perms & kOwnerOnly, kOwnerOnly);
        EXPECT_EQ(perms & kOthers, QFileDevice::Permissions());
        run(manager, [](XXXRWDatabase *db) {
            for (const char *table : {"DBProfile", "DerazCommand", "XXXAppVersion"})
                EXPECT_TRUE(db->tableExists(QString::fromLatin1(table))) << table;
            for (const char *column : {"ID", "name", "username", "password", "host", "port", "url", "alias",
                                       "path", "database", "autoLogin", "scheme"})
                EXPECT_TRUE(db->columnExists(QString::fromLatin1(column), QStringLiteral("DBProfile")))
                    << column;
            for (const char *column : {"ID", "command", "args", "desc", "groupName", "href"})
                EXPECT_TRUE(db->columnExists(QString::fromLatin1(column), QStringLiteral("DerazCommand")))
                    << column;
            for (const char *column : {"versionID", "versionNO", "history"})
                EXPECT_TRUE(db->columnExists(QString::fromLatin1(column), QStringLiteral("XXXAppVersion")))
                    << column;
            EXPECT_TRUE(db->shouldCacheStatements());
            EXPECT_TRUE(
                db->executeUpdate(QStringLiteral("INSERT INTO DBProfile (ID, name) VALUES (1, 'kept')")));
        });
        manager.closeDataBase();
        manager.closeDataBase(); // twice is harmless
    }
    {
        XXXDBManager manager;
        manager.setDocumentsPath(docs);
        LogCapture log;
        ASSERT_TRUE(manager.openDataBaseWithPath(QDir(docs).filePath(QStringLiteral("Deraz.sqlite"))));
        EXPECT_TRUE(log.contains(QStringLiteral("database exists!")));
        EXPECT_FALSE(log.contains(QStringLiteral("create database success")));
        run(manager, [](XXXRWDatabase *db) {
            EXPECT_EQ(db->stringForQuery(QStringLiteral("SELECT name FROM DBProfile WHERE ID = 1")),
                      QStringLiteral("kept"));
        });
    }
}

TEST(XXXDBManager, missingSeedBadFilesAndPathsElsewhere)
{
    TempDir tmp;
    const QString docs = tmp.path(QStringLiteral("Documents"));
    const QString seeds = tmp.path(QStringLiteral("seeds"));
    ASSERT_TRUE(QDir().mkpath(seeds));

    // No seed: logged; the open makes an empty database.
    {
        XXXDBManager manager;
        manager.setDocumentsPath(docs);
        manager.setResourcePath(seeds);
        LogCapture log;
        EXPECT_TRUE(manager.openDataBaseWithName(QStringLiteral("Empty.sqlite")));
        EXPECT_TRUE(log.contains(QStringLiteral("bundle database doesnot exists!")));
        run(manager, [](XXXRWDatabase *db) { EXPECT_FALSE(db->tableExists(QStringLiteral("DBProfile"))); });
    }

    // A folder that does not exist: no queue.
    {
        XXXDBManager manager;
        manager.setDocumentsPath(docs);
        manager.setResourcePath(seeds);
        LogCapture log;
        EXPECT_FALSE(manager.openDataBaseWithPath(tmp.path(QStringLiteral("no/such/folder/x.sqlite"))));
        EXPECT_TRUE(log.contains(QStringLiteral("error opening the database with queue!")));
        EXPECT_EQ(manager.queue(), nullptr);
    }

    // A file that is not a database: refused and left untouched.
    {
        const QString junk = QDir(docs).filePath(QStringLiteral("Junk.sqlite"));
        writeJunk(junk);
        XXXDBManager manager;
        manager.setDocumentsPath(docs);
        LogCapture log;
        EXPECT_FALSE(manager.openDataBaseWithName(QStringLiteral("Junk.sqlite")));
        EXPECT_EQ(manager.queue(), nullptr);
        EXPECT_EQ(QFileInfo(junk).size(), 2048);
    }

    // A path outside Documents: the seed still goes to Documents/<name>, the queue opens the path.
    {
        const QString elsewhere = tmp.path(QStringLiteral("elsewhere"));
        ASSERT_TRUE(QDir().mkpath(elsewhere));
        XXXDBManager manager;
        manager.setDocumentsPath(docs);
        ASSERT_TRUE(manager.openDataBaseWithPath(QDir(elsewhere).filePath(QStringLiteral("Deraz.sqlite"))));
        EXPECT_TRUE(QFile::exists(QDir(docs).filePath(QStringLiteral("Deraz.sqlite"))));
        run(manager, [](XXXRWDatabase *db) { EXPECT_FALSE(db->tableExists(QStringLiteral("DBProfile"))); });
    }
}

// A fresh copy replaces the Documents file only once the copy is ready; without a
// seed the file that is there stays.
TEST(XXXDBManager, createNewDatabaseNeverLosesTheExistingFile)
{
    TempDir tmp;
    XXXDBManager manager;
    manager.setDocumentsPath(tmp.path(QStringLiteral("Documents")));
    ASSERT_TRUE(manager.openDataBaseWithName(QStringLiteral("Deraz.sqlite")));
    run(manager, [](XXXRWDatabase *db) {
        EXPECT_TRUE(db->executeUpdate(
            QStringLiteral("INSERT INTO DerazCommand (ID, command) VALUES (100000, 'MINE')")));
    });
    manager.closeDataBase();

    manager.setResourcePath(tmp.path(QStringLiteral("nowhere")));
    EXPECT_FALSE(manager.createNewDatabase());
    ASSERT_TRUE(manager.openDataBaseWithPath(manager.defaultDBPath()));
    run(manager, [](XXXRWDatabase *db) {
        EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT count(*) FROM DerazCommand WHERE ID = 100000")), 1);
    });
    manager.closeDataBase();

    manager.setResourcePath(QStringLiteral(":"));
    EXPECT_TRUE(manager.createNewDatabase());
    ASSERT_TRUE(manager.openDataBaseWithPath(manager.defaultDBPath()));
    run(manager, [](XXXRWDatabase *db) {
        EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT count(*) FROM DerazCommand WHERE ID = 100000")), 0);
    });
    const QFileDevice::Permissions perms = QFile::permissions(manager.defaultDBPath());
    EXPECT_EQ(perms & kOthers, QFileDevice::Permissions());
}

// Two managers on one file, as two instances of the program: while the first holds a
// write transaction, the second's open and the second's writes wait for it instead of
// failing with "database is locked".
TEST(XXXDBManager, aSecondManagerWaitsForTheFirstOnesWrite)
{
    TempDir tmp;
    const QString docs = tmp.path(QStringLiteral("Documents"));
    const QString seeds = tmp.path(QStringLiteral("seeds"));
    ASSERT_TRUE(QDir().mkpath(seeds));
    const QString path = QDir(docs).filePath(QStringLiteral("Shared.sqlite"));
    XXXDBManager first, second;
    for (XXXDBManager *manager : {&first, &second}) {
        manager->setDocumentsPath(docs);
        manager->setResourcePath(seeds);
    }
    ASSERT_TRUE(first.openDataBaseWithPath(path));
    run(first,
        [](XXXRWDatabase *db) { ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TABLE t (v)"))); });

    const auto secondWrites = [&] {
        bool ok = false;
        run(second,
            [&](XXXRWDatabase *db) { ok = db->executeUpdate(QStringLiteral("INSERT INTO t VALUES (2)")); });
        return ok;
    };
    struct Case
    {
        const char *what;
        std::function<bool()> action;
    };
    const Case cases[] = {
        {"opening", [&] { return second.openDataBaseWithPath(path); }},
        {"writing", secondWrites},
        // The queue opens its connection again after a close, with the same patience.
        {"writing after a close",
         [&] {
             second.closeDataBase();
             return secondWrites();
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        run(first, [](XXXRWDatabase *db) {
            ASSERT_TRUE(db->beginTransaction());
            ASSERT_TRUE(db->executeUpdate(QStringLiteral("INSERT INTO t VALUES (1)")));
        });
        std::atomic<pid_t> tid{0};
        std::atomic<int> outcome{-1};
        std::unique_ptr<QThread> thread(QThread::create([&] {
            tid = pid_t(syscall(SYS_gettid));
            outcome = c.action() ? 1 : 0;
        }));
        thread->start();
        // The first commits once the second is seen waiting (or has given up).
        EXPECT_TRUE(waitFor([&] { return outcome != -1 || (tid != 0 && asleepInATimedWait(tid)); }, 20000));
        EXPECT_EQ(outcome.load(), -1) << "the second gave up while the first was writing";
        run(first, [](XXXRWDatabase *db) { ASSERT_TRUE(db->commit()); });
        ASSERT_TRUE(thread->wait(QDeadlineTimer(60000)));
        EXPECT_EQ(outcome.load(), 1);
    }
    run(second,
        [](XXXRWDatabase *db) { EXPECT_EQ(db->intForQuery(QStringLiteral("SELECT count(*) FROM t")), 5); });
}

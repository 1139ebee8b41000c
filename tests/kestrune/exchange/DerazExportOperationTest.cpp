#include "ExportTestHelpers.h"

#include <kestrune/data/records/DerazCommandLine.h>
#include <kestrune/data/records/DerazType.h>

#include "support/FakeDerazServer.h"
#include "support/TempDir.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QSet>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

using namespace ExportTest;

namespace {

class DerazExportTest : public DerazTest::ServerTest
{
protected:
    void SetUp() override
    {
        DerazTest::ServerTest::SetUp();
        raw = std::make_unique<Raw>(DerazTest::redis().port());
        ASSERT_TRUE(raw->ok());
    }
    void TearDown() override
    {
        raw.reset();
        DerazTest::ServerTest::TearDown();
    }

    void fill(const QList<QList<QByteArray>> &commands)
    {
        for (const auto &c : commands)
            ASSERT_FALSE(raw->run(c).startsWith("ERR:")) << c.first().constData();
    }

    // DB0 as the application loads it, key list included.
    std::shared_ptr<DerazDatabase> connectDB0()
    {
        connected = DerazTest::connectTo(DerazTest::redis().host(), DerazTest::redis().port());
        EXPECT_FALSE(connected.error) << qPrintable(DerazTest::describe(connected.error));
        return connected.db(0);
    }

    static QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::unique_ptr<Raw> raw;
    DerazTest::Connected connected;
    TestSupport::TempDir dir;
};

const QByteArray kOdd("a b\n\"q\"\\\0\xff\xc3 \xe2\x80\xa8 \xc2\x85", 18);

// Keys of all five types with awkward bytes: blanks, line breaks, quotes, NUL, bytes that
// are not UTF-8, line and paragraph separators, empty values, repeated scores.
const QList<QList<QByteArray>> kAwkward{
    {"SET", "plain", "value"},
    {"SET", kOdd, kOdd},
    {"SET", "empty", ""},
    {"SET", "sep",
     "one\xe2\x80\xa8two\xe2\x80\xa9three\xc2\x85"
     "four"},
    {"HSET", "hash", "f 1", kOdd, "", "empty field", "\xc3\xa9", "\xc3\xa9"},
    {"RPUSH", "list", "x", "x", "", kOdd, "last one"},
    {"SADD", QByteArray("set\0", 4), "m", kOdd, ""},
    {"ZADD", "zset", "1.5", "a", "1.5", "b", "1700000000123", "ts", "0.1", "tenth", "inf", "top", "-inf",
     kOdd},
};

TEST_F(DerazExportTest, CommandTextExportFlushImportGivesIdenticalKeys)
{
    fill(kAwkward);
    // Keys that expire, of three types, one with awkward bytes in its name.
    const QMap<QByteArray, qint64> expiring{{"plain", 1000}, {"hash", 50000}, {kOdd, 600}};
    for (auto it = expiring.cbegin(); it != expiring.cend(); ++it)
        fill({{"EXPIRE", it.key(), QByteArray::number(it.value())}});
    const auto before = raw->dump();
    auto db = connectDB0();
    ASSERT_TRUE(db);
    ASSERT_EQ(db->numberOfKeys(), kAwkward.size());

    // The folder does not exist yet: it is made.
    const QString path = dir.path() + QStringLiteral("/new/folder/keys.txt");
    Delegate delegate;
    runExport(db, DBExportTypeDerazCommand, path, delegate);
    ASSERT_EQ(delegate.finished, 1);
    ASSERT_FALSE(delegate.error) << qPrintable(DerazTest::describe(delegate.error));
    EXPECT_EQ(delegate.database, db);
    EXPECT_EQ(delegate.lastWritten, kAwkward.size());
    const QByteArray text = readFile(path);
    ASSERT_FALSE(text.isEmpty());

    // One EXPIRE line per expiring key, right after the lines that rebuild it, with the
    // time it had left.
    QList<QList<QByteArray>> commands;
    for (const QByteArray &line : text.split('\n'))
        if (!line.isEmpty())
            commands.append(DerazCommandLine::split(line));
    QMap<QByteArray, qint64> written;
    for (qsizetype i = 0; i < commands.size(); ++i) {
        if (commands[i].value(0) != "EXPIRE")
            continue;
        ASSERT_EQ(commands[i].size(), 3);
        ASSERT_GT(i, 0);
        EXPECT_EQ(commands[i - 1].value(1), commands[i][1]) << "EXPIRE follows the key's own lines";
        written.insert(commands[i][1], commands[i][2].toLongLong());
    }
    ASSERT_EQ(written.keys(), expiring.keys());
    for (auto it = expiring.cbegin(); it != expiring.cend(); ++it) {
        EXPECT_LE(written.value(it.key()), it.value());
        EXPECT_GE(written.value(it.key()), it.value() - 60);
    }

    raw->run({"FLUSHDB"});
    ASSERT_TRUE(raw->dump().isEmpty());
    const auto error = DerazTest::await([&](auto done) { db->importFile(path, done); });
    ASSERT_FALSE(error) << qPrintable(DerazTest::describe(error));
    EXPECT_EQ(raw->dump(), before);
    for (auto it = expiring.cbegin(); it != expiring.cend(); ++it) {
        const qint64 ttl = raw->run({"TTL", it.key()}).toLongLong();
        EXPECT_LE(ttl, it.value()) << it.key().toHex().constData();
        EXPECT_GE(ttl, it.value() - 60) << it.key().toHex().constData();
    }
    EXPECT_EQ(raw->run({"TTL", "list"}), "-1") << "a key without expiry gets none";
}

TEST_F(DerazExportTest, JsonLinesHoldOneObjectPerKeyAndLine)
{
    fill(kAwkward);
    auto db = connectDB0();
    ASSERT_TRUE(db);
    const QString path = dir.path() + QStringLiteral("/keys.json");
    Delegate delegate;
    runExport(db, DBExportTypeJSON, path, delegate);
    ASSERT_EQ(delegate.finished, 1);
    ASSERT_FALSE(delegate.error) << qPrintable(DerazTest::describe(delegate.error));

    const QByteArray text = readFile(path);
    ASSERT_TRUE(text.endsWith('\n'));
    // Every line reader sees one key per line: no raw separators are left.
    EXPECT_FALSE(text.contains("\xe2\x80\xa8"));
    EXPECT_FALSE(text.contains("\xe2\x80\xa9"));
    EXPECT_FALSE(text.contains("\xc2\x85"));
    const QList<QByteArray> lines = text.chopped(1).split('\n');
    ASSERT_EQ(lines.size(), kAwkward.size());

    QMap<QString, QJsonValue> byKey;
    for (const QByteArray &line : lines) {
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(line, &parseError);
        ASSERT_EQ(parseError.error, QJsonParseError::NoError) << line.constData();
        ASSERT_TRUE(doc.isObject());
        ASSERT_EQ(doc.object().size(), 1);
        byKey.insert(doc.object().begin().key(), doc.object().begin().value());
    }
    EXPECT_EQ(byKey.value("plain").toString(), "value");
    EXPECT_EQ(byKey.value("empty").toString(), "");
    EXPECT_EQ(byKey.value("sep").toString(), QString::fromUtf8("one\xe2\x80\xa8two\xe2\x80\xa9three\xc2\x85"
                                                               "four"));
    EXPECT_EQ(byKey.value("hash").toObject().value("\xc3\xa9").toString(), QString::fromUtf8("\xc3\xa9"));
    EXPECT_EQ(byKey.value("hash").toObject().value("empty field").toString(), "");
    const QJsonArray list = byKey.value("list").toArray();
    ASSERT_EQ(list.size(), 5);
    EXPECT_EQ(list.at(0).toString(), "x");
    EXPECT_EQ(list.at(4).toString(), "last one");
    EXPECT_EQ(byKey.value("zset").toObject().size(), 6) << "repeated scores keep every member";
}

TEST_F(DerazExportTest, PageBoundariesAreInvisible)
{
    for (const int count : {0, 7, 100, 101, 250}) {
        SCOPED_TRACE(count);
        raw->run({"FLUSHDB"});
        QSet<QByteArray> expected;
        for (int i = 0; i < count; ++i) {
            const QByteArray key = "k" + QByteArray::number(i);
            raw->run({"SET", key, "v" + QByteArray::number(i)});
            expected.insert(key);
        }
        auto db = connectDB0();
        ASSERT_TRUE(db);
        for (const int type : {int(DBExportTypeJSON), int(DBExportTypeDerazCommand)}) {
            const QString path = dir.path() + QStringLiteral("/%1-%2.out").arg(count).arg(type);
            Delegate delegate;
            runExport(db, type, path, delegate);
            if (count == 0) {
                // No keys: no file and no message.
                EXPECT_EQ(delegate.finished, 0);
                EXPECT_FALSE(QFile::exists(path));
                continue;
            }
            ASSERT_EQ(delegate.finished, 1);
            ASSERT_FALSE(delegate.error) << qPrintable(DerazTest::describe(delegate.error));
            const QByteArray text = readFile(path);
            const QList<QByteArray> lines = text.chopped(1).split('\n');
            ASSERT_EQ(lines.size(), count);
            QSet<QByteArray> seen;
            for (const QByteArray &line : lines) {
                if (type == DBExportTypeJSON)
                    seen.insert(QJsonDocument::fromJson(line).object().begin().key().toUtf8());
                else
                    seen.insert(DerazCommandLine::split(line).value(1));
            }
            EXPECT_EQ(seen, expected);
        }
    }
}

// Whatever keys, query, indexes or folder an operation was made with, it writes every key
// of its database to its file.
TEST_F(DerazExportTest, EveryMakerOfTheOperationExportsTheWholeDatabase)
{
    fill({{"SET", "a", "1"}, {"SET", "b", "2"}, {"SET", "c", "3"}});
    auto db = connectDB0();
    ASSERT_TRUE(db);
    const QSet<QByteArray> expected{"a", "b", "c"};
    const QString otherFolder = dir.path() + QStringLiteral("/elsewhere");

    struct Case
    {
        const char *name;
        std::function<std::shared_ptr<DerazExportOperation>(const QString &path)> make;
    };
    const QList<Case> cases{
        {"keys",
         [&](const QString &path) {
             auto op = std::make_shared<DerazExportOperation>(db->dbExport(), QByteArrayList{"b"}, path);
             EXPECT_EQ(op->keys(), QByteArrayList{"b"});
             EXPECT_TRUE(op->query().isNull());
             return op;
         }},
        {"query",
         [&](const QString &path) {
             auto op = std::make_shared<DerazExportOperation>(db->dbExport(), QStringLiteral("a*"), path);
             EXPECT_EQ(op->query(), QStringLiteral("a*"));
             EXPECT_TRUE(op->keys().isEmpty());
             return op;
         }},
        {"setters",
         [&](const QString &path) {
             auto op = std::make_shared<DerazExportOperation>(db->dbExport(), path);
             op->setExportQuery(QStringLiteral("c"));
             op->setExportAtIndexes(Bastwick::IndexSet{0, 2});
             op->setExportFolder(otherFolder);
             EXPECT_EQ(op->query(), QStringLiteral("c"));
             EXPECT_EQ(op->indexes(), (Bastwick::IndexSet{0, 2}));
             EXPECT_EQ(op->exportFolder(), otherFolder);
             return op;
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.path() + QStringLiteral("/%1.json").arg(QLatin1String(c.name));
        Delegate delegate;
        runOperation(c.make(path), DBExportTypeJSON, delegate);
        ASSERT_EQ(delegate.finished, 1);
        ASSERT_FALSE(delegate.error) << qPrintable(DerazTest::describe(delegate.error));
        QSet<QByteArray> seen;
        for (const QByteArray &line : readFile(path).chopped(1).split('\n'))
            seen.insert(QJsonDocument::fromJson(line).object().begin().key().toUtf8());
        EXPECT_EQ(seen, expected);
    }
    EXPECT_FALSE(QFileInfo::exists(otherFolder)) << "the folder is not where the file goes";
}

TEST_F(DerazExportTest, KeysGoneSinceTheListWasLoadedLeaveNoLine)
{
    for (int start = 0; start < 150; start += 50) {
        QList<QByteArray> mset{"MSET"};
        for (int i = start; i < start + 50; ++i)
            mset << "k" + QByteArray::number(i) << "v" + QByteArray::number(i);
        raw->run(mset);
    }
    auto db = connectDB0();
    ASSERT_TRUE(db);
    // The whole first page and a few keys of the second go after the list was loaded.
    const QByteArrayList keys = db->keys().toList();
    ASSERT_EQ(keys.size(), 150);
    QSet<QByteArray> left(keys.begin(), keys.end());
    for (qsizetype i = 0; i < 110; i += (i < 100 ? 1 : 3)) {
        raw->run({"DEL", keys.at(i)});
        left.remove(keys.at(i));
    }
    for (const int type : {int(DBExportTypeJSON), int(DBExportTypeDerazCommand)}) {
        SCOPED_TRACE(type);
        const QString path = dir.path(QStringLiteral("gone-%1.out").arg(type));
        Delegate delegate;
        runExport(db, type, path, delegate);
        ASSERT_EQ(delegate.finished, 1);
        ASSERT_FALSE(delegate.error) << qPrintable(DerazTest::describe(delegate.error));
        QSet<QByteArray> seen;
        for (const QByteArray &line : readFile(path).chopped(1).split('\n')) {
            if (type == DBExportTypeJSON)
                seen.insert(QJsonDocument::fromJson(line).object().begin().key().toUtf8());
            else
                seen.insert(DerazCommandLine::split(line).value(1));
        }
        EXPECT_EQ(seen, left);
    }
}

TEST_F(DerazExportTest, KeysChangingDuringTheExportLeaveOnlyWholeLines)
{
    const int count = 3000;
    for (int start = 0; start < count; start += 500) {
        QList<QByteArray> mset{"MSET"};
        for (int i = start; i < start + 500; ++i)
            mset << "k" + QByteArray::number(i) << "value";
        raw->run(mset);
    }
    auto db = connectDB0();
    ASSERT_TRUE(db);

    // Every tenth key keeps changing type (and vanishing between the changes).
    std::atomic<bool> stop{false};
    std::thread changer([&] {
        Raw other(DerazTest::redis().port());
        for (int round = 0; !stop; ++round) {
            for (int i = 0; i < count && !stop; i += 10) {
                const QByteArray key = "k" + QByteArray::number(i);
                other.run({"DEL", key});
                if (round % 2)
                    other.run({"RPUSH", key, "a", "b"});
                else
                    other.run({"HSET", key, "f", "v"});
            }
        }
    });
    const QString path = dir.path() + QStringLiteral("/moving.json");
    Delegate delegate;
    runExport(db, DBExportTypeJSON, path, delegate);
    stop = true;
    changer.join();

    ASSERT_EQ(delegate.finished, 1);
    ASSERT_FALSE(delegate.error) << qPrintable(DerazTest::describe(delegate.error));
    QSet<QString> seen;
    for (const QByteArray &line : readFile(path).chopped(1).split('\n')) {
        const QJsonDocument doc = QJsonDocument::fromJson(line);
        ASSERT_TRUE(doc.isObject()) << line.constData();
        ASSERT_EQ(doc.object().size(), 1);
        const QString key = doc.object().begin().key();
        EXPECT_FALSE(seen.contains(key)) << qPrintable(key);
        seen.insert(key);
    }
    for (int i = 0; i < count; ++i)
        if (i % 10)
            EXPECT_TRUE(seen.contains(QStringLiteral("k%1").arg(i))) << i;
}

TEST_F(DerazExportTest, UnwritableTargetReportsTheErrorAndFinishes)
{
    fill({{"SET", "a", "1"}});
    auto db = connectDB0();
    ASSERT_TRUE(db);
    QFile blocker(dir.path() + QStringLiteral("/file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A folder that cannot be made, because a file stands where it would go.
    const QString path = dir.path() + QStringLiteral("/file/keys.json");
    Delegate delegate;
    runExport(db, DBExportTypeJSON, path, delegate);
    ASSERT_EQ(delegate.finished, 1);
    ASSERT_TRUE(delegate.error);
    EXPECT_FALSE(delegate.error->description.isEmpty());
}

// Stands for a disk with room for a number of bytes, between the export and its file: the
// write that meets the limit falls short, as the system's does, and every write after it
// fails with the system's reason.
class FullDisk : public QIODevice
{
public:
    FullDisk(QIODevice &file, qint64 room, std::shared_ptr<std::atomic<int>> writesWhenFull)
        : m_file(file)
        , m_room(room)
        , m_writesWhenFull(std::move(writesWhenFull))
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        const qint64 fits = qMin(length, m_room - m_written);
        if (fits <= 0) {
            ++*m_writesWhenFull;
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 written = m_file.write(data, fits);
        m_written += qMax<qint64>(written, 0);
        return written;
    }

private:
    QIODevice &m_file;
    qint64 m_room;
    qint64 m_written = 0;
    std::shared_ptr<std::atomic<int>> m_writesWhenFull;
};

TEST_F(DerazExportTest, AFullDiskFailsTheExportAtOnceAndLeavesNoFile)
{
    for (int start = 0; start < 300; start += 100) {
        QList<QByteArray> mset{"MSET"};
        for (int i = start; i < start + 100; ++i)
            mset << "k" + QByteArray::number(i) << QByteArray(200, 'v');
        raw->run(mset);
    }
    auto db = connectDB0();
    ASSERT_TRUE(db);
    const struct
    {
        const char *name;
        int type;
        qint64 room;
    } cases[] = {
        {"no room at all", DBExportTypeDerazCommand, 0},
        {"room for part of the first page", DBExportTypeJSON, 1000},
        {"room for two pages and a bit", DBExportTypeDerazCommand, 50000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = dir.path(QStringLiteral("full-%1").arg(c.room));
        const QString path = folder + QStringLiteral("/keys.out");
        auto op = std::make_shared<DerazExportOperation>(db->dbExport(), path);
        auto writesWhenFull = std::make_shared<std::atomic<int>>(0);
        op->setOutputWrapper([room = c.room, writesWhenFull](QIODevice &file) {
            return std::make_unique<FullDisk>(file, room, writesWhenFull);
        });
        Delegate delegate;
        runOperation(op, c.type, delegate);
        ASSERT_EQ(delegate.finished, 1);
        ASSERT_TRUE(delegate.error) << "a cut file was reported as written";
        // The message names the file and says why.
        EXPECT_TRUE(delegate.error->description.contains(QDir::toNativeSeparators(path)))
            << qPrintable(delegate.error->description);
        EXPECT_TRUE(delegate.error->description.contains(QStringLiteral("No space left on device")))
            << qPrintable(delegate.error->description);
        EXPECT_EQ(writesWhenFull->load(), 1) << "nothing more is written once a write failed";
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty())
            << "nothing half-written stays";
    }
}

TEST_F(DerazExportTest, ACancelledExportLeavesNoFile)
{
    fill({{"SET", "a", "1"}, {"SET", "b", "2"}});
    auto db = connectDB0();
    ASSERT_TRUE(db);
    DerazExportManager &manager = DerazExportManager::sharedInstance();
    const QString path = dir.path() + QStringLiteral("/cancelled.json");
    auto op = std::make_shared<DerazExportOperation>(db->dbExport(), path);
    Delegate delegate;
    op->setDelegate(&delegate);
    bool done = false;
    QObject::connect(op.get(), &Bastwick::Operation::finished, &delegate, [&] { done = true; });
    // Paused, the export waits; cancelled before it starts, it never runs.
    manager.pause();
    manager.AddExportOperation(op);
    ASSERT_TRUE(TestSupport::waitForGlobalQueue()); // had it started, it would have finished
    EXPECT_FALSE(done);
    manager.cancel();
    manager.start();
    EXPECT_TRUE(waitFor([&] { return done; }, 10000));
    ASSERT_TRUE(TestSupport::waitForMainQueue()); // the delegate messages, posted before it finished
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(delegate.finished, 0);
}

TEST(DerazExportLostServer, ALostServerCancelsTheFile)
{
    TestSupport::RedisServer server;
    ASSERT_TRUE(server.start()) << qPrintable(server.error());
    {
        Raw raw(server.port());
        ASSERT_TRUE(raw.ok());
        for (int i = 0; i < 250; ++i)
            raw.run({"SET", "k" + QByteArray::number(i), "v"});
    }
    auto connected = DerazTest::connectTo(server.host(), server.port());
    ASSERT_FALSE(connected.error);
    auto db = connected.db(0);
    ASSERT_TRUE(db);
    server.stop();

    TestSupport::TempDir dir;
    const QString path = dir.path() + QStringLiteral("/lost.txt");
    Delegate delegate;
    runExport(db, DBExportTypeDerazCommand, path, delegate);
    ASSERT_EQ(delegate.finished, 1);
    ASSERT_TRUE(delegate.error);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << "nothing half-written stays";
}

TEST(DerazExportRecordText, LineBreakingCharactersAreEscaped)
{
    DerazUnit unit;
    unit.setKey("k\xe2\x80\xa8");
    unit.setType(0);
    unit.updateStringValues(QByteArray("a\xc2\x85"
                                       "b\xe2\x80\xa9"));
    const QByteArray line = DerazExportOperation::recordText(unit, DBExportTypeJSON);
    EXPECT_EQ(line, QByteArray("{\"k\\u2028\":\"a\\u0085b\\u2029\"}\n"));
    EXPECT_EQ(QJsonDocument::fromJson(line).object().value(QString::fromUtf8("k\xe2\x80\xa8")).toString(),
              QString::fromUtf8("a\xc2\x85"
                                "b\xe2\x80\xa9"));
    // Other types write nothing.
    EXPECT_TRUE(DerazExportOperation::recordText(unit, DBExportTypeCSV).isEmpty());
}

TEST(DerazExportRecordText, CommandTextEndsWithTheTimeToLiveLeft)
{
    const struct
    {
        const char *name;
        qint64 ttl;
        bool hasValue;
        QByteArray text;
    } cases[] = {
        {"no expiry", -1, true, "SET \"k 1\" v\n"},
        {"seconds left", 42, true, "SET \"k 1\" v\nEXPIRE \"k 1\" 42\n"},
        // The read rounds: a key less than half a second from expiring reads 0.
        {"about to expire keeps one second", 0, true, "SET \"k 1\" v\nEXPIRE \"k 1\" 1\n"},
        {"nothing to rebuild, nothing to expire", 42, false, ""},
    };
    for (const auto &c : cases) {
        DerazUnit unit;
        unit.setKey("k 1");
        unit.setType(DerazKeyTypeString);
        unit.setTtl(c.ttl);
        if (c.hasValue)
            unit.updateStringValues(QByteArray("v"));
        EXPECT_EQ(DerazExportOperation::recordText(unit, DBExportTypeDerazCommand), c.text) << c.name;
        // The JSON form has no place for it.
        EXPECT_FALSE(DerazExportOperation::recordText(unit, DBExportTypeJSON).contains("42")) << c.name;
    }
}

// Stands between the application and a real server: passes every command on, one server
// session per client connection, and answers the commands a test picks with an error of its
// own instead of the server's reply, inside a transaction or outside one.
class RewritingProxy
{
public:
    // The raw error reply that replaces the server's reply to a command, or nothing.
    using Rewrite = std::function<std::optional<QByteArray>(const QList<QByteArray> &command)>;

    RewritingProxy(int serverPort, Rewrite rewrite)
        : m_serverPort(serverPort)
        , m_rewrite(std::move(rewrite))
    {
        m_fake.start([this](const TestSupport::FakeDerazServer::Command &c, int connection) {
            return handle(c, connection);
        });
    }
    ~RewritingProxy()
    {
        m_fake.stop();
        for (auto &[index, session] : m_sessions)
            redisFree(session.context);
    }

    int port() const { return m_fake.port(); }
    // How often the command was sent, queued in a transaction or not.
    qsizetype sent(const QList<QByteArray> &command) const { return m_fake.received().count(command); }

private:
    struct Session
    {
        redisContext *context = nullptr;
        bool inTransaction = false;
        QList<QList<QByteArray>> queued;
    };

    static QByteArray encode(const redisReply *r)
    {
        switch (r->type) {
        case REDIS_REPLY_STRING:
            return TestSupport::FakeDerazServer::bulk(QByteArray(r->str, qsizetype(r->len)));
        case REDIS_REPLY_STATUS:
            return TestSupport::FakeDerazServer::status(QByteArray(r->str, qsizetype(r->len)));
        case REDIS_REPLY_ERROR:
            return TestSupport::FakeDerazServer::error(QByteArray(r->str, qsizetype(r->len)));
        case REDIS_REPLY_INTEGER:
            return TestSupport::FakeDerazServer::integer(r->integer);
        case REDIS_REPLY_ARRAY: {
            QList<QByteArray> elements;
            for (size_t i = 0; i < r->elements; ++i)
                elements.append(encode(r->element[i]));
            return TestSupport::FakeDerazServer::array(elements);
        }
        default:
            return TestSupport::FakeDerazServer::nil();
        }
    }

    TestSupport::FakeDerazServer::Action handle(const QList<QByteArray> &command, int connection)
    {
        Session *session;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            session = &m_sessions[connection];
            if (!session->context)
                session->context = redisConnect("127.0.0.1", m_serverPort);
        }
        std::vector<const char *> argv;
        std::vector<size_t> lengths;
        for (const QByteArray &a : command) {
            argv.push_back(a.constData());
            lengths.push_back(size_t(a.size()));
        }
        auto *reply = static_cast<redisReply *>(
            redisCommandArgv(session->context, int(argv.size()), argv.data(), lengths.data()));
        if (!reply)
            return {QByteArray(), true};
        const QByteArray name = command.value(0).toUpper();
        QByteArray out;
        if (name == "MULTI") {
            session->inTransaction = true;
            session->queued.clear();
            out = encode(reply);
        } else if (name == "EXEC" && reply->type == REDIS_REPLY_ARRAY) {
            session->inTransaction = false;
            QList<QByteArray> elements;
            for (size_t i = 0; i < reply->elements; ++i)
                elements.append(
                    m_rewrite(session->queued.value(qsizetype(i))).value_or(encode(reply->element[i])));
            out = TestSupport::FakeDerazServer::array(elements);
        } else if (session->inTransaction) {
            session->queued.append(command);
            out = encode(reply);
        } else {
            out = m_rewrite(command).value_or(encode(reply));
        }
        freeReplyObject(reply);
        return {out};
    }

    int m_serverPort;
    Rewrite m_rewrite;
    std::mutex m_mutex;
    std::map<int, Session> m_sessions;
    TestSupport::FakeDerazServer m_fake;
};

TEST_F(DerazExportTest, APageRefusedForATypeChangeIsReadAgainThenKeyByKey)
{
    QList<QByteArray> mset{"MSET"};
    QSet<QByteArray> all;
    for (int i = 0; i < 20; ++i) {
        mset << "k" + QByteArray::number(i) << "v";
        all.insert("k" + QByteArray::number(i));
    }
    raw->run(mset);
    const QByteArray wrongType = "-WRONGTYPE Operation against a key holding the wrong kind of value\r\n";
    const QList<QByteArray> readK7{"GET", "k7"};
    const QList<QByteArray> readK3{"GET", "k3"};
    const struct
    {
        const char *name;
        QByteArray refusal; // the reply that replaces the server's to GET k7
        int refusals;       // how many reads of k7 get it
        bool fails;
        int pageReads; // reads of a key k7 does not hold back: one per page read...
        int keyReads;  // ...plus one when the keys were read one by one
        bool k7Exported;
    } cases[] = {
        {"changed once: the page is read again", wrongType, 1, false, 2, 0, true},
        {"changed twice: the keys are read one by one", wrongType, 2, false, 2, 1, true},
        {"keeps changing: that key is left out", wrongType, 1000, false, 2, 1, false},
        {"any other refusal fails the export", "-ERR out of order\r\n", 1, true, 1, 0, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::atomic<int> refused{0};
        RewritingProxy proxy(DerazTest::redis().port(), [&](const QList<QByteArray> &command) {
            if (command == readK7 && refused < c.refusals) {
                ++refused;
                return std::optional<QByteArray>(c.refusal);
            }
            return std::optional<QByteArray>();
        });
        auto through = DerazTest::connectTo(DerazTest::redis().host(), proxy.port());
        ASSERT_FALSE(through.error) << qPrintable(DerazTest::describe(through.error));
        auto db = through.db(0);
        ASSERT_TRUE(db);
        ASSERT_EQ(db->numberOfKeys(), 20);

        const QString path = dir.path(QStringLiteral("retry.json"));
        QFile::remove(path);
        Delegate delegate;
        runExport(db, DBExportTypeJSON, path, delegate);
        ASSERT_EQ(delegate.finished, 1);
        EXPECT_EQ(proxy.sent(readK3), c.pageReads + c.keyReads);
        if (c.fails) {
            ASSERT_TRUE(delegate.error);
            EXPECT_TRUE(delegate.error->description.contains("out of order"))
                << qPrintable(delegate.error->description);
            EXPECT_FALSE(QFile::exists(path));
            continue;
        }
        ASSERT_FALSE(delegate.error) << qPrintable(DerazTest::describe(delegate.error));
        QSet<QByteArray> seen;
        for (const QByteArray &line : readFile(path).chopped(1).split('\n'))
            seen.insert(QJsonDocument::fromJson(line).object().begin().key().toUtf8());
        QSet<QByteArray> expected = all;
        if (!c.k7Exported)
            expected.remove("k7");
        EXPECT_EQ(seen, expected);
    }
}

// Passes the export's bytes on to its file, running a check on the export's thread at the
// first write, while the first page is written.
class AtFirstWrite : public QIODevice
{
public:
    AtFirstWrite(QIODevice &file, std::function<void()> check)
        : m_file(file)
        , m_check(std::move(check))
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        if (m_check)
            std::exchange(m_check, nullptr)();
        return m_file.write(data, length);
    }

private:
    QIODevice &m_file;
    std::function<void()> m_check;
};

// Six pages of keys, read through a proxy that shows which pages an export asked for.
class DerazExportReadAheadTest : public DerazExportTest
{
protected:
    static constexpr int kCount = 600;

    void SetUp() override
    {
        DerazExportTest::SetUp();
        QList<QByteArray> mset{"MSET"};
        for (int i = 0; i < kCount; ++i)
            mset << "k" + QByteArray::number(i) << "v";
        raw->run(mset);
    }

    // DB0 read through the proxy, its key list kept for typeOfPage().
    std::shared_ptr<DerazDatabase> connectThrough(const RewritingProxy &proxy)
    {
        connected = DerazTest::connectTo(DerazTest::redis().host(), proxy.port());
        EXPECT_FALSE(connected.error) << qPrintable(DerazTest::describe(connected.error));
        auto db = connected.db(0);
        if (db)
            keys = db->keys();
        return db;
    }

    // The command by which the read of a page asks for the type of its first key.
    QList<QByteArray> typeOfPage(int page) const { return {"TYPE", keys.at(page * exportPageMaxCount)}; }

    // Returns once the reads queued on the connection before the call have ended, and any
    // read they started: reads on the connection's queue run in turn, so two more suffice.
    static void waitForQueuedReads(DerazDatabase &db)
    {
        db.derazUnitFromKey("absent");
        db.derazUnitFromKey("absent");
    }

    DerazKeyList keys;
};

// While the export writes a page, the next pages are read on the connection's queue, so
// the server does not wait for the writing; but no more than two, so memory stays bounded
// however slow the disk.
TEST_F(DerazExportReadAheadTest, PagesAreReadAheadOfTheWritingTwoAtMost)
{
    RewritingProxy proxy(DerazTest::redis().port(), [](const QList<QByteArray> &) { return std::nullopt; });
    auto db = connectThrough(proxy);
    ASSERT_TRUE(db);
    ASSERT_EQ(db->numberOfKeys(), kCount);
    const auto pageRead = [&](int page) { return proxy.sent(typeOfPage(page)) > 0; };

    bool nextTwoRead = false;
    bool thirdRead = false;
    const QString path = dir.path(QStringLiteral("ahead.json"));
    auto op = std::make_shared<DerazExportOperation>(db->dbExport(), path);
    op->setOutputWrapper([&](QIODevice &file) {
        return std::make_unique<AtFirstWrite>(file, [&] {
            nextTwoRead = waitFor([&] { return pageRead(1) && pageRead(2); });
            waitForQueuedReads(*db);
            thirdRead = pageRead(3);
        });
    });
    Delegate delegate;
    runOperation(op, DBExportTypeJSON, delegate);
    ASSERT_EQ(delegate.finished, 1);
    ASSERT_FALSE(delegate.error) << qPrintable(DerazTest::describe(delegate.error));
    EXPECT_TRUE(nextTwoRead) << "the pages after the one being written were not read meanwhile";
    EXPECT_FALSE(thirdRead) << "more than two pages were read ahead of the writing";
    EXPECT_EQ(readFile(path).count('\n'), kCount);
}

// An export that has ended, here at a full disk, starts no more reads: the read that was
// in flight then ends without starting the one after it.
TEST_F(DerazExportReadAheadTest, AnEndedExportStartsNoMoreReads)
{
    // The reply to the read of the second page is held until the export has ended.
    std::mutex mutex;
    QList<QByteArray> held;
    std::atomic<bool> ended{false};
    RewritingProxy proxy(DerazTest::redis().port(), [&](const QList<QByteArray> &command) {
        bool hold = false;
        {
            std::lock_guard<std::mutex> lock(mutex);
            hold = command == held;
        }
        if (hold)
            waitFor([&] { return ended.load(); });
        return std::optional<QByteArray>();
    });
    auto db = connectThrough(proxy);
    ASSERT_TRUE(db);
    ASSERT_EQ(db->numberOfKeys(), kCount);
    {
        std::lock_guard<std::mutex> lock(mutex);
        held = typeOfPage(1);
    }

    const QString path = dir.path(QStringLiteral("ended.json"));
    auto op = std::make_shared<DerazExportOperation>(db->dbExport(), path);
    op->setOutputWrapper([](QIODevice &file) {
        return std::make_unique<FullDisk>(file, 0, std::make_shared<std::atomic<int>>(0));
    });
    Delegate delegate;
    runOperation(op, DBExportTypeJSON, delegate);
    ASSERT_EQ(delegate.finished, 1);
    ASSERT_TRUE(delegate.error);
    ended = true;
    waitForQueuedReads(*db);
    EXPECT_EQ(proxy.sent(typeOfPage(1)), 1);
    EXPECT_EQ(proxy.sent(typeOfPage(2)), 0) << "a page was read for an export that had ended";
}

// Pauses the server at the first progress report, half-way through the export.
class PausingDelegate : public Delegate
{
public:
    PausingDelegate(TestSupport::RedisServer &server, const QString &target)
        : m_server(server)
        , m_target(target)
    {
    }
    void operationProgress(DerazExportOperation *op, qint64 written, qint64 total) override
    {
        Delegate::operationProgress(op, written, total);
        if (pausedAt < 0 && written < total) {
            m_server.pause();
            pausedAt = written;
            QFile target(m_target);
            if (target.open(QIODevice::ReadOnly))
                targetWhenPaused = target.readAll();
        }
    }
    qint64 pausedAt = -1;
    QByteArray targetWhenPaused;

private:
    TestSupport::RedisServer &m_server;
    QString m_target;
};

TEST(DerazExportPausedServer, AReplyPastTheTimeLimitCancelsTheFile)
{
    TestSupport::RedisServer server;
    ASSERT_TRUE(server.start()) << qPrintable(server.error());
    const int count = 50000;
    {
        Raw raw(server.port());
        ASSERT_TRUE(raw.ok());
        for (int start = 0; start < count; start += 1000) {
            QList<QByteArray> mset{"MSET"};
            for (int i = start; i < start + 1000; ++i)
                mset << "key:" + QByteArray::number(i) << QByteArray(64, 'v');
            raw.run(mset);
        }
    }
    auto connection = std::make_shared<DerazConnection>(DerazTest::profileFor(server.host(), server.port()));
    connection->setReplyTimeLimitMs(1000);
    Bastwick::Error openError;
    ASSERT_TRUE(connection->open(&openError)) << qPrintable(openError.description);
    const auto db = std::dynamic_pointer_cast<DerazDatabase>(connection->takeDatabases().value(0));
    ASSERT_TRUE(db);
    ASSERT_EQ(db->numberOfKeys(), count);

    // An earlier export at the same path stays as it was.
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("keys.txt"));
    {
        QFile earlier(path);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("SET earlier export\n");
    }
    PausingDelegate delegate(server, path);
    runExport(db, DBExportTypeDerazCommand, path, delegate);
    server.resume();

    ASSERT_GT(delegate.pausedAt, 0) << "the export ended before it could be paused";
    EXPECT_EQ(delegate.targetWhenPaused, "SET earlier export\n") << "a running export writes aside";
    ASSERT_EQ(delegate.finished, 1);
    ASSERT_TRUE(delegate.error);
    EXPECT_TRUE(delegate.error->description.contains(QStringLiteral("time limit of 1 s")))
        << qPrintable(delegate.error->description);
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "SET earlier export\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keys.txt"})
        << "nothing half-written stays";
}

} // namespace

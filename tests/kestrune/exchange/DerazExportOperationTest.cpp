#include "ExportTestHelpers.h"

#include <kestrune/data/records/DerazCommandLine.h>

#include "support/TempDir.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QSet>

#include <atomic>
#include <thread>

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
    fill({{"EXPIRE", "plain", "1000"}});
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
    EXPECT_FALSE(text.contains("EXPIRE")) << "command text carries no time to live";

    raw->run({"FLUSHDB"});
    ASSERT_TRUE(raw->dump().isEmpty());
    const auto error = DerazTest::await([&](auto done) { db->importFile(path, done); });
    ASSERT_FALSE(error) << qPrintable(DerazTest::describe(error));
    EXPECT_EQ(raw->dump(), before);
    EXPECT_EQ(raw->run({"TTL", "plain"}), "-1");
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
    TestSupport::processEventsFor(50);
    EXPECT_FALSE(done);
    manager.cancel();
    manager.start();
    EXPECT_TRUE(waitFor([&] { return done; }, 10000));
    TestSupport::processEventsFor(20);
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

} // namespace

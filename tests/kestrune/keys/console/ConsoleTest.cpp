#include <kestrune/Localized.h>
#include <kestrune/data/DataClasses.h>
#include <kestrune/data/deraz/DerazConnection.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/model/DBStore.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/records/DerazCommandLine.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/console/DerazConsoleTextView.h>
#include <kestrune/keys/console/DerazConsoleViewController.h>

#include <bastwick/ByteText.h>

#include "../../data/StateTestHelpers.h"
#include "support/AwkwardKeys.h"
#include "support/LogCapture.h"
#include "support/RedisServer.h"
#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtGui/QClipboard>
#include <QtGui/QFontInfo>
#include <QtGui/QGuiApplication>
#include <QtTest/QTest>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

namespace {

static TestSupport::SetupHook registerClasses([] { Kestrune::registerDataClasses(); });

TestSupport::RedisServer &server()
{
    return TestSupport::RedisServer::running();
}

// The server's raw reply to GET of a key holding these bytes.
QByteArray bulk(const QByteArray &bytes)
{
    return '$' + QByteArray::number(bytes.size()) + "\r\n" + bytes + "\r\n";
}

// A console over a registry and view state of its own, connected to the test server.
class ConsoleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server().isRunning()) << qPrintable(server().error());
        server().flushAll();
        // The texts the user sees: the shipped table, loaded as start-up does.
        Kestrune::installAppTranslations();
        console.setDataSources(&registry, &states);
        console.resize(600, 400);
        console.view();
        console.show();
    }
    void TearDown() override { server().flushAll(); }

    // Connects to the server; answers the node URL of the database.
    QString connect(const QString &dbName = QStringLiteral("DB0"))
    {
        if (!store) {
            auto profile = StateTest::derazProfile(server().host(), server().port());
            store = registry.dbStoreWithDBProfile(profile);
            EXPECT_NE(store, nullptr);
            EXPECT_FALSE(StateTest::fetch(store).has_value());
        }
        return DataStoreBO::dbNodeURLWithStore(*store, dbName);
    }

    // Selects the database as the key tree does: current node, then the announcement.
    void select(const QString &nodeURL)
    {
        states.dbViewState()->setCurrentNodeURL(nodeURL);
        states.dbViewState()->dataStoreDerazDBChanged(nodeURL);
    }

    QString prompt() const { return QStringLiteral("127.0.0.1:%1>").arg(server().port()); }
    QString text() const { return console.textView()->toPlainText(); }

    void type(const QString &line)
    {
        console.textView()->moveCursor(QTextCursor::End);
        // Inserted as typing would (key clicks cannot carry text beyond ASCII).
        console.textView()->insertPlainText(line);
        QTest::keyClick(console.textView(), Qt::Key_Return);
    }

    // Types the command behind the last prompt and answers what the console wrote
    // between the command line and the next prompt.
    QString run(const QString &command)
    {
        const QString before = text() + command;
        type(command);
        const QString tail = QLatin1Char('\n') + prompt();
        EXPECT_TRUE(
            waitFor([&] { return text().size() > before.size() + 1 && text().endsWith(tail); }, 10000))
            << qPrintable(command);
        const QString all = text();
        if (!all.startsWith(before + QLatin1Char('\n')))
            return QStringLiteral("<unexpected text: %1>").arg(all);
        return all.mid(before.size() + 1).chopped(tail.size());
    }

    StateTest::Preferences preferences;
    DataStoreBO registry{&preferences.preference};
    SimpleDBStateManager states{&registry};
    std::shared_ptr<DBStore> store;
    DerazConsoleViewController console;
};

TEST_F(ConsoleTest, PromptFollowsTheSelectedDatabase)
{
    const QString db0 = connect();
    const QString db3 = connect(QStringLiteral("DB3"));
    states.dbViewState()->setCurrentNodeURL(db0);

    // The console tab shown while the text is empty and no database was announced: the
    // prompt already names the server the next command goes to.
    states.dbViewState()->dataProbeTabIndexChanged(2);
    ASSERT_TRUE(waitFor([&] { return !text().isEmpty(); }));
    EXPECT_EQ(text(), prompt());

    // Selecting a database replaces everything by its prompt; the same one again keeps
    // what was typed, as does showing the tab again.
    select(db0);
    ASSERT_TRUE(waitFor([&] { return text() == prompt(); }));
    QTest::keyClicks(console.textView(), QStringLiteral("get"));
    select(db0);
    states.dbViewState()->dataProbeTabIndexChanged(2);
    ASSERT_TRUE(StateTest::waitForDatabaseWork(*console.database(), *states.dbViewState()));
    EXPECT_EQ(text(), prompt() + QStringLiteral("get"));
    select(db3);
    ASSERT_TRUE(waitFor([&] { return text() == prompt(); }));
    EXPECT_EQ(console.database()->name(), QStringLiteral("DB3"));

    // Clear leaves exactly the prompt.
    QTest::keyClicks(console.textView(), QStringLiteral("xy"));
    QTest::mouseClick(console.clearButton(), Qt::LeftButton);
    EXPECT_EQ(text(), prompt());
    EXPECT_EQ(console.textView()->palette().color(QPalette::Text), DerazConsoleViewController::kTextColor);
    const QFontInfo font(console.textView()->font());
    EXPECT_TRUE(font.fixedPitch()) << qPrintable(font.family());
    EXPECT_EQ(font.pixelSize(), 13);
}

TEST_F(ConsoleTest, PromptNamesTheDatabaseSelectedBeforeTheConsoleWasFirstShown)
{
    const QString db3 = connect(QStringLiteral("DB3"));
    // A console whose view is not made yet hears nothing of the selection.
    DerazConsoleViewController later;
    later.setDataSources(&registry, &states);
    select(db3);
    ASSERT_TRUE(TestSupport::waitForPostedEvents());

    later.resize(600, 400);
    later.view();
    later.show();
    states.dbViewState()->dataProbeTabIndexChanged(2);
    const auto shown = [&] { return later.textView()->toPlainText(); };
    ASSERT_TRUE(waitFor([&] { return !shown().isEmpty(); }));
    EXPECT_EQ(shown(), prompt());
    ASSERT_TRUE(later.database());
    EXPECT_EQ(later.database()->name(), QStringLiteral("DB3"));

    // And the next command goes there.
    later.textView()->moveCursor(QTextCursor::End);
    QTest::keyClicks(later.textView(), QStringLiteral("set here 1"));
    QTest::keyClick(later.textView(), Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return shown().endsWith(QStringLiteral("OK\n") + prompt()); }, 10000))
        << qPrintable(shown());
    EXPECT_EQ(server().command({"EVAL", "redis.call('select', 3); return redis.call('exists', 'here')", "0"}),
              ":1\r\n");
}

TEST_F(ConsoleTest, ACommandTypedWhileAReplyIsComingIsSentAfterIt)
{
    select(connect());
    ASSERT_TRUE(waitFor([&] { return text() == prompt(); }));
    server().command({"SET", "k", "v"});

    // The first command waits for the server; the status says so.
    type(QStringLiteral("blpop q 0"));
    ASSERT_TRUE(waitFor([] { return server().command({"CLIENT", "LIST"}).contains("cmd=blpop"); }, 10000));
    EXPECT_TRUE(console.isRunning());
    EXPECT_FALSE(console.statusLabel()->text().isEmpty());

    // Two lines typed meanwhile wait in the queue, named in the status, off the text.
    type(QStringLiteral("get k"));
    type(QStringLiteral("incr n"));
    EXPECT_EQ(console.queuedCommands(), (QStringList{"get k", "incr n"}));
    EXPECT_TRUE(console.statusLabel()->text().contains(QStringLiteral("get k")))
        << qPrintable(console.statusLabel()->text());
    EXPECT_EQ(text(), prompt() + QStringLiteral("blpop q 0\n"));
    EXPECT_EQ(server().command({"EXISTS", "n"}), ":0\r\n") << "a queued command went before the reply";

    // The reply comes: each queued command follows behind its own prompt, with its reply.
    server().command({"RPUSH", "q", "x"});
    const QString expected = prompt() + QStringLiteral("blpop q 0\nq\nx\n") + prompt() +
                             QStringLiteral("get k\nv\n") + prompt() + QStringLiteral("incr n\n1\n") +
                             prompt();
    ASSERT_TRUE(waitFor([&] { return text() == expected; }, 10000)) << qPrintable(text());
    EXPECT_FALSE(console.isRunning());
    EXPECT_TRUE(console.statusLabel()->text().isEmpty());
    EXPECT_TRUE(console.queuedCommands().isEmpty());
}

TEST_F(ConsoleTest, KeysThatAreNotPlainTextShowTheirBytesAsEscapes)
{
    select(connect());
    ASSERT_TRUE(waitFor([&] { return text() == prompt(); }));
    QStringList expected;
    for (const TestSupport::AwkwardKey &key : TestSupport::awkwardKeys()) {
        server().command({"SET", key.bytes, key.bytes});
        expected.append(key.shown);
    }

    // One line per key, each naming its bytes; the CR LF key stays on one line.
    QStringList lines = run(QStringLiteral("keys *")).split(QLatin1Char('\n'));
    lines.sort();
    expected.sort();
    EXPECT_EQ(lines, expected);
    for (const TestSupport::AwkwardKey &key : TestSupport::awkwardKeys()) {
        // Typed as command text, the key reaches the server as its bytes; its value (the
        // same bytes) reads as the key did.
        const QString typed = Bastwick::textFromBytes(DerazCommandLine::quote(key.bytes));
        EXPECT_EQ(run(QStringLiteral("get ") + typed), key.shown) << qPrintable(key.shown);
    }
}

TEST_F(ConsoleTest, RepliesOfEachKind)
{
    select(connect());
    ASSERT_TRUE(waitFor([&] { return text() == prompt(); }));
    server().command({"SET", "n", "4"});
    server().command({"RPUSH", "l", "a", "b c", "d"});
    server().command({"SET", "crlf", "one\r\ntwo"});

    struct Case
    {
        const char *command;
        QString reply;
    };
    const Case cases[] = {
        {"get absent", QStringLiteral("(nil)")},
        {"set k v", QStringLiteral("OK")},
        {"incr n", QStringLiteral("5")},
        {"lrange l 0 -1", QStringLiteral("a\nb c\nd")},
        {"lrange absent 0 -1", QString()},
        // A line break inside an element is an escape, never a second line.
        {"get crlf", QStringLiteral(R"("one\r\ntwo")")},
        {"set empty \"\"", QStringLiteral("OK")},
        {"get empty", QStringLiteral(R"("")")},
        {"rpush l2 \"a\\r\\nb\" \"\"", QStringLiteral("2")},
        {"lrange l2 0 -1", QStringLiteral("\"a\\r\\nb\"\n\"\"")},
        {"eval \"return {1,{2,'x'}}\" 0", QStringLiteral("1\n(2, x)")},
        {"hget k", QStringLiteral("ERR wrong number of arguments for 'hget' command")},
        {"lpush k x", QStringLiteral("WRONGTYPE Operation against a key holding the wrong kind of value")},
        // Quoted tokens hold blanks; a second ">" belongs to the command.
        {"set \"my key\" \"a b\"", QStringLiteral("OK")},
        {"get \"my key\"", QStringLiteral("a b")},
        {"set gt >v", QStringLiteral("OK")},
        // Bytes that are not text go in escaped and come back escaped.
        {"set bin \"\\xff\\x00a\\n\"", QStringLiteral("OK")},
        {"get bin", QStringLiteral("\"\\xff\\x00a\\n\"")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(run(QString::fromUtf8(c.command)), c.reply) << c.command;

    // A server report keeps its lines.
    const QString report = run(QStringLiteral("info keyspace"));
    EXPECT_TRUE(report.startsWith(QStringLiteral("# Keyspace\ndb0:keys="))) << qPrintable(report);
    EXPECT_FALSE(report.contains(QLatin1Char('\r')) || report.contains(QLatin1Char('"')))
        << qPrintable(report);

    EXPECT_EQ(server().command({"GET", "my key"}), bulk("a b"));
    EXPECT_EQ(server().command({"GET", "gt"}), bulk(">v"));
    const QByteArray bin("\xff\0a\n", 4);
    EXPECT_EQ(server().command({"GET", "bin"}), bulk(bin));
}

TEST_F(ConsoleTest, RefusedAndUnsentLines)
{
    select(connect());
    ASSERT_TRUE(waitFor([&] { return text() == prompt(); }));
    server().command({"SET", "k", "v"});

    // Commands that would change the shared connection's state are refused with a reason
    // and never reach the server.
    for (const char *command :
         {"select 2", "multi", "subscribe news", "client reply off", "Client Kill SKIPME no", "reset"}) {
        const QString reply = run(QString::fromLatin1(command));
        EXPECT_TRUE(reply.contains(QStringLiteral("not sent from the console")))
            << command << ": " << qPrintable(reply);
    }
    EXPECT_EQ(run(QStringLiteral("get k")), QStringLiteral("v"));

    // Fewer than two characters behind the prompt: a fresh prompt, nothing sent, and the
    // Return inserts no newline of its own.
    const QString before = text();
    type(QStringLiteral("a"));
    EXPECT_EQ(text(), before + QStringLiteral("a\n") + prompt());

    // A command ending with ">" consumes the Return: the reply follows on the same line.
    const QString line = text() + QStringLiteral("echo ab>");
    type(QStringLiteral("echo ab>"));
    ASSERT_TRUE(waitFor([&] { return text() == line + QStringLiteral("ab>\n") + prompt(); }, 10000))
        << qPrintable(text());
}

TEST_F(ConsoleTest, NothingIsSentWithoutACurrentDatabase)
{
    states.dbViewState()->setCurrentNodeURL(QStringLiteral("1/DB0"));
    states.dbViewState()->dataProbeTabIndexChanged(2);
    ASSERT_TRUE(waitFor([&] { return text() == DerazConsoleViewController::kNoDatabasePrompt; }));
    type(QStringLiteral("set k v"));
    ASSERT_TRUE(TestSupport::waitForQueue(*states.dbViewState()->moduleQueue()));
    EXPECT_EQ(text(), DerazConsoleViewController::kNoDatabasePrompt + QStringLiteral("set k v\n"));
    EXPECT_EQ(server().command({"EXISTS", "k"}), QByteArray(":0\r\n"));

    // Return on the line without a prompt only writes one.
    QTest::keyClick(console.textView(), Qt::Key_Return);
    EXPECT_EQ(text(), DerazConsoleViewController::kNoDatabasePrompt + QStringLiteral("set k v\n\n") +
                          DerazConsoleViewController::kNoDatabasePrompt);
}

TEST_F(ConsoleTest, ClosingTheConnectionEndsABlockedLine)
{
    const QString node = connect();
    select(node);
    ASSERT_TRUE(waitFor([&] { return text() == prompt(); }));

    // No reply time limit: the line waits as long as the server does.
    const QString line = prompt() + QStringLiteral("blpop nothing 0\n");
    type(QStringLiteral("blpop nothing 0"));
    // Sitting at the server, which holds it for good: the console gives it no time limit.
    ASSERT_TRUE(waitFor([&] { return server().command({"INFO", "clients"}).contains("blocked_clients:1"); }));
    EXPECT_EQ(text(), line);

    // Closed as the key tree closes a connection.
    registry.closeDataStoreByConnIDs({DataStoreBO::connIDByNodeURL(node)});
    ASSERT_TRUE(waitFor([&] { return text().endsWith(prompt()) && text().size() > line.size(); }, 10000));
    const QString reply = text().mid(line.size()).chopped(prompt().size() + 1);
    EXPECT_FALSE(reply.isEmpty());
    EXPECT_NE(reply, QStringLiteral("(nil)")) << "a closed connection must not read as an empty reply";
    EXPECT_TRUE(waitFor([] {
        return !server().command({"CLIENT", "LIST"}).contains("cmd=blpop");
    })) << "the server still holds the line";
}

// A megabyte pasted as one line goes to the server whole, while the console shows it (and
// the megabyte that comes back) as a bounded start and its length: Qt lays a wrapped
// line out whole, and a line of that size would hold the window for a minute and more.
TEST_F(ConsoleTest, AVeryLongLineIsSentWholeAndShownBounded)
{
    select(connect());
    ASSERT_TRUE(waitFor([&] { return text() == prompt(); }));
    // Far below the megabyte, far above any line laid out in a blink.
    const qsizetype kBounded = 10000;
    const QString value(1 << 20, QLatin1Char('v'));
    const QString command = QStringLiteral("set big ") + value;

    console.textView()->moveCursor(QTextCursor::End);
    QGuiApplication::clipboard()->setText(command);
    ASSERT_EQ(QGuiApplication::clipboard()->text().size(), command.size());
    console.textView()->paste();
    const auto longestLine = [&] {
        qsizetype longest = 0;
        for (const QString &line : text().split(QLatin1Char('\n')))
            longest = qMax(longest, line.size());
        return longest;
    };
    EXPECT_LE(longestLine(), kBounded);
    EXPECT_TRUE(text().contains(QString::number(command.size()))) << "the line's length is shown";
    EXPECT_TRUE(text().startsWith(prompt() + QStringLiteral("set big vvv")));

    QTest::keyClick(console.textView(), Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return text().endsWith(QStringLiteral("\nOK\n") + prompt()); }, 20000))
        << qPrintable(text().right(200));
    EXPECT_EQ(server().command({"STRLEN", "big"}), ":1048576\r\n") << "the value reached the server whole";
    EXPECT_EQ(server().command({"GET", "big"}), bulk(value.toLatin1()));

    // The reply of the same size is shown bounded too.
    const QString before = text();
    type(QStringLiteral("get big"));
    ASSERT_TRUE(
        waitFor([&] { return text().size() > before.size() + 8 && text().endsWith(prompt()); }, 20000));
    EXPECT_LE(longestLine(), kBounded);
    EXPECT_TRUE(text().contains(QStringLiteral("(1048576 "))) << qPrintable(text().right(200));

    // Pasted lines of an ordinary length stay as they are.
    console.textView()->moveCursor(QTextCursor::End);
    QGuiApplication::clipboard()->setText(QStringLiteral("set small abc"));
    console.textView()->paste();
    EXPECT_TRUE(text().endsWith(prompt() + QStringLiteral("set small abc")));
    QTest::keyClick(console.textView(), Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return text().endsWith(QStringLiteral("abc\nOK\n") + prompt()); }));

    // Pasted while a reply is still coming: the line waits whole in the queue, the status
    // names it bounded, and it goes whole once the reply came, shown bounded behind its
    // prompt.
    type(QStringLiteral("blpop q 0"));
    ASSERT_TRUE(waitFor([] { return server().command({"CLIENT", "LIST"}).contains("cmd=blpop"); }));
    const QString queued = QStringLiteral("set queued ") + value;
    console.textView()->moveCursor(QTextCursor::End);
    QGuiApplication::clipboard()->setText(queued);
    console.textView()->paste();
    QTest::keyClick(console.textView(), Qt::Key_Return);
    ASSERT_EQ(console.queuedCommands().size(), 1);
    EXPECT_TRUE(console.queuedCommands().first() == queued) << "the queue holds the whole line";
    EXPECT_LE(console.statusLabel()->text().size(), kBounded);
    EXPECT_TRUE(console.statusLabel()->text().contains(QString::number(queued.size())));
    server().command({"RPUSH", "q", "x"});
    ASSERT_TRUE(waitFor([&] { return !console.isRunning() && console.queuedCommands().isEmpty(); }));
    ASSERT_TRUE(waitFor([&] { return text().endsWith(QStringLiteral("\nOK\n") + prompt()); }));
    EXPECT_LE(longestLine(), kBounded);
    EXPECT_EQ(server().command({"STRLEN", "queued"}), ":1048576\r\n")
        << "the queued value reached the server whole";
}

TEST_F(ConsoleTest, CommandsAndRepliesStayOutOfTheLog)
{
    select(connect());
    ASSERT_TRUE(waitFor([&] { return text() == prompt(); }));
    server().command({"SET", "vault", "reply-secret-123"});

    TestSupport::LogCapture log;
    EXPECT_EQ(run(QStringLiteral("set typed typed-secret-456")), QStringLiteral("OK"));
    EXPECT_EQ(run(QStringLiteral("get vault")), QStringLiteral("reply-secret-123"));
    EXPECT_EQ(run(QStringLiteral("config get maxmemory-policy")),
              QStringLiteral("maxmemory-policy\nnoeviction"));

    EXPECT_FALSE(log.lines().isEmpty()) << "the console's debug lines are expected on";
    for (const char *secret : {"typed-secret-456", "reply-secret-123", "noeviction"})
        EXPECT_FALSE(log.contains(QString::fromLatin1(secret))) << secret << " reached the log:\n"
                                                                << qPrintable(log.lines().join('\n'));
}

} // namespace

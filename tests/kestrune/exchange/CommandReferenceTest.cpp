#include <kestrune/exchange/DerazCommandReader.h>
#include <kestrune/exchange/DerazCommandReference.h>

#include <kestrune/data/DataClasses.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/data/state/DerazCommand.h>
#include <kestrune/data/state/DerazCommandDAO.h>
#include <kestrune/keys/console/DerazCmdHelpViewController.h>
#include <kestrune/keys/console/DerazCmdHelpViewDataDelegate.h>

#include <corbelan/services/FileManager.h>

#include "support/FreshLocalStore.h"
#include "support/LogCapture.h"
#include "support/RedisServer.h"
#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QMap>
#include <QtCore/QSet>

namespace {

static TestSupport::SetupHook registerClasses([] { Kestrune::registerDataClasses(); });

QByteArray page(const QByteArray &items)
{
    return "<!DOCTYPE html><html><body><ul>" + items + "</ul></body></html>";
}

TEST(DerazCommandReader, ReadsEachListItem)
{
    TestSupport::LogCapture log;
    const QList<DerazCommandEntry> entries = DerazCommandReader::parse(
        page("<li data-group=\"string\"><span><a href=\"#set\">SET</a><span>key value\n    [EX "
             "seconds]</span></span>"
             "<span>Stores a string.</span></li>"
             // Two links: the second gives name and link. An empty line gives two blanks.
             "<li data-group=\"hash\"><span><a href=\"#x\">X</a><a href=\"#hset\">HSET</a>"
             "<span>key\n\n  field value</span></span><span>Sets fields.</span></li>"
             // No arguments.
             "<li data-group=\"server\"><span><a href=\"#dbsize\">DBSIZE</a><span></span></span>"
             "<span>Counts keys.</span></li>"));
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0],
              (DerazCommandEntry{"string", "SET", "key value [EX seconds]", "#set", "Stores a string."}));
    EXPECT_EQ(entries[1].command, "HSET");
    EXPECT_EQ(entries[1].href, "#hset");
    EXPECT_EQ(entries[1].args, "key  field value");
    EXPECT_EQ(entries[1].desc, "Sets fields.");
    EXPECT_EQ(entries[2].args, "");
    EXPECT_EQ(entries[2].desc, "Counts keys.");
    // Each list item is logged as it is read.
    EXPECT_EQ(log.count(QStringLiteral("elm=<HTMLElement 0x")), 3) << qPrintable(log.lines().join('\n'));
}

TEST(DerazCommandReader, MalformedItemsAreSkippedWithOneLogLine)
{
    TestSupport::LogCapture log;
    const QList<DerazCommandEntry> entries = DerazCommandReader::parse(
        page("<li>no spans at all</li>"
             "<li data-group=\"list\"><span>no link<span>key</span></span><span>x</span></li>"
             "<li data-group=\"list\"><span><a href=\"#llen\">LLEN</a><span>key</span></span>"
             "<span>Counts elements.</span></li>"));
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].command, "LLEN");
    EXPECT_EQ(log.count(QStringLiteral("left out")), 2) << qPrintable(log.lines().join('\n'));
}

TEST(DerazCommandReader, InsertStatementsDoubleQuotes)
{
    const QByteArray sql = DerazCommandReader::insertStatements(
        {{"server", "INFO", "[section]", "#info", "The server's state."}});
    EXPECT_EQ(sql, "INSERT INTO DerazCommand (command, args, desc, groupName, href) VALUES ('INFO', "
                   "'[section]', 'The server''s state.', 'server', '#info');\n");
}

// The shipped page and the seed database built from it.
class ShippedReference : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(store.open()); }

    TestSupport::FreshLocalStore store;

    static QList<DerazCommandEntry> pageEntries()
    {
        QFile file(QStringLiteral(":/derazCmd.html"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return DerazCommandReader::parse(file.readAll());
    }
};

TEST_F(ShippedReference, SeedHoldsEveryCommandOfThePage)
{
    const QList<DerazCommandEntry> entries = pageEntries();
    ASSERT_GT(entries.size(), 200);
    const auto rows = DerazCommandDAO::create()->findAllCommands();
    ASSERT_EQ(rows.size(), entries.size());

    QSet<QString> anchors;
    QSet<QString> groups;
    QFile file(QStringLiteral(":/derazCmd.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    for (const auto &row : rows) {
        groups.insert(row->groupName());
        EXPECT_FALSE(row->desc().isEmpty()) << qPrintable(row->command());
        // Links are anchors inside the page.
        ASSERT_TRUE(row->href().startsWith('#')) << qPrintable(row->command());
        EXPECT_TRUE(html.contains(QStringLiteral("id=\"%1\"").arg(row->href().mid(1))))
            << qPrintable(row->href());
        anchors.insert(row->href());
    }
    EXPECT_EQ(anchors.size(), rows.size());
    EXPECT_EQ(groups, (QSet<QString>{"string", "hash", "list", "set", "sorted_set", "server", "connection",
                                     "pubsub", "transactions", "generic"}));
    // A few rows in full.
    auto get = DerazCommandDAO::create()->searchCommands(QStringLiteral("HGETALL")).value(0);
    ASSERT_NE(get, nullptr);
    EXPECT_EQ(get->groupName(), "hash");
    EXPECT_EQ(get->args(), "key");
    EXPECT_EQ(get->href(), "#hgetall");
}

TEST_F(ShippedReference, ParseRefillsTheLocalStore)
{
    for (const auto &row : DerazCommandDAO::create()->findAllCommands())
        ASSERT_TRUE(row->deleteCommand());
    const int stored = derazCmdParse();
    EXPECT_EQ(stored, pageEntries().size());
    EXPECT_EQ(DerazCommandDAO::create()->findAllCommands().size(), stored);
    EXPECT_EQ(derazCmdParse(QStringLiteral("/nonexistent/derazCmd.html")), 0);
}

TEST_F(ShippedReference, HelpTabShowsTheShippedCommands)
{
    const QList<DerazCommandEntry> entries = pageEntries();
    DerazCmdHelpViewController help;
    help.view();
    help.show();
    ASSERT_TRUE(waitFor([&] { return !help.isFetching(); }));
    const auto *model = help.dataDelegate();
    ASSERT_EQ(model->rowCount(), entries.size());
    QMap<QString, QString> summaries;
    for (int row = 0; row < model->rowCount(); ++row)
        summaries.insert(model->index(row, 0).data().toString(), model->index(row, 2).data().toString());
    for (const DerazCommandEntry &entry : entries)
        EXPECT_EQ(summaries.value(entry.command), entry.desc) << qPrintable(entry.command);
}

TEST_F(ShippedReference, CoversEveryCommandTheServerAnswers)
{
    // COMMAND LIST answers an array of bulk names; subcommands ("acl|cat") are described
    // with their command.
    const QByteArray reply = TestSupport::RedisServer::running().command({"COMMAND", "LIST"});
    ASSERT_TRUE(reply.startsWith('*')) << reply.left(80).constData();
    QSet<QString> server;
    for (const QByteArray &line : reply.split('\n')) {
        const QByteArray name = line.trimmed();
        if (!name.isEmpty() && !name.startsWith('*') && !name.startsWith('$') && !name.contains('|'))
            server.insert(QString::fromLatin1(name).toUpper());
    }
    ASSERT_GT(server.size(), 150);
    QSet<QString> page;
    for (const DerazCommandEntry &entry : pageEntries())
        page.insert(entry.command.toUpper());
    EXPECT_EQ(server - page, QSet<QString>()) << "commands of the server missing from the page";
}

} // namespace

#include "ExportTestHelpers.h"

#include <kestrune/data/records/AppPreference.h>
#include <kestrune/exchange/KeyBrowserExchange.h>

#include <corbelan/services/FilePanel.h>

#include <bastwick/platform/NotificationCenter.h>

#include "support/TempDir.h"

#include <QtCore/QFile>
#include <QtCore/QStandardPaths>
#include <QtTest/QSignalSpy>
#include <QtWidgets/QMenu>

using namespace ExportTest;

namespace {

// Answers every panel with the next path given to it, and keeps the options it saw.
class ScriptedPanel : public Corbelan::FilePanel
{
public:
    std::optional<QStringList> runOpenPanel(const Corbelan::OpenPanelOptions &options) override
    {
        openTypes = options.allowedFileTypes;
        return QStringList{paths.value(0)};
    }
    std::optional<QString> runSavePanel(const Corbelan::SavePanelOptions &options) override
    {
        saveOptions.append(options);
        return paths.isEmpty() ? std::nullopt : std::optional<QString>(paths.takeFirst());
    }
    QStringList paths;
    QStringList openTypes;
    QList<Corbelan::SavePanelOptions> saveOptions;
};

class KeyBrowserExchangeTest : public DerazTest::ServerTest
{
protected:
    void SetUp() override
    {
        DerazTest::ServerTest::SetUp();
        Raw raw(DerazTest::redis().port());
        raw.run({"SET", "s", "v"});
        raw.run({"RPUSH", "l", "a", "b"});
        connected = DerazTest::connectTo(DerazTest::redis().host(), DerazTest::redis().port());
        db = connected.db(0);
        ASSERT_TRUE(db);
        panel = std::make_shared<ScriptedPanel>();
        exchange = std::make_unique<KeyBrowserExchange>(nullptr, panel, [this] { return current; });
        current = db;
    }

    static QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    DerazTest::Connected connected;
    std::shared_ptr<DerazDatabase> db;
    std::shared_ptr<DerazDatabase> current;
    std::shared_ptr<ScriptedPanel> panel;
    std::unique_ptr<KeyBrowserExchange> exchange;
    TestSupport::TempDir dir;
};

TEST(KeyBrowserExchangeMenu, TagsGiveTypesAndExtensions)
{
    const struct
    {
        qint64 tag;
        int type;
        const char *ext;
    } cases[] = {{0, 8, "json"}, {1, 14, "txt"}, {7, 14, "txt"}};
    for (const auto &c : cases) {
        EXPECT_EQ(KeyBrowserExchange::exportFromIndex(c.tag), c.type);
        EXPECT_EQ(KeyBrowserExchange::fileExtension(c.type), c.ext);
    }
    KeyBrowserExchange exchange(nullptr, nullptr, [] { return std::shared_ptr<DerazDatabase>(); });
    const QList<QAction *> actions = exchange.exportMenu()->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions.at(0)->data().toLongLong(), 0);
    EXPECT_EQ(actions.at(1)->data().toLongLong(), 1);

    QSignalSpy warnings(&exchange, &KeyBrowserExchange::warningRequested);
    exchange.exportBtnClicked(0, QPoint());
    exchange.exportBtnClicked(3, QPoint());
    exchange.importDataFromFile(QStringLiteral("/tmp/x.txt"));
    ASSERT_EQ(warnings.size(), 3);
    EXPECT_EQ(warnings.at(0).at(0).toString(), "ExportDataNil");
    EXPECT_EQ(warnings.at(1).at(0).toString(), "DataBaseSelectedNil");
    EXPECT_EQ(warnings.at(2).at(0).toString(), "DataBaseSelectedNil");
}

TEST_F(KeyBrowserExchangeTest, EachChosenFormatExportsItsOwnFile)
{
    QSignalSpy busy(exchange.get(), &KeyBrowserExchange::exportBusyChanged);
    QSignalSpy ready(exchange.get(), &KeyBrowserExchange::exportFileReady);
    QSignalSpy info(exchange.get(), &KeyBrowserExchange::exportInfoChanged);
    panel->paths = {dir.path("keys.json"), dir.path("keys.txt")};
    exchange->exportMenu()->actions().at(0)->trigger();
    exchange->exportMenu()->actions().at(1)->trigger();
    ASSERT_TRUE(waitFor([&] { return ready.size() == 2 && busy.size() == 2; }, 20000));
    EXPECT_TRUE(busy.at(0).at(0).toBool());
    EXPECT_FALSE(busy.at(1).at(0).toBool());
    EXPECT_FALSE(info.isEmpty());

    ASSERT_EQ(panel->saveOptions.size(), 2);
    EXPECT_EQ(panel->saveOptions.at(0).allowedFileTypes, QStringList{"json"});
    EXPECT_EQ(panel->saveOptions.at(1).allowedFileTypes, QStringList{"txt"});
    EXPECT_TRUE(readFile(dir.path("keys.json")).contains("{\"s\":\"v\"}\n"));
    EXPECT_TRUE(readFile(dir.path("keys.txt")).contains("RPUSH l a\nRPUSH l b\n"));

    // A cancelled panel starts nothing.
    exchange->exportDataMenuItemClick(1);
    ASSERT_TRUE(TestSupport::waitForGlobalQueue()); // an export started would have run
    EXPECT_EQ(ready.size(), 2);
}

TEST_F(KeyBrowserExchangeTest, TheSavePanelStartsInTheExportFolderOrDocuments)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const struct
    {
        const char *name;
        QString preference;
        QString expected;
    } cases[] = {
        {"a folder chosen in the preferences", dir.path(), dir.path()},
        {"a folder that is gone", dir.path("gone"), documents},
    };
    for (const auto &c : cases) {
        AppPreference::sharedPreference()->setExportFolder(c.preference);
        panel->saveOptions.clear();
        exchange->exportDataMenuItemClick(1); // no path: cancelled
        ASSERT_EQ(panel->saveOptions.size(), 1) << c.name;
        EXPECT_EQ(panel->saveOptions.first().directory, c.expected) << c.name;
    }
}

TEST_F(KeyBrowserExchangeTest, ImportRunsCommandFilesAndRefusesJsonLines)
{
    QSignalSpy errors(exchange.get(), &KeyBrowserExchange::errorRequested);
    QSignalSpy started(exchange.get(), &KeyBrowserExchange::importStarted);
    QSignalSpy ended(exchange.get(), &KeyBrowserExchange::importEnded);
    int notified = 0;
    QObject context;
    Bastwick::NotificationCenter::defaultCenter().addObserver(
        &context, QStringLiteral("DBImportDataNotify"), [&](const Bastwick::Notification &n) {
            EXPECT_EQ(n.object.value<std::shared_ptr<DerazDatabase>>(), db);
            ++notified;
        });

    const QString json = dir.path("keys.json");
    QFile(json).open(QIODevice::WriteOnly);
    exchange->importDataFromFile(json);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.at(0).at(0).toString().contains("cannot be imported"));
    EXPECT_TRUE(started.isEmpty());

    const QString commands = dir.path("keys.deraz");
    {
        QFile f(commands);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("SET a 1\n\n\nHSET h f v\n");
    }
    panel->paths = {commands};
    exchange->importBtnClicked();
    EXPECT_EQ(panel->openTypes, (QStringList{"txt", "string", "json", "deraz"}));
    ASSERT_TRUE(waitFor([&] { return notified == 1; }, 20000));
    EXPECT_EQ(started.size(), 1);
    EXPECT_EQ(ended.size(), 1);
    EXPECT_EQ(errors.size(), 1);
    Raw raw(DerazTest::redis().port());
    EXPECT_EQ(raw.run({"GET", "a"}), "1");
    EXPECT_EQ(raw.run({"HGET", "h", "f"}), "v");

    // A failing file: the error is shown, and the key tree is still told.
    {
        QFile f(commands);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("HSET onlykey\n");
    }
    exchange->importDataFromFile(commands);
    ASSERT_TRUE(waitFor([&] { return notified == 2; }, 20000));
    EXPECT_EQ(errors.size(), 2);
    EXPECT_EQ(ended.size(), 2);
}

TEST_F(KeyBrowserExchangeTest, ImportSaysHowItWentNamingTheFailedLine)
{
    QSignalSpy errors(exchange.get(), &KeyBrowserExchange::errorRequested);
    QSignalSpy info(exchange.get(), &KeyBrowserExchange::exportInfoChanged);
    int notified = 0;
    QObject context;
    Bastwick::NotificationCenter::defaultCenter().addObserver(
        &context, QStringLiteral("DBImportDataNotify"), [&](const Bastwick::Notification &) { ++notified; });
    const struct
    {
        const char *name;
        QByteArray text;
        QString infoPart;
        QStringList errorParts; // empty: no error
        QByteArray untouched;   // a key the failed file would have written
    } cases[] = {
        {"three commands", "SET i:a 1\n\nSET i:b 2\nRPUSH i:l x\n", "Imported 3 commands", {}, {}},
        {"empty file", "", "holds no commands", {}, {}},
        {"blank lines only", "\n\n  \n", "holds no commands", {}, {}},
        {"a syntax error on line 3",
         "SET e:a 1\n\nSET e:b\nSET e:c 3\n",
         "failed",
         {"Line 3", "wrong number of arguments"},
         "e:a"},
        {"a command that fails when it runs, on line 4",
         "SET w:a 1\n\n\nLPUSH w:a x\nSET w:b 2\n",
         "failed",
         {"Line 4", "WRONGTYPE"},
         {}},
        {"not a command file",
         "Dear reader,\nthis is a letter.\n",
         "failed",
         {"does not look like a command file", "Line 1", "unknown command"},
         {}},
    };
    for (const auto &c : cases) {
        const QString path = dir.path("import.txt");
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(c.text);
        }
        errors.clear();
        info.clear();
        const int before = notified;
        exchange->importDataFromFile(path);
        ASSERT_TRUE(waitFor([&] { return notified == before + 1; }, 20000)) << c.name;
        ASSERT_FALSE(info.isEmpty()) << c.name;
        const QString said = info.last().at(0).toString();
        EXPECT_TRUE(said.contains(c.infoPart)) << c.name << ": " << qPrintable(said);
        EXPECT_FALSE(said.contains("Exported")) << c.name;
        if (c.errorParts.isEmpty()) {
            EXPECT_TRUE(errors.isEmpty()) << c.name;
        } else {
            ASSERT_EQ(errors.size(), 1) << c.name;
            const QString error = errors.at(0).at(0).toString();
            for (const QString &part : c.errorParts)
                EXPECT_TRUE(error.contains(part)) << c.name << ": " << qPrintable(error);
        }
        if (!c.untouched.isEmpty()) {
            Raw raw(DerazTest::redis().port());
            EXPECT_EQ(raw.run({"EXISTS", c.untouched}), "0")
                << c.name << ": nothing of a refused file is applied";
        }
    }
    Raw raw(DerazTest::redis().port());
    EXPECT_EQ(raw.list({"LRANGE", "i:l", "0", "-1"}), QByteArrayList{"x"});
}

} // namespace

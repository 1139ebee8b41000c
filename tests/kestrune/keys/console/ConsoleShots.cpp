// Shoots the console and the command help for a look by eye (not a test):
//   HOME=<scratch> xvfb-run -a -s '-screen 0 1280x800x24' kestrune_console_shots <folder> <port>
// opens a fresh local database (the shipped command reference), connects to
// 127.0.0.1:<port>, runs a few console lines and writes console.png, help.png (every
// command) and help-search.png (a search for "range").
#include <kestrune/data/deraz/DerazConnection.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/model/DBStore.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/console/DerazCmdHelpViewController.h>
#include <kestrune/keys/console/DerazCmdHelpViewDataDelegate.h>
#include <kestrune/keys/console/DerazConsoleTextView.h>
#include <kestrune/keys/console/DerazConsoleViewController.h>
#include <kestrune/shell/Startup.h>

#include "../../AppShots.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTabWidget>

#include <cstdio>

namespace {

bool save(QWidget *widget, const QDir &folder, const QString &name)
{
    QApplication::processEvents();
    const bool ok = widget->grab().save(folder.filePath(name));
    std::fprintf(stderr, "%s %s\n", qPrintable(folder.filePath(name)), ok ? "written" : "FAILED");
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <folder> <port>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    auto profile = AppShots::startApplication(app, argv[2]);
    profile->urlFormat();
    auto store = DataStoreBO::sharedInstance().dbStoreWithDBProfile(profile);
    bool loaded = false;
    store->fetchDatabasesWithCallback([&](const auto &, const auto &, const auto &error) {
        loaded = !error.has_value();
        QApplication::exit(0);
    });
    app.exec();
    if (!loaded) {
        std::fprintf(stderr, "no connection\n");
        return 1;
    }
    const QString node = DataStoreBO::dbNodeURLWithStore(*store, QStringLiteral("DB0"));

    QTabWidget tabs;
    tabs.resize(900, 560);
    auto *console = new DerazConsoleViewController;
    auto *help = new DerazCmdHelpViewController;
    tabs.addTab(console, QStringLiteral("Console"));
    tabs.addTab(help, QStringLiteral("Command"));
    console->view();
    help->view();
    tabs.show();
    (void)QTest::qWaitForWindowExposed(&tabs);

    auto state = SimpleDBStateManager::sharedInstance().dbViewState();
    state->setCurrentNodeURL(node);
    state->dataStoreDerazDBChanged(node);
    (void)QTest::qWaitFor([&] { return !console->textView()->toPlainText().isEmpty(); }, 5000);
    const QStringList lines = {"set greeting \"hello world\"",
                               "get greeting",
                               "rpush fruit apple pear plum",
                               "lrange fruit 0 -1",
                               "incr visits",
                               "get nothing",
                               "set raw \"\\xff\\x00bytes\"",
                               "get raw",
                               "hget greeting",
                               "select 3"};
    for (const QString &line : lines) {
        const QString before = console->textView()->toPlainText();
        console->textView()->moveCursor(QTextCursor::End);
        QTest::keyClicks(console->textView(), line);
        QTest::keyClick(console->textView(), Qt::Key_Return);
        (void)QTest::qWaitFor(
            [&] {
                const QString now = console->textView()->toPlainText();
                return now.size() > before.size() + line.size() + 1 && now.endsWith(QLatin1Char('>'));
            },
            5000);
    }
    QTest::keyClicks(console->textView(), QStringLiteral("blpop queue 0"));
    QTest::keyClick(console->textView(), Qt::Key_Return);
    QTest::qWait(200);
    bool ok = save(&tabs, folder, QStringLiteral("console.png"));

    tabs.setCurrentIndex(1);
    (void)QTest::qWaitFor([&] { return !help->isFetching(); }, 5000);
    ok = save(&tabs, folder, QStringLiteral("help.png")) && ok;
    help->searchTextFld()->setText(QStringLiteral("range"));
    QTest::keyClick(help->searchTextFld(), Qt::Key_Return);
    (void)QTest::qWaitFor([&] { return !help->isFetching(); }, 5000);
    ok = save(&tabs, folder, QStringLiteral("help-search.png")) && ok;

    // Ends the blocked line before leaving.
    if (auto database =
            std::dynamic_pointer_cast<DerazDatabase>(DataStoreBO::sharedInstance().databaseByNodeURL(node)))
        database->derazConnection()->close(nullptr);
    return ok ? 0 : 1;
}

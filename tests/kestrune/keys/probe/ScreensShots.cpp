// Shoots the main window at its default size (1000 x 600) for a look by eye (not a test):
//   HOME=<scratch> xvfb-run -a -s '-screen 0 1280x800x24' kestrune_screens_shots <folder> <port>
// with keys already in DB0 of the server at 127.0.0.1:<port> (a large string, a key that
// expires, a key named with emoji). Writes screens-browse.png (the key browser, with the
// message of an import that found nothing), screens-command.png (the
// command reference), screens-console.png (a pasted line of a megabyte, sent, and the
// same megabyte read back).
#include <kestrune/exchange/KeyBrowserExchange.h>
#include <kestrune/keys/console/DerazConsoleTextView.h>
#include <kestrune/keys/console/DerazConsoleViewController.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>

#include "../../AppShots.h"

#include <QtCore/QDir>
#include <QtGui/QClipboard>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTabWidget>

#include <cstdio>

namespace {

void shoot(QWidget &window, const QDir &folder, const QString &name)
{
    QTest::qWait(500);
    const bool ok = window.grab().save(folder.filePath(name));
    std::fprintf(stderr, "%s %s\n", qPrintable(folder.filePath(name)), ok ? "written" : "FAILED");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppShots::ConnectedMainWindow shell;
    QDir folder;
    DerazProbeViewController *probe = AppShots::openProbe(app, argc, argv, shell, &folder);
    if (!probe)
        return 1;
    auto *browser = probe->derazKeysBrowseViewController();
    // The message an import of a file without commands leaves.
    emit browser->exchange()->exportInfoChanged(
        QStringLiteral("an-empty-file-of-commands.txt holds no commands: nothing was imported"));
    shoot(shell.window, folder, QStringLiteral("screens-browse.png"));

    probe->tabView()->setCurrentIndex(3);
    shoot(shell.window, folder, QStringLiteral("screens-command.png"));

    probe->tabView()->setCurrentIndex(2);
    QTest::qWait(300);
    auto *console = probe->derazConsoleViewController();
    QPlainTextEdit *text = console->textView();
    text->moveCursor(QTextCursor::End);
    QGuiApplication::clipboard()->setText(QStringLiteral("set pasted ") + QString(1 << 20, QLatin1Char('p')));
    text->paste();
    QTest::keyClick(text, Qt::Key_Return);
    (void)QTest::qWaitFor([&] { return !console->isRunning(); }, 20000);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("strlen pasted"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    (void)QTest::qWaitFor([&] { return !console->isRunning(); }, 20000);
    QTest::keyClicks(text, QStringLiteral("get pasted"));
    QTest::keyClick(text, Qt::Key_Return);
    (void)QTest::qWaitFor([&] { return !console->isRunning(); }, 20000);
    shoot(shell.window, folder, QStringLiteral("screens-console.png"));
    return 0;
}

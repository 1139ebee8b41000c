// Shoots keys whose bytes are not plain text for a look by eye (not a test):
//   HOME=<scratch> xvfb-run -a -s '-screen 0 1280x800x24' kestrune_awkward_key_shots <folder> <port>
// with such keys already in DB0 of the server at 127.0.0.1:<port> (run a window manager
// in the same display first: the question sheet is a window of its own). Connects as the
// application does, selects DB0 and writes awkward-tree-browse.png (the key tree and the
// key browser), awkward-console.png (the console after "keys *") and
// awkward-query-remove.png (the question of "Remove all keys" after the query "*").
#include <kestrune/keys/console/DerazConsoleTextView.h>
#include <kestrune/keys/console/DerazConsoleViewController.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>

#include <pavisade/toolbar/XXXButtonToolBar.h>

#include "../../AppShots.h"

#include <QtCore/QDir>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>

#include <cstdio>

namespace {

// Types the line at the end of the console and presses Return.
void typeLine(DerazConsoleViewController *console, const QString &line)
{
    console->textView()->setFocus();
    console->textView()->moveCursor(QTextCursor::End);
    console->textView()->insertPlainText(line);
    QTest::keyClick(console->textView(), Qt::Key_Return);
}

void clickTool(X3CommonViewController *screen, qint64 tag)
{
    for (QAbstractButton *b : screen->toolBarView()->findChildren<QAbstractButton *>()) {
        if (b->property("tag").toLongLong() == tag)
            b->click();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QDir folder;
    AppShots::ConnectedMainWindow shell;
    DerazProbeViewController *probe = AppShots::openProbe(app, argc, argv, shell, &folder);
    if (!probe)
        return 1;
    shell.window.resize(1200, 720);
    AppShots::shootScreen(folder, QStringLiteral("awkward-tree-browse.png"));

    probe->tabView()->setCurrentIndex(2);
    auto *console = qobject_cast<DerazConsoleViewController *>(probe->derazConsoleViewController());
    if (!console) {
        std::fprintf(stderr, "no console\n");
        return 1;
    }
    QTest::qWait(300);
    typeLine(console, QStringLiteral("keys *"));
    (void)QTest::qWaitFor([&] { return !console->isRunning(); }, 10000);
    AppShots::shootScreen(folder, QStringLiteral("awkward-console.png"));
    // A line typed while a reply is coming waits in the queue the strip names.
    typeLine(console, QStringLiteral("blpop nothing 2"));
    typeLine(console, QStringLiteral("get \"tab\\there\""));
    AppShots::shootScreen(folder, QStringLiteral("awkward-console-queued.png"));
    (void)QTest::qWaitFor([&] { return !console->isRunning(); }, 10000);
    AppShots::shootScreen(folder, QStringLiteral("awkward-console-after-queue.png"));

    probe->tabView()->setCurrentIndex(1);
    auto *query = probe->derazKeysQueryViewController();
    query->queryTextView()->setPlainText(QStringLiteral("*"));
    query->runButton()->click();
    (void)QTest::qWaitFor([&] { return query->dataDelegate()->itemCount() > 0; }, 10000);
    clickTool(query, 7);
    AppShots::shootScreen(folder, QStringLiteral("awkward-query-remove.png"));
    QMessageBox *question = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            question = box;
    }
    if (question) {
        for (QAbstractButton *button : question->buttons()) {
            if (question->buttonRole(button) == QMessageBox::AcceptRole)
                button->click();
        }
    }
    (void)QTest::qWaitFor([&] { return query->dataDelegate()->itemCount() == 0; }, 10000);
    AppShots::shootScreen(folder, QStringLiteral("awkward-query-removed.png"));
    return 0;
}

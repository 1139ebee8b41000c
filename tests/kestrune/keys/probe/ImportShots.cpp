// Shoots the command-file import of the key browser for a look by eye (not a test):
//   HOME=<scratch> xvfb-run -a -s '-screen 0 1280x800x24' kestrune_import_shots <folder> <port>
// with keys already on the server at 127.0.0.1:<port> and a window manager running.
// Writes import-running.png (the progress panel with its Cancel while an import runs,
// held after its commands were counted), import-cancelled.png (the message once the
// import was cancelled) and import-close-question.png (the question a close of the
// window asks while an import runs).
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/exchange/KeyBrowserExchange.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>
#include <kestrune/shell/KSTMainWindow.h>

#include <pavisade/panels/XXXProgressIndicatorPanel.h>

#include "../../AppShots.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QThread>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include <atomic>

namespace {

QMessageBox *openAlert()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    for (QWidget *w : QApplication::allWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    return nullptr;
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
    auto *browser = probe->derazKeysBrowseViewController();

    QTemporaryDir scratch;
    const QString path = scratch.filePath(QStringLiteral("keys.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    for (int i = 0; i < 50000; ++i)
        file.write("SET shot:" + QByteArray::number(i) + " v\n");
    file.close();

    // The import waits after counting its commands until it is let go.
    std::atomic_bool reached = false;
    std::atomic_bool go = false;
    DerazDatabase::setImportBetweenPassesHook([&](const QString &) {
        reached = true;
        while (!go)
            QThread::yieldCurrentThread();
        reached = false;
    });

    browser->exchange()->importDataFromFile(path);
    (void)QTest::qWaitFor([&] { return reached.load(); }, 20000);
    bool ok = AppShots::shootScreen(folder, QStringLiteral("import-running.png"));

    // A close of the window asks first.
    shell.window.close();
    (void)QTest::qWaitFor([&] { return openAlert() != nullptr; }, 5000);
    ok = AppShots::shootScreen(folder, QStringLiteral("import-close-question.png")) && ok;
    if (QMessageBox *question = openAlert()) {
        for (QAbstractButton *b : question->buttons())
            if (b->text() == QLatin1String("Keep Importing"))
                b->click();
    }

    browser->progressIndicatorPanel()->cancelButton()->click();
    go = true;
    (void)QTest::qWaitFor([&] { return openAlert() != nullptr; }, 20000);
    ok = AppShots::shootScreen(folder, QStringLiteral("import-cancelled.png")) && ok;
    DerazDatabase::setImportBetweenPassesHook({});
    return ok ? 0 : 1;
}

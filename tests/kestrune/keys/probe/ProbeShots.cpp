// Shoots the probe tabs inside the main window for a look by eye (not a test):
//   HOME=<scratch> xvfb-run -a -s '-screen 0 1280x800x24' kestrune_probe_shots <folder> <port>
// with keys already on the server at 127.0.0.1:<port>. Connects as the application does,
// selects DB0 in the key tree and writes probe-browse.png (the key browser's first page),
// probe-query.png (the query "user:*" run, its second page), and, for the probe screens
// behind a segmented control in a window of their own, probe-segmented-browse.png and
// probe-segmented-console.png.
#include <kestrune/chrome/hud/HUDSegmentedCell.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/keys/probe/DerazDetailViewController.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>
#include <kestrune/shell/AppDelegate.h>
#include <kestrune/shell/DerazViewController.h>
#include <kestrune/shell/KSTMainWindow.h>
#include <kestrune/shell/Startup.h>
#include <kestrune/tree/DerazKeysViewController.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>

#include <pavisade/toolbar/XXXButtonToolBar.h>

#include "../../AppShots.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <folder> <port>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    auto profile = AppShots::startApplication(app, argv[2]);
    AppShots::ConnectedMainWindow shell;
    if (!shell.open(profile))
        return 1;
    KSTMainWindow &window = shell.window;
    DerazViewController *root = shell.root;
    shell.select(shell.db0);
    DerazProbeViewController *probe = root->derazProbeViewController();
    if (!probe) {
        std::fprintf(stderr, "no probe container\n");
        return 1;
    }
    auto *browser = probe->derazKeysBrowseViewController();
    (void)QTest::qWaitFor([&] { return browser->dataDelegate()->itemCount() > 0; }, 10000);
    QTest::qWait(400);
    window.grab().save(folder.filePath(QStringLiteral("probe-browse.png")));

    probe->tabView()->setCurrentIndex(1);
    auto *query = probe->derazKeysQueryViewController();
    query->queryTextView()->setPlainText(QStringLiteral("user:*"));
    query->runButton()->click();
    (void)QTest::qWaitFor([&] { return query->dataDelegate()->itemCount() > 0; }, 10000);
    for (QAbstractButton *b : query->toolBarView()->findChildren<QAbstractButton *>()) {
        if (b->property("tag").toLongLong() == 11)
            b->click();
    }
    QTest::qWait(600);
    window.grab().save(folder.filePath(QStringLiteral("probe-query.png")));

    DerazDetailViewController *detail = root->derazDetailViewController();
    if (!detail) {
        std::fprintf(stderr, "no segmented container\n");
        return 1;
    }
    detail->setParent(nullptr);
    detail->view();
    detail->resize(1000, 640);
    detail->show();
    auto *detailBrowser = detail->derazKeysBrowseViewController();
    detailBrowser->refreshDataView();
    (void)QTest::qWaitFor([&] { return detailBrowser->dataDelegate()->itemCount() > 0; }, 10000);
    QTest::qWait(400);
    detail->grab().save(folder.filePath(QStringLiteral("probe-segmented-browse.png")));
    detail->segmentedControl()->setSelectedSegment(2);
    QTest::qWait(600);
    detail->grab().save(folder.filePath(QStringLiteral("probe-segmented-console.png")));
    delete detail;
    return 0;
}

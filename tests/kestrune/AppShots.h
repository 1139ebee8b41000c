#pragma once

// The start every screenshot program of the application shares: the application as
// main() sets it up over a fresh copy of the seeded local database, and a profile for the test server.

#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>
#include <kestrune/shell/AppDelegate.h>
#include <kestrune/shell/DerazViewController.h>
#include <kestrune/shell/KSTMainWindow.h>
#include <kestrune/shell/Startup.h>
#include <kestrune/tree/DerazKeysViewController.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>

#include "../support/FreshLocalStore.h"

#include <QtCore/QDir>
#include <QtGui/QScreen>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <pavisade/trees/OutlineView.h>

#include <cstdio>
#include <memory>

namespace AppShots {

// Sets the application up as main() does over a fresh copy of the seed database and answers a
// profile "local" for 127.0.0.1:port (not saved).
inline std::shared_ptr<DBProfile> startApplication(QApplication &app, const char *port)
{
    Kestrune::configureApplication(app);
    Kestrune::registerAllClasses();
    TestSupport::resetLocalStore();
    Kestrune::openLocalStore();
    auto profile = std::make_shared<DBProfile>();
    profile->setName(QStringLiteral("local"));
    profile->setScheme(kDerazURLScheme);
    profile->setHost(QStringLiteral("127.0.0.1"));
    profile->setPort(QString::fromLocal8Bit(port).toLongLong());
    return profile;
}

// The main window started with the profile saved for automatic connection, as a user
// finds it after start-up: open() waits for the connection and expands DB0.
struct ConnectedMainWindow
{
    KSTMainWindow window;
    AppDelegate delegate{&window};
    DerazViewController *root = nullptr;
    DerazKeysViewController *keys = nullptr;
    QModelIndex db0;

    bool open(const std::shared_ptr<DBProfile> &profile)
    {
        profile->setAutoLogin(true);
        profile->save();
        DataBaseBO::sharedInstance().closeDataBase();
        delegate.awakeFromNib();
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        root = qobject_cast<DerazViewController *>(delegate.mainViewController());
        keys = root->derazKeysViewController();
        auto *model = keys->dataDelegate();
        if (!QTest::qWaitFor([&] { return model->rowCount() > 0; }, 20000)) {
            std::fprintf(stderr, "no connection\n");
            return false;
        }
        db0 = model->index(0, 0, model->index(0, 0));
        keys->derazKeysView()->expand(db0);
        return true;
    }

    void select(const QModelIndex &index)
    {
        keys->derazKeysView()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                            QItemSelectionModel::Rows);
    }
};

// For the command line "<program> <folder> <port>": sets *folder, opens the shell on
// 127.0.0.1:<port>, selects DB0 and waits for the key browser's first page. Answers the
// probe container, or null after a message on standard error.
inline DerazProbeViewController *openProbe(QApplication &app, int argc, char *argv[],
                                           ConnectedMainWindow &shell, QDir *folder)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <folder> <port>\n", argv[0]);
        return nullptr;
    }
    *folder = QDir(QString::fromLocal8Bit(argv[1]));
    if (!shell.open(startApplication(app, argv[2])))
        return nullptr;
    shell.select(shell.db0);
    auto *probe = qobject_cast<DerazProbeViewController *>(shell.root->derazProbeViewController());
    if (!probe) {
        std::fprintf(stderr, "no probe container\n");
        return nullptr;
    }
    auto *browser = probe->derazKeysBrowseViewController();
    (void)QTest::qWaitFor([&] { return browser->dataDelegate()->itemCount() > 0; }, 20000);
    return probe;
}

// Writes the whole screen (windows of their own, sheets and alerts, included) to
// <folder>/<name> once what was just done has been painted, and says so on standard error.
// Answers whether the file was written.
inline bool shootScreen(const QDir &folder, const QString &name)
{
    QTest::qWait(500);
    const bool ok = QGuiApplication::primaryScreen()->grabWindow(0).save(folder.filePath(name));
    std::fprintf(stderr, "%s %s\n", qPrintable(folder.filePath(name)), ok ? "written" : "FAILED");
    return ok;
}

} // namespace AppShots

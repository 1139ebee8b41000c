// Shoots the shell for a look by eye (not a test):
//   HOME=<scratch> xvfb-run -a -s '-screen 0 1280x800x24' kestrune_shell_shots <folder> <port>
// saves a profile marked for automatic connection to 127.0.0.1:<port> in a fresh local
// database, starts the application as main() does, and writes main-connected.png (DB0
// expanded, a key selected), quick-connect.png, profile-manager.png (the list with the
// saved profile and its form), profile-form.png (the form alone), preferences.png,
// about.png and confirm-remove-key.png (the whole screen with the question that removing
// the selected key asks, open as a sheet on the main window).
#include <kestrune/AppNotifications.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/profiles/DBProfileAdminViewController.h>
#include <kestrune/profiles/DBProfileAdminWindowController.h>
#include <kestrune/profiles/DBProfileDetailViewController.h>
#include <kestrune/profiles/DBProfileListViewController.h>
#include <kestrune/shell/AboutWindowController.h>
#include <kestrune/shell/AppDelegate.h>
#include <kestrune/shell/DerazViewController.h>
#include <kestrune/shell/KSTMainWindow.h>
#include <kestrune/shell/PreferenceWindowController.h>
#include <kestrune/shell/Startup.h>
#include <kestrune/tree/DerazConnnectionWindowController.h>
#include <kestrune/tree/DerazKeysViewController.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>

#include <bastwick/platform/NotificationCenter.h>

#include "../AppShots.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtGui/QScreen>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>

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
    AppDelegate &delegate = shell.delegate;
    DerazKeysViewController *keys = shell.keys;
    shell.select(keys->dataDelegate()->index(1, 0, shell.db0));
    QTest::qWait(400);
    window.grab().save(folder.filePath(QStringLiteral("main-connected.png")));

    // The question is a window of its own: shoot the screen to see where it sits.
    keys->removeKey();
    (void)QTest::qWaitFor([] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); },
                          5000);
    QTest::qWait(400);
    if (auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
        std::fprintf(stderr, "confirmation at %d,%d size %dx%d, window at %d,%d\n", question->x(),
                     question->y(), question->width(), question->height(), window.x(), window.y());
        QGuiApplication::primaryScreen()->grabWindow(0).save(
            folder.filePath(QStringLiteral("confirm-remove-key.png")));
        question->reject();
    }

    Bastwick::NotificationCenter::defaultCenter().post(kConnectionDBMsg);
    QTest::qWait(400);
    keys->derazConnnectionWindowController()->window()->grab().save(
        folder.filePath(QStringLiteral("quick-connect.png")));
    keys->derazConnnectionWindowController()->window()->close();

    delegate.connectionManagerMenuBarItemClick();
    DBProfileAdminWindowController *manager = delegate.profileAdminWindowController();
    DBProfileDetailViewController *form =
        manager->profileAdminViewController()->dBProfileDetailViewController();
    (void)QTest::qWaitFor([&] { return form->currentProfile()->name() == QLatin1String("local"); }, 5000);
    QTest::qWait(400);
    manager->window()->grab().save(folder.filePath(QStringLiteral("profile-manager.png")));
    form->grab().save(folder.filePath(QStringLiteral("profile-form.png")));

    delegate.preferencesToolBarItemClick();
    QTest::qWait(400);
    delegate.preferenceWindowController()->window()->grab().save(
        folder.filePath(QStringLiteral("preferences.png")));

    Bastwick::NotificationCenter::defaultCenter().post(kAboutMsg);
    QTest::qWait(400);
    delegate.aboutWindowController()->window()->grab().save(folder.filePath(QStringLiteral("about.png")));
    return 0;
}

// Shoots the alerts of the main window for a look by eye (not a test):
//   HOME=<scratch> xvfb-run -a -s '-screen 0 1280x800x24'
//       sh -c 'openbox & sleep 1; kestrune_alert_shots <folder> <port> <secured-port>'
// with keys "user:*" in DB0 of the server at 127.0.0.1:<port> and a server asking for a
// password at 127.0.0.1:<secured-port>. A window manager matters here: alerts are windows
// of their own, and which window is active is its call. Writes, each of the whole screen:
//   alert-wrongpass-at-start.png the alert of a profile connected at start whose
//                            password the server refuses
//   main-active.png          the connected main window after that alert
//   alert-connect-failed.png the alert of a connection to a port nobody listens on
//   alert-wrongpass.png      the alert of a profile whose password the server refuses
//   alert-query-remove.png   the question of "Remove all" after the query "user:*"
//   main-after-sheet.png     the main window alone after that question was cancelled
//   main-lights-hover.png    the same with the pointer over its traffic lights
//   main-inactive.png        the same behind another window of the application
// and prints the geometry of every alert and of the main window, and which window the
// window manager names active, to the standard error.
#include <kestrune/AppNotifications.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>

#include <pavisade/toolbar/XXXButtonToolBar.h>

#include <bastwick/platform/NotificationCenter.h>

#include "../AppShots.h"

#include <QtCore/QProcess>
#include <QtGui/QCursor>
#include <QtGui/QScreen>
#include <QtNetwork/QTcpServer>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>

#include <cstdio>

namespace {

QMessageBox *openAlert()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// The window the window manager names active, as xprop prints it.
QString managerActiveWindow()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")});
    xprop.waitForFinished(5000);
    return QString::fromLocal8Bit(xprop.readAllStandardOutput()).trimmed();
}

void report(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    std::fprintf(stderr, "  main window frame %d,%d %dx%d, client at %d,%d, id 0x%llx, Qt active %d\n",
                 frame.x(), frame.y(), frame.width(), frame.height(), window.geometry().x(),
                 window.geometry().y(), static_cast<unsigned long long>(window.winId()),
                 window.isActiveWindow() ? 1 : 0);
    if (QMessageBox *box = openAlert()) {
        const QRect g = box->geometry();
        std::fprintf(stderr, "  alert at %d,%d %dx%d, parent %s, modality %d, id 0x%llx, Qt active %d\n",
                     g.x(), g.y(), g.width(), g.height(),
                     box->parentWidget() == &window ? "main window" : "other", int(box->windowModality()),
                     static_cast<unsigned long long>(box->winId()), box->isActiveWindow() ? 1 : 0);
        std::fprintf(stderr, "  alert texts: \"%s\" / \"%s\"\n", qPrintable(box->text()),
                     qPrintable(box->informativeText()));
    }
    std::fprintf(stderr, "  window manager: %s\n", qPrintable(managerActiveWindow()));
}

// The whole screen, so windows of their own (alerts) are in the picture too.
void shoot(const QDir &folder, const QString &name, const QWidget &window)
{
    QTest::qWait(500);
    const bool ok = QGuiApplication::primaryScreen()->grabWindow(0).save(folder.filePath(name));
    std::fprintf(stderr, "%s %s\n", qPrintable(folder.filePath(name)), ok ? "written" : "FAILED");
    report(window);
}

void pressAlertButton(QMessageBox::ButtonRole role)
{
    if (QMessageBox *box = openAlert()) {
        for (QAbstractButton *button : box->buttons()) {
            if (box->buttonRole(button) == role) {
                button->click();
                return;
            }
        }
    }
}

int unusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <folder> <port> <secured-port>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    auto profile = AppShots::startApplication(app, argv[2]);
    const int securedPort = QString::fromLocal8Bit(argv[3]).toInt();
    const auto otherProfile = [](int port, const QString &password) {
        auto other = std::make_shared<DBProfile>();
        other->setName(QStringLiteral("other"));
        other->setScheme(kDerazURLScheme);
        other->setHost(QStringLiteral("127.0.0.1"));
        other->setPort(port);
        other->setPassword(password);
        return other;
    };
    // A second profile connects at start too, with a password the server refuses.
    auto refused = otherProfile(securedPort, QStringLiteral("not-the-password"));
    refused->setAutoLogin(true);
    refused->save();
    AppShots::ConnectedMainWindow shell;
    if (!shell.open(profile))
        return 1;
    KSTMainWindow &window = shell.window;
    (void)QTest::qWaitFor([] { return openAlert() != nullptr; }, 20000);
    shoot(folder, QStringLiteral("alert-wrongpass-at-start.png"), window);
    pressAlertButton(QMessageBox::AcceptRole);
    shell.select(shell.db0);
    shoot(folder, QStringLiteral("main-active.png"), window);

    const auto connectTo = [&](int port, const QString &password) {
        auto other = otherProfile(port, password);
        other->urlFormat();
        Bastwick::NotificationCenter::defaultCenter().post(kDBProfileRequestConnectMsg,
                                                           QVariant::fromValue(other));
        (void)QTest::qWaitFor([] { return openAlert() != nullptr; }, 20000);
    };

    connectTo(unusedPort(), QString());
    shoot(folder, QStringLiteral("alert-connect-failed.png"), window);
    pressAlertButton(QMessageBox::AcceptRole);

    connectTo(securedPort, QStringLiteral("not-the-password"));
    shoot(folder, QStringLiteral("alert-wrongpass.png"), window);
    pressAlertButton(QMessageBox::AcceptRole);

    auto *probe = shell.root->derazProbeViewController();
    probe->tabView()->setCurrentIndex(1);
    auto *query = probe->derazKeysQueryViewController();
    query->queryTextView()->setPlainText(QStringLiteral("user:*"));
    query->runButton()->click();
    (void)QTest::qWaitFor([&] { return query->dataDelegate()->itemCount() > 0; }, 10000);
    for (QAbstractButton *b : query->toolBarView()->findChildren<QAbstractButton *>()) {
        if (b->property("tag").toLongLong() == 7)
            b->click();
    }
    (void)QTest::qWaitFor([] { return openAlert() != nullptr; }, 10000);
    shoot(folder, QStringLiteral("alert-query-remove.png"), window);
    pressAlertButton(QMessageBox::RejectRole);

    shoot(folder, QStringLiteral("main-after-sheet.png"), window);

    // The pointer over the lights, then another window of the application active.
    QCursor::setPos(window.mapToGlobal(QPoint(30, 18)));
    shoot(folder, QStringLiteral("main-lights-hover.png"), window);
    QCursor::setPos(window.mapToGlobal(QPoint(500, 400)));
    QWidget other;
    other.setWindowTitle(QStringLiteral("Another window"));
    other.setGeometry(700, 450, 400, 250);
    other.show();
    other.activateWindow();
    (void)QTest::qWaitForWindowActive(&other);
    shoot(folder, QStringLiteral("main-inactive.png"), window);
    return 0;
}

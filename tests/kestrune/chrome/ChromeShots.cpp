// Shoots the main window for a look by eye (not a test):
//   xvfb-run -a -s '-screen 0 1280x800x24' kestrune_chrome_shots <folder>
// writes main-active.png, main-inactive.png, main-hover.png, main-hover-graphite.png
// (the lights under the pointer on the graphite tint), main-fullscreen.png and
// main-sheet.png (the whole screen, with a sheet open on the window), and
// document-clean.png / document-edited.png (a title-bar window showing a document: the
// title beside the versions button, further left while edited).
#include <kestrune/chrome/ControlTint.h>
#include <kestrune/chrome/KSTTrafficLightsView.h>
#include <kestrune/chrome/TBDocument.h>
#include <kestrune/shell/KSTMainWindow.h>

#include "../ShotFolder.h"

#include <QtCore/QDir>
#include <QtGui/QEnterEvent>
#include <QtGui/QScreen>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>
#include <pavisade/sheets/SheetHost.h>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const std::optional<QDir> shots = AppShots::shotFolder(argc, argv);
    if (!shots)
        return 2;
    const QDir &folder = *shots;
    bool main = true;
    KSTMainWindow window;
    window.setActivationStateHook([&](const TBWindow *) { return main; });
    window.move(40, 40);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    QTest::qWait(200);

    const auto shoot = [&](const char *name) {
        window.activationStateDidChange();
        QTest::qWait(300);
        window.grab().save(folder.filePath(QString::fromLatin1(name)));
    };
    shoot("main-active.png");
    main = false;
    shoot("main-inactive.png");
    main = true;
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(window.trafficLightsView(), &enter);
    shoot("main-hover.png");
    const Kestrune::ControlTint tint = Kestrune::currentControlTint();
    Kestrune::setCurrentControlTint(Kestrune::GraphiteControlTint);
    QApplication::sendEvent(window.trafficLightsView(), &enter);
    // The fade has ended once each slot holds one button again.
    (void)QTest::qWaitFor([&] {
        return window.trafficLightsView()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size() == 3;
    });
    shoot("main-hover-graphite.png");
    Kestrune::setCurrentControlTint(tint);
    QApplication::sendEvent(window.trafficLightsView(), &enter);
    window.toggleFullScreen();
    shoot("main-fullscreen.png");
    window.toggleFullScreen();

    auto *sheet = new QDialog;
    auto *layout = new QVBoxLayout(sheet);
    layout->addWidget(new QLabel(QStringLiteral("A sheet hangs from the bottom of the title bar.")));
    sheet->resize(360, 120);
    Pavisade::openAsSheet(sheet, &window);
    QTest::qWait(500);
    window.screen()->grabWindow(0).save(folder.filePath(QStringLiteral("main-sheet.png")));
    sheet->close();

    TBWindow documentWindow;
    documentWindow.setActivationStateHook([](const TBWindow *) { return true; });
    documentWindow.setCentralWidget(new QWidget);
    documentWindow.setWindowTitle(QStringLiteral("Untitled"));
    documentWindow.setShowsTitle(true);
    documentWindow.setGeometry(100, 100, 520, 160);
    TBDocument document;
    document.addWindow(&documentWindow);
    documentWindow.show();
    (void)QTest::qWaitForWindowExposed(&documentWindow);
    QTest::qWait(200);
    documentWindow.grab().save(folder.filePath(QStringLiteral("document-clean.png")));
    document.updateChangeCount(TBDocument::ChangeDone);
    QTest::qWait(200);
    documentWindow.grab().save(folder.filePath(QStringLiteral("document-edited.png")));
    return 0;
}

#include <pavisade/PavisadeClasses.h>
#include <pavisade/sheets/AlertSheet.h>
#include <pavisade/sheets/SheetHost.h>
#include <pavisade/sheets/XSheet.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <corbelan/CorbelanClasses.h>

#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtCore/QPointer>
#include <QtCore/QtMath>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolBar>

#include <gtest/gtest.h>

static TestSupport::SetupHook hook([] {
    Corbelan::registerCorbelanClasses();
    Pavisade::registerPavisadeClasses();
});

namespace {

// A window with chrome of its own that wants sheets 40 px below its top edge, at x 10.
class HostWindow : public QWidget, public SheetHost
{
public:
    QPoint sheetPosition(const QSize &sheetSize) const override
    {
        lastSize = sheetSize;
        return mapToGlobal(QPoint(10, 40));
    }
    mutable QSize lastSize;
};

// A sheet that stays up after its handler when asked to.
class StayingSheet : public XSheet
{
public:
    void beginStaying(QWidget *window, CompletionHandler handler)
    {
        beginSheet(window, std::move(handler), false);
    }
};

// Whether the widget's window gets the keyboard. Alerts delete themselves once closed:
// one gone before or while this waits never gets it.
bool keyboardGoesTo(QWidget *widget)
{
    const QPointer<QWidget> guarded(widget);
    return waitFor([&] { return guarded && QGuiApplication::focusWindow() == guarded->windowHandle(); },
                   5000);
}

// Shows the window for a sheet to block, with the keyboard.
bool showWithKeyboard(QMainWindow &window)
{
    window.setGeometry(100, 100, 600, 400);
    window.show();
    window.activateWindow();
    return keyboardGoesTo(&window);
}

struct Recorder
{
    QList<qint64> codes;
    XSheet::CompletionHandler handler()
    {
        return [this](qint64 code) { codes << code; };
    }
};

} // namespace

TEST(Sheets, ReturnCodeNames)
{
    const struct
    {
        qint64 code;
        QString name, withDefault, debug;
    } cases[] = {{0, "Cancel", "Cancel", "Cancel"},
                 {1, "OK", "OK", "OK"},
                 {7, QString(), "dflt", "???"},
                 {XSheetReturnCodeStop, QString(), "dflt", "???"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(XSheetStringForReturnCode(c.code), c.name);
        EXPECT_EQ(XSheetStringForReturnCode(c.code).isNull(), c.name.isNull());
        EXPECT_EQ(XSheetStringForReturnCodeWithDefault(c.code, "dflt"), c.withDefault);
        EXPECT_EQ(XSheetDebugStringForReturnCode(c.code), c.debug);
    }
}

TEST(Sheets, EachWayOfEndingReportsItsCodeOnceAndOrdersTheSheetOut)
{
    QMainWindow window;
    window.resize(600, 400);
    window.show();
    XSheet sheet;
    sheet.resize(200, 100);

    const struct
    {
        const char *how;
        std::function<void()> end;
        qint64 code;
    } cases[] = {
        {"ok", [&] { sheet.ok(); }, 1},
        {"cancel", [&] { sheet.cancel(); }, 0},
        {"end", [&] { sheet.end(); }, XSheetReturnCodeStop},
        {"another code", [&] { sheet.endWithReturnCode(7); }, 7},
        {"escape", [&] { QTest::keyClick(&sheet, Qt::Key_Escape); }, 0},
        {"closing the panel", [&] { sheet.close(); }, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        Recorder recorder;
        sheet.beginOnWindow(&window, recorder.handler());
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);
        EXPECT_EQ(sheet.parentWidget(), &window);
        c.end();
        sheet.end(); // a second end of the same run reaches nobody
        EXPECT_EQ(recorder.codes, QList<qint64>{c.code});
        EXPECT_FALSE(sheet.isVisible());
        EXPECT_FALSE(sheet.isSheetRunning());
    }

    // Begun without a handler it ends silently.
    sheet.beginOnWindow(&window, {});
    sheet.ok();
    EXPECT_FALSE(sheet.isVisible());
}

TEST(Sheets, WithoutAutoExitThePanelStaysUpAndModalUntilOrderedOut)
{
    QMainWindow window;
    window.show();
    StayingSheet sheet;
    Recorder recorder;
    sheet.beginStaying(&window, recorder.handler());
    sheet.ok();
    EXPECT_EQ(recorder.codes, QList<qint64>{1});
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.windowModality(), Qt::WindowModal);
    EXPECT_TRUE(QApplication::activeModalWidget() == &sheet || !QApplication::activeModalWidget());
    sheet.orderOut();
    EXPECT_FALSE(sheet.isVisible());

    // The same panel begun normally again orders itself out.
    sheet.beginOnWindow(&window, recorder.handler());
    sheet.cancel();
    EXPECT_EQ(recorder.codes, (QList<qint64>{1, 0}));
    EXPECT_FALSE(sheet.isVisible());
}

TEST(Sheets, StyleMaskOfASheet)
{
    std::unique_ptr<XSheet> sheet(
        XSheet::withSheetStyle(XSheet::Titled | XSheet::Miniaturizable | XSheet::Resizable));
    EXPECT_EQ(sheet->styleMask(), unsigned(XSheet::Closable | XSheet::Resizable));
    EXPECT_TRUE(sheet->windowFlags() & Qt::FramelessWindowHint) << "no title bar";
    EXPECT_TRUE(sheet->canBecomeKeyWindow());
    XSheet titled(XSheet::Titled | XSheet::Closable);
    EXPECT_FALSE(titled.windowFlags() & Qt::FramelessWindowHint);
}

TEST(Sheets, SheetsOpenWhereTheirWindowWantsThem)
{
    HostWindow host; // made before the sheet: the window owns the sheet once it opens on it
    QMainWindow plain;
    plain.addToolBar(new QToolBar("tools"));
    plain.setCentralWidget(new QWidget);
    plain.setGeometry(100, 100, 600, 400);
    plain.show();
    QApplication::processEvents();
    XSheet sheet;
    sheet.setFixedSize(200, 100);
    sheet.beginOnWindow(&plain, {});
    const QPoint clientTop = plain.centralWidget()->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(sheet.pos(), QPoint(clientTop.x() + 200, clientTop.y())) << "top centre of the client area";
    EXPECT_EQ(Pavisade::sheetPosition(&plain, QSize(200, 100)), sheet.pos());
    sheet.cancel();

    host.setGeometry(50, 60, 500, 300);
    host.show();
    QApplication::processEvents();
    sheet.beginOnWindow(&host, {});
    EXPECT_EQ(host.lastSize, QSize(200, 100));
    EXPECT_EQ(sheet.pos(), host.mapToGlobal(QPoint(10, 40)));
    sheet.cancel();

    // A screen inside the window opens its sheets on the window itself.
    X3CommonViewController screen(&host);
    auto *inner = new QWidget(&screen);
    sheet.beginOnWindow(inner, {});
    EXPECT_EQ(sheet.parentWidget(), &host);
    sheet.cancel();
}

TEST(Sheets, AlertsAreOneButtonSheetsThatReportOK)
{
    QMainWindow window;
    window.show();
    QList<qint64> codes;
    QPointer<QMessageBox> box = Pavisade::showSheetModalForWindow(
        &window, "Message", "Details", Pavisade::AlertStyleCritical, "Fine", [&](qint64 c) { codes << c; });
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->text(), "Message");
    EXPECT_EQ(box->informativeText(), "Details");
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons().first()->text(), "Fine");
    box->buttons().first()->click();
    EXPECT_EQ(codes, QList<qint64>{1});
    EXPECT_TRUE(waitFor([&] { return box.isNull(); })) << "the alert goes away once dismissed";
}

namespace {

// Whether the label wraps a line of its text at its width: its text then needs more
// height there than with every paragraph on one line.
bool wrapsAtItsWidth(const QLabel *label)
{
    return label->heightForWidth(label->width()) > label->heightForWidth(QWIDGETSIZE_MAX);
}

// The width of the label's longest line, unwrapped.
int longestLine(const QLabel *label)
{
    const QFontMetricsF metrics(label->font());
    qreal widest = 0;
    for (const QString &line : label->text().split(QLatin1Char('\n')))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return qCeil(widest);
}

} // namespace

TEST(Sheets, AlertsAreAsWideAsTheirLinesUpToALimitAndShowEveryLine)
{
    QMainWindow window;
    window.setCentralWidget(new QWidget);
    window.setGeometry(100, 100, 1000, 600);
    window.show();
    QApplication::processEvents();
    const QString sentence = QStringLiteral("Remove the keys of DB0 that match user:* from the server? ");
    const struct
    {
        const char *what;
        QString title;
        QString text;
        int windowWidth;
    } cases[] = {
        {"failed connect", "Error",
         "Could not connect to 127.0.0.1:6379.\nserver connect failed! Connection refused", 1000},
        {"query removal", "Warning",
         "Remove the keys of DB0 that match user:* from the server? Matching keys: 5. This cannot be undone.",
         1000},
        {"a long text", "Warning", sentence.repeated(6), 1000},
        {"a long title", sentence.repeated(4), "Details", 1000},
        {"a narrow window", "Error",
         "Could not connect to 127.0.0.1:6379.\nserver connect failed! Connection refused", 420},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        window.resize(c.windowWidth, 600);
        QApplication::processEvents();
        QPointer<QMessageBox> box = Pavisade::showConfirmSheetModalForWindow(
            &window, c.title, c.text, Pavisade::AlertStyleWarning, "Cancel", "Ok", {}, {});
        ASSERT_TRUE(box);
        ASSERT_TRUE(box->isVisible());
        EXPECT_EQ(box->pos(), Pavisade::sheetPosition(&window, box->size()))
            << "placed for the size it shows with";
        auto *title = box->findChild<QLabel *>("qt_msgbox_label");
        auto *text = box->findChild<QLabel *>("qt_msgbox_informativelabel");
        ASSERT_TRUE(title && text);
        for (const QLabel *label : {title, text}) {
            SCOPED_TRACE(qPrintable(label->text()));
            // Nothing is cut off: every line has its room, inside the alert.
            EXPECT_GE(label->height(), label->heightForWidth(label->width()));
            EXPECT_TRUE(box->rect().contains(label->geometry()));
            if (!label->wordWrap()) {
                EXPECT_GE(label->width(), longestLine(label));
            }
            if (longestLine(label) + 2 <= qMin(600, c.windowWidth - 80 - (box->width() - label->width()))) {
                EXPECT_FALSE(wrapsAtItsWidth(label)) << "each paragraph on one line where the width allows";
            } else {
                EXPECT_TRUE(wrapsAtItsWidth(label));
                EXPECT_LE(label->width(), 600) << "wrapped at the limit";
                EXPECT_GE(label->width(), qMin(550, c.windowWidth - 80 - (box->width() - label->width())))
                    << "not at its longest word";
            }
        }
        if (c.windowWidth < 1000) {
            EXPECT_LE(box->width(), c.windowWidth - 80) << "the alert keeps inside its window";
        }
        box->done(0);
        EXPECT_TRUE(waitFor([&] { return box.isNull(); }));
    }
}

TEST(Sheets, TheWindowHasTheKeyboardAgainOnceItsSheetIsGone)
{
    QMainWindow window;
    ASSERT_TRUE(showWithKeyboard(window));
    QPointer<QMessageBox> box =
        Pavisade::showSheetModalForWindow(&window, "Message", "Details", Pavisade::AlertStyleWarning, "Ok");
    ASSERT_TRUE(keyboardGoesTo(box));
    box->buttons().first()->click();
    EXPECT_TRUE(keyboardGoesTo(&window));
    EXPECT_EQ(QApplication::activeWindow(), &window);
}

// Clicking a window whose sheet is open makes the window system activate it; the
// keyboard then goes back to the sheet in front (an alert on the sheet, when there is
// one), so Escape reaches it.
TEST(Sheets, ActivatingTheBlockedWindowGivesTheKeyboardBackToTheSheetInFront)
{
    QMainWindow window;
    ASSERT_TRUE(showWithKeyboard(window));
    // What the window system does on a click on the window: it activates it. Then the
    // front window must have the keyboard, and Escape, sent where the keyboard is, must
    // close it.
    QList<QWindow *> focused;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &window,
                     [&](QWindow *focus) { focused << focus; });
    const auto clickWindowThenEscape = [&](auto front) {
        focused.clear();
        window.activateWindow();
        if (!waitFor([&] { return focused.contains(window.windowHandle()); }, 5000))
            return false;
        if (!keyboardGoesTo(front))
            return false;
        QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Escape);
        return waitFor([&] { return !front || !front->isVisible(); }, 5000);
    };

    // An alert.
    QPointer<QMessageBox> box =
        Pavisade::showSheetModalForWindow(&window, "Message", "Details", Pavisade::AlertStyleWarning, "Ok");
    ASSERT_TRUE(keyboardGoesTo(box));
    EXPECT_TRUE(clickWindowThenEscape(box)) << "the alert has the keyboard again";
    ASSERT_TRUE(keyboardGoesTo(&window));

    // A confirmation sheet with an alert on it: the alert first, then the sheet.
    ConfirmAlertSheet sheet;
    Recorder recorder;
    sheet.beginOnWindow(&window, recorder.handler());
    ASSERT_TRUE(keyboardGoesTo(&sheet));
    QPointer<QMessageBox> onSheet =
        Pavisade::showSheetModalForWindow(&sheet, "Message", "Details", Pavisade::AlertStyleWarning, "Ok");
    ASSERT_TRUE(keyboardGoesTo(onSheet));
    EXPECT_TRUE(clickWindowThenEscape(onSheet)) << "the alert in front of the sheet has the keyboard";
    ASSERT_TRUE(keyboardGoesTo(&sheet));
    EXPECT_TRUE(clickWindowThenEscape(&sheet));
    EXPECT_EQ(recorder.codes, QList<qint64>{XSheetReturnCodeCancel});
    EXPECT_TRUE(keyboardGoesTo(&window));
}

TEST(Sheets, ConfirmationsOpenWhereTheWindowWantsSheetsAndRunOneHandler)
{
    HostWindow host;
    host.setGeometry(50, 60, 500, 300);
    host.show();
    QApplication::processEvents();

    const struct
    {
        const char *how;
        std::function<void(QMessageBox *)> end;
        QList<qint64> okCalls;
        int cancelCalls;
    } cases[] = {
        {"ok", [](QMessageBox *box) { box->buttons().at(0)->click(); }, {0}, 0},
        {"cancel", [](QMessageBox *box) { box->buttons().at(1)->click(); }, {}, 1},
        {"return", [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); }, {0}, 0},
        {"escape", [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); }, {}, 1},
        {"closed otherwise", [](QMessageBox *box) { box->done(0); }, {}, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.how);
        QList<qint64> okCalls;
        int cancelCalls = 0;
        QPointer<QMessageBox> box = Pavisade::showConfirmSheetModalForWindow(
            &host, "Remove key", "Remove the key \"a\"?", Pavisade::AlertStyleWarning, "Keep", "Remove",
            [&](qint64 index) { okCalls << index; }, [&] { ++cancelCalls; });
        ASSERT_TRUE(box);
        EXPECT_TRUE(box->isVisible()) << "shown and returned at once";
        EXPECT_EQ(box->windowModality(), Qt::WindowModal);
        EXPECT_EQ(box->parentWidget(), &host);
        EXPECT_EQ(host.lastSize, box->size()) << "the window was asked with the question's size";
        EXPECT_EQ(box->pos(), host.mapToGlobal(QPoint(10, 40)));
        EXPECT_EQ(box->text(), "Remove key");
        EXPECT_EQ(box->informativeText(), "Remove the key \"a\"?");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        ASSERT_EQ(box->buttons().size(), 2);
        EXPECT_EQ(box->buttons().at(0)->text(), "Remove");
        EXPECT_EQ(box->buttons().at(1)->text(), "Keep");
        EXPECT_EQ(box->defaultButton(), box->buttons().at(0));
        c.end(box);
        EXPECT_TRUE(waitFor([&] { return box.isNull(); })) << "the question deletes itself once answered";
        EXPECT_EQ(okCalls, c.okCalls);
        EXPECT_EQ(cancelCalls, c.cancelCalls);
    }

    // Without a window the question stands alone; without handlers it just ends.
    QPointer<QMessageBox> alone = Pavisade::showConfirmSheetModalForWindow(
        nullptr, "Message", "Details", Pavisade::AlertStyleCritical, "Cancel", "OK", {}, {});
    ASSERT_TRUE(alone);
    EXPECT_TRUE(alone->isVisible());
    EXPECT_EQ(alone->parentWidget(), nullptr);
    EXPECT_EQ(alone->icon(), QMessageBox::Critical);
    alone->buttons().at(0)->click();
    EXPECT_TRUE(waitFor([&] { return alone.isNull(); }));
}

TEST(Sheets, ScreenAlertsUseTheTranslatedTitlesOnTheParentWindow)
{
    QMainWindow window;
    window.show();
    X3CommonViewController screen;
    screen.setParentWindow(&window);
    const struct
    {
        std::function<void(const QString &)> show;
        QString title;
    } cases[] = {{[&](const QString &t) { screen.showWarningInfo(t); }, "Warning"},
                 {[&](const QString &t) { screen.showErrorInfo(t); }, "Error"},
                 {[&](const QString &t) { screen.showInfoInfo(t); }, "Information"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        c.show("Key not found");
        auto *box = window.findChild<QMessageBox *>();
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text(), c.title);
        EXPECT_EQ(box->informativeText(), "Key not found");
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_EQ(box->buttons().first()->text(), "OK");
        EXPECT_TRUE(box->isVisible()) << "shown and returned at once";
        delete box;
    }
}

TEST(Sheets, ConfirmationSheetButtonsEndIt)
{
    QMainWindow window;
    window.show();
    ConfirmAlertSheet sheet;
    sheet.titleTextFld()->setText("Remove key");
    sheet.contentTextFld()->setText("Remove the key \"a\"?");
    sheet.setBizMode(3);
    Recorder recorder;
    sheet.beginOnWindow(&window, recorder.handler());
    sheet.okBtn()->click();
    sheet.beginOnWindow(&window, recorder.handler());
    sheet.cancleBtn()->click();
    EXPECT_EQ(recorder.codes, (QList<qint64>{1, 0}));
    EXPECT_EQ(sheet.bizMode(), 3u);
}

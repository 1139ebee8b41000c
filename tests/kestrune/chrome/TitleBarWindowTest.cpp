#include "ChromeTestHelpers.h"

#include <kestrune/chrome/ChromeMetrics.h>
#include <kestrune/chrome/TBTitlebarContainer.h>
#include <pavisade/sheets/SheetHost.h>

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtTest/QSignalSpy>
#include <QtWidgets/QDialog>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolBar>
#include <gtest/gtest.h>

using namespace ChromeTest;

TEST(TitleBarWindow, LaysTheStandardButtonsOutInARowOrAColumn)
{
    struct Case
    {
        double barHeight;
        bool vertical;
        bool centred;
        double separation;
        QPoint close, minimize, zoom; // top-left corners, in window coordinates
    };
    // 14 x 14 buttons, left margin 7, top margin 3.
    const Case cases[] = {
        {22, false, true, 6, {7, 4}, {27, 4}, {47, 4}},
        {36, false, true, 6, {7, 11}, {27, 11}, {47, 11}},
        {36, false, false, 6, {7, 3}, {27, 3}, {47, 3}},
        {36, false, true, 10, {7, 11}, {31, 11}, {55, 11}},
        // Column of height 14 * 3 + 2 * (6 - 2) = 50, centred in 80: close on top, gaps of 4.
        {80, true, true, 6, {7, 15}, {7, 33}, {7, 51}},
        {80, true, false, 6, {7, 3}, {7, 21}, {7, 39}},
    };
    for (const Case &c : cases) {
        ShownWindow shown;
        TBWindow &w = shown.window;
        w.setTitleBarHeight(c.barHeight);
        w.setVerticalTrafficLightButtons(c.vertical);
        w.setCenterTrafficLightButtons(c.centred);
        w.setTrafficLightSeparation(c.separation);
        SCOPED_TRACE(testing::Message()
                     << c.barHeight << (c.vertical ? " column" : " row") << " sep " << c.separation);
        EXPECT_EQ(w.closeButtonToLayout()->pos(), c.close);
        EXPECT_EQ(w.minimizeButtonToLayout()->pos(), c.minimize);
        EXPECT_EQ(w.zoomButtonToLayout()->pos(), c.zoom);
    }
}

TEST(TitleBarWindow, ATallerBarKeepsTheTopEdgeAndTheContentSize)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    EXPECT_EQ(w.titleBarHeight(), Kestrune::kTBStandardTitleBarHeight);
    const QRect before = w.geometry();
    const QSize content = w.centralWidget()->size();
    EXPECT_EQ(w.centralWidget()->y(), 22);

    w.setTitleBarHeight(36);
    EXPECT_EQ(w.geometry().top(), before.top());
    EXPECT_EQ(w.geometry().height(), before.height() + 14);
    EXPECT_TRUE(waitFor([&] { return w.centralWidget()->y() == 36; }));
    EXPECT_EQ(w.centralWidget()->size(), content);
    EXPECT_EQ(w.titleBarContainer()->geometry(), QRect(0, 0, w.width(), 36));
    EXPECT_EQ(w.contentViewFrame(), QRect(0, 36, w.width(), w.height() - 36));

    // The same height again changes nothing.
    const QRect after = w.geometry();
    w.setTitleBarHeight(36);
    EXPECT_EQ(w.geometry(), after);
}

TEST(TitleBarWindow, AToolbarBringsTheStandardHeightAndSheetsHangBelowIt)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    w.setTitleBarHeight(36);
    const QSize sheet(300, 200);
    // Centred, its top at the bottom of the bar, found through the screen framework.
    EXPECT_EQ(Pavisade::sheetPosition(&w, sheet), w.mapToGlobal(QPoint((w.width() - 300) / 2, 36)));

    auto *toolbar = new QToolBar(QStringLiteral("main"));
    toolbar->addAction(QStringLiteral("Connect"));
    w.addToolBar(Qt::TopToolBarArea, toolbar);
    EXPECT_EQ(w.titleBarHeight(), 22.0);
    w.setTitleBarHeight(50);
    EXPECT_EQ(w.titleBarHeight(), 22.0);
    ASSERT_TRUE(waitFor([&] { return toolbar->isVisible() && w.toolbarHeight() > 0; }));
    EXPECT_EQ(w.toolbarHeight(), toolbar->height());
    EXPECT_EQ(Pavisade::sheetPosition(&w, sheet),
              w.mapToGlobal(QPoint((w.width() - 300) / 2, 22 + toolbar->height())));
    EXPECT_EQ(w.centralWidget()->y(), 22 + toolbar->height());
}

namespace {
struct PlacingDelegate : QObject, TBWindowDelegate
{
    std::optional<QRect> windowWillPositionSheet(TBWindow *, const QRect &proposed) override
    {
        return proposed.translated(0, 40);
    }
};
} // namespace

TEST(TitleBarWindow, ADelegateThatPlacesSheetsDecides)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    PlacingDelegate delegate;
    w.setDelegate(&delegate);
    EXPECT_EQ(w.sheetPosition(QSize(100, 50)), w.mapToGlobal(QPoint((w.width() - 100) / 2, 22 + 40)));
    // A delegate that goes away leaves the window's own placement.
    {
        QObject shortLived;
        w.setDelegate(&shortLived);
    }
    EXPECT_EQ(w.sheetPosition(QSize(100, 50)), w.mapToGlobal(QPoint((w.width() - 100) / 2, 22)));
}

TEST(TitleBarWindow, DraggingTheBarMovesTheWindowOnceTheThresholdIsReached)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    TBTitlebarContainer *bar = w.titleBarContainer();
    w.setMouseDragDetectionThreshold(5.0);
    const QPoint start = w.pos();

    sendMouse(bar, QEvent::MouseButtonPress, QPointF(200, 10));
    sendMouse(bar, QEvent::MouseMove, QPointF(202, 10));
    sendMouse(bar, QEvent::MouseMove, QPointF(204, 11));
    EXPECT_EQ(w.pos(), start) << "below the threshold on both axes";
    EXPECT_FALSE(bar->isDragging());
    sendMouse(bar, QEvent::MouseMove, QPointF(206, 11));
    EXPECT_EQ(w.pos(), start + QPoint(6, 1)) << "the whole sum at once";
    EXPECT_TRUE(bar->isDragging());
    // The bar moved with the window, so the same local point is a new global one.
    sendMouse(bar, QEvent::MouseMove, QPointF(206, 21));
    EXPECT_EQ(w.pos(), start + QPoint(12, 12));
    sendMouse(bar, QEvent::MouseButtonRelease, QPointF(206, 21), Qt::NoButton);

    // In full screen the bar does not move the window.
    w.toggleFullScreen();
    const QPoint full = w.pos();
    sendMouse(bar, QEvent::MouseButtonPress, QPointF(200, 10));
    sendMouse(bar, QEvent::MouseMove, QPointF(260, 40));
    sendMouse(bar, QEvent::MouseButtonRelease, QPointF(260, 40), Qt::NoButton);
    EXPECT_EQ(w.pos(), full);
}

TEST(TitleBarWindow, FullScreenStateMachine)
{
    for (const bool hideBar : {false, true}) {
        SCOPED_TRACE(hideBar ? "bar hidden in full screen" : "bar kept");
        ShownWindow shown;
        TBWindow &w = shown.window;
        w.setTitleBarHeight(36);
        w.setHideTitleBarInFullScreen(hideBar);
        const QRect normal = w.geometry();
        QStringList order;
        QObject::connect(&w, &TBWindow::willEnterFullScreen, [&] { order << "will-enter"; });
        QObject::connect(&w, &TBWindow::willExitFullScreen, [&] { order << "will-exit"; });
        QObject::connect(&w, &TBWindow::didExitFullScreen, [&] { order << "did-exit"; });

        w.toggleFullScreen();
        EXPECT_TRUE(w.isInFullScreen());
        EXPECT_TRUE(w.styleMask() & TBWindow::FullScreen);
        EXPECT_EQ(w.geometry(), w.screen()->geometry());
        EXPECT_EQ(w.titleBarHeight(), hideBar ? 0.0 : 36.0);
        EXPECT_EQ(w.titleBarView()->isVisible(), !hideBar);
        // The content takes the whole window, and nothing of the bar lies over it: the
        // bar and its buttons wait above the window's top edge.
        EXPECT_FALSE(w.isTitleBarShown());
        EXPECT_EQ(w.contentsMargins().top(), 0);
        EXPECT_EQ(w.contentViewFrame(), w.rect());
        EXPECT_TRUE(waitFor([&] { return w.centralWidget()->geometry() == w.rect(); }));
        EXPECT_LE(w.titleBarContainer()->geometry().bottom(), 0);
        for (QAbstractButton *button : {w.closeButtonToLayout(), w.minimizeButtonToLayout(),
                                        w.zoomButtonToLayout(), w.fullScreenButtonToLayout()})
            EXPECT_LE(button->geometry().bottom(), 0) << button->accessibleName().toStdString();

        w.toggleFullScreen();
        EXPECT_FALSE(w.isInFullScreen());
        EXPECT_FALSE(w.styleMask() & TBWindow::FullScreen);
        EXPECT_EQ(w.geometry(), normal);
        EXPECT_EQ(w.titleBarHeight(), 36.0);
        EXPECT_TRUE(w.titleBarView()->isVisible());
        EXPECT_TRUE(w.isTitleBarShown());
        EXPECT_EQ(w.titleBarContainer()->geometry(), QRect(0, 0, w.width(), 36));
        EXPECT_TRUE(waitFor([&] { return w.centralWidget()->y() == 36; })) << "below the bar again";
        EXPECT_EQ(order, QStringList({"will-enter", "will-exit", "did-exit"}));
    }
}

TEST(TitleBarWindow, InFullScreenThePointerAtTheTopEdgeBringsTheBarBackAboveTheContent)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    w.setTitleBarHeight(36);
    w.menuBar()->addMenu(QStringLiteral("File"));
    w.toggleFullScreen();
    QSignalSpy revealed(&w, &TBWindow::titleBarRevealedChanged);
    ASSERT_TRUE(waitFor([&] { return w.menuBar()->isVisible() && w.menuBar()->y() == 0; }));
    const int menuHeight = w.menuBar()->height();

    movePointer(&w, QPointF(300, 200));
    movePointer(&w, QPointF(300, 0), Qt::LeftButton);
    EXPECT_FALSE(w.isTitleBarShown()) << "a drag that reaches the edge leaves the bar hidden";

    movePointer(&w, QPointF(300, 0));
    EXPECT_TRUE(w.isTitleBarShown());
    EXPECT_EQ(revealed.size(), 1);
    EXPECT_EQ(w.titleBarContainer()->geometry(), QRect(0, 0, w.width(), 36));
    // The bar's buttons come back inside it, the full-screen button among them.
    for (QAbstractButton *button : {w.closeButtonToLayout(), w.fullScreenButtonToLayout()})
        EXPECT_TRUE(QRect(0, 0, w.width(), 36).contains(button->geometry()))
            << button->accessibleName().toStdString();
    // The menu bar and the content move down below it rather than under it.
    EXPECT_TRUE(waitFor([&] { return w.menuBar()->y() == 36; }));
    EXPECT_TRUE(waitFor([&] { return w.centralWidget()->y() == 36 + menuHeight; }));
    EXPECT_EQ(w.contentViewFrame().top(), 36 + menuHeight);
    EXPECT_EQ(Pavisade::sheetPosition(&w, QSize(300, 200)).y(),
              w.mapToGlobal(QPoint(0, 36 + menuHeight)).y());

    // Over the menu bar it brought down the bar stays; below it, the bar goes again.
    movePointer(&w, QPointF(300, 36 + menuHeight / 2));
    EXPECT_TRUE(w.isTitleBarShown());
    movePointer(&w, QPointF(300, 36 + menuHeight + 20));
    EXPECT_FALSE(w.isTitleBarShown());
    EXPECT_EQ(revealed.size(), 2);
    EXPECT_TRUE(waitFor([&] { return w.menuBar()->y() == 0 && w.centralWidget()->y() == menuHeight; }));

    // Out of full screen the pointer has no say.
    w.toggleFullScreen();
    movePointer(&w, QPointF(300, 200));
    EXPECT_TRUE(w.isTitleBarShown());
    EXPECT_EQ(revealed.size(), 2);
}

TEST(TitleBarWindow, F11AndEscapeLeaveFullScreen)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const QRect normal = w.geometry();
    for (const Qt::Key key : {Qt::Key_F11, Qt::Key_Escape}) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        w.toggleFullScreen();
        ASSERT_TRUE(w.isInFullScreen());
        // Sent where the keyboard is, the window's body, which takes neither key itself.
        QTest::keyClick(w.centralWidget(), key);
        EXPECT_FALSE(w.isInFullScreen());
        EXPECT_EQ(w.geometry(), normal);
    }
    // Escape outside full screen is not the window's; F11 goes into full screen.
    QTest::keyClick(w.centralWidget(), Qt::Key_Escape);
    EXPECT_FALSE(w.isInFullScreen());
    QTest::keyClick(w.centralWidget(), Qt::Key_F11);
    EXPECT_TRUE(w.isInFullScreen());
}

TEST(TitleBarWindow, EdgeDragsKeepTheOppositeEdgesAndTheMinimumSize)
{
    const QRect start(100, 100, 800, 500);
    const QSize minimum(480, 300);
    struct Case
    {
        Qt::Edges edges;
        QPoint delta;
        QRect expected;
    };
    const Case cases[] = {
        {Qt::RightEdge, {50, 30}, QRect(100, 100, 850, 500)},
        {Qt::LeftEdge, {50, 0}, QRect(150, 100, 750, 500)},
        {Qt::TopEdge | Qt::LeftEdge, {-20, -10}, QRect(80, 90, 820, 510)},
        {Qt::BottomEdge | Qt::RightEdge, {-600, -400}, QRect(100, 100, 480, 300)},
        {Qt::LeftEdge | Qt::TopEdge, {700, 700}, QRect(420, 300, 480, 300)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TBWindow::geometryForEdgeDrag(start, c.edges, c.delta, minimum), c.expected) << c.delta.x();

    // Offscreen there is no window-system resize: the grip changes the geometry itself.
    ShownWindow shown;
    TBWindow &w = shown.window;
    TBWindowGrip *corner = nullptr;
    for (TBWindowGrip *grip : w.findChildren<TBWindowGrip *>())
        if (grip->edges() == (Qt::BottomEdge | Qt::RightEdge))
            corner = grip;
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->geometry(), QRect(w.width() - 6, w.height() - 6, 6, 6));
    const QRect before = w.geometry();
    sendMouse(corner, QEvent::MouseButtonPress, QPointF(3, 3));
    sendMouse(corner, QEvent::MouseMove, QPointF(43, 23));
    sendMouse(corner, QEvent::MouseButtonRelease, QPointF(43, 23), Qt::NoButton);
    EXPECT_EQ(w.geometry(), QRect(before.topLeft(), before.size() + QSize(40, 20)));

    // A window that may not be resized has no grips.
    w.setStyleMask(TBWindow::Titled | TBWindow::Closable);
    EXPECT_FALSE(corner->isVisible());
}

TEST(TitleBarWindow, FrameRequestsWhileTheStyleChangesAreDropped)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    const QRect before = w.geometry();
    // The content's paint during the style change asks for another frame.
    struct Asker : QObject
    {
        TBWindow *window = nullptr;
        int asked = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && asked == 0) {
                ++asked;
                window->setFrame(QRect(10, 10, 300, 200), true);
            }
            return false;
        }
    } asker;
    asker.window = &w;
    w.centralWidget()->installEventFilter(&asker);
    w.setStyleMask(TBWindow::Titled | TBWindow::Closable | TBWindow::Miniaturizable);
    w.centralWidget()->removeEventFilter(&asker);
    EXPECT_EQ(asker.asked, 1) << "the style change displays the content at once";
    QApplication::processEvents();
    EXPECT_EQ(w.geometry(), before);

    // Outside a style change the same request is carried out.
    w.setFrame(QRect(before.topLeft(), QSize(640, 420)), true);
    EXPECT_EQ(w.geometry(), QRect(before.topLeft(), QSize(640, 420)));
}

TEST(TitleBarWindow, BarControlsFollowTheActivationHook)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    auto *control = new QPushButton(QStringLiteral("x"), w.titleBarView());
    auto *nested = new QPushButton(QStringLiteral("y"), new QWidget(w.titleBarView()));
    QSignalSpy changes(&w, &TBWindow::activationStateChanged);

    shown.main = false;
    w.activationStateDidChange();
    w.activationStateDidChange();
    EXPECT_FALSE(control->isEnabled());
    EXPECT_TRUE(nested->isEnabled()) << "only the bar's own controls";
    EXPECT_FALSE(Kestrune::windowDrawsAsMain(nested));

    shown.main = true;
    w.activationStateDidChange();
    EXPECT_TRUE(control->isEnabled());
    EXPECT_TRUE(Kestrune::windowDrawsAsMain(nested));
    ASSERT_EQ(changes.count(), 2) << "one signal per change";
    EXPECT_FALSE(changes.at(0).at(0).toBool());
    EXPECT_TRUE(changes.at(1).at(0).toBool());
}

TEST(TitleBarWindow, FullScreenButtonAndReplacementButtons)
{
    ShownWindow shown;
    TBWindow &w = shown.window;
    QAbstractButton *fullScreen = w.fullScreenButtonToLayout();
    // The measured margin of the standard button, then a margin of our own, centred.
    EXPECT_EQ(w.fullScreenButtonRightMargin(), Kestrune::kTBStandardFullScreenButtonRightMargin);
    EXPECT_EQ(fullScreen->geometry(), QRect(w.width() - 18, 3, 14, 14));
    w.setTitleBarHeight(36);
    w.setCenterFullScreenButton(true);
    w.setFullScreenButtonRightMargin(10);
    EXPECT_EQ(fullScreen->geometry(), QRect(w.width() - 24, 11, 14, 14));
    fullScreen->click();
    EXPECT_TRUE(w.isInFullScreen());
    fullScreen->click();
    EXPECT_FALSE(w.isInFullScreen());

    // A replacement takes the standard button's place and sends its action.
    QAbstractButton *standardClose = w.standardWindowButton(TBWindow::CloseButton);
    auto *replacement = new ImageButton(QRect(0, 0, 20, 20), QImage());
    w.setCloseButton(replacement);
    w.layoutTrafficLightsAndContent();
    EXPECT_EQ(w.closeButtonToLayout(), replacement);
    EXPECT_TRUE(standardClose->isHidden());
    EXPECT_EQ(replacement->pos(), QPoint(7, 8)) << "20 high, centred in 36";
    EXPECT_EQ(w.minimizeButtonToLayout()->x(), 7 + 20 + 6);
    replacement->click();
    EXPECT_FALSE(w.isVisible());
}

TEST(TitleBarWindow, WithoutAHookTheWindowSystemsActiveWindowDecides)
{
    TBWindow w;
    w.resize(600, 400);
    QWidget other;
    other.resize(200, 100);
    QSignalSpy changes(&w, &TBWindow::activationStateChanged);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == w.windowHandle(); }, 5000));
    EXPECT_TRUE(waitFor([&] { return w.drawsAsMainWindow(); }, 5000));
    EXPECT_TRUE(!changes.isEmpty() && changes.last().at(0).toBool()) << "the bar heard of it";

    // A window it owns (an alert, the quick-connect window) keeps it the main window.
    QDialog owned(&w);
    owned.show();
    owned.activateWindow();
    ASSERT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == owned.windowHandle(); }, 5000));
    EXPECT_TRUE(w.drawsAsMainWindow());
    owned.hide();

    // Another window of the application takes it away.
    other.show();
    other.activateWindow();
    ASSERT_TRUE(waitFor([&] { return QGuiApplication::focusWindow() == other.windowHandle(); }, 5000));
    EXPECT_TRUE(waitFor([&] { return !w.drawsAsMainWindow(); }, 5000));
    EXPECT_FALSE(changes.last().at(0).toBool());
}

#include "kestrune/chrome/hud/HudTestHelpers.h"

#include <kestrune/chrome/ImageButton.h>
#include <kestrune/chrome/KSTTrafficLightsView.h>
#include <kestrune/chrome/Palette.h>
#include <kestrune/chrome/TBWindow.h>
#include <kestrune/chrome/controls/KSTArchesWindow.h>

#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtGui/QWindow>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace HudTest;

namespace {

// A widget that takes the focus and keeps every key pressed on it.
class KeyTaker : public QWidget
{
public:
    using QWidget::QWidget;
    QString typed;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        typed += event->text();
        event->accept();
    }
};

// A shown panel with a focusable widget that takes keys in its body.
struct ShownPanel
{
    explicit ShownPanel(unsigned mask = TBWindow::Closable)
        : panel(QRect(200, 150, 400, 240), mask)
    {
        field = new KeyTaker(panel.contentView());
        field->setFocusPolicy(Qt::StrongFocus);
        field->setGeometry(40, 100, 200, 24);
        panel.show();
        (void)QTest::qWaitForWindowExposed(&panel);
    }
    KSTArchesWindow panel;
    KeyTaker *field = nullptr;
};

} // namespace

TEST(ArchesWindowTest, IsAClearFramelessToolPanelShownWithoutActivation)
{
    KSTArchesWindow panel;
    EXPECT_EQ(panel.windowType(), Qt::Tool);
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(panel.styleMask(), unsigned(TBWindow::Closable) | KSTArchesWindow::NonactivatingPanel);
    EXPECT_EQ(KSTArchesWindow(QRect(), 0).styleMask(), KSTArchesWindow::NonactivatingPanel);

    // The body: the arches pattern inside a rounded outline, clear at the very corners.
    panel.resize(200, 120);
    const QImage image = shot(panel);
    const QImage tile = Kestrune::archesImage();
    for (const QPoint p : {QPoint(100, 60), QPoint(150, 100), QPoint(37, 90)})
        EXPECT_EQ(image.pixel(p), tile.pixel(p.x() % tile.width(), p.y() % tile.height()))
            << p.x() << "," << p.y();
    EXPECT_LT(qAlpha(image.pixel(0, 0)), 128);
    EXPECT_LT(qAlpha(image.pixel(199, 119)), 128);
}

// Needs a real X server (the offscreen platform activates every window it shows): ctest
// runs it under Xvfb as kestrune_arches_panel_x11.
TEST(ArchesWindowX11, ShowsWithoutTakingTheActivationOrTheFocus)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs the X11 platform";
    QWidget other;
    other.setWindowTitle(QStringLiteral("other"));
    auto *otherField = new KeyTaker(&other);
    otherField->setFocusPolicy(Qt::StrongFocus);
    otherField->setGeometry(10, 10, 100, 24);
    other.setGeometry(40, 40, 300, 200);
    other.show();
    other.activateWindow();
    otherField->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_EQ(QApplication::focusWidget(), otherField);

    ShownPanel shown; // shown, and exposed on the X server
    KSTArchesWindow &panel = shown.panel;
    ASSERT_TRUE(panel.isVisible());
    ASSERT_TRUE(panel.windowHandle()->isExposed());
    // Another window mapped and exposed after the panel: whatever the window system did
    // when it mapped the panel has arrived by now.
    QWidget marker(nullptr, Qt::ToolTip);
    marker.setAttribute(Qt::WA_ShowWithoutActivating);
    marker.setGeometry(0, 0, 4, 4);
    marker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&marker));
    EXPECT_EQ(QGuiApplication::focusWindow(), other.windowHandle());
    EXPECT_TRUE(other.isActiveWindow());
    EXPECT_FALSE(panel.isActiveWindow());
    EXPECT_TRUE(shown.field->typed.isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), otherField);
}

TEST(ArchesWindowTest, TrafficLightsSitAtTheTopLeftAndFollowTheStyleMask)
{
    const QSize light = KSTTrafficLightsView::lightSize();
    ASSERT_FALSE(light.isEmpty());
    EXPECT_EQ(KSTArchesWindow::trafficLightsFrame(), QRect(7, 5, 3 * light.width() + 12, light.height()));

    struct Case
    {
        unsigned mask;
        bool close, minimize, zoom;
    };
    const Case cases[] = {
        {TBWindow::Closable, true, false, false},
        {TBWindow::Closable | TBWindow::Miniaturizable | TBWindow::Resizable, true, true, true},
        {0, false, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "mask " << c.mask);
        KSTArchesWindow panel(QRect(10, 10, 300, 200), c.mask);
        KSTTrafficLightsView *lights = panel.trafficLights();
        EXPECT_EQ(lights->parentWidget(), &panel);
        EXPECT_EQ(lights->geometry(), KSTArchesWindow::trafficLightsFrame());
        EXPECT_EQ(lights->closeButton()->isEnabled(), c.close);
        EXPECT_EQ(lights->minimizeButton()->isEnabled(), c.minimize);
        EXPECT_EQ(lights->zoomButton()->isEnabled(), c.zoom);
    }
}

TEST(ArchesWindowTest, ResizingKeepsTheBodyFullAndTheLightsInTheirCorner)
{
    ShownPanel shown;
    KSTArchesWindow &panel = shown.panel;
    EXPECT_EQ(panel.contentView()->geometry(), QRect(0, 0, 400, 240));
    for (const QSize size : {QSize(420, 90), QSize(120, 400)}) {
        panel.resize(size);
        EXPECT_TRUE(waitFor([&] { return panel.contentView()->geometry() == QRect(QPoint(0, 0), size); }))
            << size.width() << "x" << size.height();
        EXPECT_EQ(panel.trafficLights()->geometry(), KSTArchesWindow::trafficLightsFrame());
    }
}

TEST(ArchesWindowTest, EscapeAndCtrlWCloseAClosablePanelAndOtherKeysGoOn)
{
    enum class Route { Panel, Window };
    struct Case
    {
        const char *name;
        unsigned mask;
        int key;
        Qt::KeyboardModifiers modifiers;
        Route route;  // to the panel itself, or from the window system to the focused widget
        bool release; // only a key release
        bool closes;
        const char *typed; // what the focused widget got
    };
    const unsigned closable = TBWindow::Closable;
    const Case cases[] = {
        {"escape", closable, Qt::Key_Escape, Qt::NoModifier, Route::Panel, false, true, ""},
        {"escape with modifiers", closable, Qt::Key_Escape, Qt::ShiftModifier | Qt::AltModifier, Route::Panel,
         false, true, ""},
        {"ctrl+w", closable, Qt::Key_W, Qt::ControlModifier, Route::Panel, false, true, ""},
        {"ctrl+shift+w", closable, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier, Route::Panel, false,
         true, ""},
        {"escape released", closable, Qt::Key_Escape, Qt::NoModifier, Route::Panel, true, false, ""},
        // The panel sees its keys before the focused widget, which would keep them.
        {"escape from the window system", closable, Qt::Key_Escape, Qt::NoModifier, Route::Window, false,
         true, ""},
        {"ctrl+w from the window system", closable, Qt::Key_W, Qt::ControlModifier, Route::Window, false,
         true, ""},
        {"plain w goes on", closable, Qt::Key_W, Qt::NoModifier, Route::Window, false, false, "w"},
        {"not closable: escape goes on", 0, Qt::Key_Escape, Qt::NoModifier, Route::Window, false, false,
         "\x1b"},
        {"not closable: ctrl+w", 0, Qt::Key_W, Qt::ControlModifier, Route::Panel, false, false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ShownPanel shown(c.mask);
        shown.field->setFocus();
        const auto key = Qt::Key(c.key);
        if (c.route == Route::Window)
            QTest::keyClick(shown.panel.windowHandle(), key, c.modifiers);
        else if (c.release)
            QTest::keyRelease(&shown.panel, key, c.modifiers);
        else
            QTest::keyClick(&shown.panel, key, c.modifiers);
        EXPECT_EQ(shown.panel.isVisible(), !c.closes);
        EXPECT_EQ(shown.field->typed, QString::fromLatin1(c.typed));
    }
}

TEST(ArchesWindowTest, ShakeKeyframesSwingByATwentiethOfTheWidth)
{
    struct Case
    {
        QRect frame;
        int swing;
    };
    const Case cases[] = {
        {{100, 50, 400, 300}, 20},
        {{0, 0, 250, 10}, 13}, // a half rounds up
        {{-30, 5, 90, 90}, 5},
        {{10, 10, 9, 9}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.frame.width());
        const std::vector<QPoint> points = KSTArchesWindow::shakeKeyframes(c.frame);
        const QPoint o = c.frame.topLeft();
        const QPoint left = o - QPoint(c.swing, 0);
        const QPoint right = o + QPoint(c.swing, 0);
        EXPECT_EQ(points, (std::vector<QPoint>{o, left, right, left, right, left, right, left, right, o}));
    }
}

TEST(ArchesWindowTest, ShakingSwingsBothWaysAndEndsWhereItBegan)
{
    ShownPanel shown;
    const QPoint origin = shown.panel.pos();
    std::vector<int> xs;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { xs.push_back(shown.panel.x()); });
    sampler.start(5);

    shown.panel.shake();
    EXPECT_TRUE(shown.panel.isShaking());
    ASSERT_TRUE(waitFor([&] { return !shown.panel.isShaking(); }, 5000));
    sampler.stop();
    EXPECT_EQ(shown.panel.pos(), origin);
    ASSERT_FALSE(xs.empty());
    const auto [low, high] = std::minmax_element(xs.begin(), xs.end());
    EXPECT_GE(*low, origin.x() - 20);
    EXPECT_LE(*high, origin.x() + 20);
    EXPECT_LT(*low, origin.x() - 5);
    EXPECT_GT(*high, origin.x() + 5);

    // Shaking again in the middle of a shake still ends at the first origin.
    shown.panel.shake();
    ASSERT_TRUE(waitFor([&] { return shown.panel.pos() != origin; }, 2000));
    shown.panel.shake();
    ASSERT_TRUE(waitFor([&] { return !shown.panel.isShaking(); }, 5000));
    EXPECT_EQ(shown.panel.pos(), origin);
}

TEST(ArchesWindowTest, DraggingTheBodyMovesThePanel)
{
    ShownPanel shown;
    const QPoint origin = shown.panel.pos();
    QWidget *body = shown.panel.contentView();
    const QPointF at(300, 200);
    const QPointF global = body->mapToGlobal(at);
    sendMouse(body, QEvent::MouseButtonPress, at, Qt::LeftButton, global);
    sendMouse(body, QEvent::MouseMove, at + QPointF(40, 30), Qt::LeftButton, global + QPointF(40, 30));
    sendMouse(body, QEvent::MouseButtonRelease, at + QPointF(40, 30), Qt::NoButton, global + QPointF(40, 30));
    EXPECT_EQ(shown.panel.pos(), origin + QPoint(40, 30));
}

TEST(ArchesWindowTest, ClosingLightClosesThePanel)
{
    ShownPanel shown;
    QTest::mouseClick(shown.panel.trafficLights()->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(shown.panel.isVisible());
}

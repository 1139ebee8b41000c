#include "HudTestHelpers.h"

#include <kestrune/chrome/hud/HUDWindow.h>
#include <kestrune/chrome/hud/HUDWindowButtonCell.h>
#include <kestrune/chrome/hud/HUDWindowFrameView.h>

#include <QtCore/QPointer>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QVBoxLayout>

#include <gtest/gtest.h>

using namespace HudTest;

TEST(HudWindowTest, FrameAndContentRectanglesDifferByTheTitleBar)
{
    struct Case
    {
        QRectF content;
        QRectF frame;
        QRectF contentOfFrame; // the content answered for frame: always at the origin
    };
    const Case cases[] = {
        {{0, 0, 300, 100}, {0, 0, 300, 122}, {0, 0, 300, 100}},
        {{40, 70, 250, 10}, {40, 70, 250, 32}, {0, 0, 250, 10}},
        {{-5, 12.5, 80, 0}, {-5, 12.5, 80, 22}, {0, 0, 80, 0}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(HUDWindow::frameRectForContentRect(c.content), c.frame) << c.content.x();
        EXPECT_EQ(HUDWindow::contentRectForFrameRect(c.frame), c.contentOfFrame) << c.frame.x();
    }
}

TEST(HudWindowTest, IsAFramelessFloatingToolWindowClearOutsideItsFrame)
{
    HUDWindow window(QRect(30, 40, 200, 100));
    EXPECT_EQ(window.geometry(), QRect(30, 40, 200, 122));
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.testAttribute(Qt::WA_TranslucentBackground));
}

TEST(HudWindowTest, ContentViewsAreInstalledBelowTheTitleBarAndReplaced)
{
    HUDWindow window;
    window.resize(240, 160);
    window.show();
    EXPECT_EQ(window.contentView(), nullptr);
    EXPECT_EQ(window.frameView(), nullptr);

    QPointer<QWidget> first = new QWidget;
    window.setContentView(first);
    ASSERT_NE(window.frameView(), nullptr);
    EXPECT_EQ(window.contentView(), first.data());
    EXPECT_EQ(first->parentWidget(), window.frameView());
    EXPECT_EQ(first->geometry(), QRect(0, 22, 240, 138));
    ASSERT_NE(window.closeButton(), nullptr);
    EXPECT_EQ(window.closeButton()->geometry(), QRect(5, 5, 18, 18));

    // The same view again changes nothing.
    HUDWindowFrameView *frame = window.frameView();
    window.setContentView(first);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(window.contentView(), first.data());
    EXPECT_EQ(window.frameView(), frame);

    // A new view takes the old one's place; the frame and its button stay.
    QPointer<QWidget> second = new QWidget;
    window.setContentView(second);
    EXPECT_EQ(window.frameView(), frame);
    EXPECT_EQ(window.contentView(), second.data());
    EXPECT_TRUE(first.isNull() || first->parentWidget() != frame);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    // After a resize the button keeps its corner and the content fills the rest.
    window.resize(400, 300);
    EXPECT_EQ(frame->geometry(), QRect(0, 0, 400, 300));
    EXPECT_EQ(window.closeButton()->geometry(), QRect(5, 5, 18, 18));
    EXPECT_EQ(second->geometry(), QRect(0, 22, 400, 278));

    // None leaves the frame with its close button alone.
    window.setContentView(nullptr);
    EXPECT_EQ(window.contentView(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QList<QWidget *> children = frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(children.first(), window.closeButton());
}

namespace {

struct ShownHud
{
    explicit ShownHud(const QString &title = QString())
    {
        window.setContentView(new QWidget);
        window.setGeometry(100, 100, 200, 120);
        if (!title.isNull())
            window.setTitle(title);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    HUDWindow window;
};

} // namespace

TEST(HudWindowTest, CornersAreClearAndTheBodyIsSlightlyTranslucent)
{
    ShownHud hud;
    const QImage image = shot(hud.window);
    for (const QPoint corner : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 119), QPoint(199, 119)})
        EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << corner.x() << "," << corner.y();

    const QRgb body = image.pixel(100, 80);
    EXPECT_NEAR(qAlpha(body), 245, 2);
    EXPECT_NEAR(qGray(body), 38, 3);
    // The title bar is translucent too, lighter at its top than at its bottom.
    const QRgb top = image.pixel(100, 3);
    const QRgb bottom = image.pixel(100, 20);
    EXPECT_NEAR(qAlpha(top), 245, 2);
    EXPECT_GT(qGray(top), qGray(bottom));
    // A black outline along the edges.
    EXPECT_LT(qGray(image.pixel(100, 119)), 20);
    EXPECT_GT(qAlpha(image.pixel(100, 119)), 200);
}

TEST(HudWindowTest, TheTitleIsDrawnCentredOnlyWhenThereIsOne)
{
    const QRect titleBar(30, 0, 140, 22);
    ShownHud untitled;
    EXPECT_EQ(countPixels(shot(untitled.window), titleBar, isLight), 0);

    ShownHud titled(QStringLiteral("Inspector"));
    const QImage image = shot(titled.window);
    EXPECT_GT(countPixels(image, titleBar, isLight), 20);
    // Centred: as much ink left of the middle as right of it, within a glyph's width.
    const int left = countPixels(image, QRect(30, 0, 70, 22), isLight);
    const int right = countPixels(image, QRect(100, 0, 70, 22), isLight);
    EXPECT_NEAR(left, right, (left + right) / 4);

    // A new title redraws the bar.
    titled.window.setTitle(QString());
    EXPECT_EQ(countPixels(shot(titled.window), titleBar, isLight), 0);
}

TEST(HudWindowTest, CloseButtonDarkensWhilePressedAndClosesTheWindow)
{
    ShownHud hud;
    HUDWindowButtonCell *button = hud.window.closeButton();
    ASSERT_NE(button, nullptr);
    const QImage up = shot(*button);
    button->setDown(true);
    const QImage down = shot(*button);
    button->setDown(false);
    // The cross, at the middle, is the lightest part of the button; pressed, it darkens.
    const QPoint cross(9, 8);
    EXPECT_GT(qGray(up.pixel(cross)), 70);
    EXPECT_LT(qGray(down.pixel(cross)), qGray(up.pixel(cross)) * 0.8);

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(hud.window.isVisible());
}

TEST(HudWindowTest, DraggingTheBackgroundMovesTheWindow)
{
    ShownHud hud;
    const QPoint origin = hud.window.pos();
    struct Case
    {
        QWidget *target; // the title bar, or the content's background
        QPointF at;
    };
    const Case cases[] = {{hud.window.frameView(), {100, 10}}, {hud.window.contentView(), {80, 50}}};
    QPoint expected = origin;
    for (const Case &c : cases) {
        const QPointF global = c.target->mapToGlobal(c.at);
        sendMouse(c.target, QEvent::MouseButtonPress, c.at, Qt::LeftButton, global);
        sendMouse(c.target, QEvent::MouseMove, c.at + QPointF(40, 30), Qt::LeftButton,
                  global + QPointF(40, 30));
        sendMouse(c.target, QEvent::MouseButtonRelease, c.at + QPointF(40, 30), Qt::NoButton,
                  global + QPointF(40, 30));
        expected += QPoint(40, 30);
        EXPECT_EQ(hud.window.pos(), expected);
    }
}

TEST(HudWindowTest, ItsFieldsTakeKeyboardFocus)
{
    HUDWindow window;
    auto *content = new QWidget;
    auto *field = new QLineEdit(content);
    field->setGeometry(10, 10, 120, 22);
    window.setContentView(content);
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    EXPECT_TRUE(waitFor([&] { return field->hasFocus(); }));
    QTest::keyClicks(field, QStringLiteral("typed"));
    EXPECT_EQ(field->text(), QStringLiteral("typed"));
}

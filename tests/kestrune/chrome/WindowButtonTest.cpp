#include "ChromeTestHelpers.h"

#include <kestrune/chrome/TBWindowButton.h>
#include <tolmere/LiveResize.h>

#include <QtGui/QWindow>

#include <bastwick/platform/NotificationCenter.h>

#include <gtest/gtest.h>

using namespace ChromeTest;

namespace {

QImage solid(QColor color)
{
    QImage image(14, 14, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

struct Images
{
    QImage active = solid(Qt::green), notKey = solid(Qt::gray), inactive = solid(Qt::darkGray),
           rollover = solid(Qt::yellow), pressed = solid(Qt::black);
    void give(TBWindowButton *button) const
    {
        button->activeImage = active;
        button->activeNotKeyWindowImage = notKey;
        button->inactiveImage = inactive;
        button->rolloverImage = rollover;
        button->setPressedImage(pressed);
        button->updateImage();
    }
};

} // namespace

TEST(WindowButtonGroup, OneGroupPerIdentifierAndOnlyRealChangesAreAnnounced)
{
    TBWindowButtonGroup *byDefault = TBWindowButtonGroup::groupWithIdentifier(QString());
    EXPECT_EQ(byDefault, TBWindowButtonGroup::groupWithIdentifier(kTBWindowButtonGroupDefault));
    EXPECT_EQ(byDefault->identifier(), QStringLiteral("com.vellacor.tbwindow.defaultWindowButtonGroup"));
    TBWindowButtonGroup *other = TBWindowButtonGroup::groupWithIdentifier(QStringLiteral("other"));
    EXPECT_NE(other, byDefault);
    EXPECT_EQ(other, TBWindowButtonGroup::groupWithIdentifier(QStringLiteral("other")));

    QObject context;
    QList<qint64> posted;
    Bastwick::NotificationCenter::defaultCenter().addObserver(
        &context, TBWindowButtonGroupDidUpdateRolloverStateNotification,
        [&](const Bastwick::Notification &n) {
            posted << qobject_cast<TBWindowButtonGroup *>(n.object.value<QObject *>())->numberOfCaptures();
        });
    other->didReleaseMousePointer(); // already 0
    other->setNumberOfCaptures(-1);
    other->didCaptureMousePointer();
    other->setNumberOfCaptures(1);
    other->didCaptureMousePointer();
    other->resetMouseCaptures();
    EXPECT_EQ(posted, QList<qint64>({1, 2, 0}));

    // A button that is gone hears nothing more, and gives back its capture.
    const int observers = Bastwick::NotificationCenter::defaultCenter().observerCount();
    {
        QWidget parent;
        auto *button = new TBWindowButton(QSize(14, 14), QStringLiteral("other"), &parent);
        EXPECT_EQ(Bastwick::NotificationCenter::defaultCenter().observerCount(), observers + 1);
        sendMouse(&parent, QEvent::MouseMove, QPointF(5, 5), Qt::NoButton);
        EXPECT_TRUE(button->isPointerInside());
        EXPECT_EQ(other->numberOfCaptures(), 1);
    }
    EXPECT_EQ(Bastwick::NotificationCenter::defaultCenter().observerCount(), observers);
    EXPECT_EQ(other->numberOfCaptures(), 0);
    other->didCaptureMousePointer();
    other->resetMouseCaptures();
}

TEST(WindowButton, OverlappingNeighboursStayInRolloverWhileThePointerCrosses)
{
    ShownWindow shown;
    // Like replacement buttons, they sit in the window itself (controls inside the bar
    // view are disabled while the window is not main).
    QWidget *bar = &shown.window;
    Images images;
    // 6 pixels apart: their tracking areas (4 pixels beyond each) overlap.
    auto *left = new TBWindowButton(QSize(14, 14), QStringLiteral("pair"), bar);
    auto *right = new TBWindowButton(QSize(14, 14), QStringLiteral("pair"), bar);
    auto *disabled = new TBWindowButton(QSize(14, 14), QStringLiteral("pair"), bar);
    left->move(100, 4);
    right->move(120, 4);
    disabled->move(300, 4);
    for (TBWindowButton *b : {left, right, disabled})
        images.give(b), b->show();
    disabled->setEnabled(false);
    TBWindowButtonGroup *group = left->group();
    EXPECT_EQ(left->image(), images.active);
    EXPECT_EQ(disabled->image(), images.inactive);

    QList<qint64> counts;
    for (const int x : {90, 112, 117, 130, 160}) {
        sendMouse(bar, QEvent::MouseMove, QPointF(x, 10), Qt::NoButton);
        counts << group->numberOfCaptures();
        if (group->numberOfCaptures() > 0) {
            EXPECT_EQ(left->image(), images.rollover) << x;
            EXPECT_EQ(right->image(), images.rollover) << x;
            EXPECT_EQ(disabled->image(), images.inactive) << "a disabled button never rolls over";
        }
    }
    EXPECT_EQ(counts, QList<qint64>({0, 1, 2, 1, 0}));
    EXPECT_EQ(left->image(), images.active);

    // In a window that is not key the buttons show their not-key image, and still roll
    // over while the pointer is near.
    shown.main = false;
    shown.window.activationStateDidChange();
    EXPECT_EQ(left->image(), images.notKey);
    sendMouse(bar, QEvent::MouseMove, QPointF(105, 10), Qt::NoButton);
    EXPECT_EQ(group->numberOfCaptures(), 1);
    EXPECT_TRUE(left->isPointerInside());
    EXPECT_EQ(right->image(), images.rollover);

    // Full screen hides the buttons and clears the count; leaving shows them again.
    shown.window.toggleFullScreen();
    EXPECT_TRUE(left->isHidden());
    EXPECT_EQ(group->numberOfCaptures(), 0);
    shown.window.toggleFullScreen();
    EXPECT_FALSE(left->isHidden());
}

TEST(WindowButton, TheEndOfALiveResizeClearsTheGroupsCount)
{
    ShownWindow shown;
    QWidget *bar = &shown.window;
    Images images;
    auto *button = new TBWindowButton(QSize(14, 14), QStringLiteral("resized"), bar);
    button->move(100, 4);
    images.give(button);
    button->show();
    TBWindowButtonGroup *group = button->group();
    sendMouse(bar, QEvent::MouseMove, QPointF(105, 10), Qt::NoButton);
    ASSERT_EQ(group->numberOfCaptures(), 1);

    // A drag of the window's corner is a live resize; the pointer left the button while
    // the window moved under it, and no leave was seen.
    TBWindowGrip *corner = nullptr;
    for (TBWindowGrip *grip : shown.window.findChildren<TBWindowGrip *>())
        if (grip->edges() == (Qt::BottomEdge | Qt::RightEdge))
            corner = grip;
    ASSERT_NE(corner, nullptr);
    sendMouse(corner, QEvent::MouseButtonPress, QPointF(3, 3));
    EXPECT_TRUE(LiveResize::instance()->inLiveResize(button));
    sendMouse(corner, QEvent::MouseMove, QPointF(43, 23));
    EXPECT_EQ(group->numberOfCaptures(), 1) << "still counted while the resize goes on";
    sendMouse(corner, QEvent::MouseButtonRelease, QPointF(43, 23), Qt::NoButton);
    EXPECT_FALSE(LiveResize::instance()->inLiveResize(button));
    EXPECT_EQ(group->numberOfCaptures(), 0);
    EXPECT_EQ(button->image(), images.active);
}

TEST(WindowButton, ResizesFromTheWindowSystemEndTheirLiveResizeOnceTheySettle)
{
    ShownWindow shown;
    QWidget *bar = &shown.window;
    auto *button = new TBWindowButton(QSize(14, 14), QStringLiteral("burst"), bar);
    button->move(100, 4);
    button->show();
    TBWindowButtonGroup *group = button->group();
    sendMouse(bar, QEvent::MouseMove, QPointF(105, 10), Qt::NoButton);
    ASSERT_EQ(group->numberOfCaptures(), 1);

    // X11 reports no start or end of a live resize: a burst of resizes from the window
    // system is one, which ends once they stop coming.
    LiveResize *live = LiveResize::instance();
    QStringList told;
    QObject::connect(live, &LiveResize::willStartLiveResize, bar, [&](QWidget *w) {
        if (w == bar)
            told << "start";
    });
    QObject::connect(live, &LiveResize::didEndLiveResize, bar, [&](QWidget *w) {
        if (w == bar)
            told << "end";
    });
    for (const int width : {820, 840, 860}) {
        shown.window.windowHandle()->resize(width, 500);
        ASSERT_TRUE(waitFor([&] { return shown.window.width() == width; }));
        EXPECT_TRUE(live->inLiveResize(button));
        EXPECT_EQ(group->numberOfCaptures(), 1);
    }
    ASSERT_TRUE(waitFor([&] { return !live->inLiveResize(button); }));
    EXPECT_EQ(told, (QStringList{"start", "end"})) << "one live resize for the burst";
    EXPECT_EQ(group->numberOfCaptures(), 0);

    // A size set by the program itself is not the user's live resize.
    shown.window.resize(700, 450);
    EXPECT_FALSE(live->inLiveResize(button));
}

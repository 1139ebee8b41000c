#include <pavisade/forms/XXXSpinningProgressIndicator.h>

#include "support/WaitFor.h"

#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <gtest/gtest.h>

namespace {

QImage render(XXXSpinningProgressIndicator &spinner)
{
    QImage image(spinner.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    spinner.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

TEST(SpinningProgressIndicator, FramesLightTheFinsBackwardsAndFade)
{
    QWidget window;
    auto *spinner = new XXXSpinningProgressIndicator(&window);
    EXPECT_EQ(spinner->numFins(), 12);
    EXPECT_EQ(spinner->framePauseMicroseconds(), 50000);
    spinner->setNumFins(16);
    EXPECT_EQ(spinner->framePauseMicroseconds(), 37500);
    spinner->setNumFins(12);

    spinner->startAnimation();
    ASSERT_TRUE(spinner->isAnimating());
    EXPECT_EQ(spinner->position(), 1);
    EXPECT_EQ(spinner->frameIntervalMs(), 50);

    spinner->updateFrame();
    EXPECT_EQ(spinner->position(), 0) << "the fin lit on the first frame is fin 0";
    EXPECT_DOUBLE_EQ(spinner->finAlpha(0), 1.0);
    EXPECT_DOUBLE_EQ(spinner->finAlpha(5), 0.15) << "idle fins never fall below the minimum";
    spinner->updateFrame();
    EXPECT_EQ(spinner->position(), 11) << "the position wraps";
    EXPECT_DOUBLE_EQ(spinner->finAlpha(0), 0.85);
    EXPECT_DOUBLE_EQ(spinner->finAlpha(11), 1.0);
    EXPECT_NEAR(spinner->finColor(0).alphaF(), 0.85, 0.01);

    // Stopping fades the fins out; the animation ends once every fin is within 0.01 of 0.15.
    spinner->stopAnimation();
    EXPECT_TRUE(spinner->isFadingOut());
    int frames = 0;
    while (spinner->isAnimating() && frames < 100) {
        spinner->updateFrame();
        ++frames;
    }
    EXPECT_FALSE(spinner->isAnimating());
    EXPECT_GT(frames, 5);
    EXPECT_LT(frames, 30);
    EXPECT_EQ(spinner->frameIntervalMs(), 0);
}

TEST(SpinningProgressIndicator, TimerPaceAndVisibility)
{
    QWidget window;
    auto *spinner = new XXXSpinningProgressIndicator(&window);
    spinner->setUsesThreadedAnimation(false);
    spinner->setDisplayedWhenStopped(false);
    EXPECT_TRUE(spinner->isHidden());
    spinner->startAnimation();
    EXPECT_FALSE(spinner->isHidden()) << "shown when the animation starts";
    EXPECT_EQ(spinner->frameIntervalMs(), 50);
    window.show();
    const int start = spinner->position();
    EXPECT_TRUE(waitFor([&] { return spinner->position() != start; }, 2000)) << "the timer drives the frames";

    spinner->setUsesThreadedAnimation(true);
    EXPECT_TRUE(spinner->isAnimating()) << "switching the mode restarts the animation";
    spinner->setNumFins(16);
    spinner->startAnimation();
    spinner->stopAnimation();
    spinner->startAnimation();
    EXPECT_EQ(spinner->frameIntervalMs(), 38) << "threaded pace: 37500 us rounded to whole milliseconds";

    spinner->stopAnimation();
    EXPECT_TRUE(waitFor([&] { return !spinner->isAnimating(); }, 3000));
    EXPECT_TRUE(spinner->isHidden()) << "hidden when the animation ends";
}

TEST(SpinningProgressIndicator, DeterminateModeDrawsRingAndPie)
{
    XXXSpinningProgressIndicator spinner;
    spinner.resize(40, 40);
    spinner.startAnimation();
    spinner.setDoubleValue(10);
    EXPECT_FALSE(spinner.isIndeterminate());
    EXPECT_TRUE(spinner.isFadingOut() || !spinner.isAnimating());

    spinner.stopAnimation();
    while (spinner.isAnimating())
        spinner.updateFrame();
    spinner.startAnimation();
    EXPECT_FALSE(spinner.isAnimating()) << "determinate indicators do not spin";

    struct Case
    {
        double value, max;
        bool rightOfCentreFilled, leftOfCentreFilled;
    };
    const Case cases[] = {
        {100, 100, true, true}, // a value equal to the maximum fills the circle
        {0, 100, false, false}, // zero: the ring alone
        {25, 100, true, false}, // a quarter, clockwise from twelve o'clock
        {50, 0, false, false},  // no maximum: the ring alone, no division
        {50, -5, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << "/" << c.max);
        spinner.setMaxValue(c.max);
        spinner.setDoubleValue(c.value);
        const QImage image = render(spinner);
        EXPECT_GT(qAlpha(image.pixel(20, 1)), 0) << "the ring is always drawn";
        EXPECT_EQ(qAlpha(image.pixel(24, 12)) > 0, c.rightOfCentreFilled);
        EXPECT_EQ(qAlpha(image.pixel(12, 24)) > 0, c.leftOfCentreFilled);
    }
}

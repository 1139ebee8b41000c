#include "HudTestHelpers.h"

#include <kestrune/chrome/hud/HUDButtonCell.h>

#include <QtTest/QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace HudTest;

namespace {

bool isBlue(QRgb pixel)
{
    return qBlue(pixel) > qRed(pixel) + 60;
}

bool isGrey(QRgb pixel)
{
    return std::abs(qRed(pixel) - qBlue(pixel)) <= 2 && std::abs(qRed(pixel) - qGreen(pixel)) <= 2;
}

} // namespace

TEST(HudButtonTest, OnlyTheDefaultPushButtonIsBlue)
{
    struct Case
    {
        HUDButtonCell::ButtonType type;
        bool isDefault;
        bool blue;
    };
    const Case cases[] = {
        {HUDButtonCell::MomentaryPushIn, true, true},
        {HUDButtonCell::MomentaryPushIn, false, false},
        {HUDButtonCell::Radio, true, true},
        {HUDButtonCell::Switch, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.type) << ", default " << c.isDefault);
        HUDButtonCell button(QStringLiteral("OK"));
        button.setButtonType(c.type);
        button.setDefault(c.isDefault);
        button.resize(90, 24);
        EXPECT_EQ(button.drawsBlue(), c.blue);
        const QImage image = shot(button);
        // Inside the pill (or the box), left of the title.
        const QPoint bezel = c.type == HUDButtonCell::Switch ? QPoint(7, 12) : QPoint(10, 12);
        EXPECT_EQ(qAlpha(image.pixel(bezel)), 255);
        EXPECT_EQ(isBlue(image.pixel(bezel)), c.blue);
        EXPECT_EQ(isGrey(image.pixel(bezel)), !c.blue);
    }
}

TEST(HudButtonTest, PressedBezelIsDarkenedTitleIncludedAndDisabledDrawsAtSeventyPercent)
{
    HUDButtonCell button(QStringLiteral("WWW"));
    button.resize(90, 24);
    const QImage up = shot(button);
    button.setDown(true);
    const QImage down = shot(button);
    const QPoint bezel(10, 12);
    EXPECT_NEAR(qGray(down.pixel(bezel)), qGray(up.pixel(bezel)) * 0.7, 2);
    const QRect title(30, 4, 30, 16);
    const int lightUp = countPixels(up, title, isLight);
    EXPECT_GT(lightUp, 10);
    EXPECT_LT(countPixels(down, title, [](QRgb p) { return qGray(p) > 200; }),
              countPixels(up, title, [](QRgb p) { return qGray(p) > 200; }));

    button.setEnabled(false);
    button.setDown(false);
    const QImage disabledUp = shot(button);
    EXPECT_NEAR(qAlpha(disabledUp.pixel(bezel)), 178, 2);
    EXPECT_NEAR(qGray(disabledUp.pixel(bezel)), qGray(up.pixel(bezel)), 2);
    button.setDown(true);
    EXPECT_LT(qGray(shot(button).pixel(bezel)), qGray(disabledUp.pixel(bezel)) - 5);

    // A flat button draws no bezel, so pressing it has nothing to darken.
    HUDButtonCell flat(QStringLiteral("WWW"));
    flat.setFlat(true);
    flat.resize(90, 24);
    const QImage flatUp = shot(flat);
    flat.setDown(true);
    EXPECT_TRUE(shot(flat) == flatUp);
}

TEST(HudButtonTest, TitleIgnoresTheButtonsOwnFont)
{
    HUDButtonCell button(QStringLiteral("HHH"));
    button.resize(120, 40);
    QFont large(QStringLiteral("DejaVu Serif"));
    large.setPixelSize(30);
    button.setFont(large);
    const QImage image = shot(button);
    const auto [first, last] = inkRows(image, QRect(20, 2, 80, 36), [](QRgb p) { return qGray(p) > 200; });
    ASSERT_GE(first, 0);
    // An 11-point capital is about 8 pixels high.
    EXPECT_LE(last - first + 1, 10);
}

TEST(HudButtonTest, CheckmarkPaths)
{
    // The mark's third point takes half of the second point's own y: where the box sits
    // changes the mark's shape.
    struct Case
    {
        QRectF box;
        bool mixed;
        std::vector<QPointF> points;
    };
    const Case cases[] = {
        {{2, 3, 12, 13}, true, {{6, 10}, {10, 10}}},
        {{2, 3, 12, 13}, false, {{14, 3}, {8, 11}, {6, 6}}},
        {{2, 20, 12, 13}, false, {{14, 20}, {8, 28}, {6, 14}}},
    };
    for (const Case &c : cases) {
        const QPainterPath mark = HUDButtonCell::checkmarkPathForRect(c.box, c.mixed);
        ASSERT_EQ(mark.elementCount(), int(c.points.size())) << c.box.y() << c.mixed;
        for (int i = 0; i < mark.elementCount(); ++i)
            EXPECT_EQ(QPointF(mark.elementAt(i)), c.points[size_t(i)])
                << c.box.y() << c.mixed << " point " << i;
    }
}

TEST(HudButtonTest, CheckboxDrawsItsBoxMarkAndTitle)
{
    HUDButtonCell box(QStringLiteral("Wrap"));
    box.setButtonType(HUDButtonCell::Switch);
    box.resize(80, 20);
    EXPECT_EQ(HUDButtonCell::checkboxImageRect(20), QRectF(2, 3, 14, 14));
    const QRect mark(0, 0, 17, 20);
    const QRect title(18, 0, 62, 20);
    const auto markPixels = [](QRgb p) { return qGray(p) > 150 && qAlpha(p) > 150; };

    const QImage off = shot(box);
    EXPECT_EQ(countPixels(off, mark, markPixels), 0);
    EXPECT_GT(countPixels(off, title, isLight), 10);
    EXPECT_EQ(qAlpha(off.pixel(8, 10)), 255); // the dark box

    box.setCheckState(Qt::PartiallyChecked);
    const QImage mixed = shot(box);
    const auto [dashTop, dashBottom] = inkRows(mixed, mark, markPixels);
    ASSERT_GE(dashTop, 0);
    EXPECT_LE(dashBottom - dashTop, 3); // one level stroke across the middle
    EXPECT_NEAR((dashTop + dashBottom) / 2.0, 9.5, 1.5);

    box.setCheckState(Qt::Checked);
    const QImage on = shot(box);
    const auto [checkTop, checkBottom] = inkRows(on, mark, markPixels);
    EXPECT_GE(checkBottom - checkTop, 6); // a check spans most of the box's height
}

TEST(HudButtonTest, ClickingACheckboxCyclesItsStateAndMixedGivesWayToChecked)
{
    HUDButtonCell box(QStringLiteral("Wrap"));
    box.setButtonType(HUDButtonCell::Switch);
    box.resize(80, 20);
    QSignalSpy changes(&box, &HUDButtonCell::checkStateChanged);

    box.setCheckState(Qt::PartiallyChecked);
    EXPECT_FALSE(box.isChecked());
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(8, 10));
    EXPECT_EQ(box.checkState(), Qt::Checked);
    EXPECT_TRUE(box.isChecked());
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(8, 10));
    EXPECT_EQ(box.checkState(), Qt::Unchecked);

    box.setCheckState(Qt::PartiallyChecked);
    box.setChecked(true);
    EXPECT_EQ(box.checkState(), Qt::Checked);
    ASSERT_EQ(changes.size(), 5);
    EXPECT_EQ(changes.at(1).at(0).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_EQ(changes.at(4).at(0).value<Qt::CheckState>(), Qt::Checked);

    // A push button never takes a check state from clicks.
    HUDButtonCell push(QStringLiteral("Go"));
    push.resize(60, 24);
    QTest::mouseClick(&push, Qt::LeftButton);
    EXPECT_FALSE(push.isCheckable());
    EXPECT_EQ(push.checkState(), Qt::Unchecked);
}

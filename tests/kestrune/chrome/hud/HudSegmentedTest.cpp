#include "HudTestHelpers.h"

#include <kestrune/chrome/hud/HUDSegmentedCell.h>

#include <QtTest/QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace HudTest;

namespace {

// A control of three labelled segments.
struct Segments
{
    explicit Segments(int width = 151, int count = 3)
    {
        control.resize(width, 24);
        control.setSegmentCount(count);
        for (int i = 0; i < count; ++i)
            control.setLabel(QStringLiteral("S%1").arg(i), i);
    }
    HUDSegmentedCell control;
};

} // namespace

TEST(HudSegmentedTest, SegmentsShareTheWidthWithADividerAllowanceBetweenThem)
{
    struct Case
    {
        int controlWidth;
        std::vector<qreal> widths;                     // 0: automatic
        std::vector<std::pair<qreal, qreal>> expected; // x, width
    };
    const Case cases[] = {
        {151, {0, 0, 0}, {{0.5, 51}, {51.5, 51}, {102.5, 48}}},
        {151, {40, 0, 0}, {{0.5, 43}, {43.5, 51}, {94.5, 48}}},
        {101, {0, 30}, {{0.5, 51.5}, {52, 30}}},
        {61, {0}, {{0.5, 60}}},
    };
    for (const Case &c : cases) {
        Segments s(c.controlWidth, int(c.widths.size()));
        for (size_t i = 0; i < c.widths.size(); ++i)
            s.control.setWidth(c.widths[i], int(i));
        for (size_t i = 0; i < c.expected.size(); ++i) {
            const QRectF r = s.control.segmentRect(int(i));
            EXPECT_DOUBLE_EQ(r.x(), c.expected[i].first) << c.controlWidth << " segment " << i;
            EXPECT_DOUBLE_EQ(r.width(), c.expected[i].second) << c.controlWidth << " segment " << i;
            EXPECT_DOUBLE_EQ(r.y(), 0.5);
            EXPECT_DOUBLE_EQ(r.height(), 22.0);
        }
    }
    Segments none(151, 0);
    EXPECT_TRUE(none.control.segmentRect(0).isEmpty());
    EXPECT_EQ(none.control.segmentAt({20, 10}), -1);
}

TEST(HudSegmentedTest, NoDividerTouchesTheSelectedSegmentOrFollowsTheLast)
{
    struct Case
    {
        int selected;
        std::vector<bool> dividers;
    };
    const Case cases[] = {
        {-1, {true, true, false}},
        {0, {false, true, false}},
        {1, {false, false, false}},
        {2, {true, false, false}},
    };
    for (const Case &c : cases) {
        Segments s;
        s.control.setSelectedSegment(c.selected);
        const QImage image = shot(s.control);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(s.control.hasDividerAfter(i), c.dividers[size_t(i)]) << c.selected << " after " << i;
            // The dark divider line lies two points left of the segment's right edge.
            const int x = int(std::round(s.control.segmentRect(i).right() - 1.0)) - 1;
            const int y = 16;
            const bool darkLine = qGray(image.pixel(x, y)) < qGray(image.pixel(x - 3, y)) - 3;
            // (A selected segment's own sunken edge is dark there anyway.)
            if (i != c.selected) {
                EXPECT_EQ(darkLine, c.dividers[size_t(i)]) << c.selected << " after " << i;
            }
        }
    }
}

TEST(HudSegmentedTest, NoSegmentsDrawsOnlyThePill)
{
    Segments s(151, 0);
    const QImage image = shot(s.control);
    EXPECT_EQ(qAlpha(image.pixel(75, 12)), 255);
    EXPECT_EQ(countPixels(image, image.rect(), isLight), 0);
}

TEST(HudSegmentedTest, ReleasingInsideAnEnabledSegmentSelectsIt)
{
    Segments s;
    s.control.setEnabled(false, 2);
    QSignalSpy changed(&s.control, &HUDSegmentedCell::selectedSegmentChanged);
    QSignalSpy clicked(&s.control, &HUDSegmentedCell::clicked);
    const QPointF first(20, 10);
    const QPointF second(75, 10);
    const QPointF disabled(130, 10);

    struct Step
    {
        QPointF press;
        QPointF release;
        int selected;
        int changes;
        int clicks;
    };
    const Step steps[] = {
        {second, second, 1, 1, 1},          // a click selects
        {second, second, 1, 1, 2},          // again: a click, no change
        {first, disabled, 1, 1, 2},         // released over a disabled segment
        {second, QPointF(75, 40), 1, 1, 2}, // released outside the control
        {disabled, first, 0, 2, 3},         // the release decides, not the press
    };
    for (const Step &step : steps) {
        sendMouse(&s.control, QEvent::MouseButtonPress, step.press, Qt::LeftButton);
        sendMouse(&s.control, QEvent::MouseButtonRelease, step.release, Qt::NoButton);
        EXPECT_EQ(s.control.selectedSegment(), step.selected);
        EXPECT_EQ(changed.size(), step.changes);
        EXPECT_EQ(clicked.size(), step.clicks);
    }
    EXPECT_EQ(changed.at(0).at(0).toInt(), 1);
    EXPECT_EQ(changed.at(1).at(0).toInt(), 0);
    EXPECT_EQ(clicked.at(2).at(0).toInt(), 0);
}

TEST(HudSegmentedTest, AHeldButtonDarkensTheEnabledSegmentUnderThePointer)
{
    Segments s;
    s.control.setEnabled(false, 2);
    const QImage idle = shot(s.control);
    const QPoint probe1(75, 16);
    const QPoint probe2(130, 16);

    sendMouse(&s.control, QEvent::MouseButtonPress, probe1, Qt::LeftButton);
    QImage held = shot(s.control);
    EXPECT_NEAR(qGray(held.pixel(probe1)), qGray(idle.pixel(probe1)) * 0.7, 2);
    EXPECT_EQ(held.pixel(probe2), idle.pixel(probe2));

    // Dragged over the disabled segment: nothing is darkened.
    sendMouse(&s.control, QEvent::MouseMove, probe2, Qt::LeftButton);
    held = shot(s.control);
    EXPECT_EQ(held.pixel(probe1), idle.pixel(probe1));
    EXPECT_EQ(held.pixel(probe2), idle.pixel(probe2));
    sendMouse(&s.control, QEvent::MouseButtonRelease, probe2, Qt::NoButton);
}

TEST(HudSegmentedTest, ArrowKeysMoveTheSelectionOverDisabledSegments)
{
    Segments s(200, 4);
    s.control.setEnabled(false, 2);
    QSignalSpy changed(&s.control, &HUDSegmentedCell::selectedSegmentChanged);
    struct Step
    {
        Qt::Key key;
        int selected;
    };
    const Step steps[] = {
        {Qt::Key_Right, 0}, {Qt::Key_Right, 1}, {Qt::Key_Right, 3}, {Qt::Key_Right, 3},
        {Qt::Key_Left, 1},  {Qt::Key_Left, 0},  {Qt::Key_Left, 0},
    };
    for (const Step &step : steps) {
        QTest::keyClick(&s.control, step.key);
        EXPECT_EQ(s.control.selectedSegment(), step.selected);
    }
    EXPECT_EQ(changed.size(), 5);
}

TEST(HudSegmentedTest, DisabledSegmentsAreDimmedOnceOnly)
{
    // The middle label's ink: what it adds, premultiplied, to the same control without it.
    const QRect middle(55, 3, 40, 18);
    const auto light = [&](const QImage &image) {
        double sum = 0;
        for (int y = middle.top(); y <= middle.bottom(); ++y)
            for (int x = middle.left(); x <= middle.right(); ++x)
                sum += qGray(image.pixel(x, y)) * qAlpha(image.pixel(x, y)) / 255.0;
        return sum;
    };
    const auto inkOf = [&](bool controlEnabled, bool segmentEnabled) {
        Segments s;
        s.control.setEnabled(controlEnabled);
        s.control.setEnabled(segmentEnabled, 1);
        const double labelled = light(shot(s.control));
        s.control.setLabel(QString(), 1);
        return labelled - light(shot(s.control));
    };
    const double plain = inkOf(true, true);
    ASSERT_GT(plain, 500);
    // Half, give or take the label's shadow: neither full nor dimmed twice.
    EXPECT_NEAR(inkOf(true, false) / plain, 0.5, 0.1);
    // In a disabled control everything is at half opacity, a disabled segment no less.
    EXPECT_NEAR(inkOf(false, false), inkOf(false, true), plain * 0.02);
    Segments disabled;
    disabled.control.setEnabled(false);
    EXPECT_NEAR(qAlpha(shot(disabled.control).pixel(30, 16)), 128, 2);
}

TEST(HudSegmentedTest, SelectedSegmentIsSunkenWithAWhiteLabel)
{
    Segments s;
    const QImage before = shot(s.control);
    s.control.setSelectedSegment(1);
    const QImage after = shot(s.control);
    const QRect label(60, 4, 30, 16);
    const auto white = [](QRgb p) { return qGray(p) > 235; };
    EXPECT_EQ(countPixels(before, label, white), 0); // light grey when not selected
    EXPECT_GT(countPixels(after, label, white), 5);
    // Darker at its bottom than the plain pill, and darker still under its top edge.
    EXPECT_LT(qGray(after.pixel(60, 19)), qGray(before.pixel(60, 19)));
    EXPECT_LT(qGray(after.pixel(60, 2)), qGray(after.pixel(60, 12)));
}

#include "HudTestHelpers.h"

#include <kestrune/chrome/hud/HUDScrollView.h>
#include <kestrune/chrome/hud/HUDTextFieldCell.h>
#include <kestrune/chrome/hud/HUDTextView.h>
#include <kestrune/chrome/hud/HudLightScrollBar.h>

#include <QtWidgets/QLabel>
#include <QtWidgets/QScrollBar>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace HudTest;

TEST(HudTextFieldTest, WellLayersFollowBezelAndBackgroundSettings)
{
    struct Case
    {
        bool bezeled;
        bool drawsBackground;
        int middleAlpha; // the dark fill, away from every edge
        bool shaded;     // shadow along the top edge, light baseline at the bottom
    };
    const Case cases[] = {
        {true, false, 0, true},
        {true, true, 38, true},
        {false, true, 38, false},
        {false, false, 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "bezeled " << c.bezeled << ", background " << c.drawsBackground);
        HUDTextFieldCell field;
        field.resize(120, 24);
        field.setBezeled(c.bezeled);
        field.setDrawsBackground(c.drawsBackground);
        const QImage image = shot(field);
        EXPECT_NEAR(qAlpha(image.pixel(60, 12)), c.middleAlpha, 3);
        const QRgb topEdge = image.pixel(60, 1);
        const QRgb baseline = image.pixel(60, 23);
        if (c.shaded) {
            EXPECT_GT(qAlpha(topEdge), c.middleAlpha + 20);
            EXPECT_LT(qGray(topEdge), 20);
            EXPECT_GT(qGray(baseline), 200);
            EXPECT_NEAR(qAlpha(baseline), 25, 4);
        } else {
            EXPECT_NEAR(qAlpha(topEdge), c.middleAlpha, 3);
            EXPECT_EQ(qAlpha(baseline), 0);
        }
    }
}

TEST(HudTextFieldTest, TextIsWhiteAndCentredInTheWell)
{
    for (const int height : {22, 30}) {
        HUDTextFieldCell field;
        field.resize(120, height);
        field.setText(QStringLiteral("HHHH"));
        const QImage image = shot(field);
        const auto [first, last] = inkRows(image, image.rect(), isLight);
        ASSERT_GE(first, 0) << height;
        // Capital letters sit a little above the middle of the line; the line itself is
        // centred in the well (one point short of the field) and lifted by a point.
        const double inkMiddle = (first + last) / 2.0;
        EXPECT_NEAR(inkMiddle, (height - 1) / 2.0 - 1.0, 2.5) << height;
        EXPECT_GT(countPixels(image, image.rect(), [](QRgb p) { return qGray(p) > 200 && qAlpha(p) > 200; }),
                  5);
    }
}

TEST(HudTextFieldTest, SelectionIsDarkGreyAndADisabledFieldDrawsAtHalfOpacity)
{
    HUDTextFieldCell field;
    field.resize(120, 24);
    field.setDrawsBackground(true);
    field.setText(QStringLiteral("MMMMMM"));
    const QImage enabled = shot(field);

    field.selectAll();
    const QImage selected = shot(field);
    const int grey = countPixels(selected, selected.rect(), [](QRgb p) {
        return qAlpha(p) == 255 && std::abs(qRed(p) - 128) <= 2 && qRed(p) == qGreen(p) &&
               qGreen(p) == qBlue(p);
    });
    EXPECT_GT(grey, 50);
    field.deselect();

    field.setEnabled(false);
    const QImage disabled = shot(field);
    const double ratio = sumAlpha(disabled, disabled.rect()) / sumAlpha(enabled, enabled.rect());
    EXPECT_NEAR(ratio, 0.5, 0.08);
    const auto brightest = [](const QImage &image) {
        int most = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                most = std::max(most, qAlpha(image.pixel(x, y)));
        return most;
    };
    EXPECT_NEAR(brightest(disabled), brightest(enabled) / 2, 15);
}

TEST(HudTextViewTest, WellFollowsTheVisibleAreaAndTextStartsInset)
{
    HUDTextView view;
    view.resize(200, 80);
    view.show();
    (void)QTest::qWaitForWindowExposed(&view);
    EXPECT_EQ(view.font().pixelSize(), 11);
    EXPECT_EQ(view.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(view.cursorRect().top(), 2);
    ASSERT_NE(qobject_cast<HudLightScrollBar *>(view.verticalScrollBar()), nullptr);

    QStringList lines;
    for (int i = 0; i < 60; ++i)
        lines << QStringLiteral("line %1").arg(i);
    view.setPlainText(lines.join(QLatin1Char('\n')));
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    QCoreApplication::processEvents();

    // Wherever the text is scrolled, the baseline lies along the viewport's bottom edge
    // and the edge shadow along its top.
    const QImage image = view.viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    // Probed right of the short lines of text.
    const int x = image.width() - 5;
    const int bottom = image.height() - 1;
    EXPECT_GT(qRed(image.pixel(x, bottom)), qRed(image.pixel(x, bottom - 3)) + 10);
    EXPECT_GT(qAlpha(image.pixel(x, 1)), qAlpha(image.pixel(x, image.height() / 2)) + 20);
}

TEST(HudScrollViewTest, ScrollBarsShowALightKnobOnNoTrack)
{
    HUDScrollView area;
    auto *content = new QLabel(QStringLiteral("tall"));
    content->setFixedSize(150, 900);
    area.setWidget(content);
    area.resize(200, 120);
    area.show();
    (void)QTest::qWaitForWindowExposed(&area);

    auto *bar = qobject_cast<HudLightScrollBar *>(area.verticalScrollBar());
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());
    const QRectF knob = bar->knobRect();
    ASSERT_FALSE(knob.isEmpty());
    EXPECT_DOUBLE_EQ(knob.width(), 6.0);

    const QImage image = shot(*bar);
    const QPoint inKnob = knob.center().toPoint();
    EXPECT_NEAR(qAlpha(image.pixel(inKnob)), 128, 3);
    EXPECT_EQ(qGray(image.pixel(inKnob)), 255);
    // Beside the knob and past its end nothing is drawn.
    EXPECT_EQ(qAlpha(image.pixel(0, inKnob.y())), 0);
    EXPECT_EQ(qAlpha(image.pixel(inKnob.x(), image.height() - 2)), 0);
}

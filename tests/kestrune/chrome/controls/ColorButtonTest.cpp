#include "kestrune/chrome/hud/HudTestHelpers.h"

#include <kestrune/chrome/ChromeClasses.h>
#include <kestrune/chrome/controls/BorderlessLinkButton.h>
#include <kestrune/chrome/controls/ColorButton.h>
#include <kestrune/chrome/controls/KSTArchesWindow.h>
#include <kestrune/chrome/controls/KSTFlatButton.h>

#include <bastwick/platform/ClassRegistry.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace HudTest;
using Kestrune::PaletteColor;

namespace {

// Within two levels per channel of color (clamped as painting clamps it).
bool near(QRgb pixel, const PaletteColor &color)
{
    const QColor c = color.toQColor();
    return std::abs(qRed(pixel) - c.red()) <= 2 && std::abs(qGreen(pixel) - c.green()) <= 2 &&
           std::abs(qBlue(pixel) - c.blue()) <= 2 && qAlpha(pixel) == 255;
}

std::unique_ptr<ColorButton> button(qint32 type, const QString &title = {})
{
    auto b = std::make_unique<ColorButton>(title);
    b->setColorButtonType(type);
    b->resize(100, 30);
    return b;
}

} // namespace

TEST(ColorButtonTest, TypeCodesChooseColourAndTitleColour)
{
    struct Case
    {
        qint32 type;
        PaletteColor color;
        bool blackTitle;
    };
    const Case cases[] = {
        {0, PaletteColor::rgb(0.85f, 0.85f, 0.85f), true},
        {1, PaletteColor::rgb(0.00f, 0.33f, 0.80f), false},
        {2, PaletteColor::rgb(0.18f, 0.59f, 0.71f), false},
        {3, PaletteColor::rgb(0.32f, 0.64f, 0.32f), false},
        {4, PaletteColor::rgb(0.97f, 0.58f, 0.02f), false},
        {5, PaletteColor::rgb(0.74f, 0.21f, 0.18f), false},
        {6, PaletteColor::rgb(0.13f, 0.13f, 0.13f), false},
        // Codes without a colour of their own look like type 0.
        {7, PaletteColor::rgb(0.85f, 0.85f, 0.85f), true},
        {-1, PaletteColor::rgb(0.85f, 0.85f, 0.85f), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type);
        ColorButtonCell cell;
        cell.setColorButtonType(c.type);
        EXPECT_EQ(cell.colorButtonType(), c.type);
        EXPECT_EQ(cell.getColorForButtonType(), c.color);
        EXPECT_EQ(cell.titleColor(), c.blackTitle ? QColor(Qt::black) : QColor(Qt::white));
    }
    EXPECT_EQ(ColorButtonCell().colorButtonType(), 0);
    // An unknown code draws exactly as type 0.
    EXPECT_EQ(shot(*button(42, QStringLiteral("OK"))), shot(*button(0, QStringLiteral("OK"))));
}

TEST(ColorButtonTest, BezelHasADarkerBorderAGradientBodyAndAFlatPressedFill)
{
    const PaletteColor blue = PaletteColor::rgb(0.00f, 0.33f, 0.80f);
    const PaletteColor border = Kestrune::darkenColorByValue(blue, ColorButtonCell::kShadeAmount);
    const auto b = button(1);
    const QImage up = shot(*b);
    EXPECT_TRUE(near(up.pixel(50, 0), border));
    EXPECT_TRUE(near(up.pixel(0, 15), border));
    EXPECT_TRUE(near(up.pixel(50, 29), border));
    // Light at the top, the colour itself at the bottom.
    EXPECT_TRUE(near(up.pixel(50, 28), blue));
    EXPECT_GT(qGreen(up.pixel(50, 2)), qGreen(up.pixel(50, 15)));
    EXPECT_GT(qGreen(up.pixel(50, 15)), qGreen(up.pixel(50, 27)));
    EXPECT_NEAR(qRed(up.pixel(50, 1)), 0.12 * 255, 3);
    // The rounded corner leaves the very corner (nearly) clear.
    EXPECT_LT(qAlpha(up.pixel(0, 0)), 128);

    b->setDown(true);
    const QImage down = shot(*b);
    for (const QPoint p : {QPoint(50, 0), QPoint(50, 2), QPoint(50, 15), QPoint(50, 28), QPoint(2, 15)})
        EXPECT_TRUE(near(down.pixel(p), border)) << p.x() << "," << p.y();

    b->setDown(false);
    b->setEnabled(false);
    EXPECT_NEAR(qAlpha(shot(*b).pixel(50, 15)), 128, 2);
}

TEST(ColorButtonTest, TitleIsCentredInBlackOnLightAndWhiteOnDarkColours)
{
    for (const qint32 type : {0, 3, 6}) {
        SCOPED_TRACE(testing::Message() << "type " << type);
        const auto b = button(type, QStringLiteral("HHHH"));
        const QImage image = shot(*b);
        const bool black = type == 0;
        const auto ink = [black](QRgb p) { return black ? qGray(p) < 60 : qGray(p) > 230; };
        const auto [top, bottom] = inkRows(image, QRect(2, 2, 96, 26), ink);
        ASSERT_GE(top, 0);
        EXPECT_NEAR((top + bottom) / 2.0, 14.5, 2.0);
        // The ink's weight (how far each pixel is from its row's ground) is centred.
        double weight = 0;
        double moment = 0;
        for (int y = 2; y < 28; ++y) {
            const int ground = qGray(image.pixel(4, y));
            for (int x = 4; x < 96; ++x) {
                const int w = std::abs(qGray(image.pixel(x, y)) - ground);
                weight += w;
                moment += w * (x + 0.5);
            }
        }
        ASSERT_GT(weight, 0);
        EXPECT_NEAR(moment / weight, 50.0, 1.5);
    }
}

TEST(ControlClassesTest, StyledControlsAreMadeByTheirNames)
{
    Kestrune::registerControlClasses();
    const auto &registry = Bastwick::ClassRegistry::instance();
    const char *names[] = {"ColorButton",       "ColorButtonCell",           "KSTFlatButton",
                           "KSTFlatButtonCell", "KSTTextButtonCell",         "BorderlessLinkButton",
                           "KSTArchesWindow",   "KSTArchesWindowContentView"};
    for (const char *name : names) {
        std::unique_ptr<QObject> object(registry.createObject(QString::fromLatin1(name)));
        ASSERT_NE(object, nullptr) << name;
        EXPECT_STREQ(object->metaObject()->className(), name);
    }
}

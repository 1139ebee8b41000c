#include "kestrune/chrome/hud/HudTestHelpers.h"

#include <kestrune/chrome/controls/KSTFlatButton.h>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace HudTest;
using Kestrune::PaletteColor;

namespace {

bool near(QRgb pixel, const QColor &color, int tolerance = 2)
{
    return std::abs(qRed(pixel) - color.red()) <= tolerance &&
           std::abs(qGreen(pixel) - color.green()) <= tolerance &&
           std::abs(qBlue(pixel) - color.blue()) <= tolerance && qAlpha(pixel) == 255;
}

QColor scaled(const QColor &color, double factor)
{
    return QColor(int(std::lround(color.red() * factor)), int(std::lround(color.green() * factor)),
                  int(std::lround(color.blue() * factor)));
}

bool isWhiteInk(QRgb pixel)
{
    return qRed(pixel) > 235 && qGreen(pixel) > 235 && qBlue(pixel) > 235;
}

} // namespace

TEST(FlatButtonTest, IsOrangeWithAWhiteTitleAndAVeilWhenPressed)
{
    const QColor orange = Kestrune::zodevarOrangeColor().toQColor();
    KSTFlatButton button(QStringLiteral("HHH"));
    ASSERT_TRUE(button.buttonColor().has_value());
    EXPECT_EQ(*button.buttonColor(), Kestrune::zodevarOrangeColor());
    button.resize(120, 32);
    const QImage up = shot(button);
    EXPECT_TRUE(near(up.pixel(6, 16), orange));
    EXPECT_LT(qAlpha(up.pixel(0, 0)), 128); // rounded corner
    const QRect title(20, 2, 80, 28);
    const int white = countPixels(up, title, isWhiteInk);
    EXPECT_GT(white, 20);

    // 20 % black over fill and title alike.
    button.setDown(true);
    const QImage down = shot(button);
    EXPECT_TRUE(near(down.pixel(6, 16), scaled(orange, 0.8)));
    EXPECT_EQ(countPixels(down, title, isWhiteInk), 0);
    EXPECT_GE(countPixels(down, title, [](QRgb p) { return near(p, QColor(204, 204, 204)); }), white / 2);

    // Disabled, fill and title alike are laid down at half opacity.
    button.setDown(false);
    button.setEnabled(false);
    const QImage off = shot(button);
    EXPECT_NEAR(qAlpha(off.pixel(6, 16)), 128, 2);
    EXPECT_GT(countPixels(off, title, [](QRgb p) { return qAlpha(p) > 0 && qBlue(p) > 240; }), white / 2);
    EXPECT_EQ(countPixels(off, title, [](QRgb p) { return qAlpha(p) > 130; }), 0);
}

TEST(FlatButtonTest, KeepsTheColourItIsGivenAndFillsOrangeWithoutOne)
{
    const PaletteColor green = PaletteColor::rgb(0.2f, 0.6f, 0.3f);
    KSTFlatButton button(QStringLiteral("Go"));
    button.resize(80, 28);
    button.setButtonColor(green);
    button.setToolTip(QStringLiteral("Run it"));
    button.show();
    (void)QTest::qWaitForWindowExposed(&button);
    EXPECT_EQ(button.cell()->buttonColor(), green);
    EXPECT_EQ(button.toolTip(), QStringLiteral("Run it"));
    EXPECT_TRUE(near(shot(button).pixel(5, 14), green.toQColor()));

    // A cell that was never given a colour, and a button whose colour was taken away,
    // fill with the palette's orange.
    EXPECT_FALSE(KSTFlatButtonCell().buttonColor().has_value());
    button.setButtonColor(std::nullopt);
    EXPECT_TRUE(near(shot(button).pixel(5, 14), Kestrune::zodevarOrangeColor().toQColor()));
}

TEST(FlatButtonTest, FlatTitleSitsOnePixelAboveTheTextButtonsCentredTitle)
{
    for (const int height : {24, 31, 40}) {
        SCOPED_TRACE(testing::Message() << "height " << height);
        KSTFlatButton flat(QStringLiteral("HHH"));
        KSTTextButtonCell text(QStringLiteral("HHH"));
        flat.resize(100, height);
        text.resize(100, height);
        const QRect area(0, 0, 100, height);
        // Ink at more than 80 % coverage: white over orange (blue 8), and the text
        // button's steel over a clear ground.
        const auto flatRows = inkRows(shot(flat), area, [](QRgb p) { return qBlue(p) > 206; });
        const auto textRows = inkRows(shot(text), area, [](QRgb p) { return qAlpha(p) > 204; });
        ASSERT_GE(flatRows.first, 0);
        ASSERT_GE(textRows.first, 0);
        EXPECT_EQ(flatRows.first, textRows.first - 1);
        EXPECT_EQ(flatRows.second, textRows.second - 1);
        // The text button's capitals straddle the middle.
        EXPECT_NEAR((textRows.first + textRows.second) / 2.0, height / 2.0, 2.0);
    }
}

TEST(FlatButtonTest, TextButtonDrawsOnlyItsTitleSteelGreyOrDarkGreyWhenPressed)
{
    KSTTextButtonCell button(QStringLiteral("HHH"));
    button.resize(100, 30);
    const auto darkest = [](const QImage &image) {
        QRgb found = qRgba(255, 255, 255, 0);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) == 255 && qGray(image.pixel(x, y)) < qGray(found))
                    found = image.pixel(x, y);
        return found;
    };
    const QImage up = shot(button);
    // Nothing but the title: the rows above and below it and the margins stay clear.
    const auto [top, bottom] = inkRows(up, up.rect(), [](QRgb p) { return qAlpha(p) > 0; });
    ASSERT_GE(top, 0);
    EXPECT_EQ(countPixels(up, QRect(0, 0, 100, top), [](QRgb p) { return qAlpha(p) > 0; }), 0);
    EXPECT_EQ(countPixels(up, QRect(0, bottom + 1, 100, 30), [](QRgb p) { return qAlpha(p) > 0; }), 0);
    EXPECT_EQ(countPixels(up, QRect(0, 0, 20, 30), [](QRgb p) { return qAlpha(p) > 0; }), 0);
    EXPECT_TRUE(near(darkest(up), Kestrune::zodevarSteelColor().toQColor()));

    button.setDown(true);
    EXPECT_TRUE(near(darkest(shot(button)), QColor(68, 68, 68)));
}

#include <kestrune/chrome/ChromeFonts.h>
#include <kestrune/chrome/Palette.h>

#include <QtGui/QFontInfo>

#include <gtest/gtest.h>

using namespace Kestrune;

TEST(PaletteColorTest, LightenAndDarkenAreUnclampedAndOpaque)
{
    struct Case
    {
        PaletteColor color;
        float value;
        bool lighten;
        float red, green, blue;
    };
    const Case cases[] = {
        {PaletteColor::rgb(0.9f, 0.5f, 0.1f, 0.4f), 0.3f, true, 1.2f, 0.8f, 0.4f},
        {PaletteColor::rgb(0.1f, 0.5f, 0.9f), 0.3f, false, -0.2f, 0.2f, 0.6f},
        {PaletteColor::grey(0.5f, 0.5f), 0.12f, true, 0.62f, 0.62f, 0.62f},
        {zodevarOrangeColor(), 0.12f, false, 0.868f, 0.167f, -0.089f},
    };
    for (const Case &c : cases) {
        const PaletteColor result =
            c.lighten ? lightenColorByValue(c.color, c.value) : darkenColorByValue(c.color, c.value);
        SCOPED_TRACE(testing::Message() << c.color.red << (c.lighten ? " + " : " - ") << c.value);
        EXPECT_FLOAT_EQ(result.red, c.red);
        EXPECT_FLOAT_EQ(result.green, c.green);
        EXPECT_FLOAT_EQ(result.blue, c.blue);
        EXPECT_FLOAT_EQ(result.alpha, 1.0f);
        EXPECT_EQ(result.space, PaletteColor::Space::Rgb);
    }
    // Painting clamps; the value itself keeps what was computed.
    const QColor painted = lightenColorByValue(PaletteColor::rgb(0.9f, 0.0f, 0.0f), 0.3f).toQColor();
    EXPECT_EQ(painted.red(), 255);
}

TEST(PaletteColorTest, LightnessIsAboveEightTenths)
{
    struct Case
    {
        PaletteColor color;
        bool light;
    };
    const Case cases[] = {
        {PaletteColor::rgb(0.8f, 0.8f, 0.8f), false},
        {PaletteColor::rgb(0.9f, 0.8f, 0.7f), false},
        {PaletteColor::rgb(1.0f, 0.8f, 0.6f), false},
        {PaletteColor::rgb(0.801f, 0.801f, 0.801f), true},
        {PaletteColor::rgb(1.0f, 1.0f, 0.45f), true},
        // A grey is read by its white alone.
        {PaletteColor::grey(0.8f), false},
        {PaletteColor::grey(0.81f, 0.1f), true},
        {zodevarCellBackgroundColor(), true},
        {zodevarAddTaskBarTopColor(), true},
        {zodevarSteelColor(), false},
        {zodevarOrangeColor(), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.color.red << ' ' << c.color.green << ' ' << c.color.blue
                                        << " grey " << (c.color.space == PaletteColor::Space::Grey));
        EXPECT_EQ(isLightColor(c.color), c.light);
    }
}

TEST(PaletteTest, NamedColours)
{
    EXPECT_EQ(zodevarCellBackgroundColor(), zodevarCellSelectedBackgroundColor());
    EXPECT_EQ(zodevarFilterBarBottomBorderColor(), zodevarBlueColor());
    EXPECT_EQ(zodevarOrangeColor(), PaletteColor::rgb(0.988f, 0.287f, 0.031f));
    EXPECT_EQ(zodevarTextColor().componentCount(), 2);
    EXPECT_FLOAT_EQ(zodevarTextColor().red, 0.267f);
    EXPECT_EQ(zodevarAddTaskBarBottomBorderColor().componentCount(), 4);
    EXPECT_FLOAT_EQ(zodevarAddTaskBarBottomBorderColor().green, 180.0f / 255.0f);
    EXPECT_EQ(zodevarAddTaskBarTopInsetColor().toQColor(), QColor(Qt::white));

    const QBrush arches = zodevarArchesColor();
    EXPECT_EQ(arches.style(), Qt::TexturePattern);
    EXPECT_FALSE(arches.textureImage().isNull());
}

TEST(ChromeFontTest, PointsArePixelsRoundedHalfAwayFromZero)
{
    struct Case
    {
        qreal points;
        int pixels;
    };
    const Case cases[] = {{11.0, 11}, {12.5, 13}, {13.49, 13}, {10.5, 11}, {-2.5, -3}, {0.4, 0}};
    for (const Case &c : cases)
        EXPECT_EQ(pointsToPixels(c.points), c.pixels) << c.points;

    const QFont font = chromeFont(QString::fromLatin1(kKSTRegularFontName), 12.5);
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(chromeFont(QStringLiteral("HelveticaNeue-Bold"), 11).bold());
}

#include "kestrune/chrome/hud/HudTestHelpers.h"

#include <kestrune/chrome/controls/BorderlessLinkButton.h>

#include <QtTest/QSignalSpy>

#include <gtest/gtest.h>

using namespace HudTest;
using Kestrune::PaletteColor;

namespace {

// An opaque pixel of exactly color.
bool isOpaque(QRgb pixel, const PaletteColor &color)
{
    return qAlpha(pixel) == 255 && qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)) == color.toQColor().rgb();
}

void expectColor(const PaletteColor &actual, const PaletteColor &expected)
{
    EXPECT_NEAR(actual.red, expected.red, 1e-6);
    EXPECT_NEAR(actual.green, expected.green, 1e-6);
    EXPECT_NEAR(actual.blue, expected.blue, 1e-6);
    EXPECT_NEAR(actual.alpha, expected.alpha, 1e-6);
}

} // namespace

TEST(LinkButtonTest, DimmedColourIsEachComponentLessTwoTenthsNotBelowZero)
{
    struct Case
    {
        PaletteColor color;
        PaletteColor dimmed;
    };
    const Case cases[] = {
        {BorderlessLinkButton::kDefaultColor, PaletteColor::rgb(0.031373f, 0.149020f, 0.396078f)},
        {PaletteColor::rgb(1, 1, 1), PaletteColor::rgb(0.8f, 0.8f, 0.8f)},
        {PaletteColor::rgb(0, 0, 0), PaletteColor::rgb(0, 0, 0)},
        {PaletteColor::rgb(0.1f, 0.5f, 0.25f, 0.4f), PaletteColor::rgb(0, 0.3f, 0.05f, 0.4f)},
    };
    for (const Case &c : cases) {
        BorderlessLinkButton button;
        button.setColor(c.color);
        expectColor(button.dimmedColor(), c.dimmed);
    }
}

TEST(LinkButtonTest, StartsAsABoldBlueLinkWithItsFontFixedAtCreation)
{
    BorderlessLinkButton button(QStringLiteral("Open docs"));
    EXPECT_EQ(button.color(), BorderlessLinkButton::kDefaultColor);
    EXPECT_EQ(button.fontSize(), 12.0f);
    EXPECT_TRUE(button.dimWhileClicked());
    EXPECT_FALSE(button.isPressed());
    EXPECT_TRUE(button.isFlat());
    EXPECT_TRUE(button.font().bold());
    EXPECT_EQ(button.font().pixelSize(), 13);

    // A later size is stored, and a new title keeps it; the font stays as made.
    button.setFontSize(20.0f);
    button.setTitle(QStringLiteral("Release notes"));
    EXPECT_EQ(button.title(), QStringLiteral("Release notes"));
    EXPECT_EQ(button.fontSize(), 20.0f);
    EXPECT_EQ(button.font().pixelSize(), 13);

    // The title is drawn in the colour; the ground stays clear.
    button.resize(button.sizeHint());
    const QImage image = shot(button);
    EXPECT_GT(countPixels(image, image.rect(),
                          [](QRgb p) { return isOpaque(p, BorderlessLinkButton::kDefaultColor); }),
              20);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}

TEST(LinkButtonTest, TitleDimsWhilePressedAndComesBackOnRelease)
{
    BorderlessLinkButton button(QStringLiteral("Open docs"));
    button.resize(100, 20);
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    const PaletteColor normal = button.color();

    for (const bool dimWhileClicked : {true, false}) {
        SCOPED_TRACE(testing::Message() << "dimWhileClicked " << dimWhileClicked);
        button.setDimWhileClicked(dimWhileClicked);
        QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 10));
        expectColor(button.color(), PaletteColor::rgb(0.031373f, 0.149020f, 0.396078f));
        const QImage image = shot(button);
        const auto inColor = [&image](const PaletteColor &color) {
            return countPixels(image, image.rect(), [&](QRgb p) { return isOpaque(p, color); });
        };
        EXPECT_GT(inColor(button.color()), 20);
        EXPECT_EQ(inColor(normal), 0);
        QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 10));
        EXPECT_EQ(button.color(), normal);
    }
    EXPECT_EQ(clicks.size(), 2);

    // A button disabled while held gets its colour back at once; a disabled button does
    // not dim.
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 10));
    button.setEnabled(false);
    EXPECT_EQ(button.color(), normal);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 10));
    EXPECT_EQ(button.color(), normal);

    // A colour of one's own dims and comes back the same way.
    button.setEnabled(true);
    button.setColor(PaletteColor::rgb(1, 1, 1));
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 10));
    expectColor(button.color(), PaletteColor::rgb(0.8f, 0.8f, 0.8f));
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(50, 10));
    EXPECT_EQ(button.color(), PaletteColor::rgb(1, 1, 1));
}

TEST(LinkButtonTest, PointerIsThePointingHandUnlessAnotherIsGiven)
{
    BorderlessLinkButton button;
    EXPECT_FALSE(button.linkCursor().has_value());
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
    button.setLinkCursor(QCursor(Qt::IBeamCursor));
    EXPECT_EQ(button.cursor().shape(), Qt::IBeamCursor);
    button.setLinkCursor(std::nullopt);
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
}

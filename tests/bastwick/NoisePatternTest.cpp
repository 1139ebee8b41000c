#include <bastwick/NoisePattern.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

TEST(NoisePattern, SameBytesOnEveryCallWithoutTouchingTheProcessGenerator)
{
    // Whatever the process-wide generator was seeded with, the pattern is the same,
    // and drawing it does not move that generator on.
    std::srand(1);
    const QByteArray first = Bastwick::noiseBytes(128, 128, 0.015);
    const int nextAfterNoise = std::rand();
    std::srand(1);
    const int nextWithoutNoise = std::rand();
    EXPECT_EQ(nextAfterNoise, nextWithoutNoise);

    std::srand(99);
    EXPECT_EQ(Bastwick::noiseBytes(128, 128, 0.015), first);
    ASSERT_EQ(first.size(), 128 * 128);

    // The title-bar factor spreads the bytes over 0..3 and uses all four values.
    const auto [low, high] = std::minmax_element(first.begin(), first.end());
    EXPECT_EQ(*low, 0);
    EXPECT_EQ(*high, 3);
    for (char value = 0; value <= 3; ++value)
        EXPECT_GT(std::count(first.begin(), first.end(), value), 1000) << int(value);
}

TEST(NoisePattern, ImageRowsHoldTheBytesAndEmptySizesGiveNothing)
{
    const QByteArray bytes = Bastwick::noiseBytes(5, 3, 1.0);
    const QImage image = Bastwick::noiseImage(5, 3, 1.0);
    ASSERT_EQ(image.size(), QSize(5, 3));
    EXPECT_EQ(image.format(), QImage::Format_Grayscale8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(image.pixelColor(x, y).red(), quint8(bytes[y * 5 + x]));
    // Wider images start with the same sequence: the pattern does not depend on the size.
    EXPECT_EQ(Bastwick::noiseBytes(7, 1, 1.0).left(5), bytes.left(5));

    EXPECT_TRUE(Bastwick::noiseBytes(0, 10, 1.0).isEmpty());
    EXPECT_TRUE(Bastwick::noiseImage(10, -1, 1.0).isNull());
}

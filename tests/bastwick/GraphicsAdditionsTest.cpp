#include <bastwick/ColorAdditions.h>
#include <bastwick/FontAdditions.h>
#include <bastwick/ImageAdditions.h>
#include <bastwick/TextGeometry.h>

#include "support/FileSizeLimit.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <QtCore/QFileInfo>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontInfo>
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>

#include <gtest/gtest.h>

#include <cmath>

using namespace Bastwick;
using TestSupport::LogCapture;
using TestSupport::TempDir;

namespace {

// --- colours ---------------------------------------------------------------------

TEST(ColorAdditionsTest, HexTextsToColours)
{
    struct Case
    {
        const char *text;
        QRgb expected;
    };
    const Case cases[] = {
        {"FF8000", qRgb(255, 128, 0)},
        {"ff8000", qRgb(255, 128, 0)},
        {"#FF8000", qRgb(255, 128, 0)}, // the form colorHexString writes
        {"0xFF8000", qRgb(255, 128, 0)},
        {"#0x2c3135", qRgb(44, 49, 53)},
        {"  2c3135", qRgb(44, 49, 53)},
        {"2c3135 trailing", qRgb(44, 49, 53)},
        {"FF80zz", qRgb(0, 255, 128)},       // digits up to the first other character
        {"1FF8000", qRgb(255, 128, 0)},      // bits above 23 do not count
        {"FFFFFFFFFF", qRgb(255, 255, 255)}, // beyond 32 bits: all ones
        {"80", qRgb(0, 0, 128)},
        {"", qRgb(0, 0, 0)},
        {"zz", qRgb(0, 0, 0)},
        {"0x", qRgb(0, 0, 0)},
        {"##FF8000", qRgb(0, 0, 0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const QColor color = colorWithHexColorString(QString::fromLatin1(c.text));
        ASSERT_TRUE(color.isValid());
        EXPECT_EQ(color.spec(), QColor::Rgb);
        EXPECT_EQ(color.rgba(), c.expected);
        EXPECT_EQ(color.alphaF(), 1.0f);
    }
    EXPECT_EQ(colorWithHexColorString(QString()).rgba(), qRgb(0, 0, 0));
}

TEST(ColorAdditionsTest, ColoursToHexTextsAndBack)
{
    struct Case
    {
        QColor color;
        const char *expected; // null: no text
    };
    const Case cases[] = {
        {Qt::white, "#ffffff"},
        {Qt::black, "#000000"},
        {QColor::fromRgbF(0.5f, 0.25f, 1.0f), "#8040ff"},
        {QColor(127, 63, 255), "#7f3fff"},
        {QColor::fromHsv(0, 255, 255), "#ff0000"},
        {QColor::fromCmykF(0, 1, 1, 0), "#ff0000"},
        {QColor::fromRgbF(1.5f, -0.5f, 0.0f), "#ff0000"}, // extended range is clamped
        {QColor(), nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected ? c.expected : "invalid");
        const QString text = colorHexString(c.color);
        if (c.expected)
            EXPECT_EQ(text, QString::fromLatin1(c.expected));
        else
            EXPECT_TRUE(text.isNull());
    }

    // Every component value reads back as written.
    for (int v = 0; v < 256; ++v) {
        const QString hex = QString::asprintf("#%02x%02x%02x", v, 255 - v, (v * 7) % 256);
        ASSERT_EQ(colorHexString(colorWithHexColorString(hex)), hex);
    }
}

// --- images ----------------------------------------------------------------------

// An 8 x 8 image in four 4 x 4 quadrants: red, green / blue, half-transparent white.
QImage quadrants()
{
    QImage image(8, 8, QImage::Format_ARGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            QRgb pixel;
            if (y < 4)
                pixel = x < 4 ? qRgb(255, 0, 0) : qRgb(0, 255, 0);
            else
                pixel = x < 4 ? qRgb(0, 0, 255) : qRgba(255, 255, 255, 128);
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

bool samePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    const QImage pa = a.convertToFormat(QImage::Format_ARGB32);
    const QImage pb = b.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pa.height(); ++y)
        for (int x = 0; x < pa.width(); ++x)
            if (pa.pixel(x, y) != pb.pixel(x, y))
                return false;
    return true;
}

TEST(ImageAdditionsTest, ConversionsKeepPixelsAndLayout)
{
    const QImage source = quadrants();
    QImage hiDpi = source;
    hiDpi.setDevicePixelRatio(2.0);

    struct Case
    {
        const char *name;
        QImage result;
        QImage expected;
    };
    const Case cases[] = {
        {"imageFromCGImageRef", imageFromCGImageRef(source), source},
        {"nsImageToCGImageRef", nsImageToCGImageRef(source), source},
        {"nsImageToCGImageRef keeps every pixel", nsImageToCGImageRef(hiDpi), source},
        {"cgImage", cgImage(source), source},
        // A 2x image renders at its point size.
        {"cgImage at point size", cgImage(hiDpi), source.scaled(4, 4)},
        {"ciImage flips the rows", ciImage(source), source.mirrored(false, true)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result.format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(c.result.devicePixelRatio(), 1.0);
        EXPECT_TRUE(samePixels(c.result, c.expected));
    }
    EXPECT_EQ(cgImage(hiDpi).size(), QSize(4, 4));
    // The flip maps y to 128 - y: an 8-row image lands at y 120.
    EXPECT_EQ(ciImage(source).offset(), QPoint(0, 120));

    QImage canvas(8, 8, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        const QImage flipped = ciImage(source, &painter);
        EXPECT_EQ(flipped.offset(), QPoint(0, 120));
    }
    EXPECT_TRUE(samePixels(canvas, source.mirrored(false, true)));

    for (const QImage &result :
         {imageFromCGImageRef(QImage()), cgImage(QImage()), nsImageToCGImageRef(QImage()), ciImage(QImage()),
          reSize(QImage(), QSizeF(4, 4))})
        EXPECT_TRUE(result.isNull());
}

TEST(ImageAdditionsTest, ResizesTheWholeImage)
{
    const QImage big = reSize(quadrants(), QSizeF(16, 12));
    ASSERT_EQ(big.size(), QSize(16, 12));
    EXPECT_EQ(big.format(), QImage::Format_ARGB32_Premultiplied);
    // Each quadrant fills its scaled quadrant; look at the middles.
    EXPECT_EQ(big.pixel(4, 3), qRgb(255, 0, 0));
    EXPECT_EQ(big.pixel(12, 3), qRgb(0, 255, 0));
    EXPECT_EQ(big.pixel(4, 9), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(big.pixel(12, 9)), 128);

    const QImage small = reSize(quadrants(), QSizeF(2, 2));
    ASSERT_EQ(small.size(), QSize(2, 2));
    EXPECT_EQ(small.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(small.pixel(1, 0), qRgb(0, 255, 0));

    EXPECT_TRUE(reSize(quadrants(), QSizeF(0, 4)).isNull());
    EXPECT_TRUE(reSize(quadrants(), QSizeF(-3, 4)).isNull());
}

TEST(ImageAdditionsTest, SavesPng)
{
    TempDir dir;
    const QString path = dir.path(QStringLiteral("out.png"));
    EXPECT_TRUE(saveAtPath(quadrants(), path));
    QImage back(path, "PNG");
    ASSERT_FALSE(back.isNull());
    EXPECT_TRUE(samePixels(back, quadrants()));

    LogCapture log;
    const QString nowhere = dir.path(QStringLiteral("missing/out.png"));
    EXPECT_FALSE(saveAtPath(quadrants(), nowhere));
    EXPECT_FALSE(QFileInfo::exists(nowhere));
    EXPECT_TRUE(log.contains(nowhere));

    // An image that does not fit on the disk leaves no cut file behind, and the log
    // says why.
    QImage noise(256, 256, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, seed = seed * 1664525u + 1013904223u);
    const QString big = dir.path(QStringLiteral("big.png"));
    {
        TestSupport::FileSizeLimit limit(8192);
        ASSERT_TRUE(limit.isActive());
        EXPECT_FALSE(saveAtPath(noise, big));
    }
    EXPECT_FALSE(QFileInfo::exists(big));
    EXPECT_TRUE(log.contains(big + QStringLiteral(": ") + TestSupport::FileSizeLimit::reason()));
}

// --- text measurement ------------------------------------------------------------

class TextGeometryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_font = QFont(QStringLiteral("DejaVu Sans"), 12);
        // One line: the font's line spacing, as the layout rounds it.
        m_line = heightForWidth(QStringLiteral("x"), kTextGeometryUnbounded, m_font);
    }
    QFont m_font;
    double m_line = 0;
};

TEST_F(TextGeometryTest, EmptyAndSingleLines)
{
    EXPECT_EQ(sizeForWidth(QString(), 100, 100, m_font), QSizeF(0, 0));
    EXPECT_EQ(heightForWidth(QString(), 100, m_font), 0.0f);
    EXPECT_EQ(widthForHeight(QString(), 100, m_font), 0.0f);

    const QString word = QStringLiteral("Deraz");
    const QFontMetricsF metrics(m_font);
    EXPECT_NEAR(m_line, metrics.height() + metrics.leading(), 1.0);
    EXPECT_EQ(heightForWidth(word, kTextGeometryUnbounded, m_font), m_line);
    const float width = widthForHeight(word, kTextGeometryUnbounded, m_font);
    EXPECT_NEAR(width, QFontMetricsF(m_font).horizontalAdvance(word), 1.0);
    EXPECT_GT(width, 0.0f);
}

TEST_F(TextGeometryTest, WrapsAtTheWidthAndStopsAtTheHeight)
{
    const QString text = QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa");
    const float oneLine = widthForHeight(text, kTextGeometryUnbounded, m_font);
    const float narrow = oneLine / 3;

    const QSizeF wrapped = sizeForWidth(text, narrow, kTextGeometryUnbounded, m_font);
    EXPECT_LE(wrapped.width(), narrow);
    const int lines = int(std::lround(wrapped.height() / m_line));
    EXPECT_GE(lines, 3);
    EXPECT_NEAR(wrapped.height(), lines * m_line, 1.0);
    EXPECT_EQ(heightForWidth(text, narrow, m_font), float(wrapped.height()));

    // Lines beyond the box's height are left out.
    const QSizeF clipped = sizeForWidth(text, narrow, float(2.5 * m_line), m_font);
    EXPECT_NEAR(clipped.height(), 2 * m_line, 1.0);
    EXPECT_EQ(sizeForWidth(text, narrow, float(m_line / 2), m_font).height(), 0.0);

    // Line breaks start new lines.
    const float threeLines = heightForWidth(QStringLiteral("a\nb\nc"), kTextGeometryUnbounded, m_font);
    EXPECT_NEAR(threeLines, 3 * m_line, 1.5);

    // A word longer than the width is broken rather than overflowing.
    const QString longWord(200, QLatin1Char('m'));
    EXPECT_LE(sizeForWidth(longWord, 50, kTextGeometryUnbounded, m_font).width(), 50.0);
}

TEST_F(TextGeometryTest, AttributesAndTheTypesetterSetting)
{
    const QString text = QStringLiteral("spacing");
    QTextCharFormat plain;
    plain.setFont(m_font);
    QTextCharFormat spaced = plain;
    spaced.setFontLetterSpacingType(QFont::AbsoluteSpacing);
    spaced.setFontLetterSpacing(5);
    const float plainWidth = widthForHeight(text, kTextGeometryUnbounded, plain);
    EXPECT_NEAR(plainWidth, widthForHeight(text, kTextGeometryUnbounded, m_font), 0.01);
    EXPECT_NEAR(widthForHeight(text, kTextGeometryUnbounded, spaced), plainWidth + 5 * text.size(), 6.0);

    QFont bigger = m_font;
    bigger.setPointSize(24);
    EXPECT_GT(heightForWidth(text, kTextGeometryUnbounded, bigger),
              heightForWidth(text, kTextGeometryUnbounded, m_font));

    gNSStringTextGeometryTypesetterBehavior = 2;
    const float withSetting = heightForWidth(text, kTextGeometryUnbounded, m_font);
    EXPECT_EQ(gNSStringTextGeometryTypesetterBehavior, -1);
    EXPECT_EQ(withSetting, heightForWidth(text, kTextGeometryUnbounded, m_font));
    gNSStringTextGeometryTypesetterBehavior = 2;
    heightForWidth(QString(), 10, m_font);
    EXPECT_EQ(gNSStringTextGeometryTypesetterBehavior, -1);
}

// --- text with format runs --------------------------------------------------------

QTextLayout::FormatRange run(int start, int length, const QFont &font)
{
    QTextLayout::FormatRange range;
    range.start = start;
    range.length = length;
    range.format.setFont(font);
    return range;
}

TEST_F(TextGeometryTest, RunsMeasureLikeTheirTextsInTheirOwnFonts)
{
    QFont big = m_font;
    big.setPointSize(24);
    const double bigLine = heightForWidth(QStringLiteral("x"), kTextGeometryUnbounded, big);
    ASSERT_GT(bigLine, m_line + 5);

    const QString small = QStringLiteral("small ");
    const QString large = QStringLiteral("LARGE");
    const QString text = small + large;
    const QList<QTextLayout::FormatRange> mixed = {run(0, int(small.size()), m_font),
                                                   run(int(small.size()), int(large.size()), big)};

    // One line: as tall as its tallest run, as wide as its runs side by side.
    const QSizeF size = sizeForWidth(text, mixed, kTextGeometryUnbounded, kTextGeometryUnbounded);
    EXPECT_EQ(size.height(), bigLine);
    EXPECT_NEAR(size.width(),
                widthForHeight(small, kTextGeometryUnbounded, m_font) +
                    widthForHeight(large, kTextGeometryUnbounded, big),
                2.0);
    EXPECT_EQ(heightForWidth(text, mixed, kTextGeometryUnbounded), float(size.height()));
    EXPECT_EQ(widthForHeight(text, mixed, kTextGeometryUnbounded), float(size.width()));

    // Each line takes the height of the runs on it.
    const QString lines = QStringLiteral("tiny\nHUGE\ntiny");
    const QList<QTextLayout::FormatRange> middleBig = {run(0, 5, m_font), run(5, 4, big), run(9, 5, m_font)};
    EXPECT_NEAR(heightForWidth(lines, middleBig, kTextGeometryUnbounded), 2 * m_line + bigLine, 1.0);
    // The height box cuts after the first two lines, whose heights differ.
    EXPECT_NEAR(sizeForWidth(lines, middleBig, kTextGeometryUnbounded, float(m_line + bigLine + 1)).height(),
                m_line + bigLine, 1.0);
    EXPECT_EQ(sizeForWidth(lines, middleBig, kTextGeometryUnbounded, float(m_line + bigLine / 2)).height(),
              m_line);

    // Wrapping at a width: the large run wraps onto lines of its own height.
    const QString words = QStringLiteral("one two three four five six seven eight");
    const QList<QTextLayout::FormatRange> allBig = {run(0, int(words.size()), big)};
    const float narrow = widthForHeight(words, allBig, kTextGeometryUnbounded) / 3;
    const QSizeF wrapped = sizeForWidth(words, allBig, narrow, kTextGeometryUnbounded);
    EXPECT_LE(wrapped.width(), narrow);
    const int wrappedLines = int(std::lround(wrapped.height() / bigLine));
    EXPECT_GE(wrappedLines, 3);
    EXPECT_NEAR(wrapped.height(), wrappedLines * bigLine, 1.0);
}

TEST_F(TextGeometryTest, RunsAgreeWithTheOneFormatForms)
{
    const QString text = QStringLiteral("alpha beta gamma delta epsilon");
    QTextCharFormat spaced;
    spaced.setFont(m_font);
    spaced.setFontLetterSpacingType(QFont::AbsoluteSpacing);
    spaced.setFontLetterSpacing(3);
    QTextLayout::FormatRange whole;
    whole.start = 0;
    whole.length = int(text.size());
    whole.format = spaced;

    for (const float width : {kTextGeometryUnbounded, 80.0f}) {
        EXPECT_EQ(sizeForWidth(text, {whole}, width, kTextGeometryUnbounded),
                  sizeForWidth(text, width, kTextGeometryUnbounded, spaced))
            << width;
    }
    // Without runs, and for what a run leaves unset, the application's default font.
    EXPECT_EQ(sizeForWidth(text, {}, kTextGeometryUnbounded, kTextGeometryUnbounded),
              sizeForWidth(text, kTextGeometryUnbounded, kTextGeometryUnbounded, QFont()));
    QTextLayout::FormatRange boldOnly;
    boldOnly.start = 0;
    boldOnly.length = int(text.size());
    boldOnly.format.setFontWeight(QFont::Bold);
    QFont bold;
    bold.setBold(true);
    EXPECT_EQ(widthForHeight(text, {boldOnly}, kTextGeometryUnbounded),
              widthForHeight(text, kTextGeometryUnbounded, bold));

    // Where runs overlap, the later run's attributes win.
    QFont big = m_font;
    big.setPointSize(30);
    EXPECT_EQ(heightForWidth(text, {run(0, int(text.size()), big), run(0, int(text.size()), m_font)},
                             kTextGeometryUnbounded),
              heightForWidth(text, kTextGeometryUnbounded, m_font));
}

TEST_F(TextGeometryTest, RunsOutsideTheTextAreCutToIt)
{
    const QString text = QStringLiteral("abc def");
    QFont big = m_font;
    big.setPointSize(24);
    const QSizeF expected = sizeForWidth(text, {run(0, 3, big), run(3, 4, m_font)}, kTextGeometryUnbounded,
                                         kTextGeometryUnbounded);

    struct Case
    {
        const char *what;
        QList<QTextLayout::FormatRange> runs;
        bool warned;
    };
    const Case cases[] = {
        {"inside", {run(0, 3, big), run(3, 4, m_font)}, false},
        {"first starts before the text", {run(-5, 8, big), run(3, 4, m_font)}, true},
        {"last ends after the text", {run(0, 3, big), run(3, 400, m_font)}, true},
        {"extra run past the end", {run(0, 3, big), run(3, 4, m_font), run(50, 3, big)}, true},
        {"negative length", {run(0, 3, big), run(3, 4, m_font), run(4, -2, big)}, true},
        {"empty run", {run(0, 3, big), run(3, 4, m_font), run(5, 0, big)}, false},
    };
    for (const Case &c : cases) {
        LogCapture log;
        EXPECT_EQ(sizeForWidth(text, c.runs, kTextGeometryUnbounded, kTextGeometryUnbounded), expected)
            << c.what;
        EXPECT_EQ(log.contains(QStringLiteral("reaches outside a text of 7 characters")), c.warned) << c.what;
    }
}

TEST_F(TextGeometryTest, RunsOnEmptyTextAndTheTypesetterSetting)
{
    const QList<QTextLayout::FormatRange> runs = {run(0, 4, m_font)};
    gNSStringTextGeometryTypesetterBehavior = 1;
    EXPECT_EQ(sizeForWidth(QString(), runs, 100, 100), QSizeF(0, 0));
    EXPECT_EQ(gNSStringTextGeometryTypesetterBehavior, -1);
    EXPECT_EQ(heightForWidth(QString(), runs, 100), 0.0f);
    EXPECT_EQ(widthForHeight(QString(), runs, 100), 0.0f);

    gNSStringTextGeometryTypesetterBehavior = 1;
    EXPECT_EQ(heightForWidth(QStringLiteral("word"), runs, kTextGeometryUnbounded), m_line);
    EXPECT_EQ(gNSStringTextGeometryTypesetterBehavior, -1);
}

} // namespace

namespace {

// The code viewers and the console must draw fixed-pitch text whatever fonts are
// installed: where many are, the system's fixed font may resolve to a proportional face.
TEST(FontAdditions, TheMonospacedFontIsFixedPitchAndPrefersDejaVuSansMono)
{
    ASSERT_TRUE(QFontDatabase::families().contains(QStringLiteral("DejaVu Sans Mono")))
        << "scripts/setup installs it";
    EXPECT_EQ(fixedPitchFamily(), QStringLiteral("DejaVu Sans Mono"));
    const QFont font = monospacedFont();
    const QFontInfo resolved(font);
    EXPECT_TRUE(resolved.fixedPitch()) << qPrintable(resolved.family());
    EXPECT_EQ(resolved.family(), fixedPitchFamily());
    QFont sized = font;
    sized.setPixelSize(13);
    EXPECT_TRUE(QFontInfo(sized).fixedPitch());
}

} // namespace

#include <tolmere/LineNumberMarker.h>
#include <tolmere/LineNumberTextEdit.h>
#include <tolmere/LineNumberView.h>

#include "support/PaintCounter.h"
#include "support/WaitFor.h"

#include <QtCore/QBuffer>
#include <QtCore/QDataStream>
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtGui/QTextBlock>
#include <QtGui/QTextCursor>
#include <QtWidgets/QScrollArea>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString numberedLines(int count)
{
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("line %1").arg(i + 1);
    return lines.join(QLatin1Char('\n'));
}

Tolmere::LineStarts blockStarts(const QTextDocument *document)
{
    Tolmere::LineStarts starts;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        starts.append(block.position());
    return starts;
}

QImage solidImage(const QColor &color, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

TEST(LineNumberView, EditingTheEndOfALongTextRescansOnlyTheEnd)
{
    LineNumberTextEdit edit;
    edit.setPlainText(numberedLines(100000));
    LineNumberView ruler(&edit);
    ASSERT_EQ(edit.verticalRulerView(), &ruler);

    EXPECT_EQ(ruler.lineIndices(), blockStarts(edit.document()));
    const qsizetype afterFullScan = ruler.scannedLineCount();
    EXPECT_EQ(afterFullScan, 100000);

    QTextCursor cursor(edit.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\nmore\nand more"));
    EXPECT_NE(ruler.invalidCharacterIndex(), LineNumberView::kCacheValid);
    EXPECT_EQ(ruler.lineIndices(), blockStarts(edit.document()));
    EXPECT_EQ(ruler.lineIndices().size(), 100002);
    EXPECT_LE(ruler.scannedLineCount() - afterFullScan, 4);

    // Deleting lines in the middle: the cache still equals the blocks, line for line.
    cursor.setPosition(int(ruler.lineIndices().at(500)));
    cursor.setPosition(int(ruler.lineIndices().at(600)), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    EXPECT_EQ(ruler.lineIndices(), blockStarts(edit.document()));
    EXPECT_EQ(ruler.lineNumberForCharacterIndex(ruler.lineIndices().at(700) + 2), 700);
}

TEST(LineNumberView, EditNoticeWithoutAPositionChangesNothing)
{
    LineNumberTextEdit edit;
    edit.setPlainText(QStringLiteral("a\nb"));
    LineNumberView ruler(&edit);
    edit.resize(300, 200);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    ruler.lineIndices();
    ASSERT_EQ(ruler.invalidCharacterIndex(), LineNumberView::kCacheValid);
    ASSERT_TRUE(TestSupport::waitForPostedEvents());

    PaintCounter counter;
    ruler.installEventFilter(&counter);
    ruler.textStorageDidProcessEditing(LineNumberView::kNotFound);
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(ruler.invalidCharacterIndex(), LineNumberView::kCacheValid);
    EXPECT_EQ(counter.paints, 0);

    ruler.textStorageDidProcessEditing(2);
    EXPECT_EQ(ruler.invalidCharacterIndex(), 2);
    EXPECT_TRUE(waitFor([&] { return counter.paints > 0; }));
}

TEST(LineNumberView, ThicknessFollowsTheDigitsOfTheLineCount)
{
    QFont font;
    font.setPixelSize(20);
    const double one = QFontMetricsF(font).horizontalAdvance(QStringLiteral("8"));
    const struct
    {
        qsizetype lines;
        int digits;
    } cases[] = {{0, 1}, {1, 1}, {9, 1}, {10, 2}, {99, 2}, {100, 3}, {123456, 6}};
    for (const auto &c : cases) {
        const double width = QFontMetricsF(font).horizontalAdvance(QString(c.digits, QLatin1Char('8')));
        EXPECT_EQ(LineNumberView::requiredThickness(c.lines, font), std::ceil(qMax(22.0, width + 10.0)))
            << c.lines;
    }
    EXPECT_GT(one + 10.0, 22.0) << "the font must be wide enough to leave the minimum";

    // A small font never goes below 22.
    QFont small;
    small.setPixelSize(6);
    EXPECT_EQ(LineNumberView::requiredThickness(0, small), 22.0);
    EXPECT_EQ(LineNumberView::requiredThickness(9, small), 22.0);
}

TEST(LineNumberView, NewThicknessIsTakenOneTurnLaterAndSmallChangesAreIgnored)
{
    LineNumberTextEdit edit;
    LineNumberView ruler(&edit);
    QFont font;
    font.setPixelSize(20);
    ruler.setFont(font);
    edit.setPlainText(numberedLines(1000));

    const double required = LineNumberView::requiredThickness(1000, font);
    ASSERT_GT(required, 23.0);
    ruler.lineIndices();
    EXPECT_EQ(ruler.ruleThickness(), 22.0) << "not at once";
    EXPECT_TRUE(waitFor([&] { return ruler.ruleThickness() == required; }));
    EXPECT_EQ(ruler.width(), int(required)) << "the editor places the ruler at its new width";
    EXPECT_EQ(edit.viewport()->x(), edit.contentsRect().left() + int(required));

    // Within 1.0 of the required width the ruler keeps its width.
    ruler.setRuleThickness(required - 1.0);
    edit.appendPlainText(QStringLiteral("x"));
    ruler.lineIndices();
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(ruler.ruleThickness(), required - 1.0);
    ruler.setRuleThickness(required - 1.5);
    edit.appendPlainText(QStringLiteral("y"));
    ruler.lineIndices();
    EXPECT_TRUE(waitFor([&] { return ruler.ruleThickness() == required; }));
}

TEST(LineNumberView, MarkersAreKeptByLine)
{
    LineNumberView ruler;
    const QImage image = solidImage(Qt::red, 4);
    auto five = std::make_shared<LineNumberMarker>(&ruler, 5.7, image, QPointF(2, 2));
    EXPECT_EQ(five->lineNumber(), 5u);

    ruler.addMarker(five);
    EXPECT_EQ(ruler.markerAtLine(5), five);
    EXPECT_EQ(ruler.markerAtLine(4), nullptr);
    EXPECT_EQ(ruler.markerAtLine(0), nullptr);

    auto otherFive = std::make_shared<LineNumberMarker>(&ruler, 5, image, QPointF());
    ruler.addMarker(otherFive);
    EXPECT_EQ(ruler.markerAtLine(5), otherFive) << "a second marker replaces the first";

    // Any marker of line 5 removes the one stored there.
    ruler.removeMarker(std::make_shared<LineNumberMarker>(&ruler, 5, QImage(), QPointF()));
    EXPECT_EQ(ruler.markerAtLine(5), nullptr);

    // A plain ruler marker goes to the ruler's own list, never to the line table.
    auto foreign = std::make_shared<RulerMarker>(&ruler, 5.0, image, QPointF());
    ruler.addMarker(foreign);
    EXPECT_EQ(ruler.markers(), QList<std::shared_ptr<RulerMarker>>{foreign});
    EXPECT_EQ(ruler.markerAtLine(5), nullptr);
    EXPECT_EQ(ruler.markerAtLine(6), nullptr);
    ruler.removeMarker(foreign);
    EXPECT_TRUE(ruler.markers().isEmpty());

    ruler.setMarkers({five, foreign, std::make_shared<LineNumberMarker>(&ruler, 2, image, QPointF())});
    EXPECT_EQ(ruler.markerAtLine(5), five);
    EXPECT_NE(ruler.markerAtLine(2), nullptr);
    EXPECT_EQ(ruler.markers().size(), 1);
    ruler.setMarkers({});
    EXPECT_EQ(ruler.markerAtLine(5), nullptr);
    EXPECT_TRUE(ruler.markers().isEmpty());
}

TEST(LineNumberView, MarkedLineShowsItsImageAndItsNumberInTheAlternateColour)
{
    LineNumberTextEdit edit;
    edit.setPlainText(numberedLines(20));
    LineNumberView ruler(&edit);
    QFont font;
    font.setPixelSize(14);
    ruler.setFont(font);
    ruler.setBackgroundColor(Qt::black);
    ruler.setTextColor(Qt::green);
    ruler.setAlternateTextColor(Qt::white);
    ruler.addMarker(std::make_shared<LineNumberMarker>(&ruler, 5, solidImage(Qt::red, 6), QPointF(3, 3)));
    edit.resize(300, 400);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    ASSERT_TRUE(waitFor([&] { return ruler.ruleThickness() > 22.0; }));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());

    const QImage shot = ruler.grab().toImage();
    auto countIn = [&](qsizetype line, const QColor &color) {
        const QRect rect = edit.rectForCharacterIndex(ruler.lineIndices().at(line));
        const int top = rect.top() + ruler.mapFromGlobal(edit.viewport()->mapToGlobal(QPoint())).y();
        int count = 0;
        for (int y = qMax(top, 0); y < qMin(top + rect.height(), shot.height()); ++y) {
            for (int x = 0; x < shot.width() - 1; ++x)
                count += shot.pixelColor(x, y) == color;
        }
        return count;
    };
    EXPECT_GT(countIn(4, Qt::white), 0) << "number of line 5 in the alternate colour";
    EXPECT_GT(countIn(4, Qt::red), 20) << "marker image on line 5";
    EXPECT_EQ(countIn(4, Qt::green), 0);
    EXPECT_GT(countIn(3, Qt::green), 0);
    EXPECT_EQ(countIn(3, Qt::white), 0);
    EXPECT_EQ(countIn(3, Qt::red), 0);
    // The separator runs down the right edge.
    EXPECT_EQ(shot.pixelColor(shot.width() - 1, 1).red(), 148);

    // A click position maps back to the line under it.
    const QRect fifth = edit.rectForCharacterIndex(ruler.lineIndices().at(4));
    const int offset = ruler.mapFromGlobal(edit.viewport()->mapToGlobal(QPoint())).y();
    EXPECT_EQ(ruler.lineNumberForLocation(fifth.center().y() + offset), 5);
    EXPECT_EQ(ruler.lineNumberForLocation(-1000), LineNumberView::kNotFound);
}

TEST(LineNumberView, ClientThatIsNoTextEditorGetsOnlyTheBackground)
{
    QScrollArea area;
    area.setWidget(new QWidget);
    LineNumberView ruler(&area);
    EXPECT_EQ(ruler.clientView(), area.widget());
    ruler.setBackgroundColor(Qt::blue);
    ruler.resize(30, 50);
    ruler.calculateLines();
    EXPECT_TRUE(ruler.lineIndices().isEmpty());
    const QImage shot = ruler.grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(ruler.lineNumberForLocation(5), LineNumberView::kNotFound);
}

TEST(LineNumberView, LookAndMarkersSurviveCoding)
{
    LineNumberView ruler;
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(13);
    ruler.setFont(font);
    ruler.setTextColor(Qt::darkGray);
    ruler.setBackgroundColor(QColor(10, 20, 30));

    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        ruler.encodeWithCoder(out);
    }
    LineNumberView decoded;
    decoded.addMarker(std::make_shared<LineNumberMarker>(&decoded, 3, QImage(), QPointF()));
    {
        QDataStream in(bytes);
        ASSERT_TRUE(decoded.initWithCoder(in));
    }
    EXPECT_EQ(decoded.font(), font);
    EXPECT_EQ(decoded.textColor(), QColor(Qt::darkGray));
    EXPECT_FALSE(decoded.alternateTextColor().isValid()) << "unset stays unset";
    EXPECT_EQ(decoded.backgroundColor(), QColor(10, 20, 30));
    EXPECT_EQ(decoded.markerAtLine(3), nullptr) << "a decoded ruler has no markers";

    // A cut stream is refused and changes nothing.
    LineNumberView untouched;
    untouched.setTextColor(Qt::red);
    QDataStream cut(bytes.left(bytes.size() / 2));
    EXPECT_FALSE(untouched.initWithCoder(cut));
    EXPECT_EQ(untouched.textColor(), QColor(Qt::red));
    EXPECT_FALSE(untouched.font().has_value());

    // Markers: line number and image go through coding and copying.
    LineNumberMarker marker(&ruler, 42, solidImage(Qt::red, 3), QPointF(1, 2));
    QByteArray markerBytes;
    {
        QDataStream out(&markerBytes, QIODevice::WriteOnly);
        marker.encodeWithCoder(out);
    }
    LineNumberMarker back;
    QDataStream in(markerBytes);
    ASSERT_TRUE(back.initWithCoder(in));
    EXPECT_EQ(back.lineNumber(), 42u);
    EXPECT_EQ(back.imageOrigin(), QPointF(1, 2));
    EXPECT_EQ(back.image().pixelColor(1, 1), QColor(Qt::red));
    LineNumberMarker keep(&ruler, 7, QImage(), QPointF());
    QDataStream shortStream(markerBytes.left(markerBytes.size() - 2));
    EXPECT_FALSE(keep.initWithCoder(shortStream));
    EXPECT_EQ(keep.lineNumber(), 7u);

    const auto copy = std::dynamic_pointer_cast<LineNumberMarker>(marker.copy());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->lineNumber(), 42u);
    EXPECT_EQ(copy->ruler(), &ruler);
}

} // namespace

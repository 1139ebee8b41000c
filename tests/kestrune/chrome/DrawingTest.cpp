#include <kestrune/chrome/Drawing.h>

#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <gtest/gtest.h>

using namespace Kestrune;

namespace {

QImage canvas(int width = 60, int height = 60)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

int alphaAt(const QImage &image, int x, int y)
{
    return qAlpha(image.pixel(x, y));
}

QPainterPath rectPath(const QRectF &rect)
{
    QPainterPath path;
    path.addRect(rect);
    return path;
}

} // namespace

TEST(PathConversionTest, ElementsBecomeTheSameSegments)
{
    using Kind = PathElement::Kind;
    const QPainterPath path = pathWithElements({
        {Kind::MoveTo, {{0, 0}}},
        {Kind::QuadTo, {{30, 60}, {60, 0}}},
        {Kind::LineTo, {{60, 30}}},
        {Kind::CurveTo, {{50, 40}, {10, 40}, {0, 30}}},
        {Kind::Close, {}},
        {Kind::QuadTo, {{3, 3}, {6, 0}}},
        {Kind::LineTo, {}},
    });
    struct Expected
    {
        QPainterPath::ElementType type;
        QPointF point;
    };
    const Expected expected[] = {
        // The quadratic from (0, 0) over (30, 60) to (60, 0): (P + 2Q) / 3, (E + 2Q) / 3.
        {QPainterPath::MoveToElement, {0, 0}},
        {QPainterPath::CurveToElement, {20, 40}},
        {QPainterPath::CurveToDataElement, {40, 40}},
        {QPainterPath::CurveToDataElement, {60, 0}},
        {QPainterPath::LineToElement, {60, 30}},
        {QPainterPath::CurveToElement, {50, 40}},
        {QPainterPath::CurveToDataElement, {10, 40}},
        {QPainterPath::CurveToDataElement, {0, 30}},
        // Closing goes back to the start, where the next quadratic begins.
        {QPainterPath::LineToElement, {0, 0}},
        {QPainterPath::MoveToElement, {0, 0}},
        {QPainterPath::CurveToElement, {2, 2}},
        {QPainterPath::CurveToDataElement, {4, 2}},
        {QPainterPath::CurveToDataElement, {6, 0}},
    };
    ASSERT_EQ(path.elementCount(), int(std::size(expected)));
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        EXPECT_EQ(e.type, expected[i].type) << i;
        EXPECT_DOUBLE_EQ(e.x, expected[i].point.x()) << i;
        EXPECT_DOUBLE_EQ(e.y, expected[i].point.y()) << i;
    }
    // The cubic traces the quadratic: its middle lies at (P + 2Q + E) / 4.
    EXPECT_NEAR(path.pointAtPercent(0.0).x(), 0.0, 1e-9);
    const QPointF mid =
        QPainterPath(pathWithElements({{Kind::MoveTo, {{0, 0}}}, {Kind::QuadTo, {{30, 60}, {60, 0}}}}))
            .pointAtPercent(0.5);
    EXPECT_NEAR(mid.x(), 30.0, 1e-6);
    EXPECT_NEAR(mid.y(), 30.0, 1e-6);
}

TEST(InnerShadowTest, CastsInwardFromTheEdgesOnly)
{
    QImage image = canvas();
    {
        QPainter painter(&image);
        fillWithInnerShadow(painter, rectPath(QRectF(10, 10, 40, 40)),
                            Shadow{QPointF(0, 4), 4.0, QColor(0, 0, 0, 255)});
    }
    // Nothing outside the shape, nothing deep inside it.
    EXPECT_EQ(alphaAt(image, 5, 30), 0);
    EXPECT_EQ(alphaAt(image, 30, 55), 0);
    EXPECT_EQ(alphaAt(image, 30, 35), 0);
    // Offset downwards: the shadow hangs from the top edge, stronger than at the bottom.
    EXPECT_GT(alphaAt(image, 30, 11), 150);
    EXPECT_GT(alphaAt(image, 30, 11), alphaAt(image, 30, 48) + 100);
    EXPECT_GT(alphaAt(image, 30, 12), alphaAt(image, 30, 16));
    // The sides get a softer shadow of their own.
    EXPECT_GT(alphaAt(image, 10, 30), 0);
    EXPECT_EQ(qRed(image.pixel(30, 11)), 0);
}

TEST(InnerShadowTest, KeepsTheCallersClip)
{
    QImage image = canvas();
    {
        QPainter painter(&image);
        painter.setClipRect(QRect(0, 0, 60, 30));
        fillWithInnerShadow(painter, rectPath(QRectF(10, 10, 40, 40)),
                            Shadow{QPointF(0, 0), 3.0, QColor(0, 0, 0, 255)});
        EXPECT_EQ(painter.clipBoundingRect(), QRectF(0, 0, 60, 30));
    }
    EXPECT_GT(alphaAt(image, 30, 10), 0);
    EXPECT_EQ(alphaAt(image, 30, 49), 0);
}

TEST(BlurTest, SoftensTheShapeWithinItsRadius)
{
    QImage image = canvas();
    {
        QPainter painter(&image);
        drawBlurWithColor(painter, rectPath(QRectF(20, 20, 20, 20)), QColor(255, 0, 0), 6.0);
    }
    const QRgb centre = image.pixel(30, 30);
    EXPECT_GT(qAlpha(centre), 240);
    EXPECT_EQ(qRed(centre), qAlpha(centre));
    EXPECT_EQ(qGreen(centre), 0);
    // Soft on both sides of the edge, nothing past the radius.
    EXPECT_GT(alphaAt(image, 17, 30), 0);
    EXPECT_LT(alphaAt(image, 17, 30), alphaAt(image, 22, 30));
    EXPECT_LT(alphaAt(image, 22, 30), 240);
    EXPECT_EQ(alphaAt(image, 13, 30), 0);
    EXPECT_EQ(alphaAt(image, 30, 47), 0);
}

TEST(StrokeInsideTest, ShowsThePensWidthInsideForEveryJoin)
{
    // A triangle: a sharp corner is where a miter would poke out of the shape.
    QPainterPath triangle;
    triangle.moveTo(10, 50);
    triangle.lineTo(30, 5);
    triangle.lineTo(50, 50);
    triangle.closeSubpath();
    for (const Qt::PenJoinStyle join : {Qt::MiterJoin, Qt::BevelJoin, Qt::RoundJoin}) {
        SCOPED_TRACE(testing::Message() << "join " << int(join));
        QImage image = canvas();
        {
            QPainter painter(&image);
            painter.setClipRect(QRect(0, 0, 10, 10)); // replaced, not kept
            QPen pen(Qt::blue, 3.0);
            pen.setJoinStyle(join);
            painter.setPen(pen);
            strokeInside(painter, triangle);
            EXPECT_EQ(painter.pen().widthF(), 3.0);
        }
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (alphaAt(image, x, y) > 0 && !triangle.intersects(QRectF(x, y, 1, 1)))
                    ADD_FAILURE() << "painted outside at " << x << ',' << y;
        // The base's inner band is painted about the pen's width deep, the middle is not.
        EXPECT_GT(alphaAt(image, 30, 48), 200);
        EXPECT_EQ(alphaAt(image, 30, 44), 0);
        EXPECT_EQ(alphaAt(image, 30, 35), 0);
    }
}

TEST(StrokeInsideTest, WithinRectNarrowsOnlyWhenItHasArea)
{
    const QPainterPath square = rectPath(QRectF(10, 10, 40, 40));
    struct Case
    {
        QRectF within;
        bool topPainted;
        bool bottomPainted;
    };
    const Case cases[] = {
        {QRectF(0, 0, 60, 30), true, false},
        {QRectF(0, 0, 60, 0), true, true},
        {QRectF(), true, true},
    };
    for (const Case &c : cases) {
        QImage image = canvas();
        {
            QPainter painter(&image);
            painter.setPen(QPen(Qt::black, 2.0));
            strokeInsideWithinRect(painter, square, c.within);
        }
        EXPECT_EQ(alphaAt(image, 30, 10) > 0, c.topPainted) << c.within.height();
        EXPECT_EQ(alphaAt(image, 30, 49) > 0, c.bottomPainted) << c.within.height();
        EXPECT_EQ(alphaAt(image, 30, 9), 0);
    }
}

TEST(StretchableImageTest, CapsKeepTheirWidthAtTheRectanglesOrigin)
{
    // A 12-pixel image: 3 red, 6 green, 3 blue.
    QImage source(12, 4, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 4; ++y)
            source.setPixel(x, y, x < 3 ? qRgb(255, 0, 0) : x < 9 ? qRgb(0, 255, 0) : qRgb(0, 0, 255));
    QImage image = canvas();
    {
        QPainter painter(&image);
        drawStretchableImageInRect(painter, source, QRectF(10, 20, 40, 8), 3);
    }
    struct Probe
    {
        int x;
        int y;
        QRgb colour;
    };
    const Probe probes[] = {{10, 20, qRgb(255, 0, 0)}, {12, 27, qRgb(255, 0, 0)}, {13, 24, qRgb(0, 255, 0)},
                            {46, 24, qRgb(0, 255, 0)}, {47, 24, qRgb(0, 0, 255)}, {49, 27, qRgb(0, 0, 255)}};
    for (const Probe &p : probes)
        EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << p.x << ',' << p.y;
    EXPECT_EQ(alphaAt(image, 9, 24), 0);
    EXPECT_EQ(alphaAt(image, 50, 24), 0);
    EXPECT_EQ(alphaAt(image, 30, 19), 0);
    EXPECT_EQ(alphaAt(image, 30, 28), 0);
    EXPECT_EQ(alphaAt(image, 1, 1), 0);
}

TEST(GradientForAngleTest, EndsMeetTheFarCorners)
{
    const QRectF rect(10, 20, 100, 40);
    struct Case
    {
        qreal angle;
        QPointF start;
        QPointF end;
    };
    const Case cases[] = {
        {0, {10, 40}, {110, 40}},
        {90, {60, 20}, {60, 60}},
        {180, {110, 40}, {10, 40}},
        // y grows downwards: 270 starts at the bottom.
        {270, {60, 60}, {60, 20}},
    };
    const QGradientStops stops{{0.0, Qt::black}, {1.0, Qt::white}};
    for (const Case &c : cases) {
        const QLinearGradient g = gradientForAngle(rect, c.angle, stops);
        EXPECT_NEAR(g.start().x(), c.start.x(), 1e-9) << c.angle;
        EXPECT_NEAR(g.start().y(), c.start.y(), 1e-9) << c.angle;
        EXPECT_NEAR(g.finalStop().x(), c.end.x(), 1e-9) << c.angle;
        EXPECT_NEAR(g.finalStop().y(), c.end.y(), 1e-9) << c.angle;
        EXPECT_EQ(g.stops(), stops);
    }
    // At 45 degrees the top-left and bottom-right corners sit on the two ends.
    const QLinearGradient diagonal = gradientForAngle(rect, 45, stops);
    const QPointF axis = diagonal.finalStop() - diagonal.start();
    const auto along = [&](QPointF p) {
        const QPointF d = p - diagonal.start();
        return (d.x() * axis.x() + d.y() * axis.y()) / (axis.x() * axis.x() + axis.y() * axis.y());
    };
    EXPECT_NEAR(along(rect.topLeft()), 0.0, 1e-9);
    EXPECT_NEAR(along(rect.bottomRight()), 1.0, 1e-9);
}

TEST(PathWithStrokeWidthTest, CoversTheLineOfThatWidthOnly)
{
    QPainterPath line;
    line.moveTo(0, 10);
    line.lineTo(40, 10);
    QPainterPath corner;
    corner.moveTo(0, 0);
    corner.lineTo(20, 0);
    corner.lineTo(20, 20);
    const QPainterPath square = rectPath(QRectF(10, 10, 20, 20));

    struct Case
    {
        const char *name;
        QPainterPath path;
        qreal width;
        std::vector<QPointF> inside;
        std::vector<QPointF> outside;
    };
    const std::vector<Case> cases{
        // Centred on the line, ends cut square at the end points.
        {"line",
         line,
         6,
         {{20, 12.5}, {20, 7.5}, {0.5, 10}, {39.5, 10}},
         {{20, 13.5}, {20, 6.5}, {-1, 10}, {41, 10}}},
        // The outer corner is mitred, not cut off.
        {"corner", corner, 4, {{21.5, -1.5}, {10, 1.5}, {18.5, 10}}, {{22.5, 10}, {10, -2.5}, {10, 10}}},
        // A closed shape gives a ring: the inside of the shape stays uncovered.
        {"square", square, 4, {{10, 20}, {8.5, 20}, {11.5, 20}, {30, 30}}, {{20, 20}, {13, 20}, {7, 20}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QPainterPath stroke = pathWithStrokeWidth(c.path, c.width);
        for (const QPointF &p : c.inside)
            EXPECT_TRUE(stroke.contains(p)) << p.x() << "," << p.y();
        for (const QPointF &p : c.outside)
            EXPECT_FALSE(stroke.contains(p)) << p.x() << "," << p.y();
    }
    EXPECT_EQ(pathWithStrokeWidth(line, 6).boundingRect(), QRectF(0, 7, 40, 6));

    // Nothing to cover.
    EXPECT_TRUE(pathWithStrokeWidth(line, 0).isEmpty());
    EXPECT_TRUE(pathWithStrokeWidth(line, -2).isEmpty());
    EXPECT_TRUE(pathWithStrokeWidth(QPainterPath(), 5).isEmpty());
}

#include <tolmere/HoverTableView.h>
#include <tolmere/OSXBadgeTextFieldCell.h>

#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtWidgets/QTableView>

#include <gtest/gtest.h>

namespace {

TEST(OSXBadgeTextFieldCell, CapsuleGeometry)
{
    const QRectF frame(10, 20, 100, 20);
    const QRectF bounds = OSXBadgeTextFieldCell::resultingBoundsWithCellFrame(frame);
    EXPECT_EQ(bounds, QRectF(11, 21, 98, 18));

    // An empty value: a circle as high as the bounds at their right edge.
    OSXBadgeTextFieldCell empty;
    EXPECT_EQ(empty.badgeBackgroundRectWithResultingBounds(bounds), QRectF(91, 21, 18, 18));

    // A value: radius 9 on both sides of the text, right-aligned.
    OSXBadgeTextFieldCell cell(QStringLiteral("42"));
    const double width = cell.badgeValueSize().width();
    EXPECT_GT(width, 8.0);
    const QRectF capsule = cell.badgeBackgroundRectWithResultingBounds(bounds);
    EXPECT_DOUBLE_EQ(capsule.width(), 18.0 + width);
    EXPECT_DOUBLE_EQ(capsule.right(), bounds.right());
    EXPECT_EQ(capsule.height(), 18.0);
    const QRectF value = cell.badgeValueRectWithResultingBounds(bounds);
    EXPECT_DOUBLE_EQ(value.x(), capsule.x() + 9.0);
    EXPECT_DOUBLE_EQ(value.y(), 21.0 + (18.0 - cell.badgeValueSize().height()) * 0.5 - 1.0);

    // A value wider than the cell starts left of it; nothing is cut.
    OSXBadgeTextFieldCell wide(QStringLiteral("1234567890123456789"));
    const QRectF narrow = OSXBadgeTextFieldCell::resultingBoundsWithCellFrame(QRectF(50, 0, 30, 20));
    EXPECT_LT(wide.badgeBackgroundRectWithResultingBounds(narrow).left(), narrow.left());
    EXPECT_DOUBLE_EQ(wide.badgeValueRectWithResultingBounds(narrow).width(), wide.badgeValueSize().width());
}

TEST(OSXBadgeTextFieldCell, BackgroundStyleSwapsFillAndTextColours)
{
    OSXBadgeTextFieldCell cell(QString(), OSXBadgeTextFieldCell::BackgroundStyleLight);
    auto draw = [&] {
        QImage image(60, 20, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(40, 40, 40));
        QPainter painter(&image);
        cell.drawWithFrame(&painter, QRectF(0, 0, 60, 20));
        return image;
    };
    // The middle of the empty badge (a circle at the right) shows the fill.
    EXPECT_EQ(draw().pixel(50, 10), QColor::fromRgbF(0.596f, 0.647f, 0.702f).rgb());
    EXPECT_EQ(cell.textColor(), QColor(Qt::white));
    cell.setBackgroundStyle(OSXBadgeTextFieldCell::BackgroundStyleDark);
    EXPECT_EQ(draw().pixel(50, 10), QColor(Qt::white).rgb());
    EXPECT_EQ(cell.textColor(), QColor::fromRgbF(0.444f, 0.483f, 0.529f));
}

TEST(OSXBadgeTextFieldCellDelegate, SelectedMeansDarkUnlessTheViewDrawsLight)
{
    QStyleOptionViewItem option;
    EXPECT_EQ(OSXBadgeTextFieldCellDelegate::backgroundStyle(option),
              OSXBadgeTextFieldCell::BackgroundStyleLight);
    option.state |= QStyle::State_Selected;
    EXPECT_EQ(OSXBadgeTextFieldCellDelegate::backgroundStyle(option),
              OSXBadgeTextFieldCell::BackgroundStyleDark);
    QTableView plain;
    option.widget = &plain;
    EXPECT_EQ(OSXBadgeTextFieldCellDelegate::backgroundStyle(option),
              OSXBadgeTextFieldCell::BackgroundStyleDark);
    HoverTableView hover;
    option.widget = &hover;
    EXPECT_EQ(OSXBadgeTextFieldCellDelegate::backgroundStyle(option),
              OSXBadgeTextFieldCell::BackgroundStyleLight);
}

} // namespace

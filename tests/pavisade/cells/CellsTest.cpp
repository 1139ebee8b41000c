#include <pavisade/cells/ImageAndTextCell.h>
#include <pavisade/cells/SeparatorCell.h>

#include <QtGui/QPainter>
#include <QtGui/QStandardItemModel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTableView>

#include <gtest/gtest.h>

namespace {

TEST(ImageAndTextCell, TextAreaAndDrawingFrames)
{
    struct Case
    {
        qreal imageWidth;
        QRectF title, image, text;
    };
    const QRectF bounds(0, 0, 100, 20);
    const Case cases[] = {
        {0, QRectF(5, 2, 97, 16), QRectF(), QRectF(0, 0, 100, 20)},
        {16, QRectF(21, 2, 81, 16), QRectF(0, 1, 16, 16), QRectF(16, 0, 84, 20)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.imageWidth);
        EXPECT_EQ(ImageAndTextCell::titleRectForBounds(bounds, c.imageWidth), c.title);
        if (c.imageWidth > 0) {
            EXPECT_EQ(ImageAndTextCell::imageRectForBounds(bounds, QSizeF(16, 16)), c.image);
        }
        EXPECT_EQ(ImageAndTextCell::textFrameForBounds(bounds, c.imageWidth, false, 14), c.text);
    }
    // A group cell's text is centred on its height: floor((20 - 13) / 2) = 3.
    EXPECT_EQ(ImageAndTextCell::textFrameForBounds(bounds, 0, true, 13), QRectF(0, 3, 100, 14));

    QImage image(16, 16, QImage::Format_ARGB32);
    EXPECT_TRUE(ImageAndTextCell::isGroupCell(QImage(), "Group"));
    EXPECT_FALSE(ImageAndTextCell::isGroupCell(QImage(), ""));
    EXPECT_FALSE(ImageAndTextCell::isGroupCell(image, "Key"));
}

TEST(ImageAndTextCell, SizeEditorPlaceAndCopy)
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), "name");
    QTableView table;
    table.setModel(&model);
    ImageAndTextCell cell;
    QStyledItemDelegate plain;
    QStyleOptionViewItem option;
    option.initFrom(&table);
    option.rect = QRect(0, 0, 100, 20);

    const QSize base = plain.sizeHint(option, model.index(0, 0));
    EXPECT_EQ(cell.sizeHint(option, model.index(0, 0)).width(), base.width() + 3);

    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    cell.setImage(image);
    EXPECT_EQ(cell.sizeHint(option, model.index(0, 0)).width(), base.width() + 16 + 3);

    QLineEdit editor;
    cell.updateEditorGeometry(&editor, option, model.index(0, 0));
    EXPECT_EQ(editor.geometry(), QRect(21, 2, 81, 16));

    std::unique_ptr<ImageAndTextCell> copy(cell.copy());
    EXPECT_EQ(copy->image(), image);

    // The image is drawn at (0, 1) at its own size, and only its column gets the background.
    option.backgroundBrush = QBrush(Qt::blue);
    QImage canvas(100, 20, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        cell.paint(&painter, option, model.index(0, 0));
    }
    EXPECT_EQ(canvas.pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(8, 0), QColor(Qt::blue));
    EXPECT_EQ(canvas.pixelColor(8, 18), QColor(Qt::blue)); // slice below the image
}

TEST(SeparatorCell, TwoToneRuleAndNoEditor)
{
    const auto lines = SeparatorCell::separatorLines(QRectF(0, 0, 120, 20));
    EXPECT_EQ(lines[0], QRectF(0, 9.5, 120, 1));
    EXPECT_EQ(lines[1], QRectF(0, 10.5, 120, 1));
    const auto colors = SeparatorCell::separatorColors();
    EXPECT_NEAR(colors[0].blueF(), 0.898, 0.01);
    EXPECT_NEAR(colors[0].alphaF(), 0.6, 0.01);
    EXPECT_EQ(colors[1].alphaF(), 1.0);

    SeparatorCell cell;
    QTableView table;
    QStyleOptionViewItem option;
    EXPECT_EQ(cell.createEditor(table.viewport(), option, QModelIndex()), nullptr);

    option.rect = QRect(0, 0, 40, 20);
    QImage canvas(40, 20, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        cell.paint(&painter, option, QModelIndex());
    }
    EXPECT_EQ(canvas.pixelColor(5, 2).alpha(), 0); // no background, no text
    EXPECT_GT(canvas.pixelColor(5, 10).alpha(), 0);
}

} // namespace

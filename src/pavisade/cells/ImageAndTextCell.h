#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtGui/QImage>
#include <QtWidgets/QStyledItemDelegate>

// A table or tree cell showing a small image at its left edge and the text beside it.
// The image is the item's decoration when it has one, else the cell's `image`. A cell
// without an image and with text is a group cell: its text is centred vertically.
// Editing covers only the text area. Main thread.
class PAVISADE_EXPORT ImageAndTextCell : public QStyledItemDelegate
{
    Q_OBJECT
    Q_PROPERTY(QImage image READ image WRITE setImage)

public:
    Q_INVOKABLE explicit ImageAndTextCell(QObject *parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage &image) { m_image = image; }
    // A new cell with the same image.
    ImageAndTextCell *copy(QObject *parent = nullptr) const;

    // Geometry for an image of the given width or size (0 or empty: no image).
    static bool isGroupCell(const QImage &image, const QString &title);
    // The text area: a slice of image width + 3 cut from the left, then 2 in from the
    // left and top and 4 less high.
    static QRectF titleRectForBounds(const QRectF &bounds, qreal imageWidth);
    // Where the image is drawn: at the frame's left, 1 down, at its own size.
    static QRectF imageRectForBounds(const QRectF &frame, const QSizeF &imageSize);
    // The frame the text is drawn in: right of the image, or centred vertically on
    // the text's height for a group cell.
    static QRectF textFrameForBounds(const QRectF &frame, qreal imageWidth, bool groupCell, qreal textHeight);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QImage imageFor(const QModelIndex &index) const;

    QImage m_image;
};

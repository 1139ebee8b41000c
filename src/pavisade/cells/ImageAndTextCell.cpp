#include <pavisade/cells/ImageAndTextCell.h>

#include <QtGui/QIcon>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>

#include <cmath>

ImageAndTextCell::ImageAndTextCell(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

ImageAndTextCell *ImageAndTextCell::copy(QObject *parent) const
{
    auto *cell = new ImageAndTextCell(parent);
    cell->setImage(m_image);
    return cell;
}

bool ImageAndTextCell::isGroupCell(const QImage &image, const QString &title)
{
    return image.isNull() && !title.isEmpty();
}

QRectF ImageAndTextCell::titleRectForBounds(const QRectF &bounds, qreal imageWidth)
{
    const qreal slice = imageWidth + 3;
    const QRectF rest(bounds.x() + slice, bounds.y(), std::max<qreal>(0, bounds.width() - slice),
                      bounds.height());
    return QRectF(rest.x() + 2, rest.y() + 2, rest.width(), rest.height() - 4);
}

QRectF ImageAndTextCell::imageRectForBounds(const QRectF &frame, const QSizeF &imageSize)
{
    return QRectF(QPointF(frame.x(), frame.y() + 1), imageSize);
}

QRectF ImageAndTextCell::textFrameForBounds(const QRectF &frame, qreal imageWidth, bool groupCell,
                                            qreal textHeight)
{
    QRectF text = frame;
    if (imageWidth > 0) {
        text.setLeft(frame.left() + std::min(imageWidth, frame.width()));
    } else if (groupCell) {
        const qreal d = std::floor((frame.height() - textHeight) / 2);
        text.setTop(frame.top() + d);
        text.setHeight(frame.height() - 2 * d);
    }
    return text;
}

QImage ImageAndTextCell::imageFor(const QModelIndex &index) const
{
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.canConvert<QImage>() && !decoration.value<QImage>().isNull())
        return decoration.value<QImage>();
    if (decoration.metaType().id() == QMetaType::QPixmap)
        return decoration.value<QPixmap>().toImage();
    if (decoration.metaType().id() == QMetaType::QIcon) {
        const QIcon icon = decoration.value<QIcon>();
        if (!icon.isNull())
            return icon.pixmap(16, 16).toImage();
    }
    return m_image;
}

void ImageAndTextCell::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // The image is drawn by this cell; the text elides in the middle.
    option->features &= ~QStyleOptionViewItem::HasDecoration;
    option->icon = QIcon();
    option->textElideMode = Qt::ElideMiddle;
}

void ImageAndTextCell::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QImage image = imageFor(index);
    const QRectF frame = opt.rect;
    if (!image.isNull()) {
        const QSizeF size = image.deviceIndependentSize();
        const QRectF slice(frame.x(), frame.y(), std::min(size.width(), frame.width()), frame.height());
        // The item's background colour, else the one the view hands in.
        const QVariant itemBackground = index.data(Qt::BackgroundRole);
        const QBrush background =
            itemBackground.isValid() ? itemBackground.value<QBrush>() : option.backgroundBrush;
        if (background.style() != Qt::NoBrush)
            painter->fillRect(slice, background);
        painter->save();
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter->setOpacity(1.0);
        painter->drawImage(imageRectForBounds(frame, size), image);
        painter->restore();
    }
    const bool group = isGroupCell(image, opt.text);
    const qreal textHeight = opt.fontMetrics.height();
    opt.rect = textFrameForBounds(frame, image.isNull() ? 0 : image.deviceIndependentSize().width(), group,
                                  textHeight)
                   .toAlignedRect();
    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
}

QSize ImageAndTextCell::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QImage image = imageFor(index);
    size.rwidth() += int(std::ceil(image.isNull() ? 0 : image.deviceIndependentSize().width())) + 3;
    return size;
}

void ImageAndTextCell::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const
{
    const QImage image = imageFor(index);
    editor->setGeometry(
        titleRectForBounds(option.rect, image.isNull() ? 0 : image.deviceIndependentSize().width())
            .toAlignedRect());
}

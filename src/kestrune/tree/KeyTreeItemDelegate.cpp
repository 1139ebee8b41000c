#include <kestrune/tree/KeyTreeItemDelegate.h>

#include <QtGui/QPainter>

QSize KeyTreeItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(kRowHeight);
    return size;
}

void KeyTreeItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    const QString detail = index.data(DetailRole).toString();
    if (detail.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem main = option;
    const int detailWidth = option.fontMetrics.horizontalAdvance(detail) + 12;
    QStyledItemDelegate::paint(painter, main, index);
    painter->save();
    QColor dim = option.palette.color(QPalette::Text);
    dim.setAlphaF(0.55);
    painter->setPen(dim);
    const QRect area = option.rect.adjusted(option.rect.width() - detailWidth, 0, -6, 0);
    painter->drawText(area, Qt::AlignVCenter | Qt::AlignRight, detail);
    painter->restore();
}

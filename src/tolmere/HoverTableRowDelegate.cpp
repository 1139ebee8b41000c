#include <tolmere/HoverTableRowDelegate.h>

HoverTableRowDelegate::HoverTableRowDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

void HoverTableRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                  const QModelIndex &index) const
{
    QStyleOptionViewItem light(option);
    light.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    QStyledItemDelegate::paint(painter, light, index);
}

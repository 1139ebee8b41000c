#include <pavisade/cells/SeparatorCell.h>

#include <QtGui/QPainter>

SeparatorCell::SeparatorCell(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

std::array<QRectF, 2> SeparatorCell::separatorLines(const QRectF &frame)
{
    const qreal y0 = frame.y() + (frame.height() - 2) / 2 + 0.5;
    return {QRectF(frame.x(), y0, frame.width(), 1), QRectF(frame.x(), y0 + 1, frame.width(), 1)};
}

std::array<QColor, 2> SeparatorCell::separatorColors()
{
    return {QColor::fromRgbF(0.349f, 0.6f, 0.898f, 0.6f), QColor::fromRgbF(0.976f, 1.0f, 1.0f, 1.0f)};
}

void SeparatorCell::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const auto lines = separatorLines(option.rect);
    const auto colors = separatorColors();
    painter->save();
    for (int i = 0; i < 2; ++i)
        painter->fillRect(lines[i], colors[i]);
    painter->restore();
}

QWidget *SeparatorCell::createEditor(QWidget *, const QStyleOptionViewItem &, const QModelIndex &) const
{
    return nullptr;
}

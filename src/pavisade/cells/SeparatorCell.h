#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtWidgets/QStyledItemDelegate>

#include <array>

// The cell of a separator row: a thin two-tone horizontal rule across the cell, no
// text, no background; it never opens an editor. Main thread.
class PAVISADE_EXPORT SeparatorCell : public QStyledItemDelegate
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit SeparatorCell(QObject *parent = nullptr);

    // The two one-point lines for a frame (blue-grey, then white below it) and their
    // colours.
    static std::array<QRectF, 2> separatorLines(const QRectF &frame);
    static std::array<QColor, 2> separatorColors();

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
};

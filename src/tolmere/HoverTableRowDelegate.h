#pragma once

#include <tolmere/TolmereExport.h>

#include <QtWidgets/QStyledItemDelegate>

// Paints the cells of a HoverTableView as on a light background: the table draws the
// row's hover band and selection box itself, so the cells draw neither a selection
// highlight nor a focus frame. Main thread only.
class TOLMERE_EXPORT HoverTableRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit HoverTableRowDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

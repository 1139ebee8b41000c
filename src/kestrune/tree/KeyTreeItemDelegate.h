#pragma once

#include <QtWidgets/QStyledItemDelegate>

// Draws the key tree's rows: every row 25 pixels high (so the tree can use uniform row
// heights however many keys it shows), connection rows with their address in a dimmer
// text at the right. Main thread.
class KeyTreeItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The secondary text of a row (a connection's "host:port").
    static constexpr int DetailRole = Qt::UserRole + 40;
    static constexpr int kRowHeight = 25;

    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QPointF>
#include <QtCore/QSizeF>
#include <QtCore/QString>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// Short-hand geometry and single-edge autoresizing on widgets.
//
// A frame is the widget's geometry in its parent's coordinates: left is x, top is y,
// right is x + width and bottom is y + height (Qt's y axis grows downwards; nothing is
// flipped). Every setter reads the current frame and writes a whole new one through
// QWidget::setGeometry, rounding to whole pixels. A null widget reads as a zero frame
// and ignores writes.

namespace Bastwick {

BASTWICK_EXPORT double left(const QWidget *view);
BASTWICK_EXPORT double top(const QWidget *view);
BASTWICK_EXPORT double right(const QWidget *view);
BASTWICK_EXPORT double bottom(const QWidget *view);
BASTWICK_EXPORT double width(const QWidget *view);
BASTWICK_EXPORT double height(const QWidget *view);
BASTWICK_EXPORT QPointF origin(const QWidget *view);
BASTWICK_EXPORT QSizeF size(const QWidget *view);

BASTWICK_EXPORT void setLeft(QWidget *view, double value);            // x = value
BASTWICK_EXPORT void setTop(QWidget *view, double value);             // y = value
BASTWICK_EXPORT void setRight(QWidget *view, double value);           // x = value - width
BASTWICK_EXPORT void setBottom(QWidget *view, double value);          // y = value - height
BASTWICK_EXPORT void setWidth(QWidget *view, double value);           // origin kept
BASTWICK_EXPORT void setHeight(QWidget *view, double value);          // origin kept
BASTWICK_EXPORT void setOrigin(QWidget *view, const QPointF &origin); // size kept
BASTWICK_EXPORT void setSize(QWidget *view, const QSizeF &size);      // origin kept

// Centres the widget in its parent widget; without a parent, nothing.
BASTWICK_EXPORT void centerInParent(QWidget *view);
// Removes the direct child widgets, last first, and deletes them (later, from the
// event loop), as the parent owned them.
BASTWICK_EXPORT void removeAllSubViews(QWidget *view);
// The first direct child widget, in child order, whose objectName equals identifier;
// null when none does (deeper children are not searched).
BASTWICK_EXPORT QWidget *viewWithIdentifier(const QWidget *view, const QString &identifier);

// Autoresizing: how a widget follows its parent's size changes. The mask is kept on
// the widget (the "autoresizingMask" property); a small event filter on the parent
// applies it whenever the parent is resized, in whatever parent the widget has or
// later gets (it may be set before the widget has one). A flexible part takes up the change of
// the parent's size along its axis; several flexible parts on one axis share it in
// proportion to their current sizes. "Min y" is the margin at y = 0 (the top), "max y"
// the one at the parent's bottom.
enum AutoresizingMask : unsigned {
    ViewNotSizable = 0,
    ViewMinXMargin = 1,
    ViewWidthSizable = 2,
    ViewMaxXMargin = 4,
    ViewMinYMargin = 8,
    ViewHeightSizable = 16,
    ViewMaxYMargin = 32,
};

BASTWICK_EXPORT unsigned autoresizingMask(const QWidget *view);
BASTWICK_EXPORT void setAutoresizingMask(QWidget *view, unsigned mask);
// Sets (value true) or clears (false) one bit of the mask.
BASTWICK_EXPORT void setAutoresizingBit(QWidget *view, unsigned bit, bool value);

// Edge switches: fixed true clears the bit, false sets it.
BASTWICK_EXPORT void fixLeftEdge(QWidget *view, bool fixed);   // ViewMinXMargin
BASTWICK_EXPORT void fixWidth(QWidget *view, bool fixed);      // ViewWidthSizable
BASTWICK_EXPORT void fixRightEdge(QWidget *view, bool fixed);  // ViewMaxXMargin
BASTWICK_EXPORT void fixTopEdge(QWidget *view, bool fixed);    // ViewMinYMargin
BASTWICK_EXPORT void fixHeight(QWidget *view, bool fixed);     // ViewHeightSizable
BASTWICK_EXPORT void fixBottomEdge(QWidget *view, bool fixed); // ViewMaxYMargin

} // namespace Bastwick

#pragma once

#include <tolmere/TolmereExport.h>

QT_BEGIN_NAMESPACE
class QObject;
class QWidget;
QT_END_NAMESPACE

// Views that carry the controller managing them, a next-responder chain in which that
// controller sits right behind its view, and a small deferred-layout protocol.
//
// The chain is a side table: an object's next responder is the one set for it, else
// (for a widget) its parent widget, else none. A view refers to its controller weakly:
// once the controller is destroyed the view has none and its chain is unspliced again.
//
// Controllers that are ResponderViewControllers are told when their view moves into
// or out of a parent widget or a window and appears or disappears. A view has a window
// when its top-level widget is shown as a window; Qt announces a move without naming
// its target, so each move's "will" callbacks arrive together with its "did" callbacks,
// judged by the state before the move. One application event filter, installed the
// first time a view gets a controller, watches every controlled view.
// Main thread only.

namespace Tolmere {

// Installs the application event filter once (needs the application object).
TOLMERE_EXPORT void loadSupportForViewControllers();

// Gives the view a controller (null takes it away). The former controller is taken out
// of the chain first (the view's next responder becomes what followed it, and its own
// is cleared); a new one is spliced in: view -> controller -> the view's former next.
TOLMERE_EXPORT void setViewController(QWidget *view, QObject *controller);
TOLMERE_EXPORT QObject *viewController(const QWidget *view);

TOLMERE_EXPORT QObject *nextResponder(const QObject *responder);
// For a view with a controller, sets the controller's next responder instead, so the
// controller stays right behind its view.
TOLMERE_EXPORT void setNextResponder(QObject *responder, QObject *next);

// Marks the view as needing layout and schedules a repaint.
TOLMERE_EXPORT void setNeedsLayout(QWidget *view);
TOLMERE_EXPORT bool needsLayout(const QWidget *view);
// Clears the mark, then runs the view's own Q_INVOKABLE layoutSubviews() if it has one.
TOLMERE_EXPORT void layoutSubviews(QWidget *view);
TOLMERE_EXPORT void layoutIfNeeded(QWidget *view);
// From now on a resize or move of the view marks it as needing layout, and it is laid
// out (when marked) right before it paints.
TOLMERE_EXPORT void loadSupportForLayoutSubviews(QWidget *view);

} // namespace Tolmere

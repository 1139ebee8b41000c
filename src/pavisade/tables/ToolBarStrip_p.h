#pragma once

#include <QtCore/QObject>

#include <functional>

class QWidget;
class X3CommonViewController;

namespace Pavisade {

// Calls relayout whenever the screen's toolbar strip appears, moves or changes size,
// so the area above it follows (the base screen makes the strip on demand). Main thread.
void followToolBarStrip(X3CommonViewController *screen, std::function<void()> relayout);

// Puts the screen's toolbar (when it has one) centred in the strip along its bottom edge
// that is toolbarParentViewDefaultHeight() high.
void layoutToolBarInStrip(X3CommonViewController *screen);

// Places the area over the screen's bounds above the toolbar strip (of the given height;
// none without a toolbar).
void layoutAboveToolBar(X3CommonViewController *screen, QWidget *area, int stripHeight);

} // namespace Pavisade

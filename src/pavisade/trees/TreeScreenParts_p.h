#pragma once

class QWidget;
class X3CommonViewController;

namespace Pavisade {

class OutlineView;

// The parts the tree screens of both generations share. Main thread.

// A tree made in code: strong focus, the disclosure mark plus 5 points per level,
// uniform row heights, per-item scrolling, scroll bars as needed.
OutlineView *newTreeView(QWidget *parent);

// Lays a tree screen out from its bounds: the area (when there is one) over the screen
// above the toolbar strip, the tree's column widths (when there is a tree), then the
// toolbar along the bottom edge.
void layOutTreeScreen(X3CommonViewController *screen, QWidget *area, OutlineView *tree);

} // namespace Pavisade

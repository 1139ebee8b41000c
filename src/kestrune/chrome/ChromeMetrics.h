#pragma once

#include <QtCore/QSize>

// Measures of the window chrome, in pixels (one design point is one pixel).
//
// The title-bar window draws its own frame, so the measures that a window system would
// report (its title-bar height, where its standard buttons sit) are fixed here once.

namespace Kestrune {

// The height of a standard title bar: what a title-bar window starts with, and what a
// window with a toolbar keeps.
inline constexpr double kTBStandardTitleBarHeight = 22.0;

// The standard window buttons (close, minimise, zoom, full screen): their size, the
// close button's distance from the left edge, the gap between two of them, and the
// full-screen button's distance from the right edge.
inline constexpr QSize kTBStandardButtonSize{14, 14};
inline constexpr double kTBStandardButtonLeftMargin = 7.0;
inline constexpr double kTBStandardButtonSeparation = 6.0;
inline constexpr double kTBStandardFullScreenButtonRightMargin = 4.0;
// The document-icon button beside the title.
inline constexpr QSize kTBDocumentIconButtonSize{16, 16};
// The versions button right of the title.
inline constexpr QSize kTBVersionsButtonSize{9, 9};

// In full screen the hidden title bar comes back when the pointer is this close to the
// window's top edge.
inline constexpr double kTBFullScreenRevealEdge = 2.0;

// Width of the invisible resize grips along the window's edges and at its corners.
inline constexpr int kTBWindowGripWidth = 6;
// No edge or corner drag makes a title-bar window smaller than this.
inline constexpr QSize kTBWindowMinimumSize{480, 300};

// Title-bar drawing.
inline constexpr double kTBCornerClipRadius = 4.0;          // rounded top corners
inline constexpr double kTBTitleHorizontalMargin = 8.0;     // title to the buttons beside it
inline constexpr double kTBTitleTopMargin = 2.0;            // title to the top of the bar
inline constexpr double kTBTitleDocumentButtonOffset = 4.0; // document icon to the title
// A title left of the versions button: its gap to the button, and how much further
// left it stands while the document is edited.
inline constexpr double kTBTitleVersionsButtonXOffset = -1.0;
inline constexpr double kTBTitleDocumentStatusXOffset = -20.0;

// Traffic lights: the gap between two lights (and the lights' distance from the
// window's left edge), and the inset from the top used by windows that hang them from
// the top edge instead of centring them.
inline constexpr double kKSTWindowTrafficLightsSpacing = 6.0;
inline constexpr double kKSTWindowTrafficLightsYInset = 5.0;
// Duration of the traffic lights' cross-fade, in seconds.
inline constexpr float kKSTTableViewAnimationDuration = 0.2f;

} // namespace Kestrune

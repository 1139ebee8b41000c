#pragma once

#include <pavisade/sidepanes/XTTabBar.h>
#include <pavisade/viewcontrollers/XXXTabItemDefine.h>

#include <QtCore/QPointer>

QT_BEGIN_NAMESPACE
class QTabWidget;
QT_END_NAMESPACE

class X3TabViewController;

namespace Pavisade {

// The icon strip of an inspector tab screen and what the two inspector screens (on the
// current and on the older tab screen) do with it: make it, fill it from the tab
// definitions, keep it in the band above the tab view, and switch tabs from it.
// Main thread.
class IconTabStrip
{
public:
    // The strip, made on first use as a child of the screen with the screen as its
    // delegate.
    XTTabBar *bar(X3TabViewController *screen);
    void setBar(XTTabBar *bar) { m_bar = bar; }

    // Hides the tab view's own tabs and frame, and puts the strip on the screen.
    void loadView(X3TabViewController *screen);
    // One item per definition: the named image (tinted as a template), the translated
    // tooltip; only the first item gets Ctrl+1 (the same key on every item would
    // cancel out).
    void fill(X3TabViewController *screen);
    // The strip takes the band of top-padding height across the top of the screen.
    void place(X3TabViewController *screen);
    // The two diagnostic lines at the end of the screen's awakening: the strip's and the
    // tab view's frames.
    void logFrames(X3TabViewController *screen);
    // Selects the tab at the item's position in the strip.
    void selectTabForItem(X3TabViewController *screen, XTTabBarItem *item);

private:
    QPointer<XTTabBar> m_bar;
};

} // namespace Pavisade

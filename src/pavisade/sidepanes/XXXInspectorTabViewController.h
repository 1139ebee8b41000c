#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/older/XXXTabViewController.h>
#include <pavisade/sidepanes/XTTabBar.h>

#include <memory>

namespace Pavisade {
class IconTabStrip;
}

// An inspector: a tab screen on the older tab screen (every child placed at start-up) whose tabs are switched
// by a strip of icon buttons (one per tab definition: its image and tooltip) in a 22-pixel band across the
// top; the tab view below shows no tabs and no frame. Pressing an icon selects its tab, and the tab's child
// is placed the first time it is shown. Selecting a tab by other means does not move the strip. Main thread.
class PAVISADE_EXPORT XXXInspectorTabViewController : public XXXTabViewController, public XTTabBarDelegate
{
    Q_OBJECT
public:
    // Leaves the 22-pixel band free above the tab view.
    Q_INVOKABLE explicit XXXInspectorTabViewController(QWidget *parent = nullptr);
    ~XXXInspectorTabViewController() override;

    // The icon strip, made on first use.
    XTTabBar *inspectorTabBar();
    void setInspectorTabBar(XTTabBar *bar);

    // The strip is filled first, then the tabs.
    void tabViewConfig() override;
    // The tab view below the band, then the strip in the band.
    void tabViewSizeConfig() override;
    void inspectorTabBarViewConfig();
    void inspectorTabBarSizeConfig();

    // Selects a tab through the strip (which then rebuilds its buttons); a position
    // outside the strip is refused with a log line.
    void selectedAtIndex(int index);

    void tabBarDidSelectItem(XTTabBar *tabBar, XTTabBarItem *item) override;

protected:
    void awakeFromNib() override;
    void loadView() override;

private:
    std::unique_ptr<Pavisade::IconTabStrip> m_strip;
};

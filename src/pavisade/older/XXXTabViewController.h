#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/older/X3TabViewBackController.h>

// The older tab screen: every child is placed in its tab at start-up (as in
// X3TabViewBackController), the tab view is always made in code, and the screen runs
// the older base's awakening (registered for window resizes from its constructor;
// viewConfig and viewSizeConfig are the older base's table, split and tree hooks, so
// they do not reach the tabs). The paddings are only stored: they move the tab view
// when tabViewSizeConfig() runs. Every selection logs "tab index =<i>". Main thread.
class PAVISADE_EXPORT XXXTabViewController : public X3TabViewBackController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXTabViewController(QWidget *parent = nullptr);

    void viewConfig() override;
    void viewSizeConfig() override;
    // Runs viewConfig() of every child, placed or not.
    void tabSubViewSizeConfig() override;
    void tabViewDidSelectTabViewItem(QTabWidget *tabView, int index) override;

protected:
    // The older awakening (viewConfig, viewSizeConfig), then tabViewSizeConfig,
    // tabViewConfig and tabSubViewSizeConfig.
    void awakeFromNib() override;
    // Runs the tab steps of the awakening (the part that differs between the two older
    // tab screens).
    virtual void awakeTabs();
};

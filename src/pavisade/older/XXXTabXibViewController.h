#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/older/XXXTabViewController.h>

// The older tab screen for a tab view that its interface supplies through
// tabXibView(): nothing is made in code, the tab view keeps the place its interface
// gives it (no paddings), and without a tab view the start-up completes with no tabs
// (the definitions and children are still asked for). Main thread.
class PAVISADE_EXPORT XXXTabXibViewController : public XXXTabViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXTabXibViewController(QWidget *parent = nullptr);

    // True when tabXibView() supplied a tab view.
    bool hasTabView();

    void tabViewSizeConfig() override {}
    void tabViewConfig() override;
    void tabSubViewConfig() override;
    void tabSubViewSizeConfig() override;

protected:
    // The interface places the tab view: nothing is added here.
    void loadView() override {}
    // tabViewConfig and tabSubViewSizeConfig (no tabViewSizeConfig).
    void awakeTabs() override;
};

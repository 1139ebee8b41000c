#pragma once

#include <kestrune/keys/probe/DerazProbeScreens.h>

#include <pavisade/viewcontrollers/X3TabViewController.h>

#include <memory>

class SimpleDBViewState;

// The right-hand side of the main window: four tabs, "Browse" (the key browser), "Query"
// (the key query), "Console" and "Command" (the command console and the command help).
// Every tab change is announced to the shared view state with the
// tab's index. Main thread.
class DerazProbeViewController : public X3TabViewController
{
    Q_OBJECT

public:
    explicit DerazProbeViewController(QWidget *parent = nullptr);
    ~DerazProbeViewController() override;

    // The four screens, made on first use with this screen's parent window.
    DerazKeysBrowseViewController *derazKeysBrowseViewController();
    DerazKeysQueryViewController *derazKeysQueryViewController();
    DerazConsoleViewController *derazConsoleViewController();
    DerazCmdHelpViewController *derazCmdHelpViewController();
    std::shared_ptr<SimpleDBViewState> stateDelegate() const;

    XXXTabItemDefineList tabColumnsDef() const override;
    void tabViewControllersConfig() override;
    void viewStyleConfig() override;
    void tabViewDidSelectTabViewItem(QTabWidget *tabView, int index) override;

protected:
    void awakeFromNib() override;

private:
    DerazProbeScreens m_screens;
};

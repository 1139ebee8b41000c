#pragma once

#include <kestrune/keys/ScreenSwitch.h>
#include <kestrune/keys/probe/DerazProbeScreens.h>

#include <pavisade/viewcontrollers/ChildScreens.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

class HUDSegmentedCell;

// The probe screens behind a segmented control instead of tabs: the key browser, the key
// query, the command console and the command help, made on first use as in the probe
// container. The chosen screen fills mainView(); the others keep their state while
// hidden. The first screen shows on waking. Unlike the tabbed container it tells the
// shared view state nothing about the switches. Main thread.
class DerazDetailViewController : public X3CommonViewController
{
    Q_OBJECT

public:
    explicit DerazDetailViewController(QWidget *parent = nullptr);
    ~DerazDetailViewController() override;

    DerazKeysBrowseViewController *derazKeysBrowseViewController() { return m_screens.browse(); }
    DerazKeysQueryViewController *derazKeysQueryViewController() { return m_screens.query(); }
    DerazConsoleViewController *derazConsoleViewController() { return m_screens.console(); }
    DerazCmdHelpViewController *derazCmdHelpViewController() { return m_screens.cmdHelp(); }

    // The four screens in segment order (empty until the screen wakes).
    QList<X3CommonViewController *> controllers() const { return m_controllers.list(); }
    HUDSegmentedCell *segmentedControl() const { return m_segments; }
    QWidget *mainView() const { return m_mainView; }
    X3CommonViewController *currentViewController() const { return m_switch.current(); }
    int lastIndex() const { return int(m_switch.lastIndex()); }

    // Fills controllers() with the four screens.
    void viewControllersConfig();
    // Shows the screen of the control's selected segment.
    void segBtnClicked();
    // Shows the screen at index in mainView() in place of the current one; nothing when
    // it is the one shown or there is no screen at index.
    void switchViewAtIndex(int index);

protected:
    void loadInterface() override;
    void awakeFromNib() override;

private:
    DerazProbeScreens m_screens;
    Pavisade::ChildScreens m_controllers;
    HUDSegmentedCell *m_segments = nullptr;
    QWidget *m_mainView = nullptr;
    Kestrune::ScreenSwitch m_switch{nullptr};
};

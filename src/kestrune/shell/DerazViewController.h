#pragma once

#include <pavisade/viewcontrollers/X3SplitViewController.h>

#include <QtCore/QPointer>

class DerazDetailViewController;
class DerazKeysViewController;
class DerazProbeViewController;

// The root screen of the main window: the key tree on the left, the probe container on
// the right. The divider is placed once, while the view loads, at a third of the loaded
// width less 54 pixels; after that it stays where it is or where the user drags it:
// neither pane's content (a wider tab) nor a resize of the window moves it, as long as
// the probe pane keeps its minimum width. Main thread.
class DerazViewController : public X3SplitViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DerazViewController(QWidget *parent = nullptr);
    ~DerazViewController() override;

    DerazKeysViewController *derazKeysViewController();
    DerazProbeViewController *derazProbeViewController();
    // The probe screens behind a segmented control, made on first use from its own
    // interface; not placed in a pane.
    DerazDetailViewController *derazDetailViewController();

    void splitViewControllersConfig() override;
    void splitViewSizeConfig() override;
    float splitPositon() const override;

    // The narrowest the panes get, whatever their content asks for.
    static constexpr int kTreeMinimumWidth = 120;
    static constexpr int kProbeMinimumWidth = 320;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void keepDivider();

    QPointer<DerazKeysViewController> m_keys;
    QPointer<DerazProbeViewController> m_probe;
    QPointer<DerazDetailViewController> m_detail;
    double m_dividerPosition = -1;
};

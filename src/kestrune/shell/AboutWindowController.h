#pragma once

#include <pavisade/viewcontrollers/XXXWindowCommonController.h>

// The about window: the application's icon, name and version. Made once and shown
// again on every request. Main thread.
class AboutWindowController : public XXXWindowCommonController
{
    Q_OBJECT

public:
    using XXXWindowCommonController::XXXWindowCommonController;

protected:
    QWidget *loadWindow() override;
};

#pragma once

#include <pavisade/viewcontrollers/XXXWindowCommonController.h>

#include <QtCore/QPointer>

class DBProfileAdminViewController;

// The profile manager's window, made once and shown again on every request; closing it
// only hides it. Main thread.
class DBProfileAdminWindowController : public XXXWindowCommonController
{
    Q_OBJECT

public:
    using XXXWindowCommonController::XXXWindowCommonController;
    ~DBProfileAdminWindowController() override;

    DBProfileAdminViewController *profileAdminViewController();

protected:
    QWidget *loadWindow() override;
    void windowDidLoad() override;

private:
    void showView();

    QPointer<DBProfileAdminViewController> m_admin;
};

#include <kestrune/profiles/DBProfileAdminWindowController.h>

#include <kestrune/profiles/DBProfileAdminViewController.h>

#include <pavisade/viewcontrollers/Localization.h>

DBProfileAdminWindowController::~DBProfileAdminWindowController()
{
    // The screen belongs to the window once it loads; until then it is the controller's.
    if (m_admin && !m_admin->parent())
        delete m_admin;
}

DBProfileAdminViewController *DBProfileAdminWindowController::profileAdminViewController()
{
    if (!m_admin)
        m_admin = new DBProfileAdminViewController;
    return m_admin;
}

QWidget *DBProfileAdminWindowController::loadWindow()
{
    auto *window = new QWidget(nullptr, Qt::Window);
    window->setObjectName(QStringLiteral("DBProfileAdminWindow"));
    window->setWindowTitle(Pavisade::localizedString(QStringLiteral("Connection Manager")));
    window->resize(620, 360);
    return window;
}

void DBProfileAdminWindowController::windowDidLoad()
{
    // The screen is sized to the window before it loads, so its divider starts at a
    // third of the window.
    profileAdminViewController()->resize(window()->size());
    XXXWindowCommonController::windowDidLoad();
    showView();
}

void DBProfileAdminWindowController::showView()
{
    showViewController(profileAdminViewController());
}

#pragma once

#include <pavisade/viewcontrollers/XXXAppDelegate.h>

#include <bastwick/platform/Error.h>

#include <QtCore/QPointer>
#include <QtCore/QUrl>

class AboutWindowController;
class DBProfileAdminWindowController;
class PreferenceWindowController;
class KSTMainWindow;

// The route identifier of the root screen.
inline const QString kAppMainID = QStringLiteral("AppMainID");
// The home page: a small page shipped in the application's resources.
inline const QString kAppHomeURL = QStringLiteral("qrc:/pages/home.html");

// The application's delegate: fills the start-up hooks with the main window, the route
// of the root screen (DerazViewController), the local database, and then observes the
// title bar's "HomeMsg" and "AboutMsg", sets the start-up preferences and centres the
// window. Main thread.
class AppDelegate : public XXXAppDelegate
{
    Q_OBJECT

public:
    explicit AppDelegate(KSTMainWindow *window, QObject *parent = nullptr);
    ~AppDelegate() override;

    // The home page (kAppHomeURL) written out as a local file, so a browser can open it;
    // empty when it cannot be written.
    static QUrl appHomeURL();

    void awakeFromNib() override;

    QMainWindow *mainWindow() override;
    void osxMainWindowConfig() override;
    void viewControllerRouteConfig() override;
    X3CommonViewController *startViewController() override;
    void openDataBase() override;
    void menuConfig() override;

    void registerNotifications();

    // Menu and title-bar actions.
    void openNewConnectionMenuBarItemClick();
    void closeConnectionMenuBarItemClick();
    void connectionManagerMenuBarItemClick();
    void preferencesToolBarItemClick();
    void quitMenuBarItemClick();
    void homeToolBarItemClick();
    void aboutToolBarItemClick();

    // Made on first use, then the same window every time.
    AboutWindowController *aboutWindowController();
    PreferenceWindowController *preferenceWindowController();
    DBProfileAdminWindowController *profileAdminWindowController();

    // Whether the local database opened (read by the start-up's log and tests).
    bool isDataBaseOpen() const { return m_dataBaseOpen; }

private:
    // Tells the user, on the main window as soon as it shows, that the local database
    // could not be opened.
    void reportUnusableLocalStore();

    QPointer<KSTMainWindow> m_window;
    AboutWindowController *m_aboutWindowController = nullptr;
    PreferenceWindowController *m_preferenceWindowController = nullptr;
    DBProfileAdminWindowController *m_profileAdminWindowController = nullptr;
    bool m_dataBaseOpen = false;
    Bastwick::Error m_dataBaseError;
};

#include <kestrune/shell/AppDelegate.h>

#include <kestrune/AppNotifications.h>
#include <kestrune/Localized.h>
#include <kestrune/profiles/DBProfileAdminViewController.h>
#include <kestrune/profiles/DBProfileAdminWindowController.h>
#include <kestrune/profiles/DBProfileDetailViewController.h>
#include <kestrune/shell/AboutWindowController.h>
#include <kestrune/shell/DerazViewController.h>
#include <kestrune/shell/KSTMainWindow.h>
#include <kestrune/shell/PreferenceWindowController.h>
#include <kestrune/shell/Startup.h>
#include <kestrune/tree/DerazKeysViewController.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>

#include <corbelan/services/RouteManager.h>
#include <pavisade/sheets/SheetHost.h>
#include <pavisade/viewcontrollers/ChildScreens.h>
#include <pavisade/viewcontrollers/ScreenStack.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/NotificationCenter.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QStandardPaths>
#include <QtGui/QDesktopServices>
#include <QtGui/QScreen>
#include <QtWidgets/QMenuBar>

using Kestrune::L;

AppDelegate::AppDelegate(KSTMainWindow *window, QObject *parent)
    : XXXAppDelegate(parent)
    , m_window(window)
{
}

AppDelegate::~AppDelegate() = default;

QUrl AppDelegate::appHomeURL()
{
    const QUrl home(kAppHomeURL);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString path = folder + QLatin1Char('/') + home.fileName();
    QFile shipped(QLatin1Char(':') + home.path());
    if (!shipped.open(QIODevice::ReadOnly))
        return {};
    const QByteArray page = shipped.readAll();
    QFile current(path);
    if (!current.open(QIODevice::ReadOnly) || current.readAll() != page) {
        QDir().mkpath(folder);
        QString reason;
        if (!Bastwick::writeFileAtomically(path, page, &reason)) {
            XXXLogError(QStringLiteral("the home page could not be written: %1").arg(reason));
            return {};
        }
    }
    return QUrl::fromLocalFile(path);
}

QMainWindow *AppDelegate::mainWindow()
{
    return m_window;
}

void AppDelegate::osxMainWindowConfig()
{
    XXXAppDelegate::osxMainWindowConfig();
    // The title-bar window already has a body; the screens live in a stack filling it.
    if (m_window && m_window->centralWidget() && !m_window->findChild<ScreenStack *>())
        Pavisade::placeInto(m_window->centralWidget(), new ScreenStack);
}

void AppDelegate::viewControllerRouteConfig()
{
    RouteManager::sharedInstance().map(kAppMainID, &DerazViewController::staticMetaObject);
}

X3CommonViewController *AppDelegate::startViewController()
{
    auto *controller =
        qobject_cast<X3CommonViewController *>(RouteManager::sharedInstance().open(kAppMainID));
    if (!controller)
        return nullptr;
    controller->setParentWindow(m_window);
    // The view loads later, when the main view is shown; give it the body's size so the
    // divider is placed for the window it will fill.
    if (m_window)
        controller->resize(m_window->width(), m_window->centralWidget() ? m_window->centralWidget()->height()
                                                                        : m_window->height());
    return controller;
}

void AppDelegate::openDataBase()
{
    m_dataBaseOpen = Kestrune::openLocalStore(&m_dataBaseError);
}

void AppDelegate::reportUnusableLocalStore()
{
    if (m_dataBaseOpen || !m_window)
        return;
    // On the main window, so not before it is on screen.
    Pavisade::whenWindowShown(m_window, this, [this] {
        if (m_window)
            Kestrune::showWarning(m_window, Kestrune::localStoreUnusableText(m_dataBaseError));
    });
}

void AppDelegate::menuConfig()
{
    XXXAppDelegate::menuConfig();
    if (!m_window)
        return;
    QMenu *file = m_window->menuBar()->addMenu(L(QStringLiteral("File")));
    file->setObjectName(QStringLiteral("fileMenu"));
    QAction *open = file->addAction(L(QStringLiteral("New Connection")), this,
                                    [this] { openNewConnectionMenuBarItemClick(); });
    open->setObjectName(QStringLiteral("openNewConnection"));
    open->setShortcut(QKeySequence::New);
    QAction *close = file->addAction(L(QStringLiteral("Close Connection")), this,
                                     [this] { closeConnectionMenuBarItemClick(); });
    close->setObjectName(QStringLiteral("closeConnection"));
    file->addSeparator();
    QAction *manager = file->addAction(L(QStringLiteral("Connection Manager")), this,
                                       [this] { connectionManagerMenuBarItemClick(); });
    manager->setObjectName(QStringLiteral("connectionManager"));
    QAction *preferences =
        file->addAction(L(QStringLiteral("Preferences")), this, [this] { preferencesToolBarItemClick(); });
    preferences->setObjectName(QStringLiteral("preferences"));
    preferences->setShortcut(QKeySequence::Preferences);
    file->addSeparator();
    QAction *quit = file->addAction(L(QStringLiteral("Quit")), this, [this] { quitMenuBarItemClick(); });
    quit->setObjectName(QStringLiteral("quit"));
    quit->setMenuRole(QAction::QuitRole);
    // The platform's quit key, Ctrl+Q where it names none.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (quitKeys.isEmpty())
        quitKeys.append(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcuts(quitKeys);
    QMenu *help = m_window->menuBar()->addMenu(L(QStringLiteral("Help")));
    help->addAction(L(QStringLiteral("About Kestrune")), this, [this] { aboutToolBarItemClick(); });
}

void AppDelegate::awakeFromNib()
{
    XXXAppDelegate::awakeFromNib();
    registerWindowCloseNotify();
    registerNotifications();
    reportUnusableLocalStore();
    Kestrune::setStartPreferences();
    if (m_window) {
        if (QScreen *screen = m_window->screen())
            Pavisade::centerWindowInArea(m_window, screen->availableGeometry());
    }
}

void AppDelegate::registerNotifications()
{
    QPointer<AppDelegate> self(this);
    auto &center = Bastwick::NotificationCenter::defaultCenter();
    center.addObserver(this, kHomeMsg, [self](const auto &) {
        if (self)
            self->homeToolBarItemClick();
    });
    center.addObserver(this, kAboutMsg, [self](const auto &) {
        if (self)
            self->aboutToolBarItemClick();
    });
}

void AppDelegate::openNewConnectionMenuBarItemClick()
{
    Bastwick::NotificationCenter::defaultCenter().post(kConnectionDBMsg);
}

void AppDelegate::closeConnectionMenuBarItemClick()
{
    Bastwick::NotificationCenter::defaultCenter().post(kCloseConnectionMsg);
}

// Quitting closes the main window, so it ends the application the way closing the
// window does, with the same chances for the window to refuse.
void AppDelegate::quitMenuBarItemClick()
{
    if (m_window)
        m_window->close();
    else
        terminate();
}

void AppDelegate::homeToolBarItemClick()
{
    const QUrl url = appHomeURL();
    if (url.isEmpty() || !QDesktopServices::openUrl(url))
        XXXLog(QStringLiteral("Failed to open url: %1").arg(url.toString()));
}

AboutWindowController *AppDelegate::aboutWindowController()
{
    if (!m_aboutWindowController)
        m_aboutWindowController = new AboutWindowController(this);
    m_aboutWindowController->setOwnerWindow(m_window);
    return m_aboutWindowController;
}

PreferenceWindowController *AppDelegate::preferenceWindowController()
{
    if (!m_preferenceWindowController)
        m_preferenceWindowController = new PreferenceWindowController(this);
    m_preferenceWindowController->setOwnerWindow(m_window);
    return m_preferenceWindowController;
}

DBProfileAdminWindowController *AppDelegate::profileAdminWindowController()
{
    if (!m_profileAdminWindowController) {
        m_profileAdminWindowController = new DBProfileAdminWindowController(this);
        m_profileAdminWindowController->setOwnerWindow(m_window);
        // The form asks the key tree to connect by notification; it hears of a failed
        // connect from the key tree directly, to stop its spinner.
        auto *root = qobject_cast<DerazViewController *>(mainViewController());
        DerazKeysViewDataDelegate *tree = root ? root->derazKeysViewController()->dataDelegate() : nullptr;
        if (tree)
            connect(
                tree, &DerazKeysViewDataDelegate::connectFinished,
                m_profileAdminWindowController->profileAdminViewController()->dBProfileDetailViewController(),
                &DBProfileDetailViewController::connectionFinished);
    }
    return m_profileAdminWindowController;
}

void AppDelegate::connectionManagerMenuBarItemClick()
{
    profileAdminWindowController()->showWindow();
}

void AppDelegate::preferencesToolBarItemClick()
{
    preferenceWindowController()->showWindow();
}

void AppDelegate::aboutToolBarItemClick()
{
    aboutWindowController()->showWindow();
}

#include <pavisade/viewcontrollers/XXXWindowCommonController.h>

#include <pavisade/sheets/SheetHost.h>
#include <pavisade/viewcontrollers/ChildScreens.h>
#include <pavisade/viewcontrollers/DocumentWindow.h>
#include <pavisade/viewcontrollers/Localization.h>
#include <pavisade/viewcontrollers/ScreenStack.h>
#include <pavisade/viewcontrollers/ToolBarActions_p.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>
#include <pavisade/viewcontrollers/XXXAppDelegate.h>

#include <bastwick/platform/Log.h>
#include <corbelan/services/XXXCommonImageCache.h>

#include <QtCore/QUrl>
#include <QtGui/QAction>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>

namespace Pavisade {

QAction *itemWithIdentifer(const QToolBar *toolBar, const QString &identifier)
{
    if (!toolBar)
        return nullptr;
    const QList<QAction *> actions = toolBar->actions();
    for (QAction *action : actions) {
        if (action->objectName() == identifier)
            return action;
    }
    return nullptr;
}

} // namespace Pavisade

XXXWindowCommonController::XXXWindowCommonController(QObject *parent)
    : QObject(parent)
{
}

XXXWindowCommonController::~XXXWindowCommonController()
{
    delete m_window.data();
}

QString XXXWindowCommonController::windowNibName() const
{
    return QString::fromLatin1(metaObject()->className());
}

QWidget *XXXWindowCommonController::window()
{
    if (!m_window) {
        m_window = loadWindow();
        if (m_window && m_ownerWindow && m_window->parentWidget() != m_ownerWindow) {
            const Qt::WindowFlags flags = m_window->windowFlags();
            m_window->setParent(m_ownerWindow, flags & Qt::Window ? flags : flags | Qt::Window);
        }
        if (m_window)
            windowDidLoad();
    }
    return m_window;
}

void XXXWindowCommonController::showWindow()
{
    if (!window())
        return;
    Pavisade::whenWindowShown(m_ownerWindow, this, [this] { showNow(); });
}

void XXXWindowCommonController::showNow()
{
    QWidget *w = m_window;
    if (!w)
        return;
    const bool opening = !w->isVisible();
    w->show();
    w->raise();
    w->activateWindow();
    if (QWidget *first = initialFirstResponder(); first && opening)
        first->setFocus(Qt::ActiveWindowFocusReason);
}

QWidget *XXXWindowCommonController::loadWindow()
{
    auto *window = new QMainWindow;
    window->setObjectName(windowNibName());
    window->resize(480, 320);
    return window;
}

void XXXWindowCommonController::windowDidLoad()
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        Pavisade::centerWindowInArea(m_window, screen->availableGeometry());
    osxMainWindowConfig();
    toolBarConfig();
    toolBarConfig();
    toolBarActionConfig();
    windowTitleConfig();
    i18Location();
}

void XXXWindowCommonController::osxMainWindowConfig()
{
    m_osxMainWindow = mainWindow();
}

void XXXWindowCommonController::toolBarConfig()
{
    m_osxToolBar = mainToolBar();
    if (m_osxMainWindow && m_osxToolBar && m_osxToolBar->parentWidget() != m_osxMainWindow)
        m_osxMainWindow->addToolBar(m_osxToolBar);
}

void XXXWindowCommonController::toolBarActionConfig()
{
    Pavisade::bindToolBarActions(this, m_osxToolBar, toolBarIditifers(),
                                 [this](QAction *item) { return identifierToolbar(item); });
}

void XXXWindowCommonController::windowTitleConfig()
{
    if (m_osxMainWindow) {
        m_osxMainWindow->setWindowTitle(appDisplayName());
        QScreen *screen = QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect();
        m_osxMainWindow->setGeometry(available);
        XXXLog(QStringLiteral("mainScreen = {{%1, %2}, {%3, %4}} ")
                   .arg(available.x())
                   .arg(available.y())
                   .arg(available.width())
                   .arg(available.height()));
        Pavisade::setRepresentedURL(m_osxMainWindow, QUrl(QStringLiteral("WindowTitle")));
    }
    windowTitleIconConfig();
    if (m_osxMainWindow)
        Pavisade::setDocumentIconImage(m_osxMainWindow,
                                       XXXCommonImageCache::sharedInstance().windowTitleImage());
}

void XXXWindowCommonController::windowTitleIconConfig()
{
    XXXCommonImageCache::sharedInstance().upDateWindowTitleImage(QStringLiteral("velderhopIcon29x29"));
}

void XXXWindowCommonController::i18Location()
{
    if (m_window)
        m_window->setWindowTitle(Pavisade::localizedString(m_window->windowTitle()));
    toolBarGLocation();
    buttonGLocation();
    lableGLocation();
    menuGLocation();
}

QWidget *XXXWindowCommonController::body() const
{
    auto *main = qobject_cast<QMainWindow *>(m_window.data());
    if (main && main->centralWidget())
        return main->centralWidget();
    return m_window;
}

void XXXWindowCommonController::buttonGLocation()
{
    Pavisade::buttonGLocation(body());
}

QString XXXWindowCommonController::toolBarActionNamePrefix(const QString &identifier) const
{
    return Pavisade::toolBarActionNamePrefix(toolBarIditifers(), identifier);
}

void XXXWindowCommonController::_defaultToolBarItemClick(QAction *sender)
{
    XXXLog(QStringLiteral("identifier=%1").arg(sender ? sender->objectName() : QString()));
}

void XXXWindowCommonController::showViewController(X3CommonViewController *controller)
{
    if (!controller) {
        XXXLog(QStringLiteral("hi,mainViewController not config!"));
        return;
    }
    QWidget *view = controller->view();
    QWidget *w = window();
    if (auto *main = qobject_cast<QMainWindow *>(w)) {
        if (ScreenStack *stack = ScreenStack::of(main)) {
            stack->showScreen(view);
            return;
        }
    }
    Pavisade::placeInto(w, view);
}

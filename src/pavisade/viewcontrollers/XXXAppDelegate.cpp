#include <pavisade/viewcontrollers/XXXAppDelegate.h>

#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/viewcontrollers/DocumentWindow.h>
#include <pavisade/viewcontrollers/Localization.h>
#include <pavisade/viewcontrollers/ScreenStack.h>
#include <pavisade/viewcontrollers/ToolBarActions_p.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <bastwick/ViewGeometry.h>
#include <bastwick/platform/Log.h>
#include <corbelan/services/RouteManager.h>
#include <corbelan/services/XXXCommonImageCache.h>

#include <algorithm>

#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtGui/QAction>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QToolBar>

const QString XXXToolbarSeparatorItemIdentifier = QStringLiteral("separator");
const QString XXXToolbarSpaceItemIdentifier = QStringLiteral("space");
const QString XXXToolbarFlexibleSpaceItemIdentifier = QStringLiteral("flexibleSpace");

namespace {

QPointer<XXXAppDelegate> &sharedDelegate()
{
    static QPointer<XXXAppDelegate> delegate;
    return delegate;
}

// The menus whose item titles carry the template word: the application menu (the
// first of the menu bar) and the Help menu.
void replaceTemplateWord(QMenu *menu, const QString &name)
{
    if (!menu)
        return;
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        QString title = action->text();
        if (title.contains(QStringLiteral("Velderhop"))) {
            title.replace(QStringLiteral("Velderhop"), name);
            action->setText(title);
        }
    }
}

X3CommonViewController *routedController(const QString &identifier)
{
    return qobject_cast<X3CommonViewController *>(RouteManager::sharedInstance().open(identifier));
}

} // namespace

namespace Pavisade {

void centerWindowInArea(QWidget *window, const QRect &area)
{
    if (!window || area.isEmpty())
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    frame.moveTopLeft(QPoint(std::max(frame.left(), area.left()), std::max(frame.top(), area.top())));
    window->move(frame.topLeft());
}

} // namespace Pavisade

XXXAppDelegate::XXXAppDelegate(QObject *parent)
    : QObject(parent)
{
    sharedDelegate() = this;
}

XXXAppDelegate::~XXXAppDelegate()
{
    // Screens the window never took over are still ours.
    for (QWidget *widget : {static_cast<QWidget *>(m_mainViewController.data()),
                            static_cast<QWidget *>(m_currentViewController.data()),
                            static_cast<QWidget *>(m_progressIndicator.data())}) {
        if (widget && !widget->parent())
            delete widget;
    }
}

XXXAppDelegate *XXXAppDelegate::sharedAppDelegate()
{
    return sharedDelegate();
}

QString XXXAppDelegate::appDisplayName()
{
    return QGuiApplication::applicationDisplayName();
}

void XXXAppDelegate::awakeFromNib()
{
    if (m_awoken)
        return;
    m_awoken = true;
    osxMainWindowConfig();
    viewControllerRouteConfig();
    menuConfig();
    windowTitleConfig();
    mainViewControllerConfig();
    openDataBase();
    showMainView();
    toolBarConfig();
    toolBarActionConfig();
    i18Location();
}

void XXXAppDelegate::osxMainWindowConfig()
{
    m_osxMainWindow = mainWindow();
}

void XXXAppDelegate::menuConfig()
{
    const QString name = appDisplayName();
    XXXLog(QStringLiteral("appName=%1").arg(name));
    auto *menuBar = m_osxMainWindow ? qobject_cast<QMenuBar *>(m_osxMainWindow->menuWidget()) : nullptr;
    if (!menuBar)
        return;
    const QList<QAction *> menus = menuBar->actions();
    if (!menus.isEmpty())
        replaceTemplateWord(menus.first()->menu(), name);
    const QString help = Pavisade::localizedString(QStringLiteral("Help"));
    for (QAction *action : menus) {
        if (action->text() == help) {
            replaceTemplateWord(action->menu(), name);
            break;
        }
    }
}

void XXXAppDelegate::windowTitleConfig()
{
    if (m_osxMainWindow) {
        m_osxMainWindow->setWindowTitle(appDisplayName());
        QScreen *screen = QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect();
        // No larger than the screen's free area, whatever its size and scale.
        m_osxMainWindow->setGeometry(
            QRect(available.topLeft(), QSize(1000, 600).boundedTo(available.size())));
        XXXLog(QStringLiteral("mainScreen = {{%1, %2}, {%3, %4}} ")
                   .arg(available.x())
                   .arg(available.y())
                   .arg(available.width())
                   .arg(available.height()));
        Pavisade::setRepresentedURL(m_osxMainWindow, QUrl(QStringLiteral("WindowTitle")));
        Pavisade::centerWindowInArea(m_osxMainWindow, available);
    }
    windowTitleIconConfig();
    if (m_osxMainWindow)
        Pavisade::setDocumentIconImage(m_osxMainWindow,
                                       XXXCommonImageCache::sharedInstance().windowTitleImage());
}

void XXXAppDelegate::windowTitleIconConfig()
{
    XXXCommonImageCache::sharedInstance().upDateWindowTitleImage(QStringLiteral("velderhopIcon29x29"));
}

void XXXAppDelegate::mainViewControllerConfig()
{
    m_mainViewController = startViewController();
}

void XXXAppDelegate::showMainView()
{
    if (!m_mainViewController) {
        XXXLog(QStringLiteral("hi,mainViewController not config!"));
        return;
    }
    QWidget *view = m_mainViewController->view();
    if (ScreenStack *stack = ScreenStack::of(m_osxMainWindow))
        stack->showScreen(view);
    m_isShowMainView = true;
}

void XXXAppDelegate::toolBarConfig()
{
    m_osxToolBar = mainToolBar();
    if (m_osxMainWindow && m_osxToolBar && m_osxToolBar->parentWidget() != m_osxMainWindow)
        m_osxMainWindow->addToolBar(m_osxToolBar);
}

void XXXAppDelegate::toolBarActionConfig()
{
    Pavisade::bindToolBarActions(this, m_osxToolBar, toolBarIditifers());
}

void XXXAppDelegate::i18Location()
{
    toolBarGLocation();
    menuGLocation();
}

QString XXXAppDelegate::toolBarActionNamePrefix(const QString &identifier) const
{
    return Pavisade::toolBarActionNamePrefix(toolBarIditifers(), identifier);
}

void XXXAppDelegate::_defaultToolBarItemClick(QAction *sender)
{
    XXXLog(QStringLiteral("identifier=%1").arg(sender ? sender->objectName() : QString()));
}

void XXXAppDelegate::registerWindowCloseNotify()
{
    if (m_watchingClose || !qApp)
        return;
    qApp->installEventFilter(this);
    m_watchingClose = true;
}

void XXXAppDelegate::terminate()
{
    QCoreApplication::quit();
}

bool XXXAppDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && watched->isWidgetType() && m_osxMainWindow &&
        watched == m_osxMainWindow.data()) {
        // The window may still refuse to close: decide once the close was handled.
        QPointer<QMainWindow> window = m_osxMainWindow;
        QTimer::singleShot(0, this, [this, window] {
            if (window && !window->isVisible())
                terminate();
        });
    }
    return QObject::eventFilter(watched, event);
}

void XXXAppDelegate::changeViewWithIdentifier(const QString &identifier)
{
    X3CommonViewController *controller = routedController(identifier);
    if (!controller)
        return;
    controller->setParentWindow(mainWindow());
    changeViewToViewController(controller);
}

void XXXAppDelegate::changeViewToViewController(X3CommonViewController *controller)
{
    if (controller)
        controller->setParentWindow(mainWindow());
    if (!controller || controller == m_currentViewController)
        return;
    ScreenStack *stack = ScreenStack::of(mainWindow());
    if (m_currentViewController && stack)
        stack->removeScreen(m_currentViewController);
    m_currentViewController = controller;
    QWidget *view = controller->view();
    if (stack)
        stack->showScreen(view);
}

void XXXAppDelegate::removeViewWithIdentifier(const QString &identifier)
{
    X3CommonViewController *controller = routedController(identifier);
    if (!controller)
        return;
    if (ScreenStack *stack = ScreenStack::of(mainWindow()))
        stack->removeScreen(controller);
}

XXXSpinningProgressIndicator *XXXAppDelegate::progressIndicator()
{
    if (!m_progressIndicator) {
        QWidget *content = m_osxMainWindow ? m_osxMainWindow->centralWidget() : nullptr;
        auto *indicator = new XXXSpinningProgressIndicator(content);
        indicator->resize(40, 40);
        if (content) {
            indicator->move((content->width() - 40) / 2, (content->height() - 40) / 2);
            Bastwick::setAutoresizingMask(indicator, Bastwick::ViewMinXMargin | Bastwick::ViewMaxXMargin |
                                                         Bastwick::ViewMinYMargin | Bastwick::ViewMaxYMargin);
        }
        indicator->setStyle(XXXSpinningProgressIndicator::SpinningStyle);
        indicator->setIndeterminate(true);
        indicator->setMaxValue(100);
        indicator->hide();
        m_progressIndicator = indicator;
    }
    return m_progressIndicator;
}

void XXXAppDelegate::displayActivityView()
{
    XXXSpinningProgressIndicator *indicator = progressIndicator();
    indicator->show();
    indicator->raise();
    indicator->startAnimation();
}

void XXXAppDelegate::hideActivityView()
{
    XXXSpinningProgressIndicator *indicator = progressIndicator();
    indicator->hide();
    indicator->stopAnimation();
}

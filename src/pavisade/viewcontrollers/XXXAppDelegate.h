#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtCore/QHash>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QToolBar>

QT_BEGIN_NAMESPACE
class QAction;
QT_END_NAMESPACE

// Identifiers of window-toolbar items that are not actions (give them to an action as
// its object name); separator actions count as separators too.
PAVISADE_EXPORT extern const QString XXXToolbarSeparatorItemIdentifier;     // "separator"
PAVISADE_EXPORT extern const QString XXXToolbarSpaceItemIdentifier;         // "space"
PAVISADE_EXPORT extern const QString XXXToolbarFlexibleSpaceItemIdentifier; // "flexibleSpace"

namespace Pavisade {

// Moves the window so that its frame is centred in the area (a screen's free area),
// but never with its top-left corner outside it: a window larger than the area keeps
// its left edge and its title bar on the screen.
PAVISADE_EXPORT void centerWindowInArea(QWidget *window, const QRect &area);

} // namespace Pavisade

// The base of the application's delegate. awakeFromNib() runs the start-up as a fixed
// sequence of steps and hooks, each with a default a subclass overrides:
//
//   osxMainWindowConfig   the main window from mainWindow()
//   viewControllerRouteConfig
//   menuConfig            "Velderhop" in the application and Help menus -> display name
//   windowTitleConfig     title, 1000 x 600 (no more than the screen's free area), centred, icon
//   mainViewControllerConfig   the first screen from startViewController()
//   openDataBase
//   showMainView          the first screen fills the window's screen stack
//   toolBarConfig         mainToolBar() is put on the main window
//   toolBarActionConfig   window-toolbar items -> "<prefix>ToolBarItemClick(QAction*)"
//   i18Location           toolBarGLocation(), menuGLocation()
//
// It also switches screens in the main window by route identifier (screens made by
// class name through the route table and kept by it) and shows a centred spinner.
// Main thread.
class PAVISADE_EXPORT XXXAppDelegate : public QObject
{
    Q_OBJECT
public:
    explicit XXXAppDelegate(QObject *parent = nullptr);
    ~XXXAppDelegate() override;

    // The delegate made last and still alive, or null.
    static XXXAppDelegate *sharedAppDelegate();
    // The application's display name.
    static QString appDisplayName();

    // The start-up sequence; runs once.
    virtual void awakeFromNib();

    // --- hooks --------------------------------------------------------------------
    virtual QMainWindow *mainWindow() { return nullptr; }
    virtual void viewControllerRouteConfig() {}
    virtual X3CommonViewController *startViewController() { return nullptr; }
    virtual void openDataBase() {}
    virtual QToolBar *mainToolBar() { return nullptr; }
    // Toolbar item identifier -> action-name prefix.
    virtual QHash<QString, QString> toolBarIditifers() const { return {}; }
    virtual void toolBarGLocation() {}
    virtual void menuGLocation() {}
    Q_INVOKABLE virtual void defaultToolBarItemClick(QAction *sender) { Q_UNUSED(sender); }

    // --- start-up steps -------------------------------------------------------------
    virtual void osxMainWindowConfig();
    virtual void menuConfig();
    virtual void windowTitleConfig();
    virtual void windowTitleIconConfig();
    virtual void mainViewControllerConfig();
    virtual void showMainView();
    virtual void toolBarConfig();
    virtual void toolBarActionConfig();
    virtual void i18Location();

    // Closing the main window ends the application (terminate()); other windows are
    // ignored. The subclass calls this after the start-up.
    void registerWindowCloseNotify();
    // Ends the application.
    virtual void terminate();

    QString toolBarActionNamePrefix(const QString &identifier) const;
    Q_INVOKABLE void _defaultToolBarItemClick(QAction *sender);

    // --- screens ----------------------------------------------------------------------
    void changeViewWithIdentifier(const QString &identifier);
    void changeViewToViewController(X3CommonViewController *controller);
    void removeViewWithIdentifier(const QString &identifier);

    // --- spinner ----------------------------------------------------------------------
    XXXSpinningProgressIndicator *progressIndicator();
    void displayActivityView();
    void hideActivityView();

    // --- state --------------------------------------------------------------------------
    QMainWindow *osxMainWindow() const { return m_osxMainWindow; }
    QToolBar *osxToolBar() const { return m_osxToolBar; }
    X3CommonViewController *mainViewController() const { return m_mainViewController; }
    X3CommonViewController *currentViewController() const { return m_currentViewController; }
    QString currentViewIdentifier() const { return m_currentViewIdentifier; }
    void setCurrentViewIdentifier(const QString &identifier) { m_currentViewIdentifier = identifier; }
    QString probeServiceType() const { return m_probeServiceType; }
    void setProbeServiceType(const QString &type) { m_probeServiceType = type; }
    bool isShowMainView() const { return m_isShowMainView; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QMainWindow> m_osxMainWindow;
    QPointer<QToolBar> m_osxToolBar;
    QPointer<X3CommonViewController> m_mainViewController;
    QPointer<X3CommonViewController> m_currentViewController;
    QString m_currentViewIdentifier;
    QString m_probeServiceType;
    bool m_isShowMainView = false;
    bool m_awoken = false;
    bool m_watchingClose = false;
    QPointer<XXXSpinningProgressIndicator> m_progressIndicator;
};

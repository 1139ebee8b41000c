#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QHash>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QToolBar>

QT_BEGIN_NAMESPACE
class QAction;
QT_END_NAMESPACE

class X3CommonViewController;

// The base of the controllers of secondary windows. The window is made on first demand
// (loadWindow(), a plain QMainWindow unless overridden) and then set up by
// windowDidLoad(): centred, then osxMainWindowConfig, toolBarConfig (twice),
// toolBarActionConfig, windowTitleConfig, i18Location. The controller owns the window
// it made. Main thread.
class PAVISADE_EXPORT XXXWindowCommonController : public QObject
{
    Q_OBJECT
public:
    explicit XXXWindowCommonController(QObject *parent = nullptr);
    ~XXXWindowCommonController() override;

    // The name of the window's interface: the class name unless overridden.
    virtual QString windowNibName() const;
    // The window, made and set up on first demand.
    QWidget *window();
    bool isWindowLoaded() const { return m_window != nullptr; }
    // Shows the window (making it when needed) in front, active, with the focus on its
    // initial first responder. An owned window waits until its owner is on screen, so a
    // window opened while the application starts lands in front of the main window.
    void showWindow();

    // The window that owns this one (the main window): the window becomes its child
    // window, kept in front of it by the window system. Set before the window is made.
    QWidget *ownerWindow() const { return m_ownerWindow; }
    void setOwnerWindow(QWidget *owner) { m_ownerWindow = owner; }
    // The widget that gets the focus when the window is shown; none here.
    virtual QWidget *initialFirstResponder() const { return nullptr; }

    // --- hooks ---------------------------------------------------------------------
    virtual QMainWindow *mainWindow() { return nullptr; }
    virtual QToolBar *mainToolBar() { return nullptr; }
    virtual QHash<QString, QString> toolBarIditifers() const { return {}; }
    // The identifier to use for a toolbar item; a null text means its own object name.
    virtual QString identifierToolbar(QAction *item) const
    {
        Q_UNUSED(item);
        return QString();
    }
    virtual QString appDisplayName() const { return QStringLiteral(""); }
    virtual void toolBarGLocation() {}
    virtual void lableGLocation() {}
    virtual void menuGLocation() {}
    Q_INVOKABLE virtual void defaultToolBarItemClick(QAction *sender) { Q_UNUSED(sender); }

    // --- set-up steps ----------------------------------------------------------------
    virtual void osxMainWindowConfig();
    virtual void toolBarConfig();
    virtual void toolBarActionConfig();
    // Title from appDisplayName(); the main window covers the screen's available area.
    virtual void windowTitleConfig();
    virtual void windowTitleIconConfig();
    // Title translated, then toolBarGLocation, buttonGLocation, lableGLocation, menuGLocation.
    virtual void i18Location();
    // Translates the buttons that are direct children of the window's body.
    virtual void buttonGLocation();
    QString toolBarActionNamePrefix(const QString &identifier) const;
    Q_INVOKABLE void _defaultToolBarItemClick(QAction *sender);

    // Puts the screen's view into the window's body at its full size; a null screen
    // only logs.
    void showViewController(X3CommonViewController *controller);

    QMainWindow *osxMainWindow() const { return m_osxMainWindow; }
    QToolBar *osxToolBar() const { return m_osxToolBar; }

protected:
    // Makes the window; a plain QMainWindow here.
    virtual QWidget *loadWindow();
    virtual void windowDidLoad();

private:
    QWidget *body() const;

    void showNow();

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_ownerWindow;
    QPointer<QMainWindow> m_osxMainWindow;
    QPointer<QToolBar> m_osxToolBar;
};

namespace Pavisade {
// The first action of the toolbar whose object name is the identifier, or null.
PAVISADE_EXPORT QAction *itemWithIdentifer(const QToolBar *toolBar, const QString &identifier);
} // namespace Pavisade

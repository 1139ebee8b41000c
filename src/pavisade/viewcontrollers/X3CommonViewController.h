#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/toolbar/XXXButtonToolBarItem.h>

#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>
#include <QtWidgets/QWidget>

QT_BEGIN_NAMESPACE
class QAbstractButton;
QT_END_NAMESPACE

class XXXButtonToolBar;

// The base of every screen. A screen is a QWidget; its life-cycle hooks run from one
// non-virtual, idempotent setUp(), which view() calls the first time anyone asks for
// the screen's view (as a lazily loaded view would), in this order:
//
//   loadInterface()   builds the widgets (in code, or setupUi of the .ui named after
//                     the class)
//   awakeFromNib()    the awakening chain; the base registers the screen for window
//                     resizes (each resize of any window reaches resizeUI(), coalesced
//                     to one call per event-loop turn) and localises the screen
//   loadView()        the rest of view loading (containers add their split or tab
//                     view here)
//
// Hooks never rely on final geometry: layouts (or the autoresizing of Bastwick's
// ViewGeometry) place the widgets. The configuration hooks are empty in the base;
// containers and the application call them. Main thread.
class PAVISADE_EXPORT X3CommonViewController : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString nibName READ nibName WRITE setNibName)
    Q_PROPERTY(int tag READ tag WRITE setTag)
public:
    Q_INVOKABLE explicit X3CommonViewController(QWidget *parent = nullptr);
    ~X3CommonViewController() override;

    // The screen's view (the screen itself), set up on first demand.
    QWidget *view();
    // Runs the life-cycle hooks once; later calls do nothing.
    void setUp();
    bool isViewLoaded() const { return m_viewLoaded; }

    // The name of the interface the screen builds: "X3CommonViewController" unless set;
    // useClassNib() sets it to the class name (the route table sets it the same way).
    QString nibName() const { return m_nibName; }
    void setNibName(const QString &name) { m_nibName = name; }
    void useClassNib();

    // The window that hosts the screen; sheets and alerts open on it. Not owned.
    QWidget *parentWindow() const { return m_parentWindow; }
    void setParentWindow(QWidget *window) { m_parentWindow = window; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    // --- configuration hooks (empty in the base) ---------------------------------
    virtual void refreshView() {}
    virtual void refreshViewWithData(const QVariant &data) { Q_UNUSED(data); }
    virtual void resizeUI() {}
    virtual void viewConfig() {}
    virtual void tableViewConfig() {}
    virtual void tabViewConfig() {}
    virtual void treeViewConfig() {}
    virtual void splitViewConfig() {}
    virtual void viewSizeConfig() {}
    virtual void viewStyleConfig() {}
    virtual void tableViewSizeConfig() {}
    virtual void tabViewSizeConfig() {}
    virtual void treeViewSizeConfig() {}
    virtual void splitViewSizeConfig() {}
    virtual void registerFileDragType() {}
    virtual void toolBarGLocation() {}
    virtual void lableGLocation() {}
    virtual void menuGLocation() {}
    // Identifiers of direct child buttons that buttonActionConfig() routes by name.
    virtual QStringList buttonIditifers() const { return {}; }

    // --- localisation ---------------------------------------------------------------
    // toolBarGLocation(), buttonGLocation(), lableGLocation(), menuGLocation().
    virtual void i18Location();
    // Translates the texts of the buttons that are direct children of the screen.
    void buttonGLocation();

    // --- toolbar ----------------------------------------------------------------------
    // The screen's toolbar items; three image buttons (add, remove, refresh) by default.
    virtual QList<XXXButtonToolBarItem> toolbarItemsConfig() const;
    // The toolbar strip, made on first use: 24 high along the bottom edge of the screen,
    // following its width; clicks reach toolButtonClicked().
    XXXButtonToolBar *toolBarView();
    bool hasToolBar() const { return m_toolBarView != nullptr; }
    // Configures the toolbar with toolbarItemsConfig() and lays it out.
    void setUpToolBarConfig();
    // Fills the toolbar with its own default items and lays it out.
    void setUpDefaultToolBarConfig();
    void setupDefaultToolBarView() { setUpDefaultToolBarConfig(); }
    // Places an existing toolbar along the bottom edge at the screen's current width.
    void layoutToolBar();
    // The clicked toolbar button; its "tag" property is the item's tag. Empty here.
    virtual void toolButtonClicked(QAbstractButton *sender) { Q_UNUSED(sender); }
    // The height subclasses reserve for the toolbar: 24 unless set to a positive value.
    float toolbarParentViewDefaultHeight();
    void updateToolbarParentViewHeight(float height) { m_toolbarParentViewHeight = height; }

    // --- buttons routed by name -------------------------------------------------------
    // Each direct child button named in buttonIditifers() calls buttonClicked().
    void buttonActionConfig();
    // Calls the Q_INVOKABLE method "<identifier with a lower-case first letter>Action"
    // with the button; a screen without that method only logs.
    void buttonClicked(QAbstractButton *sender);

protected:
    // Builds the screen's widgets. Empty here (a plain empty view).
    virtual void loadInterface() {}
    // The base registers for window resizes and runs i18Location().
    virtual void awakeFromNib();
    // Runs after the awakening; empty here.
    virtual void loadView() {}

    // Registers the screen so window resizes reach its resizeUI().
    void registerWindowDidResizeNotification();

private:
    QString m_nibName = QStringLiteral("X3CommonViewController");
    QPointer<QWidget> m_parentWindow;
    int m_tag = 0;
    bool m_viewLoaded = false;
    bool m_settingUp = false;
    XXXButtonToolBar *m_toolBarView = nullptr;
    float m_toolbarParentViewHeight = 0;
};

#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/ChildScreens.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>
#include <pavisade/viewcontrollers/XXXTabItemDefine.h>

#include <QtCore/QPointer>
#include <QtCore/QVariantList>
#include <QtWidgets/QTabWidget>

// The base of every tabbed screen. A subclass lists its tabs (tabColumnsDef) and names
// one child screen per tab (tabViewControllersConfig, setControllers); the base makes
// one tab per definition and puts a child's view into its tab the first time the tab
// is selected (the first tab is selected when it is added). Tabs without a child stay
// empty.
//
// Start-up, within the base's setUp(): awakeFromNib -> tabViewSizeConfig ->
// tabViewConfig (tabColumnsDef, tabViewControllersConfig, the tabs, tabSubViewConfig)
// -> tabSubViewSizeConfig; then loadView adds the tab view to the screen. A tab screen
// does not run the common base's awakening, so it is not registered for window
// resizes and not localised. Main thread.
class PAVISADE_EXPORT X3TabViewController : public X3CommonViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit X3TabViewController(QWidget *parent = nullptr);
    ~X3TabViewController() override;

    // The tab view: tabXibView() when it answers one, else made on first use; this
    // screen hears its selections.
    QTabWidget *tabView();

    QList<X3CommonViewController *> controllers() const { return m_controllers.list(); }
    void setControllers(const QList<X3CommonViewController *> &controllers);

    // Room kept free above and left of the tab view; setting one re-runs viewSizeConfig()
    // (subclasses that only store the value override these).
    float tabViewTopPadding() const { return m_tabViewTopPadding; }
    virtual void setTabViewTopPadding(float padding);
    float tabViewLeftPadding() const { return m_tabViewLeftPadding; }
    virtual void setTabViewLeftPadding(float padding);

    // Held for subclasses.
    QVariantList tabTitleItems() const { return m_tabTitleItems; }
    void setTabTitleItems(const QVariantList &items) { m_tabTitleItems = items; }
    QList<X3CommonViewController *> activeControllers() const { return m_activeControllers.list(); }
    void setActiveControllers(const QList<X3CommonViewController *> &controllers)
    {
        m_activeControllers.set(this, controllers);
    }

    // --- hooks ---------------------------------------------------------------------
    virtual XXXTabItemDefineList tabColumnsDef() const { return {}; }
    // Sets no children in the base.
    virtual void tabViewControllersConfig() { setControllers({}); }
    virtual QTabWidget *tabXibView() { return nullptr; }
    // Places the tab view inside the paddings.
    void tabViewSizeConfig() override;
    // The tabs' containers are sized by the tab view's page stack; a hook for subclasses.
    virtual void tabSubViewConfig() {}
    // Runs viewSizeConfig() of every child already placed in its tab.
    virtual void tabSubViewSizeConfig();
    // tabColumnsDef, tabViewControllersConfig, the tabs from the definitions, tabSubViewConfig.
    void tabViewConfig() override;
    // Rebuilds the tabs from the definitions; children are placed again on selection.
    void tabReLayout() { tabViewConfig(); }
    void viewConfig() override {}
    void viewSizeConfig() override;

    // Places the selected tab's child the first time its tab is selected.
    virtual void tabViewDidSelectTabViewItem(QTabWidget *tabView, int index);

protected:
    void awakeFromNib() override;
    void loadView() override;
    void storeTabViewTopPadding(float padding) { m_tabViewTopPadding = padding; }
    void storeTabViewLeftPadding(float padding) { m_tabViewLeftPadding = padding; }

private:
    void placeTabView(int left, int top);

    QPointer<QTabWidget> m_tabView;
    Pavisade::ChildScreens m_controllers;
    Pavisade::ChildScreens m_activeControllers;
    QVariantList m_tabTitleItems;
    float m_tabViewTopPadding = 0;
    float m_tabViewLeftPadding = 0;
};

// A tab screen laid out in a Designer file: the tab view keeps the place its
// interface gives it, so the paddings move nothing.
class PAVISADE_EXPORT X3TabViewXibController : public X3TabViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit X3TabViewXibController(QWidget *parent = nullptr);
    void tabViewSizeConfig() override {}
};

namespace Pavisade {

// Replaces the tabs by one per definition (title as label, identifier as the page's
// object name, an empty page that fills the tab). An empty list leaves the tabs as
// they are. Views placed in the old pages stay owned by the tab view, hidden.
PAVISADE_EXPORT void setTabColumnsDef(QTabWidget *tabView, const XXXTabItemDefineList &definitions);
// Removes every tab (its page and the page's own widgets; placed views are kept).
PAVISADE_EXPORT void removeAllTabs(QTabWidget *tabView);
// The selected tab's position, or -1 when none is selected.
PAVISADE_EXPORT int selectedTabViewItemIndex(const QTabWidget *tabView);

} // namespace Pavisade

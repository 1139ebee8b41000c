#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/sidepanes/XTBar.h>
#include <pavisade/sidepanes/XTTabBarItem.h>

#include <QtCore/QPointer>

class XTTabBar;
class XTTabBarButtonCell;

// What the owner of an icon tab bar hears. Every message is optional (the defaults
// allow every selection and do nothing).
class PAVISADE_EXPORT XTTabBarDelegate
{
public:
    virtual ~XTTabBarDelegate() = default;
    // False vetoes the selection: nothing changes and nothing else is sent.
    virtual bool tabBarShouldSelectItem(XTTabBar *tabBar, XTTabBarItem *item);
    virtual void tabBarWillSelectItem(XTTabBar *tabBar, XTTabBarItem *item);
    virtual void tabBarDidSelectItem(XTTabBar *tabBar, XTTabBarItem *item);
};

// A strip of 32-pixel square image buttons, one per item, centred; the button of the
// selected item is pressed. Pressing a button asks the delegate, then selects the item;
// a button never presses or releases itself. Setting an equal item list or the same
// selection again changes nothing; a new list that lacks the selection selects its
// first item. Each button follows its item's image, enabled flag, tooltip and key
// equivalent as they change. Main thread.
class PAVISADE_EXPORT XTTabBar : public XTBar
{
    Q_OBJECT
public:
    explicit XTTabBar(QWidget *parent = nullptr);
    ~XTTabBar() override;

    XTTabBarItemList items() const { return m_items; }
    void setItems(const XTTabBarItemList &items);
    // The selected item (held weakly), or null.
    XTTabBarItem *selectedItem() const { return m_selectedItem.lock().get(); }
    void setSelectedItem(const XTTabBarItemPtr &item);
    // The delegate, held weakly: a QObject that implements XTTabBarDelegate.
    void setDelegate(QObject *delegate) { m_delegate = delegate; }
    QObject *delegate() const { return m_delegate; }
    // The buttons, button i for item i (its tag is i).
    QList<XTTabBarButtonCell *> barButtons() const;

    // Rebuilds every button from the items.
    void updateButtons();
    // Presses the selected item's button and releases the others.
    void updateButtonState();
    // Centres the row of buttons.
    void adjustSubviews();
    // Runs the selection for the button's item.
    void selectBarButton(XTTabBarButtonCell *button);
    // Selects through the button at the position, then rebuilds the buttons. A position
    // outside the buttons is refused with a log line.
    void selectBarButtonAtIndex(int index);

signals:
    void itemsChanged();
    void selectedItemChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    XTTabBarDelegate *delegateInterface() const;
    int indexOfSelectedItem() const;
    void bindButton(XTTabBarButtonCell *button, XTTabBarItem *item);

    XTTabBarItemList m_items;
    std::weak_ptr<XTTabBarItem> m_selectedItem;
    QPointer<QObject> m_delegate;
    QList<QPointer<XTTabBarButtonCell>> m_barButtons;
};

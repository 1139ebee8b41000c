#include <pavisade/sidepanes/XTTabBar.h>

#include <pavisade/sidepanes/XTTabBarButtonCell.h>

#include <bastwick/platform/Log.h>

#include <QtGui/QKeySequence>

#include <cmath>

namespace {
constexpr int kButtonWidth = 32;
}

bool XTTabBarDelegate::tabBarShouldSelectItem(XTTabBar *tabBar, XTTabBarItem *item)
{
    Q_UNUSED(tabBar);
    Q_UNUSED(item);
    return true;
}

void XTTabBarDelegate::tabBarWillSelectItem(XTTabBar *tabBar, XTTabBarItem *item)
{
    Q_UNUSED(tabBar);
    Q_UNUSED(item);
}

void XTTabBarDelegate::tabBarDidSelectItem(XTTabBar *tabBar, XTTabBarItem *item)
{
    Q_UNUSED(tabBar);
    Q_UNUSED(item);
}

XTTabBar::XTTabBar(QWidget *parent)
    : XTBar(parent)
{
}

XTTabBar::~XTTabBar()
{
    // The buttons go with the bar; their item connections must not outlive them.
    for (const auto &button : std::as_const(m_barButtons)) {
        if (button)
            button->disconnect();
    }
    for (const auto &item : std::as_const(m_items))
        item->disconnect(this);
}

void XTTabBar::setItems(const XTTabBarItemList &items)
{
    if (items == m_items)
        return;
    m_items = items;
    emit itemsChanged();
    updateButtons();
}

void XTTabBar::setSelectedItem(const XTTabBarItemPtr &item)
{
    if (item.get() == selectedItem())
        return;
    m_selectedItem = item;
    emit selectedItemChanged();
    updateButtonState();
}

QList<XTTabBarButtonCell *> XTTabBar::barButtons() const
{
    QList<XTTabBarButtonCell *> buttons;
    for (const auto &button : m_barButtons)
        buttons.append(button);
    return buttons;
}

int XTTabBar::indexOfSelectedItem() const
{
    XTTabBarItem *selected = selectedItem();
    if (!selected)
        return -1;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).get() == selected)
            return i;
    }
    return -1;
}

void XTTabBar::bindButton(XTTabBarButtonCell *button, XTTabBarItem *item)
{
    auto image = [button, item] { button->setIcon(item->image()); };
    auto enabled = [button, item] { button->setEnabled(item->enabled()); };
    auto toolTip = [button, item] { button->setToolTip(item->toolTip()); };
    auto key = [button, item] {
        const QString text = item->keyEquivalent();
        const QKeySequence typed(text);
        button->setShortcut(
            typed.isEmpty() ? QKeySequence()
                            : QKeySequence(QKeyCombination(
                                  Qt::KeyboardModifiers(item->keyEquivalentModifierMask()), typed[0].key())));
    };
    image();
    enabled();
    toolTip();
    key();
    connect(item, &XTTabBarItem::imageChanged, button, image);
    connect(item, &XTTabBarItem::enabledChanged, button, enabled);
    connect(item, &XTTabBarItem::toolTipChanged, button, toolTip);
    connect(item, &XTTabBarItem::keyEquivalentChanged, button, key);
}

void XTTabBar::updateButtons()
{
    for (const auto &button : std::as_const(m_barButtons)) {
        if (!button)
            continue;
        button->hide();
        button->deleteLater(); // its item connections go with it
    }
    m_barButtons.clear();
    const int selected = indexOfSelectedItem();
    for (int i = 0; i < m_items.size(); ++i) {
        auto *button = new XTTabBarButtonCell(this);
        button->resize(kButtonWidth, height());
        button->setState(i == selected ? 1 : 0);
        button->setProperty("tag", i);
        bindButton(button, m_items.at(i).get());
        connect(button, &QAbstractButton::pressed, this, [this, button] { selectBarButton(button); });
        button->show();
        m_barButtons.append(button);
    }
    adjustSubviews();
    if (selected < 0)
        setSelectedItem(m_items.isEmpty() ? XTTabBarItemPtr() : m_items.first());
}

void XTTabBar::updateButtonState()
{
    const int selected = indexOfSelectedItem();
    for (int i = 0; i < m_barButtons.size(); ++i) {
        if (m_barButtons.at(i))
            m_barButtons.at(i)->setState(i == selected ? 1 : 0);
    }
}

void XTTabBar::adjustSubviews()
{
    const int rowWidth = int(m_barButtons.size()) * kButtonWidth;
    int x = int(std::floor(float(width() - rowWidth) / 2.0f));
    for (const auto &button : std::as_const(m_barButtons)) {
        if (button)
            button->setGeometry(x, 0, kButtonWidth, height());
        x += kButtonWidth;
    }
}

XTTabBarDelegate *XTTabBar::delegateInterface() const
{
    return dynamic_cast<XTTabBarDelegate *>(m_delegate.data());
}

void XTTabBar::selectBarButton(XTTabBarButtonCell *button)
{
    const int index = button ? button->property("tag").toInt() : -1;
    if (index < 0 || index >= m_items.size())
        return;
    const XTTabBarItemPtr item = m_items.at(index);
    if (XTTabBarDelegate *delegate = delegateInterface()) {
        if (!delegate->tabBarShouldSelectItem(this, item.get()))
            return;
        delegate->tabBarWillSelectItem(this, item.get());
    }
    setSelectedItem(item);
    if (XTTabBarDelegate *delegate = delegateInterface())
        delegate->tabBarDidSelectItem(this, item.get());
}

void XTTabBar::selectBarButtonAtIndex(int index)
{
    if (index < 0 || index >= m_barButtons.size()) {
        XXXLogWarning(
            QStringLiteral("no bar button at %1 (the bar has %2)").arg(index).arg(m_barButtons.size()));
        return;
    }
    selectBarButton(m_barButtons.at(index));
    updateButtons();
}

void XTTabBar::resizeEvent(QResizeEvent *event)
{
    XTBar::resizeEvent(event);
    adjustSubviews();
}

#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/toolbar/XXXButtonToolBarItem.h>

#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QPointF>
#include <QtCore/QPointer>
#include <QtCore/QRectF>
#include <QtCore/QSize>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QWidget>

QT_BEGIN_NAMESPACE
class QAbstractButton;
QT_END_NAMESPACE

// An image button of a button toolbar: borderless, with the item's tag. It draws its
// own states rather than the style's raised panel (which would cover the light icons of
// the dark strips): the icon always, under the pointer a faint wash and pressed a
// stronger one, light over dark icons' strips and dark over light ones. The pointer is
// checked again after a click, since a dialog opened by the click swallows the leave.
// Main thread.
class PAVISADE_EXPORT XXXToolBarButton : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(qint64 tag READ tag WRITE setTag)
public:
    explicit XXXToolBarButton(QWidget *parent = nullptr);

    qint64 tag() const { return m_tag; }
    void setTag(qint64 tag) { m_tag = tag; }

    // Whether the button shows itself as under the pointer.
    bool isHovered() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    qint64 m_tag = 0;
};

// A strip of image buttons and text labels laid out left to right inside a screen,
// built from a list of items. Each item keeps its own view (items of other kinds have
// none), so the layout never pairs an item with another item's view. A click emits
// buttonClicked() with the button, whose tag identifies the item. Labels without a
// width share the width the fixed items leave free in the parent, at every layout.
// Main thread.
class PAVISADE_EXPORT XXXButtonToolBar : public QWidget
{
    Q_OBJECT
public:
    explicit XXXButtonToolBar(QWidget *parent = nullptr);
    ~XXXButtonToolBar() override;

    // 32 x 24.
    static QSize defaultButtonSize();
    // The label font: the application font at 12 pixels.
    static QFont labelFont();
    // Three image buttons: add, remove, refresh.
    static QList<XXXButtonToolBarItem> itemConfig();

    // Stores the items and makes their views, replacing the views of an earlier
    // configuration. Does not lay out (a resize or layoutToolBarItem() does).
    void configToolbarWithItems(const QList<XXXButtonToolBarItem> &items);
    // configToolbarWithItems(itemConfig()).
    void setUpDefaultToolbarConfig();

    QList<XXXButtonToolBarItem> buttonItems() const { return m_items; }
    // Stores the list without making views.
    void setButtonItems(const QList<XXXButtonToolBarItem> &items);
    // The view of item i; null for an item without a view or an index out of range.
    QWidget *itemView(int index) const;

    // Sizes and places the item views; nothing when no items are configured.
    void layoutToolBarItem();

    // The first label with this identifier shows the text; nothing when there is none.
    void updateLabelWithIdentifier(const QString &identifier, const QString &title);
    // The first item view with that identifier, or null.
    QWidget *buttonWithIdentifier(const QString &identifier) const;

    // Item i's origin (the widths of the views before it, summed) and its frame (that
    // origin, its view's width, height 24). Design units, before rounding.
    QPointF elementPositionAtIndex(int index) const;
    QRectF elementFrameAtIndex(int index) const;

    // The older way of making the views of buttonItems(), replacing earlier ones: each
    // view is placed at once at its position; buttons are tagged by their running number
    // only and get no identifier or tooltip; labels get neither colour nor tag and sit at
    // (height - text height) / 2 + 1.
    void addToolBarItemToView2();

    // The older filling: one 32 x 24 image button per image name, tagged by position,
    // not placed; buttonItems() is not changed.
    void setItems(const QStringList &imageNames);
    void setUpDefaultToolbar();

signals:
    void buttonClicked(QAbstractButton *button);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addToolBarItemToView();
    void removeItemViews();
    void computeElementWidth();
    XXXToolBarButton *makeButton(const QString &imageName);
    void buttonCallback();
    void watchParent();
    double viewWidth(int index) const;

    QList<XXXButtonToolBarItem> m_items;
    QList<QPointer<QWidget>> m_itemViews; // one per item, null where an item has none
    QList<QSizeF> m_itemSizes;            // design sizes of the item views, unrounded
    QPointer<QWidget> m_watchedParent;
    bool m_layingOut = false;
    // The whole text of each label that shares the free width; it shows on one line,
    // shortened in the middle when it does not fit (the whole text is its tool tip).
    QHash<const QWidget *, QString> m_flexibleTexts;
};

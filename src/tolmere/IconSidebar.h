#pragma once

#include <tolmere/TolmereExport.h>

#include <QtCore/QPointer>
#include <QtGui/QColor>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QWidget>

#include <functional>

class IconSidebarItemCell;

// A narrow column of square icon items inside a QScrollArea, at most one of them
// selected. Escape clears the selection, Down and Up move it (no wrap-round). Every
// selection change, programmatic or by a click, calls the sidebar's action with the
// sidebar while its target lives, else the selected item's own action with the item.
//
// The sidebar sets itself up when it becomes a QScrollArea's widget: the area gets no
// frame and a dark background, and the sidebar watches that area's viewport (resizes
// and scrolls) so that it always fills the visible height, until it leaves the area or
// is destroyed. Main thread only.
class TOLMERE_EXPORT IconSidebar : public QWidget
{
    Q_OBJECT

public:
    using Action = std::function<void(IconSidebar *)>;
    enum ScrollerKnobStyle {
        ScrollerKnobStyleDefault = 0,
        ScrollerKnobStyleDark = 1,
        ScrollerKnobStyleLight = 2
    };

    explicit IconSidebar(QWidget *parent = nullptr);
    ~IconSidebar() override;

    static QSize defaultCellSize() { return QSize(62, 62); }

    // The widget that holds the items, one per row, and is the sidebar's only child.
    QWidget *matrix() const { return m_matrix; }
    // Makes another widget the holder: the sidebar takes it over, its item children (in
    // their order) become the items, at most the first checked one stays selected, and
    // the former holder goes with its items. Null is refused.
    void setMatrix(QWidget *matrix);
    QList<IconSidebarItemCell *> items() const { return m_items; }
    QScrollArea *enclosingScrollView() const { return m_scrollArea; }

    IconSidebarItemCell *addItemWithImage(const QPixmap &image);
    IconSidebarItemCell *addItemWithImage(const QPixmap &image, const QPixmap &alternateImage);
    IconSidebarItemCell *addItemWithImage(const QPixmap &image, QObject *target,
                                          std::function<void(IconSidebarItemCell *)> action);
    IconSidebarItemCell *addItemWithImage(const QPixmap &image, const QPixmap &alternateImage,
                                          QObject *target, std::function<void(IconSidebarItemCell *)> action);
    // Appends the item (the sidebar takes it over) as a new row.
    void addCell(IconSidebarItemCell *item);
    // Removes and deletes the item of that row; another row number does nothing.
    void removeRow(int row);

    IconSidebarItemCell *selectedItem() const;
    void setSelectedItem(IconSidebarItemCell *item);
    int selectedIndex() const;
    void setSelectedIndex(int index);
    void selectNextItem();
    void selectPreviousItem();
    void selectNeighbourItemWithValue(int value);
    void deselectAllItems();

    QObject *target() const { return m_target; }
    void setTarget(QObject *target) { m_target = target; }
    Action action() const { return m_action; }
    void setAction(Action action) { m_action = std::move(action); }

    QSize cellSize() const { return m_cellSize; }
    // Takes effect at the next resizeMatrix().
    void setCellSize(const QSize &size) { m_cellSize = size; }
    bool allowsEmptySelection() const { return m_allowsEmptySelection; }
    void setAllowsEmptySelection(bool allows);
    // The enclosing scroll area's background (invalid without one).
    QColor backgroundColor() const;
    void setBackgroundColor(const QColor &color);
    ScrollerKnobStyle scrollerKnobStyle() const { return m_scrollerKnobStyle; }
    void setScrollerKnobStyle(ScrollerKnobStyle style);

    // Sizes the matrix and the sidebar to the stacked items, stretched to the visible
    // height of the scroll area when the items are fewer.
    void resizeMatrix();

protected:
    // The item class of the sidebar: a subclass overrides it to make its own items.
    virtual IconSidebarItemCell *createItemCell(const QPixmap &image);
    // Runs when the sidebar is placed in a scroll area: sizes it and gives the area its look.
    virtual void awakeFromNib();
    void initialiseScrollView();

    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void matrixCallback();
    void adoptItem(IconSidebarItemCell *item);
    void itemClicked(IconSidebarItemCell *item);
    void selectCell(IconSidebarItemCell *item);
    void placementChanged();
    void applyScrollerKnobStyle();

    QWidget *m_matrix = nullptr;
    QList<IconSidebarItemCell *> m_items;
    QPointer<QScrollArea> m_scrollArea;
    // The area's viewport, kept apart: while the area is being destroyed its viewport
    // still sends events, and the area may no longer be used as a scroll area.
    QPointer<QWidget> m_viewport;
    QMetaObject::Connection m_scrollConnection;
    QPointer<QObject> m_target;
    Action m_action;
    QSize m_cellSize = defaultCellSize();
    bool m_allowsEmptySelection = true;
    bool m_resizing = false;
    ScrollerKnobStyle m_scrollerKnobStyle = ScrollerKnobStyleDefault;
};

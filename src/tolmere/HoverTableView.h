#pragma once

#include <tolmere/HoverTableRowView.h>
#include <tolmere/TolmereExport.h>

#include <QtCore/QPointer>
#include <QtWidgets/QTableView>

class ExtendedTableViewDelegate;

// A table whose rows light up under the mouse, show a rounded grey box when selected
// and are divided by thin fading lines that continue, at the row pitch, over the empty
// area below the last row. A press on a row is reported to the extended delegate once
// the button is released, also when the press ends a double-click. The row pitch of
// the empty area is the vertical header's default section size. Main thread only.
class TOLMERE_EXPORT HoverTableView : public QTableView
{
    Q_OBJECT
    // The background style the cells are drawn on: always light.
    Q_PROPERTY(int interiorBackgroundStyle READ interiorBackgroundStyle CONSTANT)

public:
    explicit HoverTableView(QWidget *parent = nullptr);
    ~HoverTableView() override;

    // The delegate is held weakly; it is told only when it implements
    // ExtendedTableViewDelegate.
    void setExtendedDelegate(QObject *delegate) { m_extendedDelegate = delegate; }
    ExtendedTableViewDelegate *extendedDelegate() const;

    HoverTableRowView::SelectionHighlightStyle selectionHighlightStyle() const { return m_highlightStyle; }
    void setSelectionHighlightStyle(HoverTableRowView::SelectionHighlightStyle style);
    int interiorBackgroundStyle() const { return HoverTableRowView::BackgroundStyleLight; }

    // The row under the mouse, or -1.
    int hoverRow() const { return m_hoverRow; }
    int rowHeight() const;
    using QTableView::rowHeight;
    // The bottom of the last row in table coordinates; 0 without rows.
    double yPositionPastLastRow() const;
    // The look of a row as it is now, in viewport coordinates.
    HoverTableRowView rowView(int row) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void drawGridInClipRect(QPainter *painter);

private:
    void setHoverRow(int row);
    void clearHighlightColour();
    void updateRow(int row);

    QPointer<QObject> m_extendedDelegate;
    HoverTableRowView::SelectionHighlightStyle m_highlightStyle =
        HoverTableRowView::SelectionHighlightStyleRegular;
    int m_hoverRow = -1;
    int m_pressedRow = -1;
};

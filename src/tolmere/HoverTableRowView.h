#pragma once

#include <tolmere/TolmereExport.h>

#include <QtCore/QRectF>
#include <QtGui/QColor>
#include <QtGui/QLinearGradient>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

// Draws the thin grey dividing line, fading out at both ends, across the rectangle
// from left to right. The colour stops are made once for the process.
TOLMERE_EXPORT void DrawSeparatorInRect(QPainter *painter, const QRectF &rect);

// The look of one row of a HoverTableView: its background, a soft white band while the
// mouse is over it, a rounded grey box when it is selected and the dividing line along
// its bottom edge. A row is described anew for each paint; it keeps no drawing state.
// Main thread only.
class TOLMERE_EXPORT HoverTableRowView
{
public:
    enum SelectionHighlightStyle { SelectionHighlightStyleNone = -1, SelectionHighlightStyleRegular = 0 };
    enum BackgroundStyle { BackgroundStyleLight = 0, BackgroundStyleDark = 1 };

    explicit HoverTableRowView(const QRectF &bounds = QRectF());

    QRectF bounds() const { return m_bounds; }
    bool mouseInside() const { return m_mouseInside; }
    void setMouseInside(bool inside) { m_mouseInside = inside; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected) { m_selected = selected; }
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color) { m_backgroundColor = color; }
    SelectionHighlightStyle selectionHighlightStyle() const { return m_selectionHighlightStyle; }
    void setSelectionHighlightStyle(SelectionHighlightStyle style) { m_selectionHighlightStyle = style; }

    // The colour faded in from transparent at the left, full from 0.35 to 0.65, and
    // faded out to transparent at the right of the rectangle.
    static QLinearGradient gradientWithTargetColor(const QColor &color, const QRectF &rect);

    void drawBackgroundInRect(QPainter *painter) const;
    // The last one-point strip of the row: its bottom edge.
    QRectF separatorRect() const;
    void drawSeparatorInRect(QPainter *painter) const;
    void drawSelectionInRect(QPainter *painter) const;
    // The cells always draw as on a light background, selected or not.
    BackgroundStyle interiorBackgroundStyle() const { return BackgroundStyleLight; }

private:
    QRectF m_bounds;
    bool m_mouseInside = false;
    bool m_selected = false;
    QColor m_backgroundColor = Qt::white;
    SelectionHighlightStyle m_selectionHighlightStyle = SelectionHighlightStyleRegular;
};

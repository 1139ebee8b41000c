#pragma once

#include <kestrune/chrome/controls/TokenAttachmentCell.h>

#include <QtGui/QColor>
#include <QtGui/QPainterPath>

// A token drawn as a rounded bubble with its title, in three colour schemes: default,
// highlighted (pressed in a window that draws as main) and selected (inside the text
// view's selection in such a window). Where the selection runs on into a neighbouring
// token, that end is square and reaches the cell's edge, so a selection over several
// tokens draws as one band. Sizes are in pixels, one design point each. Main thread.
class TKNTokenAttachmentCell : public Kestrune::TokenAttachmentCell
{
    Q_OBJECT
public:
    enum DrawingMode : unsigned { Default = 0, Highlighted = 1, Selected = 2 };
    // Join bits: the token joins its left neighbour, its right neighbour.
    enum JoinStyle : unsigned { JoinsLeft = 1, JoinsRight = 2 };

    Q_INVOKABLE explicit TKNTokenAttachmentCell(QObject *parent = nullptr);
    explicit TKNTokenAttachmentCell(const QString &title, QObject *parent = nullptr);

    QSizeF cellSize() const override;
    qreal cellBaselineOffset() const override;
    // Width: title width + title height + 22; height: title height; both rounded up.
    static QSizeF cellSizeForTitleSize(const QSizeF &titleSize);
    // bounds widened to at least its height + 22, then inset left and right by 11 + half
    // the height.
    static QRectF titleRectForBounds(const QRectF &bounds);
    // The bubble's outline in bounds; a joined end is square and reaches the bounds' edge.
    static QPainterPath tokenPathForBounds(const QRectF &bounds, unsigned joinStyle);

    static QColor tokenFillColorForDrawingMode(unsigned mode);
    static QColor tokenStrokeColorForDrawingMode(unsigned mode);
    // The title colour of a mode in a palette: its text colour, or the highlighted text
    // colour when selected.
    static QColor tokenTitleColorForDrawingMode(unsigned mode, const QPalette &palette);

    // Works out the drawing mode and join style for the character, then draws.
    void drawWithFrame(QPainter &painter, const QRectF &frame, const QWidget *controlView,
                       int characterIndex) override;
    void drawTokenWithFrame(QPainter &painter, const QRectF &frame, const QWidget *controlView);
    void drawTitleWithFrame(QPainter &painter, const QRectF &frame, const QWidget *controlView);

    // Both hold from the start of one drawing to the next.
    unsigned tokenDrawingMode() const { return m_drawingMode; }
    unsigned tokenJoinStyle() const { return m_joinStyle; }

private:
    unsigned m_drawingMode = Default;
    unsigned m_joinStyle = 0;
};

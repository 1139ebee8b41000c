#pragma once

#include <QtCore/QPointF>
#include <QtWidgets/QWidget>

// The strip at the top of a title-bar window that holds the title-bar view and moves
// the window when the bar is dragged. Small movements add up: the window moves (by the
// whole sum) once the sum on either axis reaches the drag threshold. Where the window
// system moves windows itself, the drag is handed to it at that moment; in full screen
// the bar does not move the window. Main thread.
class TBTitlebarContainer : public QWidget
{
    Q_OBJECT
public:
    explicit TBTitlebarContainer(QWidget *parent = nullptr);

    double mouseDragDetectionThreshold() const { return m_threshold; }
    void setMouseDragDetectionThreshold(double threshold) { m_threshold = threshold; }

    // Whether the press now held has moved the window (its release is then no click).
    bool isDragging() const { return m_moved; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    double m_threshold = 1.0;
    bool m_tracking = false;
    bool m_moved = false;
    bool m_systemMoveTried = false;
    QPointF m_start;
    QPointF m_origin;
    QPointF m_sum;
};

// An invisible strip along one edge (or a square at one corner) of a title-bar window
// that resizes it: through the window system where it offers that, otherwise by
// changing the window's geometry, never below the window's minimum size. Main thread.
class TBWindowGrip : public QWidget
{
    Q_OBJECT
public:
    TBWindowGrip(Qt::Edges edges, QWidget *window);

    Qt::Edges edges() const { return m_edges; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Qt::Edges m_edges;
    bool m_tracking = false;
    QPoint m_pressGlobal;
    QRect m_startGeometry;
};

#include <kestrune/chrome/TBTitlebarContainer.h>

#include <kestrune/chrome/TBWindow.h>
#include <tolmere/LiveResize.h>

#include <QtGui/QMouseEvent>
#include <QtGui/QWindow>

#include <cmath>

TBTitlebarContainer::TBTitlebarContainer(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TBTitlebarContainer"));
}

void TBTitlebarContainer::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_tracking = true;
    m_moved = false;
    m_systemMoveTried = false;
    m_start = event->globalPosition();
    m_origin = window()->pos();
    m_sum = QPointF();
    event->accept();
}

void TBTitlebarContainer::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_tracking || !(event->buttons() & Qt::LeftButton))
        return;
    auto *tbWindow = qobject_cast<TBWindow *>(window());
    if (tbWindow && tbWindow->isInFullScreen())
        return;
    const QPointF now = event->globalPosition();
    m_sum += now - m_start;
    m_start = now;
    if (std::abs(m_sum.x()) < m_threshold && std::abs(m_sum.y()) < m_threshold)
        return;
    if (!m_systemMoveTried) {
        m_systemMoveTried = true;
        QWindow *handle = window()->windowHandle();
        if (handle && handle->startSystemMove()) {
            // The window system moves the window from here on and ends the drag.
            m_tracking = false;
            m_moved = true;
            return;
        }
    }
    m_origin += m_sum;
    m_sum = QPointF();
    m_moved = true;
    window()->move(m_origin.toPoint());
}

void TBTitlebarContainer::mouseReleaseEvent(QMouseEvent *event)
{
    m_tracking = false;
    event->accept();
}

TBWindowGrip::TBWindowGrip(Qt::Edges edges, QWidget *window)
    : QWidget(window)
    , m_edges(edges)
{
    setObjectName(QStringLiteral("TBWindowGrip"));
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling =
            (edges == (Qt::TopEdge | Qt::LeftEdge)) || (edges == (Qt::BottomEdge | Qt::RightEdge));
        setCursor(falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    } else {
        setCursor(horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    }
}

void TBWindowGrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    QWindow *handle = window()->windowHandle();
    if (handle && handle->startSystemResize(m_edges))
        return;
    m_tracking = true;
    m_pressGlobal = event->globalPosition().toPoint();
    m_startGeometry = window()->geometry();
    // The drag is a live resize from the press to the release.
    if (LiveResize *live = LiveResize::instance())
        live->beginLiveResize(window());
}

void TBWindowGrip::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_tracking)
        return;
    const QPoint delta = event->globalPosition().toPoint() - m_pressGlobal;
    window()->setGeometry(
        TBWindow::geometryForEdgeDrag(m_startGeometry, m_edges, delta, window()->minimumSize()));
}

void TBWindowGrip::mouseReleaseEvent(QMouseEvent *event)
{
    const bool tracked = m_tracking;
    m_tracking = false;
    event->accept();
    if (LiveResize *live = LiveResize::instance(); live && tracked)
        live->endLiveResize(window());
}

#include <pavisade/sidepanes/XIInspectorView.h>

#include <pavisade/sidepanes/XIInspectorViewContainer.h>

#include <bastwick/ViewGeometry.h>

#include <QtGui/QPainter>

XIInspectorView::XIInspectorView(QWidget *parent)
    : XIInspectorBaseView(parent)
{
    setupView();
}

void XIInspectorView::setupView()
{
    m_header = new XIInspectorViewHeader(this);
    m_header->setDelegate(this);
    setExpanded(true);
}

void XIInspectorView::setExpanded(bool expanded)
{
    if (expanded == m_expanded)
        return;
    m_expanded = expanded;
    QRect frame;
    if (expanded) {
        const QSize bodySize = m_body ? m_body->size() : QSize(0, 0);
        frame = QRect(pos(), QSize(bodySize.width(), bodySize.height() + m_header->height()));
        if (m_body)
            m_body->show();
        m_header->setState(1);
        if (m_container)
            m_container->arrangeViews();
    } else {
        frame = QRect(pos(), m_header->size());
        if (m_body)
            m_body->hide();
        m_header->setState(0);
    }
    setGeometry(frame);
    if (m_container)
        m_container->arrangeViews();
}

void XIInspectorView::setBody(QWidget *body)
{
    if (m_body && m_body != body) {
        m_body->hide();
        m_body->setParent(nullptr);
        m_body->deleteLater();
    }
    m_body = body;
    if (body) {
        // The section sizes its body itself (width from the section, height its own).
        Bastwick::setAutoresizingMask(body, Bastwick::ViewNotSizable);
        body->setParent(this);
        body->setGeometry(QRect(QPoint(0, m_header->height() + 1), body->size()));
    }
    setExpanded(!m_expanded);
}

void XIInspectorView::headerClicked(XIInspectorViewHeader *header)
{
    Q_UNUSED(header);
    setExpanded(!m_expanded);
}

QString XIInspectorView::description() const
{
    return QStringLiteral("XICollectionView \"%1\", expanded: %2")
        .arg(name(), m_expanded ? QStringLiteral("YES") : QStringLiteral("NO"));
}

int XIInspectorView::compare(const XIInspectorView *other) const
{
    if (m_index < other->m_index)
        return -1;
    return m_index > other->m_index ? 1 : 0;
}

void XIInspectorView::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    if (!m_expanded)
        return;
    QPainter painter(this);
    painter.setPen(QPen(m_header->dashColor(), 1));
    painter.drawLine(QPointF(0, 0.5), QPointF(width(), 0.5));
    painter.drawLine(QPointF(0, height() - 0.5), QPointF(width(), height() - 0.5));
}

void XIInspectorView::resizeEvent(QResizeEvent *event)
{
    XIInspectorBaseView::resizeEvent(event);
    m_header->setGeometry(0, 0, width(), m_header->height());
    if (m_body)
        m_body->setGeometry(m_body->x(), m_body->y(), width(), m_body->height());
}

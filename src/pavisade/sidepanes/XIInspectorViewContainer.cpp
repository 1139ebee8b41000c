#include <pavisade/sidepanes/XIInspectorViewContainer.h>

#include <pavisade/sidepanes/XIInspectorView.h>

#include <QtCore/QEvent>
#include <QtCore/QScopedValueRollback>
#include <QtWidgets/QScrollArea>

#include <algorithm>

XIInspectorViewContainer::XIInspectorViewContainer(QWidget *parent)
    : XIInspectorBaseView(parent)
{
    setupView();
}

void XIInspectorViewContainer::setupView()
{
    m_inspectorViews.clear();
}

QList<XIInspectorView *> XIInspectorViewContainer::inspectorViews() const
{
    QList<XIInspectorView *> views;
    for (const auto &view : m_inspectorViews) {
        if (view)
            views.append(view);
    }
    return views;
}

void XIInspectorViewContainer::addInspectorView(XIInspectorView *view, bool expanded)
{
    if (!view || m_inspectorViews.contains(view))
        return;
    view->setContainer(this);
    m_inspectorViews.append(view);
    view->setParent(this);
    view->show();
    arrangeViews();
    view->setExpanded(expanded);
}

void XIInspectorViewContainer::addInspectorView(XIInspectorView *view, qint64 index, bool expanded)
{
    if (!view)
        return;
    view->setIndex(index);
    addInspectorView(view, expanded);
}

void XIInspectorViewContainer::removeInspectorView(XIInspectorView *view)
{
    if (!view || !m_inspectorViews.contains(view))
        return;
    view->setContainer(nullptr);
    m_inspectorViews.removeAll(view);
    view->hide();
    view->setParent(nullptr);
    arrangeViews();
}

QWidget *XIInspectorViewContainer::scrollViewport()
{
    QWidget *viewport = parentWidget();
    auto *area = viewport ? qobject_cast<QScrollArea *>(viewport->parentWidget()) : nullptr;
    if (!area || area->viewport() != viewport)
        return nullptr;
    if (m_watchedViewport != viewport) {
        if (m_watchedViewport)
            m_watchedViewport->removeEventFilter(this);
        viewport->installEventFilter(this);
        m_watchedViewport = viewport;
    }
    return viewport;
}

void XIInspectorViewContainer::updateBounds()
{
    int total = 0;
    for (const auto &view : std::as_const(m_inspectorViews)) {
        if (view)
            total += view->height();
    }
    QWidget *viewport = scrollViewport();
    const int newWidth = viewport ? viewport->width() : width();
    // Sizing itself must not lay the stack out again.
    const QScopedValueRollback<bool> guard(m_updatingBounds, true);
    setGeometry(x(), y(), newWidth, total);
}

void XIInspectorViewContainer::arrangeViews()
{
    m_inspectorViews.removeAll(nullptr);
    std::stable_sort(m_inspectorViews.begin(), m_inspectorViews.end(),
                     [](const QPointer<XIInspectorView> &a, const QPointer<XIInspectorView> &b) {
                         return a->index() < b->index();
                     });
    updateBounds();
    int y = 0;
    bool previousCollapsed = false;
    for (const auto &view : std::as_const(m_inspectorViews)) {
        if (previousCollapsed)
            y -= 1;
        const int height = view->height();
        view->setGeometry(0, y, width(), height);
        y += height;
        previousCollapsed = !view->expanded();
    }
}

void XIInspectorViewContainer::resizeEvent(QResizeEvent *event)
{
    XIInspectorBaseView::resizeEvent(event);
    if (!m_updatingBounds)
        arrangeViews();
}

bool XIInspectorViewContainer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watchedViewport && event->type() == QEvent::Resize)
        arrangeViews();
    return XIInspectorBaseView::eventFilter(watched, event);
}

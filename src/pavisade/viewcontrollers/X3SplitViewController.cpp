#include <pavisade/viewcontrollers/X3SplitViewController.h>

#include <pavisade/viewcontrollers/ChildScreens.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QEventLoop>
#include <QtCore/QVariantAnimation>
#include <QtGui/QMouseEvent>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFoldDurationMs = 250;

// A divider that reports double-clicks to its split view.
class X3SplitViewHandle : public QSplitterHandle
{
public:
    X3SplitViewHandle(Qt::Orientation orientation, X3SplitView *parent)
        : QSplitterHandle(orientation, parent)
        , m_split(parent)
    {
    }

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        for (int i = 1; i < m_split->count(); ++i) {
            if (m_split->handle(i) == this) {
                emit m_split->dividerDoubleClicked(i - 1);
                break;
            }
        }
        event->accept();
    }

private:
    X3SplitView *m_split;
};

QWidget *makePane()
{
    auto *pane = new QWidget;
    Pavisade::fillingLayout(pane);
    return pane;
}

} // namespace

X3SplitView::X3SplitView(QWidget *parent)
    : QSplitter(parent)
{
}

QSplitterHandle *X3SplitView::createHandle()
{
    return new X3SplitViewHandle(orientation(), this);
}

void X3SplitView::wheelEvent(QWheelEvent *event)
{
    XXXLog(QStringLiteral("X3SplitView scrollWheel event!"));
    event->accept();
}

X3SplitViewController::X3SplitViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
}

X3SplitViewController::~X3SplitViewController() = default;

QSplitter *X3SplitViewController::splitView()
{
    if (m_splitView)
        return m_splitView;
    if (QSplitter *xib = splitXibView()) {
        m_splitView = xib;
        return xib;
    }
    auto *split = new X3SplitView(this);
    split->setOrientation(Qt::Horizontal);
    split->setHandleWidth(1);
    split->setChildrenCollapsible(false);
    split->addWidget(makePane());
    split->addWidget(makePane());
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    connect(split, &X3SplitView::dividerDoubleClicked, this, &X3SplitViewController::dividerDoubleClicked);
    m_splitView = split;
    return split;
}

QList<X3CommonViewController *> X3SplitViewController::controllers() const
{
    return m_controllers.list();
}

void X3SplitViewController::setControllers(const QList<X3CommonViewController *> &controllers)
{
    m_controllers.set(this, controllers);
}

void X3SplitViewController::viewConfig()
{
    splitViewControllersConfig();
    splitViewConfig();
    splitViewSizeConfig();
}

void X3SplitViewController::splitViewConfig()
{
    QSplitter *split = splitView();
    const QList<X3CommonViewController *> children = controllers();
    const int n = std::min<int>(children.size(), split->count());
    for (int i = 0; i < n; ++i)
        Pavisade::placeInto(split->widget(i), children.at(i)->view());
}

void X3SplitViewController::splitViewSizeConfig()
{
    QSplitter *split = splitView();
    if (split->count() >= 2) {
        QList<int> sizes = split->sizes();
        const int extent = split->orientation() == Qt::Horizontal ? split->width() : split->height();
        const int available = extent - split->handleWidth() * (split->count() - 1);
        int others = 0;
        for (int i = 2; i < sizes.size(); ++i)
            others += sizes.at(i);
        sizes[0] = int(std::lround(splitPositon()));
        sizes[1] = std::max(1, available - sizes[0] - others);
        split->setSizes(sizes);
    }
    for (X3CommonViewController *child : controllers())
        child->viewConfig();
}

void X3SplitViewController::awakeFromNib()
{
    X3CommonViewController::awakeFromNib();
    viewConfig();
    collapseViewConfig();
}

void X3SplitViewController::loadView()
{
    QSplitter *split = splitView();
    if (split->parentWidget() && split->parentWidget() != this)
        return; // placed by the screen's own interface
    QLayout *host = Pavisade::fillingLayout(this);
    if (!host)
        host = layout();
    if (host->indexOf(split) < 0)
        host->addWidget(split);
}

QWidget *X3SplitViewController::leftView()
{
    QSplitter *split = splitView();
    return split->count() > 0 ? split->widget(0) : nullptr;
}

QWidget *X3SplitViewController::rightView()
{
    QSplitter *split = splitView();
    return split->count() > 1 ? split->widget(1) : nullptr;
}

void X3SplitViewController::collapseViewConfig()
{
    m_targetView1 = leftView();
    m_targetView2 = rightView();
    m_canClosedView = m_targetView1;
    m_canExpandView = m_targetView2;
    updateCollapsible();
}

void X3SplitViewController::setCloseAreaDirectionType(int type)
{
    if (type == m_closeAreaDirectionType)
        return;
    m_closeAreaDirectionType = type;
    if (type == 1 || type == 3) {
        m_canClosedView = m_targetView1;
        m_canExpandView = m_targetView2;
    } else if (type == 2 || type == 4) {
        m_canClosedView = m_targetView2;
        m_canExpandView = m_targetView1;
    }
    updateCollapsible();
}

void X3SplitViewController::updateCollapsible()
{
    QSplitter *split = splitView();
    for (int i = 0; i < split->count(); ++i)
        split->setCollapsible(i, split->widget(i) == m_canClosedView);
}

int X3SplitViewController::paneIndex(const QWidget *pane)
{
    return pane ? splitView()->indexOf(const_cast<QWidget *>(pane)) : -1;
}

bool X3SplitViewController::isPaneCollapsed(QWidget *pane)
{
    const int index = paneIndex(pane);
    if (index < 0)
        return false;
    return pane->isHidden() || splitView()->sizes().value(index) == 0;
}

void X3SplitViewController::saveLastFrames()
{
    m_targetView1LastFrame = m_targetView1 ? m_targetView1->geometry() : QRect();
    m_targetView2LastFrame = m_targetView2 ? m_targetView2->geometry() : QRect();
    m_lastSizes = splitView()->sizes();
}

bool X3SplitViewController::isAnimating() const
{
    return m_animation && m_animation->state() == QAbstractAnimation::Running;
}

void X3SplitViewController::animateSizes(const QList<int> &target, QWidget *hideAtEnd)
{
    QSplitter *split = splitView();
    if (m_animation)
        m_animation->stop();
    for (int i = 0; i < split->count(); ++i) {
        if (target.value(i) == 0)
            split->setCollapsible(i, true);
    }
    const QList<int> start = split->sizes();
    auto *animation = new QVariantAnimation(this);
    animation->setDuration(kFoldDurationMs);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    QPointer<QSplitter> guard = split;
    connect(animation, &QVariantAnimation::valueChanged, this, [guard, start, target](const QVariant &v) {
        if (!guard)
            return;
        const double t = v.toDouble();
        QList<int> sizes;
        for (int i = 0; i < target.size(); ++i)
            sizes.append(int(std::lround(start.value(i) + (target.at(i) - start.value(i)) * t)));
        guard->setSizes(sizes);
    });
    QPointer<QWidget> toHide = hideAtEnd;
    connect(animation, &QVariantAnimation::finished, this, [this, guard, target, toHide] {
        if (guard)
            guard->setSizes(target);
        if (toHide)
            toHide->hide();
        updateCollapsible();
    });
    m_animation = animation;
    // The fold blocks its caller until it has ended: the panes are at their end sizes
    // (and the folded one hidden) when the call returns. Input waits meanwhile; timers
    // and painting go on, so the panes are seen moving.
    QEventLoop loop;
    connect(animation, &QVariantAnimation::finished, &loop, &QEventLoop::quit);
    connect(animation, &QObject::destroyed, &loop, &QEventLoop::quit);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void X3SplitViewController::openCloseTargetView()
{
    QSplitter *split = splitView();
    if (!m_canClosedView || !m_canExpandView || split->count() < 2)
        return;
    if (!isPaneCollapsed(m_canClosedView)) {
        saveLastFrames();
        QList<int> target = split->sizes();
        int total = 0;
        for (int s : target)
            total += s;
        if (m_closeAreaDirectionType == 1) {
            target[paneIndex(m_canClosedView)] = 0;
            target[paneIndex(m_canExpandView)] = total;
            animateSizes(target, m_canClosedView);
        } else if (m_closeAreaDirectionType == 4) {
            target[paneIndex(m_targetView1)] = total;
            target[paneIndex(m_targetView2)] = 0;
            animateSizes(target, nullptr);
        }
        return;
    }
    if (m_closeAreaDirectionType == 1) {
        // Both panes go back to the frames they had before the fold.
        m_canClosedView->show();
        animateSizes(m_lastSizes, nullptr);
    } else if (m_closeAreaDirectionType == 4) {
        m_targetView2->show();
        animateSizes(m_lastSizes, nullptr);
    }
}

void X3SplitViewController::openCloseTargetView2()
{
    QSplitter *split = splitView();
    if (!m_targetView1 || !m_targetView2 || split->count() < 2)
        return;
    if (isPaneCollapsed(m_targetView2)) {
        m_targetView2->show();
        animateSizes(m_lastSizes, nullptr);
        return;
    }
    saveLastFrames();
    QList<int> target = split->sizes();
    int total = 0;
    for (int s : target)
        total += s;
    target[paneIndex(m_targetView1)] = total;
    target[paneIndex(m_targetView2)] = 0;
    animateSizes(target, nullptr);
}

double X3SplitViewController::constrainMinCoordinate(double proposedMinimum, int dividerIndex) const
{
    Q_UNUSED(dividerIndex);
    return proposedMinimum;
}

bool X3SplitViewController::canCollapseSubview(const QSplitter *split, const QWidget *subview) const
{
    return split && split == m_splitView && subview && subview == m_canClosedView;
}

bool X3SplitViewController::shouldCollapseSubview(const QSplitter *split, const QWidget *subview,
                                                  int dividerIndex) const
{
    Q_UNUSED(dividerIndex);
    return canCollapseSubview(split, subview);
}

double X3SplitViewController::splitView2ConstrainMaxCoordinate(double proposedMaximum, int dividerIndex) const
{
    Q_UNUSED(dividerIndex);
    return proposedMaximum - 60;
}

void X3SplitViewController::splitView2ResizeSubviews()
{
    QSplitter *split = splitView();
    if (split->count() < 2)
        return;
    const int first = split->sizes().value(0);
    const int extent = split->orientation() == Qt::Horizontal ? split->width() : split->height();
    split->setSizes({first, std::max(0, extent - first - split->handleWidth())});
}

void X3SplitViewController::dividerDoubleClicked(int index)
{
    QSplitter *split = splitView();
    for (int pane : {index, index + 1}) {
        QWidget *subview = split->widget(pane);
        if (!shouldCollapseSubview(split, subview, index))
            continue;
        if (isPaneCollapsed(subview)) {
            split->setSizes(m_lastSizes);
        } else {
            m_lastSizes = split->sizes();
            QList<int> sizes = m_lastSizes;
            const int freed = sizes.at(pane);
            sizes[pane] = 0;
            sizes[pane == index ? index + 1 : index] += freed;
            split->setSizes(sizes);
        }
        return;
    }
}

X3SplitViewXibController::X3SplitViewXibController(QWidget *parent)
    : X3SplitViewController(parent)
{
}

#include <bastwick/ViewGeometry.h>

#include <QtCore/QEvent>
#include <QtCore/QPointer>
#include <QtGui/QResizeEvent>
#include <QtWidgets/QWidget>

#include <cmath>

namespace Bastwick {

namespace {

const char *const kMaskProperty = "autoresizingMask";

QRectF frameOf(const QWidget *view)
{
    return view ? QRectF(view->geometry()) : QRectF();
}

int toPixels(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= double(QWIDGETSIZE_MAX))
        return QWIDGETSIZE_MAX;
    if (value <= -double(QWIDGETSIZE_MAX))
        return -QWIDGETSIZE_MAX;
    return int(std::lround(value));
}

void setFrame(QWidget *view, double x, double y, double w, double h)
{
    if (!view)
        return;
    view->setGeometry(toPixels(x), toPixels(y), std::max(0, toPixels(w)), std::max(0, toPixels(h)));
}

} // namespace

double left(const QWidget *view)
{
    return frameOf(view).x();
}

double top(const QWidget *view)
{
    return frameOf(view).y();
}

double right(const QWidget *view)
{
    const QRectF f = frameOf(view);
    return f.x() + f.width();
}

double bottom(const QWidget *view)
{
    const QRectF f = frameOf(view);
    return f.y() + f.height();
}

double width(const QWidget *view)
{
    return frameOf(view).width();
}

double height(const QWidget *view)
{
    return frameOf(view).height();
}

QPointF origin(const QWidget *view)
{
    return frameOf(view).topLeft();
}

QSizeF size(const QWidget *view)
{
    return frameOf(view).size();
}

void setLeft(QWidget *view, double value)
{
    const QRectF f = frameOf(view);
    setFrame(view, value, f.y(), f.width(), f.height());
}

void setTop(QWidget *view, double value)
{
    const QRectF f = frameOf(view);
    setFrame(view, f.x(), value, f.width(), f.height());
}

void setRight(QWidget *view, double value)
{
    const QRectF f = frameOf(view);
    setFrame(view, value - f.width(), f.y(), f.width(), f.height());
}

void setBottom(QWidget *view, double value)
{
    const QRectF f = frameOf(view);
    setFrame(view, f.x(), value - f.height(), f.width(), f.height());
}

void setWidth(QWidget *view, double value)
{
    const QRectF f = frameOf(view);
    setFrame(view, f.x(), f.y(), value, f.height());
}

void setHeight(QWidget *view, double value)
{
    const QRectF f = frameOf(view);
    setFrame(view, f.x(), f.y(), f.width(), value);
}

void setOrigin(QWidget *view, const QPointF &point)
{
    const QRectF f = frameOf(view);
    setFrame(view, point.x(), point.y(), f.width(), f.height());
}

void setSize(QWidget *view, const QSizeF &newSize)
{
    const QRectF f = frameOf(view);
    setFrame(view, f.x(), f.y(), newSize.width(), newSize.height());
}

void centerInParent(QWidget *view)
{
    if (!view)
        return;
    const QWidget *parent = view->parentWidget();
    if (!parent)
        return;
    setTop(view, (height(parent) - height(view)) / 2.0);
    setLeft(view, (width(parent) - width(view)) / 2.0);
}

void removeAllSubViews(QWidget *view)
{
    if (!view)
        return;
    for (;;) {
        QWidget *last = nullptr;
        const QObjectList &children = view->children();
        for (auto it = children.crbegin(); it != children.crend(); ++it) {
            if (auto *widget = qobject_cast<QWidget *>(*it); widget && !widget->isWindow()) {
                last = widget;
                break;
            }
        }
        if (!last)
            return;
        last->hide();
        last->setParent(nullptr);
        last->deleteLater();
    }
}

QWidget *viewWithIdentifier(const QWidget *view, const QString &identifier)
{
    if (!view)
        return nullptr;
    for (QObject *child : view->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && widget->objectName() == identifier)
            return widget;
    }
    return nullptr;
}

namespace {

// One axis of a frame: the child's position and length in a parent of a given length.
struct Axis
{
    double position;
    double length;
};

Axis resizeAxis(Axis child, double oldParent, double newParent, bool minFlexible, bool sizeFlexible,
                bool maxFlexible)
{
    const double delta = newParent - oldParent;
    const int flexibleParts = int(minFlexible) + int(sizeFlexible) + int(maxFlexible);
    if (delta == 0 || flexibleParts == 0)
        return child;

    // A margin the child overhangs counts as no room.
    const double minPart = minFlexible ? std::max(0.0, child.position) : 0.0;
    const double sizePart = sizeFlexible ? std::max(0.0, child.length) : 0.0;
    const double maxPart = maxFlexible ? std::max(0.0, oldParent - (child.position + child.length)) : 0.0;
    const double total = minPart + sizePart + maxPart;

    // Each flexible part takes its share of the change: in proportion to its size,
    // or evenly when the flexible parts have no size between them.
    auto share = [&](double part) {
        if (total > 0)
            return delta * part / total;
        return delta / flexibleParts;
    };
    Axis result = child;
    if (minFlexible)
        result.position += share(minPart);
    if (sizeFlexible)
        result.length = std::max(0.0, child.length + share(sizePart));
    return result;
}

void resizeWithOldParentSize(QWidget *child, const QSize &oldSize, const QSize &newSize)
{
    const unsigned mask = autoresizingMask(child);
    if (mask == ViewNotSizable)
        return;
    const QRect frame = child->geometry();
    const Axis x = resizeAxis({double(frame.x()), double(frame.width())}, oldSize.width(), newSize.width(),
                              mask & ViewMinXMargin, mask & ViewWidthSizable, mask & ViewMaxXMargin);
    const Axis y = resizeAxis({double(frame.y()), double(frame.height())}, oldSize.height(), newSize.height(),
                              mask & ViewMinYMargin, mask & ViewHeightSizable, mask & ViewMaxYMargin);
    setFrame(child, x.position, y.position, x.length, y.length);
}

// Makes one filter of class Filter as a child of the widget, unless the widget has one.
template <class Filter> void ensureFilter(QWidget *widget)
{
    for (QObject *child : widget->children()) {
        if (dynamic_cast<Filter *>(child))
            return;
    }
    new Filter(widget);
}

// Lives as a child of the parent widget it watches; remembers the parent's last size,
// so resizes delivered late (while the parent was hidden) still apply the whole change.
class AutoresizingFilter : public QObject
{
public:
    explicit AutoresizingFilter(QWidget *parent)
        : QObject(parent)
        , m_parent(parent)
        , m_lastSize(parent->size())
    {
        setObjectName(QStringLiteral("kestrune.autoresizing"));
        parent->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_parent && event->type() == QEvent::Resize) {
            const QSize newSize = static_cast<QResizeEvent *>(event)->size();
            if (m_lastSize.isValid() && newSize != m_lastSize) {
                const QObjectList children = m_parent->children();
                for (QObject *object : children) {
                    auto *widget = qobject_cast<QWidget *>(object);
                    if (widget && !widget->isWindow())
                        resizeWithOldParentSize(widget, m_lastSize, newSize);
                }
            }
            m_lastSize = newSize;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_parent;
    QSize m_lastSize;
};

// Lives as a child of a widget with a mask and watches it get a new parent: the mask
// takes effect in every parent the widget moves into, not only the one it had when the
// mask was set.
class ParentChangeFilter : public QObject
{
public:
    explicit ParentChangeFilter(QWidget *view)
        : QObject(view)
    {
        setObjectName(QStringLiteral("kestrune.autoresizing-parent"));
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ParentChange && watched == parent()) {
            auto *view = static_cast<QWidget *>(watched);
            if (QWidget *newParent = view->parentWidget(); newParent && !view->isWindow())
                ensureFilter<AutoresizingFilter>(newParent);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

unsigned autoresizingMask(const QWidget *view)
{
    if (!view)
        return ViewNotSizable;
    return view->property(kMaskProperty).toUInt();
}

void setAutoresizingMask(QWidget *view, unsigned mask)
{
    if (!view)
        return;
    view->setProperty(kMaskProperty, mask);
    if (mask != ViewNotSizable) {
        ensureFilter<ParentChangeFilter>(view);
        if (QWidget *parent = view->parentWidget())
            ensureFilter<AutoresizingFilter>(parent);
    }
}

void setAutoresizingBit(QWidget *view, unsigned bit, bool value)
{
    if (!view)
        return;
    const unsigned mask = autoresizingMask(view);
    setAutoresizingMask(view, value ? (mask | bit) : (mask & ~bit));
}

void fixLeftEdge(QWidget *view, bool fixed)
{
    setAutoresizingBit(view, ViewMinXMargin, !fixed);
}

void fixWidth(QWidget *view, bool fixed)
{
    setAutoresizingBit(view, ViewWidthSizable, !fixed);
}

void fixRightEdge(QWidget *view, bool fixed)
{
    setAutoresizingBit(view, ViewMaxXMargin, !fixed);
}

void fixTopEdge(QWidget *view, bool fixed)
{
    setAutoresizingBit(view, ViewMinYMargin, !fixed);
}

void fixHeight(QWidget *view, bool fixed)
{
    setAutoresizingBit(view, ViewHeightSizable, !fixed);
}

void fixBottomEdge(QWidget *view, bool fixed)
{
    setAutoresizingBit(view, ViewMaxYMargin, !fixed);
}

} // namespace Bastwick

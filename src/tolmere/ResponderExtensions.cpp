#include <tolmere/ResponderExtensions.h>

#include <tolmere/ResponderViewController.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QHash>
#include <QtCore/QMetaMethod>
#include <QtCore/QPointer>
#include <QtWidgets/QWidget>

namespace Tolmere {

namespace {

// What the side table knows of one object (a view, a controller or any responder).
// Entries go when their object is destroyed.
struct Entry
{
    bool hasNext = false;   // a next responder was set (else the default)
    QPointer<QObject> next; // the one set
    const QObject *controllerKey = nullptr;
    QPointer<QObject> controller; // a view's controller, held weakly
    QPointer<QWidget> lastSuperview;
    QPointer<QWidget> lastWindow;
    bool needsLayout = false;
    bool layoutSupport = false;
};

QWidget *superviewOf(const QWidget *view)
{
    return view->isWindow() ? nullptr : view->parentWidget();
}

QWidget *windowOf(const QWidget *view)
{
    QWidget *window = view->window();
    return window && window->isVisible() ? window : nullptr;
}

// The side table and the application event filter in one object, made on first use.
class ResponderTable : public QObject
{
public:
    static ResponderTable &instance()
    {
        static ResponderTable *table = new ResponderTable;
        return *table;
    }

    Entry *find(const QObject *object)
    {
        auto it = m_entries.find(object);
        return it == m_entries.end() ? nullptr : &it.value();
    }

    Entry &entry(QObject *object)
    {
        auto it = m_entries.find(object);
        if (it != m_entries.end())
            return it.value();
        connect(object, &QObject::destroyed, this, [this, object] { objectDestroyed(object); });
        return m_entries[object];
    }

    QObject *ownNext(const QObject *object)
    {
        if (Entry *e = find(object); e && e->hasNext)
            return e->next;
        if (object && object->isWidgetType())
            return static_cast<const QWidget *>(object)->parentWidget();
        return nullptr;
    }

    void setOwnNext(QObject *object, QObject *next)
    {
        Entry &e = entry(object);
        e.hasNext = true;
        e.next = next;
    }

    void installFilter()
    {
        QCoreApplication *app = QCoreApplication::instance();
        if (!app || m_filteredApp == app)
            return;
        app->installEventFilter(this);
        m_filteredApp = app;
    }

    void controllerAttached(QWidget *view)
    {
        Entry &e = entry(view);
        e.lastSuperview = superviewOf(view);
        e.lastWindow = windowOf(view);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_entries.isEmpty() || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::ParentChange:
            recheckUnder(widget);
            break;
        case QEvent::Show:
        case QEvent::Hide:
            if (widget->isWindow())
                recheckUnder(widget);
            break;
        case QEvent::Resize:
        case QEvent::Move:
            if (Entry *e = find(widget); e && e->layoutSupport)
                setNeedsLayout(widget);
            break;
        case QEvent::Paint:
            if (Entry *e = find(widget); e && e->layoutSupport)
                layoutIfNeeded(widget);
            break;
        default:
            break;
        }
        return false;
    }

private:
    ResponderTable() = default;

    void objectDestroyed(const QObject *object)
    {
        // A view whose controller goes has none any more: its chain is unspliced.
        const auto gone = m_entries.constFind(object);
        QObject *after = gone != m_entries.constEnd() && gone->hasNext ? gone->next.data() : nullptr;
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->controllerKey == object) {
                it->controllerKey = nullptr;
                it->controller = nullptr;
                it->hasNext = true;
                it->next = after;
            }
        }
        m_entries.remove(object);
    }

    // Re-checks every controlled view at or under the widget.
    void recheckUnder(QWidget *widget)
    {
        QList<QPointer<QWidget>> views;
        for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
            if (!it->controller || !it.key()->isWidgetType())
                continue;
            auto *view = const_cast<QWidget *>(static_cast<const QWidget *>(it.key()));
            if (view == widget || widget->isAncestorOf(view))
                views.append(view);
        }
        for (const QPointer<QWidget> &view : std::as_const(views)) {
            if (view)
                recheck(view);
        }
    }

    // Where a controlled view was before a change of its parents and where it is after.
    struct Move
    {
        QWidget *oldSuperview;
        QWidget *oldWindow;
        QWidget *newSuperview;
        QWidget *newWindow;
        bool superviewChanged() const { return oldSuperview != newSuperview; }
        bool windowChanged() const { return oldWindow != newWindow; }
    };

    void recheck(QWidget *view)
    {
        Entry *e = find(view);
        if (!e)
            return;
        const Move move{e->lastSuperview, e->lastWindow, superviewOf(view), windowOf(view)};
        if (!move.superviewChanged() && !move.windowChanged())
            return;
        e->lastSuperview = move.newSuperview;
        e->lastWindow = move.newWindow;

        // Each hook goes to the controller only while it still controls the view: an
        // earlier hook may have taken it away or deleted either.
        QPointer<QObject> controllerObject = e->controller;
        QPointer<QWidget> viewGuard = view;
        auto call = [&](auto hook) {
            if (!viewGuard || !controllerObject || viewController(viewGuard) != controllerObject)
                return;
            if (auto *c = qobject_cast<ResponderViewController *>(controllerObject.data()))
                hook(c);
        };
        sendWillEvents(move, call);
        sendDidEvents(move, call);
    }

    // The "will" events, judged by the state before the move.
    template <typename Call> static void sendWillEvents(const Move &move, const Call &call)
    {
        const bool hadSuperview = move.oldSuperview != nullptr;
        const bool hadWindow = move.oldWindow != nullptr;
        if (move.windowChanged()) {
            if (QWidget *window = move.newWindow) {
                call([&](ResponderViewController *c) { c->viewWillMoveToWindow(window); });
                if (hadSuperview)
                    call([](ResponderViewController *c) { c->viewWillAppear(); });
            } else {
                call([](ResponderViewController *c) { c->viewWillBeRemovedFromWindow(); });
                if (hadSuperview && hadWindow)
                    call([](ResponderViewController *c) { c->viewWillDisappear(); });
            }
        }
        if (move.superviewChanged()) {
            if (QWidget *superview = move.newSuperview) {
                call([&](ResponderViewController *c) { c->viewWillMoveToSuperview(superview); });
                if (hadWindow)
                    call([](ResponderViewController *c) { c->viewWillAppear(); });
            } else {
                call([](ResponderViewController *c) { c->viewWillBeRemovedFromSuperview(); });
                if (hadSuperview && hadWindow)
                    call([](ResponderViewController *c) { c->viewWillDisappear(); });
            }
        }
    }

    // The "did" events, judged by the state after it.
    template <typename Call> static void sendDidEvents(const Move &move, const Call &call)
    {
        if (move.windowChanged()) {
            if (move.newWindow) {
                call([](ResponderViewController *c) { c->viewDidMoveToWindow(); });
                if (move.newSuperview)
                    call([](ResponderViewController *c) { c->viewDidAppear(); });
            } else {
                call([](ResponderViewController *c) { c->viewWasRemovedFromWindow(); });
                if (!move.newSuperview)
                    call([](ResponderViewController *c) { c->viewDidDisappear(); });
            }
        }
        if (move.superviewChanged()) {
            if (move.newSuperview) {
                call([](ResponderViewController *c) { c->viewDidMoveToSuperview(); });
                if (move.newWindow)
                    call([](ResponderViewController *c) { c->viewDidAppear(); });
            } else {
                call([](ResponderViewController *c) { c->viewWasRemovedFromSuperview(); });
                if (!move.newWindow)
                    call([](ResponderViewController *c) { c->viewDidDisappear(); });
            }
        }
    }

    QHash<const QObject *, Entry> m_entries;
    QPointer<QCoreApplication> m_filteredApp;
};

} // namespace

void loadSupportForViewControllers()
{
    ResponderTable::instance().installFilter();
}

void setViewController(QWidget *view, QObject *controller)
{
    if (!view)
        return;
    ResponderTable &table = ResponderTable::instance();
    table.installFilter();
    if (QObject *old = viewController(view)) {
        if (old == controller)
            return;
        table.setOwnNext(view, table.ownNext(old));
        table.setOwnNext(old, nullptr);
    }
    Entry &e = table.entry(view);
    e.controller = controller;
    e.controllerKey = controller;
    if (!controller)
        return;
    // Make sure the controller's entry exists, so its end unsplices the chain.
    QObject *remembered = table.ownNext(view);
    table.setOwnNext(view, controller);
    table.setOwnNext(controller, remembered);
    table.controllerAttached(view);
}

QObject *viewController(const QWidget *view)
{
    Entry *e = view ? ResponderTable::instance().find(view) : nullptr;
    return e ? e->controller.data() : nullptr;
}

QObject *nextResponder(const QObject *responder)
{
    return responder ? ResponderTable::instance().ownNext(responder) : nullptr;
}

void setNextResponder(QObject *responder, QObject *next)
{
    if (!responder)
        return;
    ResponderTable &table = ResponderTable::instance();
    if (responder->isWidgetType()) {
        if (QObject *controller = viewController(static_cast<QWidget *>(responder))) {
            table.setOwnNext(controller, next);
            return;
        }
    }
    table.setOwnNext(responder, next);
}

void setNeedsLayout(QWidget *view)
{
    if (!view)
        return;
    ResponderTable::instance().entry(view).needsLayout = true;
    view->update();
}

bool needsLayout(const QWidget *view)
{
    Entry *e = view ? ResponderTable::instance().find(view) : nullptr;
    return e && e->needsLayout;
}

void layoutSubviews(QWidget *view)
{
    if (!view)
        return;
    if (Entry *e = ResponderTable::instance().find(view))
        e->needsLayout = false;
    const QMetaObject *meta = view->metaObject();
    const int index = meta->indexOfMethod("layoutSubviews()");
    if (index >= 0)
        meta->method(index).invoke(view, Qt::DirectConnection);
}

void layoutIfNeeded(QWidget *view)
{
    if (needsLayout(view))
        layoutSubviews(view);
}

void loadSupportForLayoutSubviews(QWidget *view)
{
    if (!view)
        return;
    ResponderTable &table = ResponderTable::instance();
    table.installFilter();
    table.entry(view).layoutSupport = true;
}

} // namespace Tolmere

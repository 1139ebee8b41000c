#include <tolmere/ResponderExtensions.h>
#include <tolmere/ResponderViewController.h>

#include "support/WaitFor.h"

#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Tolmere;

namespace {

class Recorder : public ResponderViewController
{
public:
    QStringList calls;
    QWidget *willMoveToSuperview = nullptr;
    QWidget *willMoveToWindow = nullptr;
    // Called after each callback; it may destroy the controller.
    const std::function<void(const QString &)> *onCall = nullptr;

    void viewWillAppear() override
    {
        record(QStringLiteral("willAppear"));
        ResponderViewController::viewWillAppear();
    }
    void viewDidLoad() override { record(QStringLiteral("didLoad")); }
    void viewDidAppear() override { record(QStringLiteral("didAppear")); }
    void viewWillDisappear() override { record(QStringLiteral("willDisappear")); }
    void viewDidDisappear() override { record(QStringLiteral("didDisappear")); }
    void viewWillMoveToSuperview(QWidget *superview) override
    {
        willMoveToSuperview = superview;
        record(QStringLiteral("willMoveToSuperview"));
    }
    void viewDidMoveToSuperview() override { record(QStringLiteral("didMoveToSuperview")); }
    void viewWillBeRemovedFromSuperview() override { record(QStringLiteral("willBeRemovedFromSuperview")); }
    void viewWasRemovedFromSuperview() override { record(QStringLiteral("wasRemovedFromSuperview")); }
    void viewWillMoveToWindow(QWidget *window) override
    {
        willMoveToWindow = window;
        record(QStringLiteral("willMoveToWindow"));
    }
    void viewDidMoveToWindow() override { record(QStringLiteral("didMoveToWindow")); }
    void viewWillBeRemovedFromWindow() override { record(QStringLiteral("willBeRemovedFromWindow")); }
    void viewWasRemovedFromWindow() override { record(QStringLiteral("wasRemovedFromWindow")); }

private:
    void record(const QString &name)
    {
        calls << name;
        if (onCall)
            (*onCall)(name);
    }
};

TEST(Responder, ControllerIsSplicedBehindItsViewAndReplaced)
{
    QWidget parent;
    auto *view = new QWidget(&parent);
    QObject elsewhere;
    EXPECT_EQ(nextResponder(view), &parent) << "a widget's next responder is its parent by default";

    ResponderViewController first;
    setViewController(view, &first);
    EXPECT_EQ(viewController(view), &first);
    EXPECT_EQ(nextResponder(view), &first);
    EXPECT_EQ(nextResponder(&first), &parent);

    // Setting the view's next responder lands behind the controller.
    setNextResponder(view, &elsewhere);
    EXPECT_EQ(nextResponder(view), &first);
    EXPECT_EQ(nextResponder(&first), &elsewhere);

    // A plain QObject controller is spliced in the same way.
    QObject second;
    setViewController(view, &second);
    EXPECT_EQ(nextResponder(&first), nullptr) << "the former controller leaves the chain";
    EXPECT_EQ(nextResponder(view), &second);
    EXPECT_EQ(nextResponder(&second), &elsewhere);

    setViewController(view, nullptr);
    EXPECT_EQ(viewController(view), nullptr);
    EXPECT_EQ(nextResponder(view), &elsewhere);
    EXPECT_EQ(nextResponder(&second), nullptr);
}

TEST(Responder, SetViewSplicesAndGivingUpAViewDetachesIt)
{
    QWidget parent;
    auto *one = new QWidget(&parent);
    auto *two = new QWidget(&parent);
    ResponderViewController controller;
    controller.setView(one);
    EXPECT_EQ(viewController(one), &controller);
    EXPECT_EQ(nextResponder(one), &controller);
    controller.setView(two);
    EXPECT_EQ(viewController(one), nullptr);
    EXPECT_EQ(nextResponder(one), &parent);
    EXPECT_EQ(viewController(two), &controller);
    EXPECT_EQ(nextResponder(&controller), &parent);

    // A controller without a view loads a plain one.
    Recorder loader;
    QWidget *loaded = loader.view();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loader.calls, QStringList{QStringLiteral("didLoad")});
    EXPECT_EQ(viewController(loaded), &loader);
}

// Each case moves a controlled view and lists the callbacks in order.
TEST(Responder, CallbacksForEachMove)
{
    struct Case
    {
        const char *name;
        std::function<void(QWidget &shown, QWidget &hidden, QWidget *&view)> setUp;
        std::function<void(QWidget &shown, QWidget &hidden, QWidget *&view)> move;
        QStringList expected;
    };
    const QList<Case> cases{
        {"detached view into a shown window",
         [](QWidget &, QWidget &, QWidget *&view) { view = new QWidget; },
         [](QWidget &shown, QWidget &, QWidget *&view) { view->setParent(&shown); },
         {"willMoveToWindow", "willMoveToSuperview", "didMoveToWindow", "didAppear", "didMoveToSuperview",
          "didAppear"}},
        {"out of a shown window",
         [](QWidget &shown, QWidget &, QWidget *&view) { view = new QWidget(&shown); },
         [](QWidget &, QWidget &, QWidget *&view) { view->setParent(nullptr); },
         {"willBeRemovedFromWindow", "willDisappear", "willBeRemovedFromSuperview", "willDisappear",
          "wasRemovedFromWindow", "didDisappear", "wasRemovedFromSuperview", "didDisappear"}},
        {"between parents of a hidden window",
         [](QWidget &, QWidget &hidden, QWidget *&view) { view = new QWidget(&hidden); },
         [](QWidget &, QWidget &hidden, QWidget *&view) { view->setParent(new QWidget(&hidden)); },
         {"willMoveToSuperview", "didMoveToSuperview"}},
        {"between parents of a shown window",
         [](QWidget &shown, QWidget &, QWidget *&view) { view = new QWidget(&shown); },
         [](QWidget &shown, QWidget &, QWidget *&view) { view->setParent(new QWidget(&shown)); },
         {"willMoveToSuperview", "willAppear", "didMoveToSuperview", "didAppear"}},
        {"its window is shown",
         [](QWidget &, QWidget &hidden, QWidget *&view) { view = new QWidget(new QWidget(&hidden)); },
         [](QWidget &, QWidget &hidden, QWidget *&) { hidden.show(); },
         {"willMoveToWindow", "willAppear", "didMoveToWindow", "didAppear"}},
        {"its window is hidden",
         [](QWidget &shown, QWidget &, QWidget *&view) { view = new QWidget(new QWidget(&shown)); },
         [](QWidget &shown, QWidget &, QWidget *&) { shown.hide(); },
         {"willBeRemovedFromWindow", "willDisappear", "wasRemovedFromWindow"}},
        {"an ancestor moves into a shown window",
         [](QWidget &, QWidget &hidden, QWidget *&view) { view = new QWidget(new QWidget(&hidden)); },
         [](QWidget &shown, QWidget &, QWidget *&view) { view->parentWidget()->setParent(&shown); },
         {"willMoveToWindow", "willAppear", "didMoveToWindow", "didAppear"}},
    };
    for (const Case &c : cases) {
        QWidget shown;
        QWidget hidden;
        shown.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
        QWidget *view = nullptr;
        c.setUp(shown, hidden, view);
        std::unique_ptr<QWidget> owned(view->parentWidget() ? nullptr : view);
        Recorder recorder;
        recorder.setView(view);
        c.move(shown, hidden, view);
        if (view->parentWidget())
            (void)owned.release();
        else if (!owned)
            owned.reset(view);
        QStringList expected;
        for (const QString &name : c.expected)
            expected << name;
        EXPECT_EQ(recorder.calls, expected) << c.name;
        if (recorder.calls.contains(QStringLiteral("willMoveToWindow")))
            EXPECT_EQ(recorder.willMoveToWindow, view->window()) << c.name;
        if (recorder.calls.contains(QStringLiteral("willMoveToSuperview")))
            EXPECT_EQ(recorder.willMoveToSuperview, view->parentWidget()) << c.name;
        if (recorder.calls.contains(QStringLiteral("willAppear")))
            EXPECT_TRUE(needsLayout(view)) << c.name << ": appearing marks the view for layout";
    }
}

TEST(Responder, PlainControllerGetsNoCallbacksAndNothingBreaks)
{
    QWidget shown;
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    auto view = std::make_unique<QWidget>();
    QObject controller;
    setViewController(view.get(), &controller);
    view->setParent(&shown);
    EXPECT_FALSE(needsLayout(view.get()));
    view.release();
}

TEST(Responder, DestroyedControllerIsNeverReached)
{
    QWidget shown;
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    QWidget parent;
    auto *view = new QWidget(&parent);

    auto controller = std::make_unique<Recorder>();
    controller->setView(view);
    controller.reset();
    EXPECT_EQ(viewController(view), nullptr);
    EXPECT_EQ(nextResponder(view), &parent) << "the chain is unspliced";
    view->setParent(&shown);
    view->setParent(&parent);

    // A controller destroyed by one of its own callbacks hears nothing after it.
    auto *dying = new Recorder;
    QStringList heard;
    const std::function<void(const QString &)> onCall = [&](const QString &name) {
        heard << name;
        if (name == QLatin1String("willMoveToWindow"))
            delete dying;
    };
    dying->onCall = &onCall;
    dying->setView(view);
    view->setParent(&shown);
    EXPECT_EQ(heard, QStringList{QStringLiteral("willMoveToWindow")});
    EXPECT_EQ(viewController(view), nullptr);

    // A view destroyed before its controller: the controller simply has none.
    Recorder survivor;
    survivor.setView(view);
    delete view;
    EXPECT_EQ(survivor.viewIfLoaded(), nullptr);
    auto *next = new QWidget(&parent);
    survivor.setView(next);
    EXPECT_EQ(viewController(next), &survivor);
}

class LayoutView : public QWidget
{
    Q_OBJECT
public:
    int layouts = 0;
    Q_INVOKABLE void layoutSubviews() { ++layouts; }
};

TEST(Responder, DeferredLayout)
{
    QWidget plain;
    EXPECT_FALSE(needsLayout(&plain));
    setNeedsLayout(&plain);
    EXPECT_TRUE(needsLayout(&plain));
    layoutIfNeeded(&plain);
    EXPECT_FALSE(needsLayout(&plain));

    LayoutView view;
    layoutIfNeeded(&view);
    EXPECT_EQ(view.layouts, 0);
    setNeedsLayout(&view);
    layoutIfNeeded(&view);
    layoutIfNeeded(&view);
    EXPECT_EQ(view.layouts, 1);

    // With layout support a resize marks the view, and it is laid out before it paints.
    loadSupportForLayoutSubviews(&view);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(waitFor([&] { return !needsLayout(&view); }));
    const int before = view.layouts;
    view.resize(view.width() + 40, view.height() + 30);
    EXPECT_TRUE(needsLayout(&view));
    EXPECT_TRUE(waitFor([&] { return !needsLayout(&view); }));
    EXPECT_EQ(view.layouts, before + 1);
}

} // namespace

#include "ResponderTest.moc"

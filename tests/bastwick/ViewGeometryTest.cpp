#include <bastwick/ViewGeometry.h>

#include "support/WaitFor.h"

#include <QtCore/QPointer>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Bastwick;

namespace {

// A shown window holding a 300 x 150 container, so that resizing the container sends
// its resize event at once, as on screen.
class ViewGeometryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<QWidget>();
        m_window->resize(800, 600);
        m_container = new QWidget(m_window.get());
        m_container->setGeometry(0, 0, 300, 150);
        m_window->show();
    }

    QWidget *child(const QRect &frame, const QString &name = QString())
    {
        auto *widget = new QWidget(m_container);
        widget->setGeometry(frame);
        widget->setObjectName(name);
        return widget;
    }

    std::unique_ptr<QWidget> m_window;
    QWidget *m_container = nullptr;
};

TEST_F(ViewGeometryTest, ReadsAndWritesFrames)
{
    QWidget *view = child(QRect(10, 20, 100, 50));
    EXPECT_EQ(left(view), 10);
    EXPECT_EQ(top(view), 20);
    EXPECT_EQ(right(view), 110);
    EXPECT_EQ(bottom(view), 70);
    EXPECT_EQ(width(view), 100);
    EXPECT_EQ(height(view), 50);
    EXPECT_EQ(origin(view), QPointF(10, 20));
    EXPECT_EQ(size(view), QSizeF(100, 50));

    struct Case
    {
        const char *name;
        std::function<void(QWidget *)> apply;
        QRect expected;
    };
    const Case cases[] = {
        {"setLeft", [](QWidget *v) { setLeft(v, 30); }, QRect(30, 20, 100, 50)},
        {"setTop", [](QWidget *v) { setTop(v, 5); }, QRect(10, 5, 100, 50)},
        {"setRight", [](QWidget *v) { setRight(v, 200); }, QRect(100, 20, 100, 50)},
        {"setBottom", [](QWidget *v) { setBottom(v, 100); }, QRect(10, 50, 100, 50)},
        {"setWidth keeps the origin", [](QWidget *v) { setWidth(v, 40); }, QRect(10, 20, 40, 50)},
        {"setHeight keeps the origin", [](QWidget *v) { setHeight(v, 80); }, QRect(10, 20, 100, 80)},
        {"setOrigin keeps the size", [](QWidget *v) { setOrigin(v, QPointF(-5, 7)); }, QRect(-5, 7, 100, 50)},
        {"setSize keeps the origin", [](QWidget *v) { setSize(v, QSizeF(60, 30)); }, QRect(10, 20, 60, 30)},
        {"fractions round", [](QWidget *v) { setLeft(v, 10.6); }, QRect(11, 20, 100, 50)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        view->setGeometry(10, 20, 100, 50);
        c.apply(view);
        EXPECT_EQ(view->geometry(), c.expected);
    }

    // A null widget reads as a zero frame and ignores writes.
    EXPECT_EQ(right(nullptr), 0);
    EXPECT_EQ(size(nullptr), QSizeF(0, 0));
    setLeft(nullptr, 5);
    setSize(nullptr, QSizeF(1, 1));
}

TEST_F(ViewGeometryTest, CentresFindsAndRemovesChildren)
{
    QWidget *view = child(QRect(0, 0, 100, 50), QStringLiteral("target"));
    centerInParent(view);
    EXPECT_EQ(view->geometry(), QRect(100, 50, 100, 50));
    QWidget orphan;
    orphan.setGeometry(3, 4, 10, 10);
    centerInParent(&orphan);
    EXPECT_EQ(orphan.geometry(), QRect(3, 4, 10, 10));

    QWidget *second = child(QRect(0, 0, 1, 1), QStringLiteral("target"));
    QWidget *other = child(QRect(0, 0, 1, 1), QStringLiteral("other"));
    auto *grandchild = new QWidget(other);
    grandchild->setObjectName(QStringLiteral("deep"));
    EXPECT_EQ(viewWithIdentifier(m_container, QStringLiteral("target")), view);
    EXPECT_EQ(viewWithIdentifier(m_container, QStringLiteral("other")), other);
    EXPECT_EQ(viewWithIdentifier(m_container, QStringLiteral("deep")), nullptr);
    EXPECT_EQ(viewWithIdentifier(m_container, QStringLiteral("none")), nullptr);
    EXPECT_EQ(viewWithIdentifier(nullptr, QStringLiteral("target")), nullptr);

    QPointer<QWidget> a(view), b(second), c(other), d(grandchild);
    removeAllSubViews(m_container);
    EXPECT_TRUE(m_container->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
    EXPECT_TRUE(waitFor([&] { return !a && !b && !c && !d; }));
    EXPECT_NE(m_container->parentWidget(), nullptr); // the container itself stays
}

TEST_F(ViewGeometryTest, EdgeSwitchesChangeOneBit)
{
    QWidget *view = child(QRect(0, 0, 10, 10));
    struct Case
    {
        void (*fix)(QWidget *, bool);
        unsigned bit;
    };
    const Case cases[] = {
        {fixLeftEdge, ViewMinXMargin}, {fixWidth, ViewWidthSizable},   {fixRightEdge, ViewMaxXMargin},
        {fixTopEdge, ViewMinYMargin},  {fixHeight, ViewHeightSizable}, {fixBottomEdge, ViewMaxYMargin},
    };
    const unsigned all = 63;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bit);
        setAutoresizingMask(view, all);
        c.fix(view, true);
        EXPECT_EQ(autoresizingMask(view), all & ~c.bit);
        c.fix(view, false);
        EXPECT_EQ(autoresizingMask(view), all);
        setAutoresizingMask(view, ViewNotSizable);
        c.fix(view, false);
        EXPECT_EQ(autoresizingMask(view), c.bit);
    }
    setAutoresizingBit(view, ViewMaxYMargin, true);
    setAutoresizingBit(view, ViewMinXMargin, true);
    setAutoresizingBit(view, ViewMaxYMargin, false);
    EXPECT_EQ(autoresizingMask(view), unsigned(ViewMinXMargin));
}

TEST_F(ViewGeometryTest, AutoresizingFollowsTheParent)
{
    // Container 300 x 150 grows to 400 x 250 (+100 on each axis). Each child sits at
    // x 100..200 (margins 100 and 100) and y 50..100 (margins 50 and 50).
    struct Case
    {
        const char *name;
        unsigned mask;
        QRect expected;
    };
    const Case cases[] = {
        {"fixed", ViewNotSizable, QRect(100, 50, 100, 50)},
        {"flexible width", ViewWidthSizable, QRect(100, 50, 200, 50)},
        {"flexible height", ViewHeightSizable, QRect(100, 50, 100, 150)},
        {"flexible left margin", ViewMinXMargin, QRect(200, 50, 100, 50)},
        {"flexible right margin", ViewMaxXMargin, QRect(100, 50, 100, 50)},
        {"flexible top margin", ViewMinYMargin, QRect(100, 150, 100, 50)},
        {"flexible bottom margin", ViewMaxYMargin, QRect(100, 50, 100, 50)},
        // Shared in proportion: margins 100 + 100 take 50 each.
        {"both x margins", ViewMinXMargin | ViewMaxXMargin, QRect(150, 50, 100, 50)},
        // Left margin 100 and width 100 share +100 half and half.
        {"left margin and width", ViewMinXMargin | ViewWidthSizable, QRect(150, 50, 150, 50)},
        // Three parts of 100 each on x; 50 + 50 + 50 on y.
        {"everything", 63, QRect(133, 83, 133, 83)},
        {"width and height", ViewWidthSizable | ViewHeightSizable, QRect(100, 50, 200, 150)},
    };
    std::vector<std::pair<QWidget *, const Case *>> views;
    for (const Case &c : cases) {
        QWidget *view = child(QRect(100, 50, 100, 50), QString::fromLatin1(c.name));
        setAutoresizingMask(view, c.mask);
        views.emplace_back(view, &c);
    }
    m_container->resize(400, 250);
    for (const auto &[view, c] : views) {
        SCOPED_TRACE(c->name);
        EXPECT_EQ(view->geometry(), c->expected);
    }

    // Shrinking back restores the frames that only moved or only grew.
    m_container->resize(300, 150);
    EXPECT_EQ(viewWithIdentifier(m_container, QStringLiteral("flexible width"))->geometry(),
              QRect(100, 50, 100, 50));
    EXPECT_EQ(viewWithIdentifier(m_container, QStringLiteral("flexible top margin"))->geometry(),
              QRect(100, 50, 100, 50));
}

TEST_F(ViewGeometryTest, AutoresizingCatchesUpWhenAHiddenParentIsShown)
{
    m_container->hide();
    QWidget *view = child(QRect(10, 10, 100, 50));
    fixWidth(view, false);
    m_container->resize(350, 150);
    m_container->resize(500, 150); // two resizes while hidden: +200 in all
    m_container->show();
    EXPECT_TRUE(waitFor([&] { return view->width() == 300; }));
    EXPECT_EQ(view->geometry(), QRect(10, 10, 300, 50));
}

TEST_F(ViewGeometryTest, AutoresizingTakesEffectInEveryParentTheWidgetMovesInto)
{
    // The mask is set while the widget has no parent; it then moves into the container.
    auto *view = new QWidget;
    view->setGeometry(10, 10, 100, 50);
    setAutoresizingMask(view, ViewWidthSizable);
    view->setParent(m_container);
    view->setGeometry(10, 10, 100, 50);
    m_container->resize(400, 150);
    EXPECT_EQ(view->geometry(), QRect(10, 10, 200, 50));

    // Moved on into another parent, it follows that one.
    auto *other = new QWidget(m_window.get());
    other->setGeometry(0, 200, 300, 100);
    other->show();
    view->setParent(other);
    other->resize(350, 100);
    EXPECT_EQ(view->geometry(), QRect(10, 10, 250, 50));
}

} // namespace

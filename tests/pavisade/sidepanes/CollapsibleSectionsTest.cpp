#include <pavisade/sidepanes/XIInspectorView.h>
#include <pavisade/sidepanes/XIInspectorViewContainer.h>

#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QScrollArea>

#include <gtest/gtest.h>

namespace {

// A section with a body of the given height, added to the container expanded or not.
XIInspectorView *section(XIInspectorViewContainer &container, qint64 index, int bodyHeight, bool expanded,
                         const QString &name = QString())
{
    auto *view = new XIInspectorView;
    view->setName(name.isEmpty() ? QStringLiteral("Section %1").arg(index) : name);
    auto *body = new QWidget;
    body->resize(222, bodyHeight);
    view->setBody(body);
    container.addInspectorView(view, index, expanded);
    return view;
}

QList<int> tops(const XIInspectorViewContainer &container)
{
    QList<int> list;
    for (XIInspectorView *view : container.inspectorViews())
        list.append(view->y());
    return list;
}

} // namespace

TEST(InspectorSections, StackClosesUpAndOverlapsBordersAfterACollapsedSection)
{
    XIInspectorViewContainer container;
    container.resize(240, 10);
    XIInspectorView *first = section(container, 0, 50, false);
    XIInspectorView *middle = section(container, 1, 100, true);
    section(container, 2, 50, false);

    EXPECT_EQ(first->height(), 20);
    EXPECT_EQ(middle->height(), 120);
    EXPECT_EQ(tops(container), (QList<int>{0, 19, 139}));
    EXPECT_EQ(container.height(), 160) << "the container is as high as its sections together";
    for (XIInspectorView *view : container.inspectorViews())
        EXPECT_EQ(view->width(), 240);

    // Collapsing the middle one moves the last section up by its body.
    QTest::mouseClick(middle->header(), Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_FALSE(middle->expanded());
    EXPECT_EQ(middle->header()->state(), 0);
    EXPECT_FALSE(middle->body()->isVisibleTo(middle));
    EXPECT_EQ(tops(container), (QList<int>{0, 19, 38}));
    EXPECT_EQ(container.height(), 60);

    // The triangle does the same as the header.
    middle->header()->disclosureTriangle()->click();
    EXPECT_TRUE(middle->expanded());
    EXPECT_EQ(middle->header()->state(), 1);
    EXPECT_EQ(tops(container), (QList<int>{0, 19, 139}));
}

TEST(InspectorSections, SectionsAreOrderedByIndexNotByArrival)
{
    XIInspectorViewContainer container;
    container.resize(240, 10);
    section(container, 5, 10, true, QStringLiteral("five"));
    section(container, 1, 10, true, QStringLiteral("one"));
    section(container, 3, 10, true, QStringLiteral("three"));
    section(container, 3, 10, true, QStringLiteral("three again"));
    QStringList names;
    for (XIInspectorView *view : container.inspectorViews())
        names << view->name();
    EXPECT_EQ(names, (QStringList{"one", "three", "three again", "five"}));
    EXPECT_EQ(tops(container), (QList<int>{0, 30, 60, 90}));
}

TEST(InspectorSections, SettingABodyTogglesAndAddingSetsTheWantedState)
{
    auto *view = new XIInspectorView;
    EXPECT_TRUE(view->expanded());
    EXPECT_EQ(view->height(), 20);
    auto *body = new QWidget;
    body->resize(222, 80);
    view->setBody(body);
    EXPECT_FALSE(view->expanded()) << "a body toggles an expanded section";
    EXPECT_EQ(body->geometry(), QRect(0, 21, 222, 80)) << "one pixel below the header";

    XIInspectorViewContainer container;
    container.resize(300, 10);
    container.show();
    container.addInspectorView(view, true);
    EXPECT_TRUE(view->expanded());
    EXPECT_EQ(view->height(), 100);
    // The section's width reaches the body; its height stays.
    EXPECT_EQ(body->size(), QSize(300, 80));
    container.resize(180, container.height());
    EXPECT_EQ(body->size(), QSize(180, 80));
    EXPECT_EQ(view->header()->width(), 180);

    EXPECT_EQ(view->description(), QStringLiteral("XICollectionView \"\", expanded: YES"));
}

TEST(InspectorSections, AddingTwiceOrRemovingAStrangerChangesNothing)
{
    XIInspectorViewContainer container;
    container.resize(240, 10);
    XIInspectorView *a = section(container, 0, 30, true);
    XIInspectorView *b = section(container, 1, 30, true);
    container.addInspectorView(a, false);
    EXPECT_EQ(container.inspectorViews().size(), 2);
    EXPECT_TRUE(a->expanded());

    XIInspectorView stranger;
    container.removeInspectorView(&stranger);
    EXPECT_EQ(container.inspectorViews().size(), 2);

    container.removeInspectorView(a);
    EXPECT_EQ(container.inspectorViews(), QList<XIInspectorView *>{b});
    EXPECT_EQ(a->container(), nullptr);
    EXPECT_EQ(b->y(), 0);
    EXPECT_EQ(container.height(), 50);
    delete a;
}

TEST(InspectorSections, ContainerInAScrollAreaTakesTheViewportWidth)
{
    QScrollArea area;
    area.resize(260, 200);
    auto *container = new XIInspectorViewContainer;
    area.setWidget(container);
    area.show();
    QApplication::processEvents();
    container->arrangeViews();
    EXPECT_EQ(container->height(), 0) << "an empty container has no height";
    EXPECT_EQ(container->width(), area.viewport()->width());

    section(*container, 0, 40, true);
    area.resize(320, 200);
    QApplication::processEvents();
    EXPECT_EQ(container->width(), area.viewport()->width());
    EXPECT_EQ(container->inspectorViews().first()->width(), area.viewport()->width());
}

TEST(InspectorSections, HeaderKeepsItsFixedSize)
{
    XIInspectorViewHeader header;
    EXPECT_EQ(header.geometry(), QRect(0, 0, 222, 20));
    EXPECT_EQ(header.disclosureTriangle()->geometry(), QRect(5, 4, 13, 13));
    header.setTitle(QStringLiteral("Value"));
    EXPECT_EQ(header.title(), QStringLiteral("Value"));
}

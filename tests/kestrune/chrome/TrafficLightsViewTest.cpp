#include "ChromeTestHelpers.h"

#include <kestrune/chrome/ControlTint.h>
#include <kestrune/chrome/ImageButton.h>
#include <kestrune/chrome/KSTTrafficLightsView.h>

#include <QtCore/QAbstractAnimation>
#include <QtGui/QEnterEvent>
#include <gtest/gtest.h>

#include <array>

using namespace ChromeTest;
using namespace Kestrune;

namespace {

KSTTrafficLightsView *lightsIn(TBWindow &w)
{
    const QSize light = KSTTrafficLightsView::lightSize();
    auto *view = new KSTTrafficLightsView(w.titleBarView());
    view->setGeometry(6, 4, 3 * light.width() + 12, light.height());
    view->show();
    return view;
}

void enter(QWidget *view)
{
    QEnterEvent event(QPointF(1, 1), QPointF(1, 1), view->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(view, &event);
}

void leave(QWidget *view)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(view, &event);
}

bool settled(KSTTrafficLightsView *view)
{
    return view->findChildren<ImageButton *>(Qt::FindDirectChildrenOnly).size() == 3;
}

} // namespace

TEST(TrafficLightsView, PlacesTheLightsAndWiresThemToTheWindow)
{
    ShownWindow shown;
    KSTTrafficLightsView *view = lightsIn(shown.window);
    const QSize light = KSTTrafficLightsView::lightSize();
    ASSERT_FALSE(light.isEmpty());
    EXPECT_EQ(view->closeButton()->geometry(), QRect(QPoint(0, 0), light));
    EXPECT_EQ(view->minimizeButton()->geometry(), QRect(QPoint(light.width() + 6, 0), light));
    EXPECT_EQ(view->zoomButton()->geometry(), QRect(QPoint(2 * light.width() + 12, 0), light));
    for (ImageButton *b : {view->closeButton(), view->minimizeButton(), view->zoomButton()}) {
        EXPECT_TRUE(b->isEnabled());
        EXPECT_EQ(b->target(), &shown.window);
        EXPECT_EQ(b->image().cacheKey(), chromeImage(kKSTTrafficLightsViewImageNameTrafficNormal).cacheKey());
    }
    EXPECT_EQ(view->closeButton()->alternateImage().cacheKey(),
              chromeImage(kKSTTrafficLightsViewImageNameTrafficClosePressed).cacheKey());

    // Out of its window: all three disabled and sending nothing.
    view->setParent(nullptr);
    for (ImageButton *b : {view->closeButton(), view->minimizeButton(), view->zoomButton()}) {
        EXPECT_FALSE(b->isEnabled());
        EXPECT_EQ(b->target(), nullptr);
    }
    delete view;

    // The close light closes the window at once.
    KSTTrafficLightsView *again = lightsIn(shown.window);
    again->closeButton()->click();
    EXPECT_FALSE(shown.window.isVisible());
}

TEST(TrafficLightsView, HoverFadesEnabledLightsToTheirSymbolsAndBack)
{
    ShownWindow shown;
    shown.window.setStyleMask(TBWindow::Titled | TBWindow::Closable | TBWindow::Miniaturizable);
    KSTTrafficLightsView *view = lightsIn(shown.window);
    ImageButton *zoom = view->zoomButton();
    EXPECT_FALSE(zoom->isEnabled()) << "the window may not be resized";

    enter(view);
    // The buttons the fade shows under the pointer bring another Enter: no second fade.
    const int withFade = int(view->findChildren<ImageButton *>(Qt::FindDirectChildrenOnly).size());
    enter(view);
    EXPECT_EQ(view->findChildren<ImageButton *>(Qt::FindDirectChildrenOnly).size(), withFade);
    EXPECT_TRUE(waitFor([&] { return settled(view); }));
    EXPECT_EQ(view->closeButton()->image().cacheKey(),
              chromeImage(kKSTTrafficLightsViewImageNameTrafficClose).cacheKey());
    EXPECT_EQ(view->minimizeButton()->image().cacheKey(),
              chromeImage(kKSTTrafficLightsViewImageNameTrafficMinimize).cacheKey());
    EXPECT_EQ(view->zoomButton(), zoom) << "a disabled light is not touched";
    EXPECT_EQ(zoom->image().cacheKey(), chromeImage(kKSTTrafficLightsViewImageNameTrafficNormal).cacheKey());
    // The new buttons keep the pressed image, target and action.
    EXPECT_EQ(view->closeButton()->alternateImage().cacheKey(),
              chromeImage(kKSTTrafficLightsViewImageNameTrafficClosePressed).cacheKey());
    EXPECT_EQ(view->closeButton()->target(), &shown.window);

    // In and out faster than a fade: one button per slot, showing the last movement.
    leave(view);
    enter(view);
    leave(view);
    EXPECT_TRUE(waitFor([&] { return settled(view); }));
    EXPECT_TRUE(waitFor([&] { return view->findChildren<QAbstractAnimation *>().isEmpty(); }))
        << "every fade has ended";
    EXPECT_TRUE(settled(view));
    EXPECT_EQ(view->closeButton()->image().cacheKey(),
              chromeImage(kKSTTrafficLightsViewImageNameTrafficNormal).cacheKey());
    EXPECT_EQ(view->minimizeButton()->image().cacheKey(),
              chromeImage(kKSTTrafficLightsViewImageNameTrafficNormal).cacheKey());
}

TEST(TrafficLightsView, TheGraphiteTintChangesPressedImagesAtOnceAndSymbolsAtTheNextHover)
{
    setCurrentControlTint(BlueControlTint);
    ShownWindow shown;
    KSTTrafficLightsView *view = lightsIn(shown.window);
    const auto imageOf = [](const QString &name) { return chromeImage(name).cacheKey(); };
    const auto lights = [&] {
        return std::array<ImageButton *, 3>{view->closeButton(), view->minimizeButton(), view->zoomButton()};
    };
    const QString pressed[2][3] = {{kKSTTrafficLightsViewImageNameTrafficClosePressed,
                                    kKSTTrafficLightsViewImageNameTrafficMinimizePressed,
                                    kKSTTrafficLightsViewImageNameTrafficZoomPressed},
                                   {kKSTTrafficLightsViewImageNameTrafficClosePressedGraphite,
                                    kKSTTrafficLightsViewImageNameTrafficMinimizePressedGraphite,
                                    kKSTTrafficLightsViewImageNameTrafficZoomPressedGraphite}};
    const QString symbol[2][3] = {{kKSTTrafficLightsViewImageNameTrafficClose,
                                   kKSTTrafficLightsViewImageNameTrafficMinimize,
                                   kKSTTrafficLightsViewImageNameTrafficZoom},
                                  {kKSTTrafficLightsViewImageNameTrafficCloseGraphite,
                                   kKSTTrafficLightsViewImageNameTrafficMinimizeGraphite,
                                   kKSTTrafficLightsViewImageNameTrafficZoomGraphite}};
    // Every graphite image is artwork of its own, of the lights' size.
    for (int slot = 0; slot < 3; ++slot) {
        for (const QString &name : {pressed[1][slot], symbol[1][slot]}) {
            EXPECT_EQ(chromeImage(name).size(), KSTTrafficLightsView::lightSize()) << qPrintable(name);
        }
        EXPECT_NE(chromeImage(pressed[1][slot]), chromeImage(pressed[0][slot]));
        EXPECT_NE(chromeImage(symbol[1][slot]), chromeImage(symbol[0][slot]));
    }

    for (const bool graphite : {true, false}) {
        SCOPED_TRACE(graphite ? "graphite" : "blue");
        setCurrentControlTint(graphite ? GraphiteControlTint : BlueControlTint);
        EXPECT_EQ(KSTTrafficLightsView::isGraphite(), graphite);
        for (int slot = 0; slot < 3; ++slot) {
            EXPECT_EQ(lights()[slot]->alternateImage().cacheKey(), imageOf(pressed[graphite][slot]))
                << "pressed images follow at once";
            EXPECT_EQ(lights()[slot]->image().cacheKey(),
                      imageOf(graphite ? kKSTTrafficLightsViewImageNameTrafficNormal : symbol[1][slot]))
                << "symbols wait for the next hover";
        }
        leave(view);
        EXPECT_TRUE(waitFor([&] { return settled(view); }));
        enter(view);
        EXPECT_TRUE(waitFor([&] { return settled(view); }));
        for (int slot = 0; slot < 3; ++slot) {
            EXPECT_EQ(lights()[slot]->image().cacheKey(), imageOf(symbol[graphite][slot]));
            EXPECT_EQ(lights()[slot]->alternateImage().cacheKey(), imageOf(pressed[graphite][slot]));
        }
    }

    // A view that is gone hears no more tint changes.
    delete view;
    setCurrentControlTint(GraphiteControlTint);
    setCurrentControlTint(DefaultControlTint);
    EXPECT_EQ(currentControlTint(), DefaultControlTint);
}

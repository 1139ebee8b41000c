#include <kestrune/AppNotifications.h>
#include <kestrune/chrome/ImageButton.h>
#include <kestrune/chrome/KSTTrafficLightsView.h>
#include <kestrune/shell/KSTMainWindow.h>

#include <bastwick/platform/NotificationCenter.h>
#include <bastwick/platform/UserDefaults.h>

#include "support/FreshLocalStore.h"
#include "support/WaitFor.h"

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

struct ShownMainWindow
{
    ShownMainWindow()
    {
        window.setActivationStateHook([this](const TBWindow *) { return main; });
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    bool main = true;
    KSTMainWindow window;
};

int greyAt(KSTMainWindow &window, int x, int y)
{
    return window.titleBarView()->grab().toImage().pixelColor(x, y).red();
}

} // namespace

TEST(MainWindow, OpensWithTheApplicationTitleAndABody)
{
    KSTMainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kestrune"));
    ASSERT_NE(window.centralWidget(), nullptr);
    EXPECT_EQ(window.size(), QSize(1000, 600));
    EXPECT_EQ(window.titleBarHeight(), 36.0);
    EXPECT_EQ(window.centralWidget()->geometry(), QRect(0, 36, 1000, 564));
}

TEST(MainWindow, TitleBarLayoutFollowsTheWindowWidth)
{
    ShownMainWindow shown;
    KSTMainWindow &w = shown.window;
    const QSize light = KSTTrafficLightsView::lightSize();
    KSTTrafficLightsView *lights = w.trafficLightsView();
    EXPECT_EQ(lights->geometry(),
              QRect(6, int(std::floor(18 - light.height() / 2.0)), 3 * light.width() + 12, light.height()));
    for (TBWindow::ButtonKind kind :
         {TBWindow::CloseButton, TBWindow::MiniaturizeButton, TBWindow::ZoomButton})
        EXPECT_TRUE(w.standardWindowButton(kind)->isHidden());

    w.resize(900, 600);
    (void)w.titleBarView()->grab();
    ASSERT_EQ(w.userButtons().size(), 2);
    EXPECT_EQ(w.userButtons().at(0)->geometry(), QRect(800, 6, 24, 24));
    EXPECT_EQ(w.userButtons().at(1)->geometry(), QRect(836, 6, 24, 24));
    EXPECT_EQ(w.fullScreenButtonToLayout()->geometry(), QRect(900 - 10 - 14, 11, 14, 14));
    EXPECT_EQ(lights->pos().x(), 6);
    w.layoutTrafficLightsAndContent();
    EXPECT_TRUE(w.standardWindowButton(TBWindow::CloseButton)->isHidden()) << "never shown again";
}

TEST(MainWindow, TitleBarColoursForTheActiveAndTheInactiveLook)
{
    ShownMainWindow shown;
    KSTMainWindow &w = shown.window;
    const int x = 300; // clear of the lights, the title and the buttons
    struct Probe
    {
        int y;
        int active, inactive;
    };
    // Rows: top inset, gradient top and bottom, bottom inset, bottom border. The noise
    // adds at most 3.
    const Probe probes[] = {{0, 255, 255}, {1, 184, 247}, {32, 228, 216}, {34, 255, 224}, {35, 0, 150}};
    for (const bool main : {true, false}) {
        shown.main = main;
        w.activationStateDidChange();
        const QImage bar = w.titleBarView()->grab().toImage();
        for (const Probe &p : probes) {
            const int expected = main ? p.active : p.inactive;
            const int got = bar.pixelColor(x, p.y).red();
            EXPECT_GE(got, expected - 2) << (main ? "active" : "inactive") << " row " << p.y;
            EXPECT_LE(got, std::min(255, expected + 4)) << (main ? "active" : "inactive") << " row " << p.y;
        }
    }
    // The home and about buttons work only while the window draws as main.
    EXPECT_FALSE(w.userButtons().at(0)->isEnabled());
}

TEST(MainWindow, BarLinesFollowTheDrawingRectanglesOrigin)
{
    KSTMainWindow window;
    ASSERT_TRUE(window.titleBarDrawingBlock);
    // A rectangle that does not start at the top of the image: the inset and border
    // rows belong to the rectangle, not to the image.
    QImage image(200, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(50, 100, 150));
    {
        QPainter painter(&image);
        const QRectF rect(0, 10, 200, 36);
        QPainterPath clip;
        clip.addRect(rect);
        window.titleBarDrawingBlock(painter, true, rect, clip);
    }
    const auto red = [&](int y) { return image.pixelColor(100, y).red(); };
    EXPECT_EQ(red(9), 50) << "above the rectangle";
    EXPECT_GE(red(10), 254) << "top inset";
    EXPECT_NEAR(red(11), 184, 4);
    EXPECT_GE(red(44), 254) << "bottom inset";
    EXPECT_LE(red(45), 3) << "bottom border";
    EXPECT_EQ(red(46), 50) << "below the rectangle";
}

TEST(MainWindow, FullScreenHidesTheLightsAndBlackensTheCorners)
{
    ShownMainWindow shown;
    KSTMainWindow &w = shown.window;
    EXPECT_NE(greyAt(w, 0, 0), 0);
    w.toggleFullScreen();
    EXPECT_EQ(w.trafficLightsView()->alphaValue(), 0.0);
    EXPECT_EQ(greyAt(w, 0, 0), 0) << "outside the rounded corner";
    EXPECT_NEAR(greyAt(w, 300, 1), 184, 4);
    // The bar brought back by the pointer at the top edge shows its lights; they go
    // with it.
    w.setTitleBarRevealed(true);
    EXPECT_EQ(w.trafficLightsView()->alphaValue(), 1.0);
    w.setTitleBarRevealed(false);
    EXPECT_EQ(w.trafficLightsView()->alphaValue(), 0.0);
    w.toggleFullScreen();
    EXPECT_EQ(w.trafficLightsView()->alphaValue(), 1.0);
    EXPECT_FALSE(w.isInFullScreen());
}

TEST(MainWindow, HomeAboutAndSharePostTheirNotificationsWithoutObject)
{
    ShownMainWindow shown;
    QObject context;
    QStringList posted;
    for (const QString &name : {kHomeMsg, kAboutMsg, kShareMsg})
        Bastwick::NotificationCenter::defaultCenter().addObserver(&context, name,
                                                                  [&](const Bastwick::Notification &n) {
                                                                      EXPECT_FALSE(n.object.isValid());
                                                                      EXPECT_TRUE(n.userInfo.isEmpty());
                                                                      posted << n.name;
                                                                  });
    shown.window.userButtons().at(0)->click();
    shown.window.userButtons().at(1)->click();
    shown.window.shareBtnClicked();
    EXPECT_EQ(posted, QStringList({"HomeMsg", "AboutMsg", "ShareMsg"}));
}

TEST(MainWindow, AlwaysOnTopComesFromTheUserDefault)
{
    Bastwick::UserDefaults &defaults = Bastwick::UserDefaults::standard();
    const QString key = QStringLiteral("windowAlwaysOnTop");
    for (const std::optional<bool> stored :
         {std::optional<bool>(), std::optional<bool>(false), std::optional<bool>(true)}) {
        if (stored)
            defaults.setBool(*stored, key);
        else
            defaults.removeObjectForKey(key);
        KSTMainWindow window;
        EXPECT_EQ(bool(window.windowFlags() & Qt::WindowStaysOnTopHint), stored.value_or(false));
    }
    defaults.removeObjectForKey(key);
}

#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/shell/Startup.h>

#include <QtCore/QFile>

TEST(Startup, OpensTheLocalStoreFromTheSeedAndSetsStartPreferences)
{
    Kestrune::registerAllClasses();
    ASSERT_TRUE(TestSupport::resetLocalStore());
    ASSERT_TRUE(Kestrune::openLocalStore());
    Kestrune::setStartPreferences();
    EXPECT_TRUE(QFile::exists(appDBPath()));
    EXPECT_EQ(QFile::permissions(appDBPath()) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    EXPECT_EQ(AppPreference::sharedPreference()->pageSize(), 100);
    EXPECT_EQ(AppPreference::sharedPreference()->magicNumbers(), 500);
    DataBaseBO::sharedInstance().closeDataBase();
}

#include <corbelan/services/ImageCacheManager.h>
#include <corbelan/services/XXXCommonImageCache.h>

TEST(ApplicationImages, EveryNamedImageTheCachesAskForShips)
{
    XXXCommonImageCache images;
    EXPECT_FALSE(images.windowTitleImage().isNull());
    // The image the start-up hands to the cache for the window's title.
    images.upDateWindowTitleImage(QStringLiteral("velderhopIcon29x29"));
    EXPECT_EQ(images.windowTitleImage().size(), QSize(29, 29));
    for (const QImage &image :
         {images.keyImage(), images.columnImage(), images.deviceIPhoneImage(), images.deviceIMacImage(),
          images.deviceIPadImage(), images.deviceMacbookImage(), images.deviceMacbookAirImage(),
          images.deviceMacbookProImage()})
        EXPECT_FALSE(image.isNull());

    ImageCacheManager cache;
    EXPECT_EQ(Corbelan::hImage(cache).size(), QSize(14, 16));
    EXPECT_EQ(Corbelan::mImage(cache).size(), QSize(14, 16));
    EXPECT_EQ(Corbelan::uiviewImage(cache).size(), QSize(16, 16));
    EXPECT_FALSE(Corbelan::imageImage(cache).isNull());
    EXPECT_FALSE(Corbelan::textImage(cache).isNull());
}

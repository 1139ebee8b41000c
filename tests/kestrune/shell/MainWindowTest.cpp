#include <kestrune/shell/KSTMainWindow.h>

#include <QtTest/QTest>
#include <gtest/gtest.h>

TEST(MainWindow, OpensWithTheApplicationTitleAndABody)
{
    KSTMainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kestrune"));
    ASSERT_NE(window.centralWidget(), nullptr);
    EXPECT_EQ(window.size(), QSize(1000, 600));
}

#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/shell/Startup.h>

#include <QtCore/QFile>

TEST(Startup, OpensTheLocalStoreFromTheSeedAndSetsStartPreferences)
{
    Kestrune::registerAllClasses();
    QFile::remove(appDBPath());
    ASSERT_TRUE(Kestrune::openLocalStore());
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

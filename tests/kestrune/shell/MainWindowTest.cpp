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

#include <kestrune/data/AppPreference.h>
#include <kestrune/data/DataBaseBO.h>
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

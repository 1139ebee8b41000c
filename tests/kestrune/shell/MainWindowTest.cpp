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

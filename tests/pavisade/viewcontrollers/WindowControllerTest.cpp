#include <pavisade/viewcontrollers/ScreenStack.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>
#include <pavisade/viewcontrollers/XXXAppDelegate.h>
#include <pavisade/viewcontrollers/XXXWindowCommonController.h>

#include "support/LogCapture.h"

#include <QtGui/QAction>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>

#include <gtest/gtest.h>

namespace {

class QuickWindowController : public XXXWindowCommonController
{
    Q_OBJECT
public:
    QToolBar *bar = nullptr;
    QStringList steps;
    QList<QAction *> connectClicks;
    QMainWindow *mainWindow() override { return qobject_cast<QMainWindow *>(window()); }
    QToolBar *mainToolBar() override
    {
        steps << "toolbar";
        return bar;
    }
    QHash<QString, QString> toolBarIditifers() const override { return {{"connect", "Connect"}}; }
    QString identifierToolbar(QAction *item) const override
    {
        return item->objectName() == "divider" ? XXXToolbarSeparatorItemIdentifier : QString();
    }
    QString appDisplayName() const override { return "Quick Connect"; }
    Q_INVOKABLE void connectToolBarItemClick(QAction *sender) { connectClicks << sender; }
};

} // namespace

TEST(WindowController, WithoutOverridesTheWindowIsCentredAndNothingIsBound)
{
    XXXWindowCommonController controller;
    EXPECT_EQ(controller.windowNibName(), "XXXWindowCommonController");
    EXPECT_FALSE(controller.isWindowLoaded());
    QWidget *window = controller.window();
    ASSERT_TRUE(window);
    EXPECT_EQ(controller.window(), window) << "made once";
    EXPECT_EQ(controller.osxMainWindow(), nullptr);
    EXPECT_EQ(controller.osxToolBar(), nullptr);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((window->frameGeometry().center() - available.center()).manhattanLength(), 2);
}

TEST(WindowController, SetUpOrderToolbarRoutingAndScreens)
{
    QuickWindowController controller;
    controller.bar = new QToolBar;
    QAction *connect = controller.bar->addAction("Connect");
    connect->setObjectName("connect");
    QAction *divider = controller.bar->addAction("|");
    divider->setObjectName("divider");
    QAction *other = controller.bar->addAction("Other");
    other->setObjectName("other");
    TestSupport::LogCapture log;
    auto *window = qobject_cast<QMainWindow *>(controller.window());
    ASSERT_TRUE(window);
    EXPECT_EQ(controller.steps, (QStringList{"toolbar", "toolbar"}));
    EXPECT_EQ(controller.osxMainWindow(), window);
    EXPECT_EQ(window->toolBarArea(controller.bar), Qt::TopToolBarArea);
    EXPECT_EQ(window->windowTitle(), "Quick Connect");
    EXPECT_EQ(window->geometry(), QGuiApplication::primaryScreen()->availableGeometry());
    EXPECT_EQ(log.count("sel="), 2) << "an item answered as a separator is skipped";

    connect->trigger();
    divider->trigger();
    EXPECT_EQ(controller.connectClicks, QList<QAction *>{connect});
    EXPECT_EQ(Pavisade::itemWithIdentifer(controller.bar, "other"), other);
    EXPECT_EQ(Pavisade::itemWithIdentifer(controller.bar, "missing"), nullptr);

    auto *screen = new X3CommonViewController;
    controller.showViewController(screen);
    EXPECT_EQ(ScreenStack::of(window)->shownScreen(), screen);
    log.clear();
    controller.showViewController(nullptr);
    EXPECT_EQ(log.count("hi,mainViewController not config!"), 1);
}

#include "WindowControllerTest.moc"

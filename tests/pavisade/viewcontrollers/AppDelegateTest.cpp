#include <pavisade/viewcontrollers/DocumentWindow.h>
#include <pavisade/viewcontrollers/ScreenStack.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>
#include <pavisade/viewcontrollers/XXXAppDelegate.h>

#include <bastwick/platform/ClassRegistry.h>
#include <corbelan/services/RouteManager.h>
#include <corbelan/services/XXXCommonImageCache.h>

#include "support/LogCapture.h"
#include "support/WaitFor.h"

#include <QtCore/QUrl>
#include <QtGui/QAction>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QToolBar>

#include <gtest/gtest.h>

namespace {

class CountingScreen : public X3CommonViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit CountingScreen(QWidget *parent = nullptr)
        : X3CommonViewController(parent)
    {
    }
    int loads = 0;

protected:
    void loadInterface() override { ++loads; }
};

class Delegate : public XXXAppDelegate
{
    Q_OBJECT
public:
    QMainWindow *window = nullptr;
    QToolBar *toolBar = nullptr;
    X3CommonViewController *start = nullptr;
    QStringList steps;
    QList<QAction *> openClicks;
    QList<QAction *> defaultClicks;
    int terminations = 0;

    QMainWindow *mainWindow() override { return window; }
    X3CommonViewController *startViewController() override { return start; }
    QToolBar *mainToolBar() override { return toolBar; }
    QHash<QString, QString> toolBarIditifers() const override { return {{"open", "Open"}, {"gone", "Gone"}}; }
    void viewControllerRouteConfig() override { steps << "route"; }
    void openDataBase() override { steps << "database"; }
    void toolBarGLocation() override { steps << "toolBarGLocation"; }
    void menuGLocation() override { steps << "menuGLocation"; }
    void defaultToolBarItemClick(QAction *sender) override { defaultClicks << sender; }
    Q_INVOKABLE void openToolBarItemClick(QAction *sender) { openClicks << sender; }
    void terminate() override { ++terminations; }
};

// A main window that keeps what start-up tells it about its document.
class DocumentMainWindow : public QMainWindow, public DocumentWindow
{
public:
    QStringList calls;
    QUrl url;
    QImage image;
    void setRepresentedURL(const QUrl &u) override
    {
        calls << "url";
        url = u;
    }
    void setDocumentIconImage(const QImage &i) override
    {
        calls << "image";
        image = i;
    }
};

} // namespace

TEST(AppDelegate, WithoutOverridesStartUpCompletesAndOnlyLogsTheMissingScreen)
{
    TestSupport::LogCapture log;
    XXXAppDelegate delegate;
    delegate.awakeFromNib();
    EXPECT_EQ(delegate.osxMainWindow(), nullptr);
    EXPECT_EQ(delegate.osxToolBar(), nullptr);
    EXPECT_FALSE(delegate.isShowMainView());
    EXPECT_EQ(log.count("hi,mainViewController not config!"), 1);
    EXPECT_EQ(XXXAppDelegate::sharedAppDelegate(), &delegate);
}

TEST(AppDelegate, StartUpPutsTheFirstScreenAndTheToolbarOnTheMainWindow)
{
    QApplication::setApplicationDisplayName("Kestrune");
    QMainWindow window;
    auto *appMenu = window.menuBar()->addMenu("Velderhop");
    QAction *about = appMenu->addAction("About Velderhop");
    QAction *twice = appMenu->addAction("Hide Velderhop, show Velderhop");
    QAction *plain = appMenu->addAction("Preferences");
    auto *help = window.menuBar()->addMenu("Help");
    QAction *helpItem = help->addAction("Velderhop Help");
    auto *other = window.menuBar()->addMenu("Edit");
    QAction *otherItem = other->addAction("Velderhop Edit");

    Delegate delegate;
    delegate.window = &window;
    delegate.toolBar = new QToolBar;
    auto *screen = new CountingScreen;
    delegate.start = screen;
    delegate.awakeFromNib();
    delegate.awakeFromNib();

    EXPECT_EQ(delegate.steps, (QStringList{"route", "database", "toolBarGLocation", "menuGLocation"}));
    EXPECT_EQ(delegate.osxMainWindow(), &window);
    EXPECT_EQ(window.windowTitle(), "Kestrune");
    // 1000 x 600, but no larger than the screen's free area (800 x 600 here), and all
    // of it on the screen.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window.size(), QSize(1000, 600).boundedTo(available.size()));
    EXPECT_TRUE(available.contains(window.frameGeometry()))
        << window.frameGeometry().x() << "," << window.frameGeometry().y();
    EXPECT_EQ(about->text(), "About Kestrune");
    EXPECT_EQ(twice->text(), "Hide Kestrune, show Kestrune");
    EXPECT_EQ(plain->text(), "Preferences");
    EXPECT_EQ(helpItem->text(), "Kestrune Help");
    EXPECT_EQ(otherItem->text(), "Velderhop Edit") << "only the application and Help menus are touched";

    EXPECT_TRUE(delegate.isShowMainView());
    EXPECT_EQ(screen->loads, 1);
    ScreenStack *stack = ScreenStack::of(&window);
    ASSERT_TRUE(stack);
    EXPECT_EQ(window.centralWidget(), stack);
    EXPECT_EQ(stack->shownScreen(), screen);
    EXPECT_EQ(window.toolBarArea(delegate.toolBar), Qt::TopToolBarArea);
}

TEST(AppDelegate, AWindowIsCentredInTheAreaWithItsTopLeftCornerOnIt)
{
    struct Case
    {
        QSize window;
        QRect area;
        QPoint topLeft;
    };
    const Case cases[] = {
        {{1000, 600}, {0, 0, 1280, 800}, {140, 100}},
        {{1000, 600}, {100, 30, 1280, 770}, {240, 115}},
        // 1440 x 900 at scale 2, with the window already cut to the area.
        {{720, 450}, {0, 0, 720, 450}, {0, 0}},
        // A window that cannot shrink to the area (its minimum size) keeps its left
        // edge and its title bar on the screen.
        {{800, 500}, {0, 0, 640, 400}, {0, 0}},
        {{700, 600}, {10, 20, 1280, 450}, {300, 20}},
    };
    for (const Case &c : cases) {
        QWidget window;
        window.setGeometry(QRect(QPoint(-500, -500), c.window));
        Pavisade::centerWindowInArea(&window, c.area);
        EXPECT_EQ(window.frameGeometry().topLeft(), c.topLeft)
            << c.window.width() << "x" << c.window.height() << " in " << c.area.width() << "x"
            << c.area.height();
    }
}

TEST(AppDelegate, WindowToolbarItemsReachNamedClickMethodsAndSpacersAreSkipped)
{
    QMainWindow window;
    auto *bar = new QToolBar;
    QAction *open = bar->addAction("Open");
    open->setObjectName("open");
    QAction *separator = bar->addSeparator();
    QAction *space = bar->addAction("");
    space->setObjectName(XXXToolbarFlexibleSpaceItemIdentifier);
    QAction *plain = bar->addAction("Plain");
    plain->setObjectName("plain");
    QAction *gone = bar->addAction("Gone");
    gone->setObjectName("gone");

    Delegate delegate;
    delegate.window = &window;
    delegate.toolBar = bar;
    TestSupport::LogCapture log;
    delegate.awakeFromNib();
    EXPECT_EQ(log.count("sel="), 3) << "one binding per item that is not a spacer";
    EXPECT_EQ(delegate.toolBarActionNamePrefix("open"), "open");
    EXPECT_EQ(delegate.toolBarActionNamePrefix("unknown"), "default");

    open->trigger();
    plain->trigger();
    separator->trigger();
    space->trigger();
    EXPECT_EQ(delegate.openClicks, (QList<QAction *>{open}));
    EXPECT_EQ(delegate.defaultClicks, (QList<QAction *>{plain}));

    log.clear();
    gone->trigger();
    EXPECT_EQ(log.count("has no method goneToolBarItemClick"), 1) << "bound all the same, logs on click";
}

TEST(AppDelegate, ScreensSwitchByRouteAndStayOwnedWhenTakenOff)
{
    Bastwick::ClassRegistry::instance().registerClass<CountingScreen>();
    RouteManager::sharedInstance().map("First", "CountingScreen");
    RouteManager::sharedInstance().map("Second", "CountingScreen");

    QMainWindow window;
    Delegate delegate;
    delegate.window = &window;
    delegate.changeViewWithIdentifier("First");
    auto *first = qobject_cast<CountingScreen *>(delegate.currentViewController());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->parentWindow(), &window);
    ScreenStack *stack = ScreenStack::of(&window);
    EXPECT_EQ(stack->shownScreen(), first);

    delegate.changeViewWithIdentifier("First");
    EXPECT_EQ(first->loads, 1);
    EXPECT_EQ(stack->shownScreen(), first) << "switching to the current screen changes nothing";

    delegate.changeViewWithIdentifier("Second");
    auto *second = qobject_cast<CountingScreen *>(delegate.currentViewController());
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(stack->shownScreen(), second);
    EXPECT_EQ(first->parent(), stack) << "the screen taken off stays owned by the stack";
    EXPECT_FALSE(first->isVisibleTo(&window));

    delegate.removeViewWithIdentifier("Second");
    EXPECT_EQ(stack->shownScreen(), nullptr);
    EXPECT_EQ(delegate.currentViewController(), second);
    EXPECT_EQ(second->parent(), stack);

    delegate.changeViewWithIdentifier("Unknown");
    EXPECT_EQ(delegate.currentViewController(), second);

    delegate.changeViewToViewController(first);
    EXPECT_EQ(stack->shownScreen(), first);
    EXPECT_EQ(first->loads, 1) << "a screen shown again keeps its state";
}

TEST(AppDelegate, OnlyClosingTheMainWindowTerminates)
{
    QMainWindow window;
    QMainWindow other;
    Delegate delegate;
    delegate.window = &window;
    delegate.awakeFromNib();
    delegate.registerWindowCloseNotify();
    window.show();
    other.show();

    other.close();
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(delegate.terminations, 0);
    window.close();
    EXPECT_TRUE(waitFor([&] { return delegate.terminations == 1; }));
}

TEST(AppDelegate, ActivitySpinnerIsCentredInTheWindowBody)
{
    QMainWindow window;
    window.setCentralWidget(new QWidget);
    window.resize(400, 300);
    window.show();
    Delegate delegate;
    delegate.window = &window;
    delegate.osxMainWindowConfig();
    auto *spinner = delegate.progressIndicator();
    QWidget *body = window.centralWidget();
    EXPECT_EQ(spinner->parentWidget(), body);
    EXPECT_EQ(spinner->size(), QSize(40, 40));
    EXPECT_EQ(spinner->geometry().center(), QRect(QPoint(), body->size()).center());
    EXPECT_FALSE(spinner->isVisible());
    delegate.displayActivityView();
    EXPECT_TRUE(spinner->isVisible());
    delegate.hideActivityView();
    EXPECT_FALSE(spinner->isVisible());
}

// Start-up names the document the main window stands for and shows the title image as
// its document icon: through the window's document-window interface where it has one,
// otherwise as Qt's window file path and the window icon.
TEST(AppDelegate, StartUpGivesTheMainWindowItsDocumentURLAndIcon)
{
    QImage icon(5, 5, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    XXXCommonImageCache::sharedInstance().upDateWindowTitleImage(QVariant(icon));

    DocumentMainWindow document;
    QMainWindow plain;
    for (QMainWindow *window : {static_cast<QMainWindow *>(&document), &plain}) {
        Delegate delegate;
        delegate.window = window;
        delegate.awakeFromNib();
        EXPECT_FALSE(window->windowIcon().isNull());
    }
    EXPECT_EQ(document.calls, (QStringList{"url", "image"}));
    EXPECT_EQ(document.url, QUrl("WindowTitle"));
    EXPECT_EQ(document.image, icon);
    EXPECT_EQ(plain.windowFilePath(), "WindowTitle");
}

#include "AppDelegateTest.moc"

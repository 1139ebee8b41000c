#include <pavisade/PavisadeClasses.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <corbelan/CorbelanClasses.h>

#include "support/LogCapture.h"
#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

static TestSupport::SetupHook hook([] {
    Corbelan::registerCorbelanClasses();
    Pavisade::registerPavisadeClasses();
});

namespace {

// Records the hooks in the order the base runs them.
class RecordingScreen : public X3CommonViewController
{
    Q_OBJECT
public:
    using X3CommonViewController::X3CommonViewController;
    QStringList calls;
    int resizes = 0;

    void resizeUI() override { ++resizes; }
    void toolBarGLocation() override { calls << "toolBarGLocation"; }
    void lableGLocation() override { calls << "lableGLocation"; }
    void menuGLocation() override { calls << "menuGLocation"; }

    Q_INVOKABLE void saveAction(QAbstractButton *sender) { clicked = sender; }
    QAbstractButton *clicked = nullptr;
    QStringList buttonIditifers() const override { return {"Save", "Missing", "Other"}; }

protected:
    void loadInterface() override
    {
        calls << "loadInterface";
        auto *save = new QPushButton(QStringLiteral("  Save "), this);
        save->setObjectName("Save");
        auto *other = new QPushButton(QStringLiteral("Other"), this);
        other->setObjectName("Other");
    }
    void awakeFromNib() override
    {
        calls << "awakeFromNib";
        X3CommonViewController::awakeFromNib();
        calls << "awakeFromNib done";
    }
    void loadView() override { calls << "loadView"; }
};

// A screen that skips the base's awakening (as tab screens do).
class UnregisteredScreen : public X3CommonViewController
{
    Q_OBJECT
public:
    int resizes = 0;
    void resizeUI() override { ++resizes; }

protected:
    void awakeFromNib() override {}
};

} // namespace

TEST(CommonViewController, HooksRunOnceInTheDocumentedOrderWhenTheViewIsFirstAskedFor)
{
    RecordingScreen screen;
    EXPECT_FALSE(screen.isViewLoaded());
    EXPECT_TRUE(screen.calls.isEmpty()) << "nothing may run from the constructor";

    EXPECT_EQ(screen.view(), &screen);
    const QStringList expected = {"loadInterface", "awakeFromNib",      "toolBarGLocation", "lableGLocation",
                                  "menuGLocation", "awakeFromNib done", "loadView"};
    EXPECT_EQ(screen.calls, expected);
    EXPECT_TRUE(screen.isViewLoaded());

    screen.view();
    screen.setUp();
    EXPECT_EQ(screen.calls, expected) << "setUp must be idempotent";
}

TEST(CommonViewController, LocalisationTrimsButtonTitlesAndNibNamesFollowTheClass)
{
    RecordingScreen screen;
    EXPECT_EQ(screen.nibName(), "X3CommonViewController");
    screen.useClassNib();
    EXPECT_EQ(screen.nibName(), "RecordingScreen");

    screen.view();
    auto *save = screen.findChild<QPushButton *>("Save");
    ASSERT_TRUE(save);
    EXPECT_EQ(save->text(), "Save");
}

TEST(CommonViewController, WindowResizesReachRegisteredScreensOncePerEventLoopTurn)
{
    QWidget window;
    auto *a = new RecordingScreen(&window);
    auto *b = new RecordingScreen(&window);
    auto *skipped = new UnregisteredScreen;
    std::unique_ptr<UnregisteredScreen> owner(skipped);
    a->view();
    b->view();
    skipped->view();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    a->resizes = b->resizes = skipped->resizes = 0;

    window.resize(300, 200);
    window.resize(320, 210);
    window.resize(340, 220);
    EXPECT_EQ(a->resizes, 0) << "delivery waits for the event loop";
    EXPECT_TRUE(waitFor([&] { return a->resizes > 0; }));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(a->resizes, 1);
    EXPECT_EQ(b->resizes, 1);
    EXPECT_EQ(skipped->resizes, 0) << "a screen whose base awakening did not run is not registered";

    // Another window's resize reaches every registered screen too; a dead screen is skipped.
    delete b;
    QWidget other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    a->resizes = 0;
    other.resize(200, 100);
    EXPECT_TRUE(waitFor([&] { return a->resizes == 1; }));
}

TEST(CommonViewController, ToolbarIsMadeOnDemandAlongTheBottomEdgeAndRoutesClicksWithTags)
{
    struct ToolbarScreen : X3CommonViewController
    {
        QList<qint64> tags;
        void toolButtonClicked(QAbstractButton *sender) override
        {
            tags << sender->property("tag").toLongLong();
        }
    } screen;
    screen.resize(400, 300);
    screen.view();
    screen.show();
    EXPECT_FALSE(screen.hasToolBar());
    EXPECT_FLOAT_EQ(screen.toolbarParentViewDefaultHeight(), 24);
    screen.updateToolbarParentViewHeight(-3);
    EXPECT_FLOAT_EQ(screen.toolbarParentViewDefaultHeight(), 24);
    screen.updateToolbarParentViewHeight(30);
    EXPECT_FLOAT_EQ(screen.toolbarParentViewDefaultHeight(), 30);

    screen.setUpToolBarConfig();
    ASSERT_TRUE(screen.hasToolBar());
    XXXButtonToolBar *bar = screen.toolBarView();
    EXPECT_EQ(bar->geometry(), QRect(0, 276, 400, 24));
    screen.resize(500, 350);
    EXPECT_EQ(bar->geometry(), QRect(0, 326, 500, 24)) << "the strip follows the bottom edge and the width";

    for (int i = 0; i < 3; ++i) {
        auto *button = qobject_cast<QAbstractButton *>(bar->itemView(i));
        ASSERT_TRUE(button);
        EXPECT_EQ(button->size(), QSize(32, 24));
        button->click();
    }
    EXPECT_EQ(screen.tags, (QList<qint64>{0, 1, 2}));
}

TEST(CommonViewController, NamedButtonsCallTheirActionAndMissingActionsOnlyLog)
{
    RecordingScreen screen;
    screen.view();
    screen.buttonActionConfig();
    auto *save = screen.findChild<QPushButton *>("Save");
    save->click();
    EXPECT_EQ(screen.clicked, save);

    TestSupport::LogCapture log;
    screen.clicked = nullptr;
    screen.findChild<QPushButton *>("Other")->click();
    EXPECT_EQ(screen.clicked, nullptr);
    EXPECT_TRUE(log.contains("buttonClicked identifier=Other"));
    EXPECT_EQ(log.count("has no method otherAction"), 1);
}

#include "CommonViewControllerTest.moc"

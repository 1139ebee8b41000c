#include <kestrune/AppNotifications.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/keys/probe/DerazProbeViewController.h>
#include <kestrune/profiles/DBProfileAdminViewController.h>
#include <kestrune/profiles/DBProfileAdminWindowController.h>
#include <kestrune/profiles/DBProfileDetailViewController.h>
#include <kestrune/shell/AppDelegate.h>
#include <kestrune/shell/DerazViewController.h>
#include <kestrune/shell/KSTMainWindow.h>
#include <kestrune/shell/Startup.h>
#include <kestrune/tree/DerazConnnectionWindowController.h>
#include <kestrune/tree/DerazKeysViewController.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>

#include <pavisade/sheets/SheetHost.h>

#include <bastwick/platform/NotificationCenter.h>

#include "kestrune/data/StateTestHelpers.h"
#include "support/Alerts.h"
#include "support/FreshLocalStore.h"
#include "support/LogCapture.h"
#include "support/RedisServer.h"
#include "support/WaitFor.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtGui/QAction>
#include <QtGui/QDesktopServices>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QTabWidget>
#include <gtest/gtest.h>

// Each test starts from a fresh local database and an empty registry of connections
// (prepareLocalStore), whatever ran before it in the same process.
namespace {

using TestSupport::openAlerts;

TestSupport::RedisServer &server()
{
    return TestSupport::RedisServer::running();
}

// The local database as a fresh copy of the seed, with the given saved profiles, and no
// connection registered.
void prepareLocalStore(const QList<std::shared_ptr<DBProfile>> &profiles = {})
{
    Kestrune::registerAllClasses();
    StateTest::forgetSharedConnections();
    ASSERT_TRUE(TestSupport::resetLocalStore());
    ASSERT_TRUE(Kestrune::openLocalStore());
    for (const auto &profile : profiles)
        ASSERT_TRUE(profile->save());
    DataBaseBO::sharedInstance().closeDataBase();
}

// A Deraz profile of the test server's host on the given port, marked for automatic
// connection.
std::shared_ptr<DBProfile> markedProfile(const QString &name, int port)
{
    auto profile = std::make_shared<DBProfile>();
    profile->setName(name);
    profile->setScheme(kDerazURLScheme);
    profile->setHost(server().host());
    profile->setPort(port);
    profile->setAutoLogin(true);
    return profile;
}

struct Started
{
    Started()
    {
        delegate.awakeFromNib();
        window.show();
    }
    DerazViewController *root() const
    {
        return qobject_cast<DerazViewController *>(delegate.mainViewController());
    }
    DerazKeysViewController *keys() const { return root()->derazKeysViewController(); }

    KSTMainWindow window;
    AppDelegate delegate{&window};
};

} // namespace

TEST(Startup, ConnectsTheMarkedProfileOnceTheLocalStoreIsOpen)
{
    ASSERT_TRUE(server().isRunning());
    server().flushAll();
    server().command({"SET", "greeting", "hi"});
    prepareLocalStore({markedProfile(QStringLiteral("local"), server().port())});
    AppPreference::sharedPreference()->setPageSize(7);

    Started app;
    ASSERT_TRUE(app.root()) << "the route table made the root screen";
    EXPECT_TRUE(app.delegate.isDataBaseOpen());
    EXPECT_TRUE(app.root()->isViewLoaded());
    EXPECT_EQ(app.root()->controllers().value(0), app.keys());
    // The right pane is the probe container with its four tabs.
    auto *probe = qobject_cast<DerazProbeViewController *>(app.root()->controllers().value(1));
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->tabView()->count(), 4);
    EXPECT_EQ(app.root()->window(), &app.window);
    EXPECT_TRUE(app.root()->isVisible()) << "the root screen fills the title-bar window's body";
    EXPECT_NEAR(app.root()->splitView()->sizes().value(0), app.window.width() / 3.0 - 54.0, 1.0);
    // The tree read the profile from the local store while it woke, so the store was
    // open by then.
    auto *model = app.keys()->dataDelegate();
    ASSERT_TRUE(waitFor([&] { return model->rowCount() == 1; }, 20000));
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 16);
    EXPECT_FALSE(app.keys()->derazConnnectionWindowController()->isWindowLoaded())
        << "no quick connect when a profile connects by itself";
    EXPECT_EQ(AppPreference::sharedPreference()->pageSize(), 100);
    EXPECT_EQ(AppPreference::sharedPreference()->magicNumbers(), 500);
    server().flushAll();
}

TEST(Startup, WithoutMarkedProfilesQuickConnectOpensAndConnects)
{
    ASSERT_TRUE(server().isRunning());
    server().flushAll();
    prepareLocalStore();
    Started app;
    DerazConnnectionWindowController *quick = app.keys()->derazConnnectionWindowController();
    ASSERT_TRUE(quick->isWindowLoaded());
    ASSERT_TRUE(waitFor([&] { return quick->window()->isVisible(); }, 5000));
    EXPECT_EQ(quick->hostTextFld()->text(), "127.0.0.1");
    EXPECT_EQ(quick->userTextFld()->text(), "admin");
    EXPECT_EQ(quick->passwordTextFld()->text(), "");
    EXPECT_EQ(quick->portTextFld()->text(), "6379");

    // A refused connection: one alert, the window stays open for another try.
    auto *model = app.keys()->dataDelegate();
    const int closedPort = TestSupport::RedisServer::freePort();
    quick->portTextFld()->setText(QString::number(closedPort));
    quick->connectionAction();
    ASSERT_TRUE(waitFor([&] { return openAlerts().size() == 1; }, 20000));
    const QString said = openAlerts().first()->informativeText();
    EXPECT_TRUE(said.contains(QStringLiteral("127.0.0.1:%1").arg(closedPort))) << qPrintable(said);
    EXPECT_TRUE(said.contains(QStringLiteral("refused"), Qt::CaseInsensitive))
        << "the reason is given: " << qPrintable(said);
    EXPECT_EQ(openAlerts().first()->parentWidget(), &app.window) << "a sheet on the main window";
    openAlerts().first()->done(0);
    EXPECT_TRUE(quick->window()->isVisible());
    EXPECT_EQ(model->rowCount(), 0);

    quick->portTextFld()->setText(QString::number(server().port()));
    quick->connectionAction();
    ASSERT_TRUE(waitFor([&] { return model->rowCount() == 1; }, 20000));
    EXPECT_TRUE(waitFor([&] { return !quick->window()->isVisible(); }, 5000));
    EXPECT_TRUE(openAlerts().isEmpty());
}

// A clean start (default settings, no saved profile) has nothing to warn about.
TEST(Startup, ACleanStartLogsNoWarning)
{
    prepareLocalStore();
    TestSupport::LogCapture log;
    Started app;
    DerazConnnectionWindowController *quick = app.keys()->derazConnnectionWindowController();
    ASSERT_TRUE(quick->isWindowLoaded());
    ASSERT_TRUE(waitFor([&] { return quick->window()->isVisible(); }, 5000));
    // The offscreen platform the suite runs on says what it cannot do; a user's does not.
    QStringList warnings = log.warnings();
    warnings.removeIf([](const QString &line) { return line.startsWith("This plugin does not support"); });
    EXPECT_EQ(warnings.join("\n").toStdString(), "");
}

// The first frame is 1000 x 600 cut to the screen's free area (the suite's screen is
// 800 x 600), all of it on the screen, so the title bar and its buttons can be reached.
TEST(Startup, TheMainWindowOpensWithinTheScreensFreeArea)
{
    prepareLocalStore();
    Started app;
    const QRect available = app.window.screen()->availableGeometry();
    EXPECT_EQ(app.window.size(), QSize(1000, 600).boundedTo(available.size()));
    EXPECT_TRUE(available.contains(app.window.frameGeometry()))
        << app.window.frameGeometry().x() << "," << app.window.frameGeometry().y();
}

namespace {
struct QuitCountingDelegate : AppDelegate
{
    using AppDelegate::AppDelegate;
    void terminate() override { ++terminations; }
    int terminations = 0;
};
} // namespace

// File > Quit (Ctrl+Q) ends the application the way closing the main window does.
TEST(Startup, FileQuitClosesTheMainWindowAndEndsTheApplication)
{
    prepareLocalStore();
    KSTMainWindow window;
    QuitCountingDelegate delegate(&window);
    delegate.awakeFromNib();
    window.show();
    auto *file = window.menuBar()->findChild<QMenu *>(QStringLiteral("fileMenu"));
    ASSERT_TRUE(file);
    QAction *quit = file->findChild<QAction *>(QStringLiteral("quit"));
    ASSERT_TRUE(quit);
    ASSERT_TRUE(file->actions().contains(quit));
    EXPECT_EQ(file->actions().last(), quit) << "the last item of the menu";
    EXPECT_EQ(quit->text(), QStringLiteral("Quit"));
    EXPECT_TRUE(quit->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));

    quit->trigger();
    EXPECT_TRUE(waitFor([&] { return delegate.terminations == 1; }));
    EXPECT_FALSE(window.isVisible());
}

TEST(Startup, QuickConnectOpensInFrontOfTheMainWindowWithTheFocusInItsFirstField)
{
    prepareLocalStore();
    KSTMainWindow window;
    AppDelegate delegate(&window);
    delegate.awakeFromNib();
    auto *root = qobject_cast<DerazViewController *>(delegate.mainViewController());
    ASSERT_TRUE(root);
    DerazConnnectionWindowController *quick =
        root->derazKeysViewController()->derazConnnectionWindowController();
    ASSERT_TRUE(quick->isWindowLoaded());
    QWidget *dialog = quick->window();
    EXPECT_EQ(dialog->parentWidget(), &window) << "owned by the main window";
    EXPECT_TRUE(dialog->isWindow());
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_FALSE(dialog->isVisible()) << "it waits for the main window to be on screen";

    window.show();
    window.activateWindow();
    ASSERT_TRUE(waitFor([&] { return dialog->isVisible(); }, 5000));
    EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == dialog; }, 5000))
        << "the quick-connect window is the active one, in front of the main window";
    EXPECT_EQ(dialog->focusWidget(), quick->hostTextFld());
}

TEST(Startup, TheDividerStaysWhereItWasPutWhateverTabShowsOrHowTheWindowIsResized)
{
    prepareLocalStore();
    Started app;
    QSplitter *split = app.root()->splitView();
    const int placed = split->sizes().value(0);
    ASSERT_GT(placed, 0);
    auto *probe = qobject_cast<DerazProbeViewController *>(app.root()->controllers().value(1));
    ASSERT_TRUE(probe);
    for (int tab = 0; tab < probe->tabView()->count(); ++tab) {
        probe->tabView()->setCurrentIndex(tab);
        ASSERT_TRUE(TestSupport::waitForPostedEvents());
        EXPECT_EQ(split->sizes().value(0), placed) << "tab " << tab;
    }
    // Narrower than both panes need, then back: the divider returns to its place.
    const QSize size = app.window.size();
    app.window.resize(placed + 200, size.height());
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    app.window.resize(size);
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(split->sizes().value(0), placed);
}

TEST(Startup, AMarkedProfileWithoutAHostIsRefusedAndQuickConnectOpens)
{
    auto profile = std::make_shared<DBProfile>();
    profile->setName(QStringLiteral("nohost"));
    profile->setScheme(kDerazURLScheme);
    profile->setPort(6379);
    profile->setAutoLogin(true);
    prepareLocalStore({profile});

    Started app;
    // The alert waits for the main window to be on screen, then opens on it.
    ASSERT_TRUE(waitFor([&] { return openAlerts().size() == 1; }, 5000));
    const auto alerts = openAlerts();
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.first()->parentWidget(), &app.window);
    EXPECT_TRUE(alerts.first()->informativeText().contains("nohost"))
        << qPrintable(alerts.first()->informativeText());
    DerazConnnectionWindowController *quick = app.keys()->derazConnnectionWindowController();
    ASSERT_TRUE(quick->isWindowLoaded());
    EXPECT_TRUE(waitFor([&] { return quick->window()->isVisible(); }, 5000));
    ASSERT_TRUE(TestSupport::waitForGlobalQueue()); // the failed attempt and anything it set going
    EXPECT_EQ(app.keys()->dataDelegate()->rowCount(), 0) << "nothing was connected";
}

TEST(Startup, AFailedConnectStopsTheSpinnerThatWaitedForIt)
{
    ASSERT_TRUE(server().isRunning());
    // Two marked profiles the server refuses: the tree's spinner stops once neither is
    // under way any more.
    const int refused = TestSupport::RedisServer::freePort();
    prepareLocalStore({markedProfile(QStringLiteral("first"), refused),
                       markedProfile(QStringLiteral("second"), refused + 1)});
    Started app;
    DerazKeysViewController *keys = app.keys();
    auto *model = keys->dataDelegate();
    EXPECT_FALSE(keys->progressIndicator()->isHidden()) << "connecting";
    ASSERT_TRUE(waitFor([&] { return model->connectsInFlight() == 0; }, 20000));
    EXPECT_TRUE(keys->progressIndicator()->isHidden());
    EXPECT_FALSE(openAlerts().isEmpty());
    EXPECT_EQ(model->rowCount(), 0);
    TestSupport::closeAlerts();

    // The profile form (as the connection manager holds it, on its fresh profile): a
    // refused connect stops its spinner; a good one connects.
    DBProfileDetailViewController *form = app.delegate.profileAdminWindowController()
                                              ->profileAdminViewController()
                                              ->dBProfileDetailViewController();
    form->view();
    ASSERT_EQ(form->currentProfile()->host(), server().host());
    form->portTextFld()->setText(QString::number(refused));
    form->connectionBtn()->click();
    EXPECT_TRUE(form->isConnecting());
    ASSERT_TRUE(waitFor([&] { return !form->isConnecting(); }, 20000));
    EXPECT_EQ(openAlerts().size(), 1);
    TestSupport::closeAlerts();
    form->portTextFld()->setText(QString::number(server().port()));
    form->connectionBtn()->click();
    ASSERT_TRUE(waitFor([&] { return model->rowCount() == 1; }, 20000));
    EXPECT_FALSE(form->isConnecting());

    // The quick-connect window from the menu: the same.
    QAction *open = app.window.findChild<QAction *>(QStringLiteral("openNewConnection"));
    ASSERT_TRUE(open);
    open->trigger();
    DerazConnnectionWindowController *quick = keys->derazConnnectionWindowController();
    ASSERT_TRUE(waitFor([&] { return quick->isWindowLoaded() && quick->window()->isVisible(); }, 20000));
    quick->portTextFld()->setText(QString::number(refused));
    quick->connectionAction();
    EXPECT_FALSE(quick->loadingIndicator()->isHidden());
    ASSERT_TRUE(waitFor([&] { return quick->loadingIndicator()->isHidden(); }, 20000));
    EXPECT_EQ(openAlerts().size(), 1);
    EXPECT_TRUE(quick->window()->isVisible()) << "open for another try";
    TestSupport::closeAlerts();

    // Cancel closes the window at once; the connect under way still adds its node.
    quick->portTextFld()->setText(QString::number(server().port()));
    quick->connectionAction();
    quick->cancelAction();
    EXPECT_FALSE(quick->window()->isVisible());
    EXPECT_TRUE(waitFor([&] { return model->rowCount() == 2; }, 20000));
}

// A refused password and an unreachable server: each alert is a sheet of the main
// window, opened at the same place, wide enough for its first line.
TEST(Startup, ARefusedPasswordAlertsWhereAFailedConnectAlerts)
{
    TestSupport::RedisServer secured;
    ASSERT_TRUE(secured.start({"--requirepass", "secret"})) << qPrintable(secured.error());
    auto locked = markedProfile(QStringLiteral("locked"), secured.port());
    locked->setPassword(QStringLiteral("not-the-password"));
    prepareLocalStore({locked});
    Started app;

    const auto checkSheet = [&](const QString &reason) -> QMessageBox * {
        if (!waitFor([&] { return openAlerts().size() == 1; }, 20000))
            return nullptr;
        QMessageBox *alert = openAlerts().first();
        EXPECT_TRUE(alert->informativeText().contains(reason)) << qPrintable(alert->informativeText());
        EXPECT_EQ(alert->parentWidget(), &app.window) << "a sheet of the main window";
        EXPECT_EQ(alert->windowModality(), Qt::WindowModal);
        EXPECT_EQ(alert->pos(), Pavisade::sheetPosition(&app.window, alert->size()));
        // "Could not connect to host:port." on a line of its own.
        auto *text = alert->findChild<QLabel *>("qt_msgbox_informativelabel");
        EXPECT_TRUE(text && text->heightForWidth(text->width()) == text->heightForWidth(QWIDGETSIZE_MAX))
            << "no line wraps";
        return alert;
    };
    QMessageBox *refused = checkSheet(QStringLiteral("WRONGPASS"));
    ASSERT_TRUE(refused);
    const QRect first(refused->pos(), refused->size());
    refused->done(0);

    auto unreachable = markedProfile(QStringLiteral("nobody"), TestSupport::RedisServer::freePort());
    unreachable->urlFormat();
    Bastwick::NotificationCenter::defaultCenter().post(kDBProfileRequestConnectMsg,
                                                       QVariant::fromValue(unreachable));
    QMessageBox *failed = checkSheet(QStringLiteral("refused"));
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->y(), first.y()) << "under the title bar, as the first";
    EXPECT_NEAR(failed->x() + failed->width() / 2, first.center().x(), 1) << "centred, as the first";
    failed->done(0);
}

namespace {
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};
} // namespace

TEST(Startup, HomeOpensTheShippedPageAndAboutShowsTheAboutWindow)
{
    prepareLocalStore();
    Started app;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    Bastwick::NotificationCenter::defaultCenter().post(kHomeMsg, QStringLiteral("any object"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(catcher.urls.size(), 1);
    QFile page(catcher.urls.first().toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("Kestrune"));

    Bastwick::NotificationCenter::defaultCenter().post(kAboutMsg);
    QWidget *about = nullptr;
    ASSERT_TRUE(waitFor(
        [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("AboutWindow") && w->isVisible())
                    about = w;
            return about != nullptr;
        },
        5000));
    Bastwick::NotificationCenter::defaultCenter().post(kAboutMsg);
    int shown = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        shown += w->objectName() == QLatin1String("AboutWindow");
    EXPECT_EQ(shown, 1) << "asking again shows the same window";

    // The File menu's connection manager and preferences: one window each, however often
    // they are chosen.
    for (const char *item : {"connectionManager", "preferences"}) {
        QAction *action = app.window.findChild<QAction *>(QString::fromLatin1(item));
        ASSERT_TRUE(action) << item;
        action->trigger();
        action->trigger();
    }
    for (const char *name : {"DBProfileAdminWindow", "PreferenceWindow"}) {
        int windows = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            windows += w->objectName() == QLatin1String(name) && w->isVisible();
        EXPECT_EQ(windows, 1) << name;
    }
}

namespace {

// A local database file that cannot be used, and the reason SQLite gives for it.
struct UnusableStore
{
    const char *name;
    std::function<void(const QString &path)> make;
    const char *reason;
};

void PrintTo(const UnusableStore &store, std::ostream *out)
{
    *out << store.name;
}

class StartupWithAnUnusableStore : public ::testing::TestWithParam<UnusableStore>
{
protected:
    TestSupport::FreshLocalStore m_store;
};

// The file's bytes, or "a folder" for a folder in its place.
QByteArray contentsOf(const QString &path)
{
    if (QFileInfo(path).isDir())
        return QByteArrayLiteral("a folder");
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_P(StartupWithAnUnusableStore, SaysOnceOnTheMainWindowWhatIsLostAndWhyAndLeavesTheFile)
{
    Kestrune::registerAllClasses();
    const QString path = appDBPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    GetParam().make(path);
    const QByteArray before = contentsOf(path);

    Started app;
    EXPECT_FALSE(app.delegate.isDataBaseOpen());
    ASSERT_TRUE(waitFor([] { return !openAlerts().isEmpty(); }, 5000));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    QList<QMessageBox *> alerts;
    for (QMessageBox *box : openAlerts())
        if (box->informativeText().contains("Saved connections"))
            alerts.append(box);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.first()->parentWidget()->window(), &app.window);
    EXPECT_EQ(alerts.first()->icon(), QMessageBox::Warning);
    const QString text = alerts.first()->informativeText();
    EXPECT_TRUE(text.startsWith("Saved connections cannot be read or stored")) << text.toStdString();
    EXPECT_TRUE(text.contains(path)) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromLatin1(GetParam().reason))) << text.toStdString();
    EXPECT_EQ(contentsOf(path), before) << "the file is left as it is";

    // Once: showing the window again says nothing more.
    TestSupport::closeAlerts();
    app.window.hide();
    app.window.show();
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    for (QMessageBox *box : openAlerts())
        EXPECT_FALSE(box->informativeText().contains("Saved connections"))
            << box->informativeText().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, StartupWithAnUnusableStore,
    ::testing::Values(UnusableStore{"NotADatabase",
                                    [](const QString &path) {
                                        QFile file(path);
                                        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                                        file.write(QByteArray(4096, 'x'));
                                    },
                                    "file is not a database"},
                      UnusableStore{"Truncated",
                                    [](const QString &path) {
                                        ASSERT_TRUE(QFile::copy(QStringLiteral(":/Deraz.sqlite"), path));
                                        QFile file(path);
                                        ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner |
                                                                        QFileDevice::WriteOwner));
                                        ASSERT_TRUE(file.resize(file.size() / 2));
                                    },
                                    "database disk image is malformed"},
                      UnusableStore{"AFolderInItsPlace",
                                    [](const QString &path) { ASSERT_TRUE(QDir().mkpath(path)); },
                                    "unable to open database file"}),
    [](const ::testing::TestParamInfo<UnusableStore> &info) { return std::string(info.param.name); });

#include "StartupTest.moc"

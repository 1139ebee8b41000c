#include <kestrune/AppNotifications.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/records/DBProfileDAO.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/profiles/DBProfileAdminViewController.h>
#include <kestrune/profiles/DBProfileAdminWindowController.h>
#include <kestrune/profiles/DBProfileDetailViewController.h>
#include <kestrune/profiles/DBProfileListViewController.h>
#include <kestrune/profiles/DBProfileListViewDataDelegate.h>
#include <kestrune/shell/Startup.h>

#include <corbelan/sqlite/XXXDBManager.h>

#include <bastwick/platform/NotificationCenter.h>

#include "kestrune/ShellTestHelpers.h"
#include "support/FreshLocalStore.h"
#include "support/WaitFor.h"

#include <QtTest/QAbstractItemModelTester>
#include <QtTest/QSignalSpy>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableView>
#include <gtest/gtest.h>

// The profile manager on a fresh local database file.
namespace {

using namespace ShellTest;

QList<std::shared_ptr<DBProfile>> stored()
{
    const auto dao = DBProfileDAO::create();
    return dao ? dao->findAllProfiles() : QList<std::shared_ptr<DBProfile>>();
}

class ProfileManager : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Kestrune::registerAllClasses();
        ASSERT_TRUE(TestSupport::resetLocalStore());
        ASSERT_TRUE(Kestrune::openLocalStore());
        Bastwick::NotificationCenter::defaultCenter().addObserver(
            &context, kDBProfileRequestConnectMsg, [this](const auto &n) {
                requests.append(n.object.template value<std::shared_ptr<DBProfile>>());
            });
        Bastwick::NotificationCenter::defaultCenter().addObserver(
            &context, kDBProfileListRemoveMsg,
            [this](const auto &n) { removed.append(n.object.template value<std::shared_ptr<DBProfile>>()); });
    }
    void TearDown() override { closeAlerts(); }

    // Opens the window and waits for the list's first fetch.
    void open()
    {
        QSignalSpy fetched(list(), &DBProfileListViewController::profilesFetched);
        admin.showWindow();
        ASSERT_TRUE(fetched.count() > 0 || fetched.wait(5000));
        tester = std::make_unique<QAbstractItemModelTester>(
            list()->dataDelegate(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    DBProfileListViewController *list()
    {
        return admin.profileAdminViewController()->dBProfileListViewController();
    }
    DBProfileDetailViewController *form()
    {
        return admin.profileAdminViewController()->dBProfileDetailViewController();
    }
    QTableView *table() { return list()->dBProfileListView(); }
    QString listed(int row) { return list()->dataDelegate()->index(row, 0).data().toString(); }
    void pick(const QString &scheme)
    {
        form()->dbTypePopUpBtn()->setCurrentIndex(
            int(DBProfileDetailViewController::schemes().indexOf(scheme)));
        form()->schemaSelectedAction();
    }
    // Runs an action that makes the list fetch again, and waits for the fetch.
    template <class Action> void refetching(Action action)
    {
        QSignalSpy fetched(list(), &DBProfileListViewController::profilesFetched);
        action();
        ASSERT_TRUE(fetched.wait(5000));
    }

    QObject context;
    QList<std::shared_ptr<DBProfile>> requests;
    QList<std::shared_ptr<DBProfile>> removed;
    DBProfileAdminWindowController admin;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(ProfileManager, AFreshFormSavesADerazProfileAndAsksToConnectIt)
{
    open();
    EXPECT_EQ(list()->dataDelegate()->rowCount(), 0);
    EXPECT_EQ(form()->hostTextFld()->text(), "127.0.0.1");
    EXPECT_EQ(form()->userTextFld()->text(), "root");
    EXPECT_EQ(form()->passwordTextFld()->text(), "");
    EXPECT_EQ(form()->portTextFld()->text(), "6379");
    EXPECT_EQ(form()->dbTypePopUpBtn()->currentText(), "deraz");
    EXPECT_FALSE(form()->isConnecting());

    form()->userTextFld()->clear();
    QTest::keyClicks(form()->userTextFld(), "admin");
    form()->portTextFld()->setText(QString::number(server().port()));
    refetching([&] { form()->connectionBtn()->click(); });

    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first()->scheme(), "deraz");
    EXPECT_EQ(requests.first()->name(), "deraz") << "an unnamed profile is named after its scheme";
    EXPECT_EQ(requests.first()->username(), "admin") << "typing reaches the profile";
    EXPECT_TRUE(form()->isConnecting());
    const auto saved = stored();
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved.first()->port(), server().port());
    EXPECT_EQ(listed(0), "deraz");

    Bastwick::NotificationCenter::defaultCenter().post(kDBConnectServerStatusMsg);
    EXPECT_FALSE(form()->isConnecting()) << "a completed connection stops the spinner";
}

TEST_F(ProfileManager, SchemesSetTheirPortsAndOnlyDerazProfilesAskToConnect)
{
    open();
    form()->currentProfile()->setName(QStringLiteral("mysql"));
    pick(kPostgreSQLURLScheme);
    EXPECT_EQ(form()->portTextFld()->text(), "5432");
    EXPECT_EQ(form()->currentProfile()->name(), "postgres") << "a profile named mysql follows the scheme";
    pick(kMySQLURLScheme);
    EXPECT_EQ(form()->portTextFld()->text(), "3306");
    EXPECT_EQ(form()->currentProfile()->name(), "postgres") << "only the name mysql follows";

    pick(kPostgreSQLURLScheme);
    const auto edited = form()->currentProfile();
    refetching([&] { form()->connectionBtn()->click(); });
    EXPECT_TRUE(requests.isEmpty());
    ASSERT_EQ(openAlerts().size(), 1) << "the user is told why nothing connects";
    EXPECT_FALSE(form()->isConnecting());
    closeAlerts();
    ASSERT_EQ(stored().size(), 1);
    EXPECT_EQ(stored().first()->scheme(), "postgres");
    EXPECT_EQ(stored().first()->port(), 5432);
    // The reload selects the saved profile again: the form takes the new copy.
    ASSERT_TRUE(waitFor([&] { return form()->currentProfile() != edited; }));

    // Only the leading digits of the port count.
    pick(kDerazURLScheme);
    form()->portTextFld()->setText(QStringLiteral(" 63a79"));
    refetching([&] { form()->connectionBtn()->click(); });
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first()->port(), 63);
    EXPECT_EQ(stored().first()->port(), 63);
}

TEST_F(ProfileManager, NewProfilesAreListedRenamedToggledAndDeletedAfterConfirmation)
{
    open();
    refetching([&] { list()->createNewProfile(); });
    ASSERT_EQ(list()->dataDelegate()->rowCount(), 1);
    EXPECT_EQ(listed(0), "untitledProfile");
    ASSERT_TRUE(stored().first()->autoLogin());
    // The fetch selects the first profile: without scheme and port it leaves the pop-up
    // and the port as they were, and gets the default host.
    ASSERT_TRUE(waitFor([&] { return form()->currentProfile()->name() == "untitledProfile"; }));
    EXPECT_EQ(form()->hostTextFld()->text(), "127.0.0.1");
    EXPECT_EQ(form()->currentProfile()->host(), "127.0.0.1");
    EXPECT_EQ(form()->portTextFld()->text(), "6379");
    EXPECT_EQ(form()->dbTypePopUpBtn()->currentText(), "deraz");
    EXPECT_TRUE(form()->autoLoginBtn()->isChecked());

    form()->autoLoginBtn()->click();
    EXPECT_FALSE(stored().first()->autoLogin()) << "the check box saves at once";

    ASSERT_TRUE(
        list()->dataDelegate()->setData(list()->dataDelegate()->index(0, 0), QStringLiteral("renamed")));
    EXPECT_EQ(stored().first()->name(), "renamed");

    table()->selectRow(0);
    list()->dropProfile();
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(openAlerts().first()->informativeText(),
              QStringLiteral("Delete the profile \u201crenamed\u201d?"));
    press(openAlerts().first(), QMessageBox::RejectRole);
    EXPECT_EQ(list()->dataDelegate()->rowCount(), 1);
    EXPECT_EQ(stored().size(), 1);

    list()->dropProfile();
    ASSERT_EQ(openAlerts().size(), 1);
    press(openAlerts().first(), QMessageBox::AcceptRole);
    EXPECT_EQ(list()->dataDelegate()->rowCount(), 0);
    EXPECT_TRUE(stored().isEmpty());
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed.first()->name(), "renamed");
}

TEST_F(ProfileManager, EveryWriteTheStoreRefusesIsSaidWithItsReason)
{
    auto kept = std::make_shared<DBProfile>();
    kept->setName(QStringLiteral("kept"));
    ASSERT_TRUE(kept->save());
    open();
    ASSERT_EQ(list()->dataDelegate()->rowCount(), 1);
    // The form shows the row the user picks.
    table()->clearSelection();
    table()->selectRow(0);
    ASSERT_TRUE(waitFor([&] { return form()->currentProfile()->name() == "kept"; }));
    // The store still reads, but refuses every write of a profile row.
    const bool refusing = XXXDBManager::sharedXXXDBManager()->queue()->inDatabase([](XXXRWDatabase *db) {
        for (const char *event : {"INSERT", "UPDATE", "DELETE"})
            ASSERT_TRUE(db->executeUpdate(QStringLiteral("CREATE TRIGGER refuse%1 BEFORE %1 ON DBProfile "
                                                         "BEGIN SELECT RAISE(ABORT, 'writes refused'); END")
                                              .arg(QLatin1String(event))));
    });
    ASSERT_TRUE(refusing);

    struct Case
    {
        const char *what;
        std::function<void()> action;
        QString said;
        bool refetches; // the list reads the store again afterwards
    };
    const Case cases[] = {
        {"toggling automatic connection", [&] { form()->autoLoginBtn()->click(); },
         QStringLiteral("The connection profile \u201ckept\u201d could not be saved: writes refused"), false},
        {"renaming",
         [&] {
             list()->dataDelegate()->setData(list()->dataDelegate()->index(0, 0), QStringLiteral("renamed"));
         },
         QStringLiteral("The connection profile \u201crenamed\u201d could not be saved: writes refused"),
         false},
        {"connecting", [&] { form()->connectionBtn()->click(); },
         QStringLiteral("The connection profile \u201crenamed\u201d could not be saved: writes refused"),
         true},
        {"creating", [&] { list()->createNewProfile(); },
         QStringLiteral(
             "The connection profile \u201cuntitledProfile\u201d could not be saved: writes refused"),
         true},
        {"deleting",
         [&] {
             table()->selectRow(0);
             list()->dropProfile();
             ASSERT_EQ(openAlerts().size(), 1);
             press(openAlerts().first(), QMessageBox::AcceptRole);
         },
         QStringLiteral("The connection profile \u201ckept\u201d could not be deleted: writes refused"),
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        closeAlerts();
        QSignalSpy fetched(list(), &DBProfileListViewController::profilesFetched);
        c.action();
        ASSERT_TRUE(waitFor([] { return !openAlerts().isEmpty(); }));
        ASSERT_EQ(openAlerts().size(), 1);
        EXPECT_EQ(openAlerts().first()->informativeText(), c.said);
        EXPECT_EQ(openAlerts().first()->icon(), QMessageBox::Warning);
        // The list keeps showing what the store holds.
        if (c.refetches)
            ASSERT_TRUE(fetched.count() > 0 || fetched.wait(5000));
        EXPECT_EQ(list()->dataDelegate()->rowCount(), 1);
    }
    ASSERT_EQ(stored().size(), 1);
    EXPECT_EQ(stored().first()->name(), "kept");
    EXPECT_FALSE(stored().first()->autoLogin());
}

TEST_F(ProfileManager, TheWindowIsMadeOnceAndKeepsItsState)
{
    open();
    QWidget *window = admin.window();
    form()->hostTextFld()->setText(QStringLiteral("10.0.0.9"));
    window->close();
    admin.showWindow();
    EXPECT_EQ(admin.window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(form()->hostTextFld()->text(), "10.0.0.9");
    // The list takes a third of the window.
    const QList<int> sizes = admin.profileAdminViewController()->splitView()->sizes();
    EXPECT_NEAR(sizes.value(0), window->width() / 3.0, 2.0);
}

} // namespace

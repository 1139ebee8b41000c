#include <kestrune/AppNotifications.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/sheets/DerazAddKeyPanel.h>
#include <kestrune/keys/sheets/DerazUpdatePanel.h>
#include <kestrune/shell/Startup.h>
#include <kestrune/tree/DerazKeysViewController.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>
#include <pavisade/forms/XXXSpinningProgressIndicator.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/NotificationCenter.h>

#include "kestrune/ShellTestHelpers.h"
#include "support/AwkwardKeys.h"
#include "support/WaitFor.h"

#include <QtTest/QAbstractItemModelTester>
#include <QtWidgets/QAbstractButton>
#include <gtest/gtest.h>

// Each test runs in a process of its own, so the shared registry and view state start
// empty. There is no local database: the key tree finds no saved profile.
namespace {

using namespace ShellTest;

class KeyTreeController : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server().isRunning()) << qPrintable(server().error());
        server().flushAll();
        Kestrune::registerAllClasses();
        keys.setParentWindow(&keys);
        keys.view();
        keys.resize(320, 700);
        keys.show();
        tester = std::make_unique<QAbstractItemModelTester>(
            model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    void TearDown() override
    {
        closeAlerts();
        server().flushAll();
    }

    DerazKeysViewDataDelegate *model() { return keys.dataDelegate(); }
    Pavisade::OutlineView *tree() { return keys.derazKeysView(); }
    QModelIndex dbIndex(int db) { return model()->index(db, 0, model()->index(0, 0)); }
    QModelIndex keyIndex(int db, const QByteArray &key)
    {
        const QModelIndex parent = dbIndex(db);
        for (int row = 0; row < model()->rowCount(parent); ++row) {
            const QModelIndex index = model()->index(row, 0, parent);
            if (DerazKeysViewDataDelegate::keyOfNode(model()->nodeForIndex(index)) == key)
                return index;
        }
        return {};
    }
    void connect()
    {
        keys.connectProfile(derazProfile());
        ASSERT_TRUE(waitFor([&] { return model()->rowCount() == 1; }, 20000));
    }
    void select(const QModelIndex &index, QItemSelectionModel::SelectionFlags how)
    {
        tree()->selectionModel()->setCurrentIndex(index, how | QItemSelectionModel::Rows);
    }
    // Waits for the tree to show the database's key count.
    bool showsCount(int db, int count)
    {
        const QString text = QStringLiteral("DB%1(%2)").arg(db).arg(count);
        return waitFor([&] { return model()->rowCount() == 1 && dbIndex(db).data().toString() == text; },
                       20000);
    }
    static void post(const QString &name, const QVariant &object = {})
    {
        Bastwick::NotificationCenter::defaultCenter().post(name, object);
    }

    DerazKeysViewController keys;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(KeyTreeController, RemovesKeysSelectedInSeveralDatabasesEachFromItsOwn)
{
    for (const QByteArray &key : {QByteArray("a"), QByteArray("b"), QByteArray("user/1")})
        setIn(0, key);
    setIn(3, "c");
    setIn(3, "a"); // the same name in another database must survive
    connect();
    tree()->expand(dbIndex(0));
    tree()->expand(dbIndex(3));
    select(keyIndex(0, "user/1"), QItemSelectionModel::ClearAndSelect);
    select(keyIndex(3, "c"), QItemSelectionModel::Select);
    select(dbIndex(1), QItemSelectionModel::Select);

    keys.removeKey();
    ASSERT_EQ(openAlerts().size(), 1);
    QMessageBox *question = openAlerts().first();
    EXPECT_EQ(question->informativeText(), "Remove the keys user/1,c? This cannot be undone.")
        << "only key nodes are listed, joined without blanks";
    press(question, QMessageBox::AcceptRole);

    EXPECT_TRUE(showsCount(0, 2));
    EXPECT_TRUE(showsCount(3, 1));
    EXPECT_FALSE(existsIn(0, "user/1"));
    EXPECT_FALSE(existsIn(3, "c"));
    EXPECT_TRUE(existsIn(0, "a"));
    EXPECT_TRUE(existsIn(3, "a"));
    EXPECT_TRUE(existsIn(0, "b"));
    EXPECT_TRUE(openAlerts().isEmpty());
}

TEST_F(KeyTreeController, KeysThatAreNotPlainTextShowTheirBytesAsEscapes)
{
    for (const TestSupport::AwkwardKey &key : TestSupport::awkwardKeys())
        setIn(0, key.bytes);
    connect();
    tree()->expand(dbIndex(0));

    QStringList shown;
    for (const TestSupport::AwkwardKey &key : TestSupport::awkwardKeys()) {
        const QModelIndex index = keyIndex(0, key.bytes);
        if (key.blank) {
            EXPECT_FALSE(index.isValid()) << "a blank key is not listed: " << qPrintable(key.shown);
            continue;
        }
        ASSERT_TRUE(index.isValid()) << qPrintable(key.shown);
        EXPECT_EQ(index.data().toString(), key.shown);
        select(index, QItemSelectionModel::Select);
        shown.append(key.shown);
    }

    // The question names each selected key in the same form.
    keys.removeKey();
    ASSERT_EQ(openAlerts().size(), 1);
    const QString question = openAlerts().first()->informativeText();
    for (const QString &name : shown)
        EXPECT_TRUE(question.contains(name)) << qPrintable(name) << " missing in " << qPrintable(question);
    EXPECT_FALSE(question.contains(QChar(0xFFFD))) << qPrintable(question);
}

TEST_F(KeyTreeController, CancellingTheRemovalOrSelectingNoKeyRemovesNothing)
{
    setIn(0, "a");
    connect();
    tree()->expand(dbIndex(0));
    select(keyIndex(0, "a"), QItemSelectionModel::ClearAndSelect);
    keys.removeKey();
    ASSERT_EQ(openAlerts().size(), 1);
    press(openAlerts().first(), QMessageBox::RejectRole);

    // Only a database selected: nothing to ask about.
    select(dbIndex(0), QItemSelectionModel::ClearAndSelect);
    keys.removeKey();
    EXPECT_TRUE(openAlerts().isEmpty());
    TestSupport::processEventsFor(200);
    EXPECT_TRUE(existsIn(0, "a"));
}

TEST_F(KeyTreeController, RemovalRequestsActOnTheCurrentDatabase)
{
    const QByteArray notUtf8("k\xff", 2);
    for (const QByteArray &key : {QByteArray("one"), QByteArray("two"), QByteArray("three"), notUtf8})
        setIn(2, key);
    setIn(4, "kept");
    connect();
    select(dbIndex(2), QItemSelectionModel::ClearAndSelect);
    ASSERT_TRUE(waitFor([&] { return keys.database() != nullptr; }, 5000));

    // The key screens post one name or a list of names; names that are not UTF-8 text
    // arrive as the tree's lossless text and still name their key.
    post(kDerazRemoveKeyMsg, QStringLiteral("one"));
    EXPECT_TRUE(showsCount(2, 3));
    post(kDerazRemoveKeyMsg, QStringList{QStringLiteral("two"), Bastwick::textFromBytes(notUtf8)});
    EXPECT_TRUE(showsCount(2, 1));
    EXPECT_TRUE(existsIn(2, "three"));
    post(kDerazRemoveKeyMsg);
    TestSupport::processEventsFor(200);
    EXPECT_TRUE(existsIn(2, "three")) << "no names, nothing removed";

    // Emptying takes the current database, whatever the posted node URL names.
    post(kDerazRemoveAllKeyInDBMsg, model()->nodeForIndex(dbIndex(4))->url());
    EXPECT_TRUE(showsCount(2, 0));
    EXPECT_EQ(sizeOf(2), 0);
    EXPECT_TRUE(existsIn(4, "kept"));
    EXPECT_TRUE(openAlerts().isEmpty());
}

TEST_F(KeyTreeController, WithoutACurrentDatabaseKeyActionsWarnAndChangeNothing)
{
    setIn(0, "a");
    const struct
    {
        QString notification;
        QVariant object;
    } cases[] = {{kDerazRemoveKeyMsg, QStringLiteral("a")},
                 {kDerazRemoveAllKeyInDBMsg, QStringLiteral("1/DB0")},
                 {kDBMagicMsg, QVariant()}};
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.notification));
        post(c.notification, c.object);
        const auto alerts = openAlerts();
        ASSERT_EQ(alerts.size(), 1);
        EXPECT_EQ(alerts.first()->informativeText(), "Select a database first.");
        closeAlerts();
    }
    TestSupport::processEventsFor(200);
    EXPECT_TRUE(existsIn(0, "a"));
    EXPECT_EQ(sizeOf(0), 1);
}

TEST_F(KeyTreeController, SampleDataFillsTheSelectedDatabaseAfterConfirmation)
{
    connect();
    select(dbIndex(5), QItemSelectionModel::ClearAndSelect);
    ASSERT_TRUE(waitFor([&] { return keys.database() != nullptr; }, 5000));
    AppPreference::sharedPreference()->setMagicNumbers(12);

    post(kDBMagicMsg);
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(openAlerts().first()->informativeText(), "Add 12 sample keys to DB5?");
    press(openAlerts().first(), QMessageBox::AcceptRole);

    ASSERT_TRUE(waitFor([&] { return sizeOf(5) > 0; }, 20000));
    EXPECT_LE(sizeOf(5), 12) << "random names may repeat, never more than asked";
    EXPECT_TRUE(showsCount(5, int(sizeOf(5))));
    EXPECT_EQ(sizeOf(0), 0);
}

TEST_F(KeyTreeController, AProfileAskingToConnectIsConnected)
{
    setIn(0, "a");
    post(kDBProfileRequestConnectMsg, QVariant::fromValue(derazProfile()));
    ASSERT_TRUE(waitFor([&] { return model()->rowCount() == 1; }, 20000));
    EXPECT_EQ(dbIndex(0).data().toString(), "DB0(1)");
}

TEST_F(KeyTreeController, ClosingAsksAboutTheSelectedConnectionsThenRemovesThem)
{
    keys.closeConnection();
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(openAlerts().first()->informativeText(), "Select the connections to close first.");
    closeAlerts();

    connect();
    const qint64 id = model()->nodeForIndex(model()->index(0, 0))->value("ID").toLongLong();
    select(model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    select(dbIndex(1), QItemSelectionModel::Select);
    keys.closeConnection();
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(
        openAlerts().first()->informativeText(),
        QStringLiteral("Close the connections deraz at %1:%2?").arg(server().host()).arg(server().port()))
        << "only connection nodes are described, each after one blank";
    press(openAlerts().first(), QMessageBox::RejectRole);
    TestSupport::processEventsFor(100);
    EXPECT_EQ(model()->rowCount(), 1) << "cancelled: the connection stays";

    select(model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    keys.closeConnection();
    ASSERT_EQ(openAlerts().size(), 1);
    press(openAlerts().first(), QMessageBox::AcceptRole);
    EXPECT_TRUE(waitFor([&] { return model()->rowCount() == 0; }, 5000));
    EXPECT_FALSE(DataStoreBO::sharedInstance().profileByNodeURL(QStringLiteral("%1/DB0").arg(id)))
        << "the closed connection is no longer registered, so no refresh brings it back";
    TestSupport::processEventsFor(300);
    EXPECT_EQ(model()->rowCount(), 0);
    EXPECT_TRUE(keys.progressIndicator()->isHidden());
}

TEST_F(KeyTreeController, DoubleClickingAKeyAndTheAddButtonOpenTheKeySheets)
{
    setIn(0, "user/1");
    connect();
    tree()->expand(dbIndex(0));
    const auto sheets = [&] { return keys.findChildren<DerazKeyPanel *>(); };

    // A database row is no key: nothing opens.
    select(dbIndex(0), QItemSelectionModel::ClearAndSelect);
    emit tree()->doubleClicked(dbIndex(0));
    TestSupport::processEventsFor(200);
    EXPECT_TRUE(sheets().isEmpty());

    const QModelIndex key = keyIndex(0, "user/1");
    select(key, QItemSelectionModel::ClearAndSelect);
    emit tree()->doubleClicked(key);
    ASSERT_TRUE(waitFor([&] { return !sheets().isEmpty(); }, 20000)) << "opens once the key is read";
    auto *update = qobject_cast<DerazUpdatePanel *>(sheets().first());
    ASSERT_TRUE(update);
    ASSERT_TRUE(update->unit().has_value());
    EXPECT_EQ(update->unit()->key(), "user/1");
    EXPECT_TRUE(update->isVisible());
    EXPECT_TRUE(update->isWindow()) << "a sheet, not a widget inside the tree";
    update->cancel();
    ASSERT_TRUE(waitFor([&] { return sheets().isEmpty(); }, 5000)) << "an ended sheet goes away";

    QAbstractButton *add = nullptr;
    for (QAbstractButton *button : keys.findChildren<QAbstractButton *>())
        if (button->property("tag").toLongLong() == 1)
            add = button;
    ASSERT_TRUE(add);
    add->click();
    ASSERT_EQ(sheets().size(), 1);
    EXPECT_TRUE(qobject_cast<DerazAddKeyPanel *>(sheets().first()));
    sheets().first()->cancel();
}

} // namespace

#include <kestrune/AppNotifications.h>
#include <kestrune/data/deraz/DerazConnection.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/sheets/DerazAddKeyPanel.h>
#include <kestrune/keys/sheets/DerazKeyEditorViewController.h>
#include <kestrune/keys/sheets/DerazUpdatePanel.h>
#include <kestrune/shell/Startup.h>
#include <kestrune/tree/DerazKeysViewController.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>
#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/toolbar/XXXButtonToolBar.h>

#include <bastwick/ByteText.h>
#include <bastwick/platform/NotificationCenter.h>

#include "kestrune/ShellTestHelpers.h"
#include "kestrune/data/StateTestHelpers.h"
#include "support/AwkwardKeys.h"
#include "support/WaitFor.h"

#include <QtTest/QAbstractItemModelTester>
#include <QtTest/QSignalSpy>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLineEdit>
#include <gtest/gtest.h>

// Each test starts with the shared registry and view state empty, whatever ran before
// it in the same process. There is no local database: the key tree finds no
// saved profile.
namespace {

using namespace ShellTest;

class KeyTreeController : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server().isRunning()) << qPrintable(server().error());
        server().flushAll();
        StateTest::forgetSharedConnections();
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
    // Waits until the connection's queued work, and what it announced, has run: whatever
    // the last action set going has happened by then.
    bool settled()
    {
        // The tree may be rebuilding: wait for its first database row to be there.
        std::shared_ptr<DerazDatabase> db;
        const bool found = waitFor([&] {
            const auto node = model()->nodeForIndex(dbIndex(0));
            db = node ? std::dynamic_pointer_cast<DerazDatabase>(
                            DataStoreBO::sharedInstance().databaseByNodeURL(
                                DataStoreBO::dbStoreURLFromNodeURL(node->url())))
                      : nullptr;
            return db != nullptr;
        });
        return found &&
               StateTest::waitForDatabaseWork(*db, *SimpleDBStateManager::sharedInstance().dbViewState());
    }
    static void post(const QString &name, const QVariant &object = {})
    {
        Bastwick::NotificationCenter::defaultCenter().post(name, object);
    }

    DerazKeysViewController keys;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(KeyTreeController, TheTreeScreenSetsUpTheInterfaceTreeAndLaysItOut)
{
    EXPECT_EQ(keys.treeView(), keys.derazKeysView()) << "the interface's tree is the screen's";
    EXPECT_EQ(keys.treeViewScrollView(), keys.derazKeysView());
    EXPECT_EQ(tree()->model(), model());
    EXPECT_EQ(model()->owner(), tree());
    EXPECT_EQ(tree()->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(tree()->palette().color(QPalette::Base), QColor(0x2c, 0x31, 0x35));
    EXPECT_EQ(keys.palette().color(QPalette::Window), QColor(0x2c, 0x31, 0x35));
    ASSERT_EQ(model()->columnCount(), 1);
    EXPECT_EQ(model()->headerData(0, Qt::Horizontal).toString(), "DataBase");

    // The toolbar keeps its strip along the bottom at the full width; a one-pixel line
    // sits on top of it, and the tree and its one column take the rest, at every size.
    const int bar = XXXButtonToolBar::defaultButtonSize().height();
    ASSERT_NE(keys.hLineNox(), nullptr);
    EXPECT_EQ(keys.hLineNox()->objectName(), "hLineNox");
    EXPECT_EQ(keys.hLineNox()->frameShape(), QFrame::HLine);
    for (const QSize size : {QSize(320, 700), QSize(250, 420), QSize(400, 300)}) {
        SCOPED_TRACE(size.width());
        keys.resize(size);
        ASSERT_TRUE(keys.hasToolBar());
        EXPECT_EQ(keys.toolBarView()->geometry(), QRect(0, size.height() - bar, size.width(), bar));
        EXPECT_EQ(keys.hLineNox()->geometry(), QRect(0, size.height() - bar - 1, size.width(), 1));
        EXPECT_EQ(tree()->geometry(), QRect(0, 0, size.width(), size.height() - bar - 1));
        EXPECT_EQ(tree()->header()->sectionSize(0), tree()->viewport()->width());
    }
    // The line is drawn: its pixels are the separator colour, not the background.
    keys.resize(320, 400);
    const QImage image = keys.grab().toImage();
    EXPECT_EQ(image.pixelColor(160, 400 - bar - 1), QColor(0x3a, 0x40, 0x46));
}

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
    ASSERT_TRUE(settled());
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
    // An empty request refreshes the tree: the rows stay on screen while the connection
    // is made again, so wait for the reconnection itself.
    QSignalSpy refreshed(model(), &DerazKeysViewDataDelegate::connectFinished);
    post(kDerazRemoveKeyMsg);
    ASSERT_TRUE(refreshed.count() > 0 || refreshed.wait(20000));
    ASSERT_TRUE(settled());
    EXPECT_TRUE(existsIn(2, "three")) << "no names, nothing removed";
    ASSERT_TRUE(showsCount(2, 1)) << "the tree has been rebuilt after the empty request";

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
    ASSERT_TRUE(TestSupport::waitForMainQueue()); // no connection: nothing else could act
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
    ASSERT_TRUE(settled());
    EXPECT_EQ(model()->rowCount(), 1) << "cancelled: the connection stays";

    select(model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
    keys.closeConnection();
    ASSERT_EQ(openAlerts().size(), 1);
    press(openAlerts().first(), QMessageBox::AcceptRole);
    EXPECT_TRUE(waitFor([&] { return model()->rowCount() == 0; }, 5000));
    EXPECT_FALSE(DataStoreBO::sharedInstance().profileByNodeURL(QStringLiteral("%1/DB0").arg(id)))
        << "the closed connection is no longer registered, so no refresh brings it back";
    ASSERT_TRUE(TestSupport::waitForMainQueue());
    EXPECT_EQ(model()->rowCount(), 0);
    EXPECT_TRUE(keys.progressIndicator()->isHidden());
}

// A selected database or key stands for its connection: the same question, naming the
// connection once however many of its rows are selected, then the connection closes.
TEST_F(KeyTreeController, ClosingWithADatabaseOrAKeySelectedClosesItsConnection)
{
    const struct
    {
        const char *what;
        bool database, key;
    } cases[] = {{"a database", true, false}, {"a key", false, true}, {"a database and a key", true, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        setIn(0, "user/1");
        connect();
        tree()->expand(dbIndex(0));
        tree()->selectionModel()->clearSelection();
        for (const QModelIndex &row :
             {c.database ? dbIndex(2) : QModelIndex(), c.key ? keyIndex(0, "user/1") : QModelIndex()}) {
            if (row.isValid())
                select(row, QItemSelectionModel::Select);
        }
        ASSERT_EQ(tree()->selectionModel()->selectedRows().size(), int(c.database) + int(c.key));
        keys.closeConnection();
        ASSERT_EQ(openAlerts().size(), 1);
        EXPECT_EQ(openAlerts().first()->informativeText(),
                  QStringLiteral("Close the connections deraz at %1:%2?")
                      .arg(server().host())
                      .arg(server().port()));
        press(openAlerts().first(), QMessageBox::AcceptRole);
        EXPECT_TRUE(waitFor([&] { return model()->rowCount() == 0; }, 5000));
        EXPECT_TRUE(DataStoreBO::sharedInstance().dataStoreProfiles().isEmpty());
        closeAlerts();
    }
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
    ASSERT_TRUE(settled());
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
    EXPECT_FALSE(update->isVisible());

    // The next double click begins the same sheet again.
    emit tree()->doubleClicked(key);
    ASSERT_TRUE(waitFor([&] { return update->isSheetRunning(); }, 20000));
    EXPECT_EQ(sheets(), QList<DerazKeyPanel *>{update});
    EXPECT_EQ(keys.derazUpdatePanel(), update);
    update->cancel();

    // The tree's own add button (the sheets, children of the tree, have add buttons too).
    QAbstractButton *add = nullptr;
    for (QAbstractButton *button : keys.findChildren<QAbstractButton *>())
        if (button->property("tag").toLongLong() == 1 && button->window() == keys.window())
            add = button;
    ASSERT_TRUE(add);
    add->click();
    auto *addSheet = keys.derazAddKeyPanel();
    EXPECT_TRUE(addSheet->isSheetRunning());
    EXPECT_EQ(sheets().size(), 2);
    addSheet->keyTypeSegments()->button(1)->click(); // the hash editor, which has a key field
    ASSERT_TRUE(addSheet->currentViewController()->keyTextField());
    addSheet->currentViewController()->keyTextField()->setText("typed before Cancel");
    addSheet->cancel();

    // Cancelled: the next add shows what was typed.
    add->click();
    EXPECT_TRUE(addSheet->isSheetRunning());
    EXPECT_EQ(keys.derazAddKeyPanel(), addSheet);
    EXPECT_EQ(addSheet->lastViewIndex(), 1);
    EXPECT_EQ(addSheet->currentViewController()->keyTextField()->text(), "typed before Cancel");
    EXPECT_EQ(sheets().size(), 2);
    addSheet->cancel();
}

TEST_F(KeyTreeController, DoubleClickingAKeyThatCannotBeReadShowsWhy)
{
    struct Case
    {
        const char *name;
        std::function<void()> spoil;
        QString alertPart;
    };
    const QList<Case> cases = {
        {"key removed meanwhile",
         [] {
             commandIn(0, {"DEL", "user/1"});
         },
         QStringLiteral("no longer exists")},
        {"server stopped answering",
         [] {
             // The operations of the connection give up after one second instead of one minute.
             const auto db = SimpleDBStateManager::sharedInstance().currentDatabase();
             ASSERT_TRUE(db);
             const auto connection = db->derazConnection();
             connection->queue()->sync([&] { connection->deraz()->setReplyTimeLimitMs(1000); });
             server().pause();
         },
         QStringLiteral("time limit of 1 s")},
    };
    setIn(0, "user/1");
    connect();
    tree()->expand(dbIndex(0));
    select(keyIndex(0, "user/1"), QItemSelectionModel::ClearAndSelect);
    ASSERT_TRUE(waitFor([] { return SimpleDBStateManager::sharedInstance().currentDatabase() != nullptr; }));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setIn(0, "user/1");
        const QModelIndex key = keyIndex(0, "user/1");
        ASSERT_TRUE(key.isValid());
        c.spoil();
        emit tree()->doubleClicked(key);
        ASSERT_TRUE(waitFor([] { return !openAlerts().isEmpty(); }, 20000));
        server().resume();
        EXPECT_TRUE(openAlerts().first()->informativeText().contains(c.alertPart))
            << qPrintable(openAlerts().first()->informativeText());
        EXPECT_TRUE(keys.findChildren<DerazKeyPanel *>().isEmpty()) << "no sheet opens for it";
        closeAlerts();
    }
}

TEST_F(KeyTreeController, DoubleClicksWhileAKeyIsReadOpenOneSheetAndTheWaitShows)
{
    setIn(0, "user/1");
    connect();
    tree()->expand(dbIndex(0));
    const QModelIndex key = keyIndex(0, "user/1");
    ASSERT_TRUE(key.isValid());
    select(key, QItemSelectionModel::ClearAndSelect);
    const auto visibleSheets = [&] {
        int count = 0;
        for (DerazKeyPanel *sheet : keys.findChildren<DerazKeyPanel *>())
            count += sheet->isVisible() ? 1 : 0;
        return count;
    };

    // The server holds the reads back, as behind a long operation.
    server().command({"CLIENT", "PAUSE", "1500"});
    for (int click = 0; click < 3; ++click)
        emit tree()->doubleClicked(key);
    EXPECT_TRUE(waitFor([&] { return keys.progressIndicator()->isVisible(); }, 1400))
        << "a read that takes a while shows its spinner";
    ASSERT_TRUE(waitFor([&] { return visibleSheets() > 0; }, 20000));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(visibleSheets(), 1) << "three clicks on the same key open one sheet";
    EXPECT_TRUE(keys.progressIndicator()->isHidden());

    // While the sheet is open, further requests (a click in the tree, one in the browser)
    // open nothing more.
    emit tree()->doubleClicked(key);
    post(kDerazUpdateKeyMsg, QVariant::fromValue(DerazUnit()));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    EXPECT_EQ(visibleSheets(), 1);

    for (DerazKeyPanel *sheet : keys.findChildren<DerazKeyPanel *>())
        if (sheet->isVisible())
            sheet->cancel();
    ASSERT_TRUE(waitFor([&] { return visibleSheets() == 0; }, 5000));
    emit tree()->doubleClicked(key);
    EXPECT_TRUE(waitFor([&] { return visibleSheets() == 1; }, 20000)) << "the next click opens it again";
    for (DerazKeyPanel *sheet : keys.findChildren<DerazKeyPanel *>())
        if (sheet->isVisible())
            sheet->cancel();
}

TEST_F(KeyTreeController, ARefreshKeepsTheScrollPositionAndTheSelection)
{
    QList<QByteArray> args{"MSET"};
    for (int i = 0; i < 300; ++i)
        args << QByteArray("k:") + QByteArray::number(i) << "v";
    commandIn(0, args);
    connect();
    tree()->expand(dbIndex(0));
    const QModelIndex db = dbIndex(0);
    ASSERT_EQ(model()->rowCount(db), 300);
    const auto keyAt = [&](const QModelIndex &index) {
        return DerazKeysViewDataDelegate::keyOfNode(model()->nodeForIndex(index));
    };
    const auto selectedKeys = [&] {
        QSet<QByteArray> keys;
        for (const QModelIndex &row : tree()->selectionModel()->selectedRows())
            keys.insert(keyAt(row));
        return keys;
    };
    // Scrolled to the middle, two keys selected.
    tree()->scrollTo(model()->index(150, 0, db), QAbstractItemView::PositionAtTop);
    const QModelIndex first = model()->index(155, 0, db);
    const QModelIndex second = model()->index(160, 0, db);
    select(first, QItemSelectionModel::ClearAndSelect);
    select(second, QItemSelectionModel::Select);
    const QByteArray top = keyAt(tree()->indexAt(QPoint(2, 2)));
    // Rows below the top one: the server may list the keys in another order after the save
    // (its table can be rehashed between the two reads), so only their distance is kept.
    const auto rowsFromTopToPointer = [&] {
        return tree()->indexAt(QPoint(2, 120)).row() - tree()->indexAt(QPoint(2, 2)).row();
    };
    const int pointedRows = rowsFromTopToPointer();
    const QSet<QByteArray> selected = selectedKeys();
    ASSERT_EQ(selected.size(), 2);
    ASSERT_FALSE(top.isEmpty());

    // A value saved, then the refresh a save asks for.
    commandIn(0, {"SET", "k:7", "saved"});
    QSignalSpy finished(model(), &DerazKeysViewDataDelegate::connectFinished);
    keys.refresh();
    ASSERT_TRUE(finished.wait(20000));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    ASSERT_EQ(model()->rowCount(dbIndex(0)), 300);
    EXPECT_EQ(keyAt(tree()->indexAt(QPoint(2, 2))), top) << "the same key is at the top";
    EXPECT_EQ(rowsFromTopToPointer(), pointedRows) << "the view is scrolled to the same pixel";
    EXPECT_EQ(selectedKeys(), selected);
    EXPECT_TRUE(tree()->isExpanded(dbIndex(0)));
}

TEST_F(KeyTreeController, RefreshesInARowLeaveTheTreeAsTheServerIs)
{
    for (const QByteArray &key : {QByteArray("a"), QByteArray("b")})
        setIn(0, key);
    for (const QByteArray &key : {QByteArray("c"), QByteArray("d")})
        setIn(3, key);
    connect();
    tree()->expand(dbIndex(0));
    tree()->expand(dbIndex(3));
    select(keyIndex(0, "b"), QItemSelectionModel::ClearAndSelect);
    select(keyIndex(3, "d"), QItemSelectionModel::Select);
    const auto rowsOf = [&](int db) {
        QList<QByteArray> keys;
        for (int row = 0; row < model()->rowCount(dbIndex(db)); ++row)
            keys.append(DerazKeysViewDataDelegate::keyOfNode(
                model()->nodeForIndex(model()->index(row, 0, dbIndex(db)))));
        std::sort(keys.begin(), keys.end());
        return keys;
    };
    const auto selectedKeys = [&] {
        QSet<QByteArray> keys;
        for (const QModelIndex &row : tree()->selectionModel()->selectedRows())
            keys.insert(DerazKeysViewDataDelegate::keyOfNode(model()->nodeForIndex(row)));
        return keys;
    };

    // Two changes, each announced as it is done (as a removal over two databases is):
    // each announcement rebuilds the tree, the second while the first is still reading
    // the server.
    const auto state = SimpleDBStateManager::sharedInstance().dbViewState();
    const QString db0 = model()->nodeForIndex(dbIndex(0))->url();
    const QString db3 = model()->nodeForIndex(dbIndex(3))->url();
    QSignalSpy finished(model(), &DerazKeysViewDataDelegate::connectFinished);
    commandIn(0, {"DEL", "a"});
    state->dataStoreDerazKeyRemoved(db0, {"a"});
    ASSERT_TRUE(TestSupport::waitForMainQueue());
    commandIn(3, {"SET", "e", "v"});
    state->dataStoreDerazKeyChanged(db3, "e");
    ASSERT_TRUE(waitFor([&] { return finished.size() == 2; }, 20000));
    ASSERT_TRUE(TestSupport::waitForPostedEvents());

    EXPECT_TRUE(showsCount(0, 1));
    EXPECT_TRUE(showsCount(3, 3));
    EXPECT_EQ(rowsOf(0), (QList<QByteArray>{"b"}));
    EXPECT_EQ(rowsOf(3), (QList<QByteArray>{"c", "d", "e"}));
    EXPECT_TRUE(tree()->isExpanded(dbIndex(0)));
    EXPECT_TRUE(tree()->isExpanded(dbIndex(3)));
    EXPECT_EQ(selectedKeys(), (QSet<QByteArray>{"b", "d"}));
    EXPECT_TRUE(keys.progressIndicator()->isHidden()) << "the spinner stops";
}

} // namespace

#include <kestrune/Localized.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/sheets/DerazAddKeyPanel.h>
#include <kestrune/keys/sheets/DerazKVDataDelegate.h>
#include <kestrune/keys/sheets/DerazKeyEditorViewController.h>
#include <kestrune/keys/sheets/DerazUpdatePanel.h>

#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/tables/TableViewExtension.h>

#include <bastwick/platform/DispatchQueue.h>

#include "../../data/StateTestHelpers.h"
#include "support/Alerts.h"
#include "support/RedisServer.h"
#include "support/WaitFor.h"

#include <QtCore/QPointer>
#include <QtTest/QAbstractItemModelTester>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

using TestSupport::closeAlerts;
using TestSupport::openAlerts;

TestSupport::RedisServer &server()
{
    return TestSupport::RedisServer::running();
}

QByteArray raw(const QList<QByteArray> &args)
{
    return server().command(args);
}

// The elements of a raw array reply of bulk strings (nil elements as null arrays).
QByteArrayList arrayItems(const QByteArray &reply)
{
    QByteArrayList items;
    if (!reply.startsWith('*'))
        return items;
    qsizetype pos = reply.indexOf("\r\n") + 2;
    const int count = reply.mid(1, reply.indexOf("\r\n") - 1).toInt();
    for (int i = 0; i < count; ++i) {
        const qsizetype end = reply.indexOf("\r\n", pos);
        const int length = reply.mid(pos + 1, end - pos - 1).toInt();
        pos = end + 2;
        if (length < 0) {
            items.append(QByteArray());
            continue;
        }
        items.append(reply.mid(pos, length));
        pos += length + 2;
    }
    return items;
}

QByteArrayList sorted(QByteArrayList items)
{
    std::sort(items.begin(), items.end());
    return items;
}

qint64 ttlOf(const QByteArray &key)
{
    return raw({"TTL", key}).mid(1).trimmed().toLongLong();
}

int column(DerazKeyEditorViewController *editor, const QString &identifier)
{
    const auto &defs = editor->dataDelegate()->columnDefs();
    for (int i = 0; i < defs.size(); ++i) {
        if (defs.at(i).identifier() == identifier)
            return i;
    }
    ADD_FAILURE() << "no column " << qPrintable(identifier);
    return -1;
}

void setCell(DerazKeyEditorViewController *editor, int row, const QString &identifier, const QString &text)
{
    auto *model = editor->dataDelegate();
    model->setData(model->index(row, column(editor, identifier)), text, Qt::EditRole);
}

QString cell(DerazKeyEditorViewController *editor, int row, const QString &identifier)
{
    auto *model = editor->dataDelegate();
    return model->index(row, column(editor, identifier)).data(Qt::EditRole).toString();
}

// A new row filled column by column ({identifier, typed text}).
void addRow(DerazKeyEditorViewController *editor, const QList<std::pair<QString, QString>> &cells)
{
    editor->addNewKVPair();
    const int row = int(editor->dataDelegate()->itemCount()) - 1;
    for (const auto &[identifier, text] : cells)
        setCell(editor, row, identifier, text);
}

class KVRecorder : public QObject, public SimpleDBStateDelegate
{
public:
    QList<QVariantList> saved;
    void dataStoreDerazKVChanged(SimpleDBViewState *, const QString &, const QVariantList &kvs) override
    {
        saved.append(kvs);
    }
};

// The sheets on a window, saving into DB0 of the test server through a registry and
// view state of their own. Every editor model is checked by the model tester.
class KeySheetsTest : public ::testing::Test
{
protected:
    // The texts the user sees: the shipped table, loaded as start-up does.
    static void SetUpTestSuite() { Kestrune::installAppTranslations(); }

    void SetUp() override
    {
        ASSERT_TRUE(server().isRunning()) << qPrintable(server().error());
        server().flushAll();
        window.resize(900, 700);
        window.show();
        const auto store =
            registry.dbStoreWithDBProfile(StateTest::derazProfile(server().host(), server().port()));
        ASSERT_TRUE(store);
        ASSERT_FALSE(StateTest::fetch(store));
        database = states.currentDatabase();
        ASSERT_TRUE(database);
        states.dbViewState()->addDelegate<SimpleDBStateDelegate>(&recorder, Bastwick::mainQueue());
        states.dbViewState()->deactivate(); // the addition has run
    }
    void TearDown() override
    {
        closeAlerts();
        for (const auto &panel : panels)
            delete panel.data();
        server().flushAll();
    }

    template <class Panel> Panel *make()
    {
        auto *panel = new Panel;
        panel->setStateManager(&states);
        for (DerazKeyEditorViewController *editor : panel->controllers())
            new QAbstractItemModelTester(editor->dataDelegate(),
                                         QAbstractItemModelTester::FailureReportingMode::Fatal,
                                         editor->dataDelegate());
        QObject::connect(panel, &XSheet::sheetEnded, panel, [this](qint64 code) { ended.append(code); });
        panels.append(panel);
        return panel;
    }

    // Begins the panel's sheet on the window, as the key tree does for every opening.
    template <class Panel> Panel *begin(Panel *panel, const QVariant &unit = {})
    {
        panel->beginWithUnit(&window, unit);
        return panel;
    }

    template <class Panel> Panel *open(const QVariant &unit = {}) { return begin(make<Panel>(), unit); }

    QVariant unitOf(const QByteArray &key)
    {
        const std::optional<DerazUnit> unit = database->derazUnitFromKey(key);
        EXPECT_TRUE(unit) << key.constData();
        return unit ? QVariant::fromValue(*unit) : QVariant();
    }

    DerazUpdatePanel *openUpdate(const QByteArray &key) { return open<DerazUpdatePanel>(unitOf(key)); }

    DerazAddKeyPanel *openAdd(int type)
    {
        auto *panel = open<DerazAddKeyPanel>();
        panel->keyTypeSegments()->button(type)->click();
        EXPECT_EQ(panel->lastViewIndex(), type);
        return panel;
    }

    // OK, then waits for the save to finish (the sheet ends, or stays with an alert).
    void okAndWait(DerazKeyPanel *panel)
    {
        const qsizetype before = ended.size();
        panel->okButton()->click();
        EXPECT_TRUE(waitFor([&] { return ended.size() > before || !openAlerts().isEmpty(); }, 10000));
    }

    StateTest::Preferences preferences;
    DataStoreBO registry{&preferences.preference};
    SimpleDBStateManager states{&registry};
    std::shared_ptr<DerazDatabase> database;
    KVRecorder recorder;
    QMainWindow window;
    QList<QPointer<DerazKeyPanel>> panels;
    QList<qint64> ended;
};

TEST_F(KeySheetsTest, AddWritesEveryTypeByteForByteAndSkipsBlankNewRows)
{
    // String: several keys at once, each with its own time to live.
    auto *panel = openAdd(0);
    auto *editor = panel->currentViewController();
    addRow(editor, {{"key", "\"k\\xff\""}, {"value", "\"a\\x00b\""}});
    addRow(editor, {{"key", "  "}, {"value", "lost"}});
    addRow(editor, {{"key", "s2"}, {"value", " b "}, {"ttl", "100"}});
    addRow(editor, {{"key", "no-value"}, {"value", ""}});
    okAndWait(panel);
    ASSERT_EQ(ended, QList<qint64>{1});
    EXPECT_EQ(raw({"GET", QByteArray("k\xff", 2)}), QByteArray("$3\r\na\0b\r\n", 9));
    EXPECT_EQ(raw({"GET", "s2"}), "$3\r\n b \r\n");
    EXPECT_EQ(ttlOf(QByteArray("k\xff", 2)), -1);
    EXPECT_GT(ttlOf("s2"), 0);
    EXPECT_LE(ttlOf("s2"), 100);
    EXPECT_EQ(raw({"DBSIZE"}), ":2\r\n");
    ASSERT_TRUE(waitFor([&] { return recorder.saved.size() == 1; }));
    EXPECT_EQ(recorder.saved.first().size(), 2);

    // Hash.
    panel = openAdd(1);
    editor = panel->currentViewController();
    editor->keyTextField()->setText("h");
    editor->ttlTextField()->setText("-1");
    addRow(editor, {{"key", "f1"}, {"value", "v1"}});
    addRow(editor, {{"key", "\"\\xfe\""}, {"value", "\"x\\ty\""}});
    addRow(editor, {{"key", "blank value"}, {"value", " "}});
    okAndWait(panel);
    EXPECT_EQ(arrayItems(raw({"HGETALL", "h"})), (QByteArrayList{"f1", "v1", "\xfe", "x\ty"}));

    // List: order and duplicates kept.
    panel = openAdd(2);
    editor = panel->currentViewController();
    editor->keyTextField()->setText("l");
    for (const char *value : {"a", "  ", "\"\\x00\"", "a"})
        addRow(editor, {{"value", value}});
    EXPECT_EQ(cell(editor, 3, "ID"), "3");
    okAndWait(panel);
    EXPECT_EQ(arrayItems(raw({"LRANGE", "l", "0", "-1"})), (QByteArrayList{"a", QByteArray("\0", 1), "a"}));

    // Set: a member with blanks around a letter keeps them.
    panel = openAdd(3);
    editor = panel->currentViewController();
    editor->keyTextField()->setText("s");
    for (const char *value : {"m", " x ", "\"\\xff\"", "\t"})
        addRow(editor, {{"value", value}});
    okAndWait(panel);
    EXPECT_EQ(sorted(arrayItems(raw({"SMEMBERS", "s"}))), (QByteArrayList{" x ", "m", "\xff"}));

    // Sorted set: scores exactly as typed, an untouched score is 0.
    panel = openAdd(4);
    editor = panel->currentViewController();
    editor->keyTextField()->setText("z");
    addRow(editor, {{"score", "0.1"}, {"value", "tenth"}});
    addRow(editor, {{"score", "1700000000123"}, {"value", "\"\\x00\""}});
    addRow(editor, {{"value", "zero"}});
    okAndWait(panel);
    EXPECT_EQ(raw({"ZSCORE", "z", "tenth"}).split('\n').value(1).trimmed().toDouble(), 0.1);
    EXPECT_EQ(raw({"ZSCORE", "z", QByteArray("\0", 1)}).split('\n').value(1).trimmed().toDouble(),
              1700000000123.0);
    EXPECT_EQ(raw({"ZSCORE", "z", "zero"}), "$1\r\n0\r\n");
    EXPECT_EQ(ended, (QList<qint64>{1, 1, 1, 1, 1}));
    EXPECT_TRUE(openAlerts().isEmpty());
}

// The update sheet opened on a key and confirmed without a change leaves the key's
// content identical, byte for byte, with the time to live it showed.
TEST_F(KeySheetsTest, AnUnchangedOkLeavesEveryTypeIdentical)
{
    raw({"SET", QByteArray("str\xff", 4), QByteArray("v\0\xfe\r\n", 5)});
    raw({"EXPIRE", QByteArray("str\xff", 4), "1000"});
    raw({"SET", "empty", ""});
    raw({"HSET", "hash", "f", "", "\xff", QByteArray("\0", 1), " ", "x", "a", "1"});
    raw({"RPUSH", "list", "x", "", " ", "\xff", "x"});
    raw({"SADD", "set", "", " ", "m", "\xfe"});
    raw({"EXPIRE", "set", "500"});
    raw({"ZADD", "zset", "0.1", "a", "1e-300", "", "-inf", QByteArray("\0", 1), "2.5", " ", "1700000000123",
         "\xff"});

    const QByteArrayList keys = {QByteArray("str\xff", 4), "empty", "hash", "list", "set", "zset"};
    for (const QByteArray &key : keys) {
        SCOPED_TRACE(key.constData());
        const bool isSet = key == "set";
        const QByteArray before = isSet ? QByteArray() : raw({"DUMP", key});
        const QByteArrayList membersBefore = sorted(arrayItems(raw({"SMEMBERS", key})));
        const qint64 ttlBefore = ttlOf(key);
        auto *panel = openUpdate(key);
        okAndWait(panel);
        ASSERT_EQ(ended.last(), 1);
        if (isSet)
            EXPECT_EQ(sorted(arrayItems(raw({"SMEMBERS", key}))), membersBefore);
        else
            EXPECT_EQ(raw({"DUMP", key}), before);
        if (ttlBefore < 0) {
            EXPECT_EQ(ttlOf(key), -1);
        } else {
            EXPECT_LE(ttlOf(key), ttlBefore);
            EXPECT_GE(ttlOf(key), ttlBefore - 3);
        }
    }
    EXPECT_TRUE(openAlerts().isEmpty());
    EXPECT_EQ(raw({"DBSIZE"}), ":6\r\n");
}

TEST_F(KeySheetsTest, UpdateReplacesTheKeyAndARenamedKeyIsAddedBesideTheOldOne)
{
    raw({"HSET", "h", "a", "1", "b", "2", "c", "3"});
    auto *panel = openUpdate("h");
    auto *editor = panel->currentViewController();
    EXPECT_EQ(panel->lastViewIndex(), 1);
    EXPECT_EQ(panel->keyTypeSegments()->checkedId(), 1);
    EXPECT_EQ(editor->keyTextField()->text(), "h");
    EXPECT_EQ(editor->ttlTextField()->text(), "-1");
    Pavisade::setSelectionAtRow(editor->tableView(), 1);
    editor->removeKVPair();
    setCell(editor, 0, "value", "10");
    okAndWait(panel);
    EXPECT_EQ(arrayItems(raw({"HGETALL", "h"})), (QByteArrayList{"a", "10", "c", "3"}));

    raw({"RPUSH", "l", "x", "y", "z"});
    panel = openUpdate("l");
    editor = panel->currentViewController();
    Pavisade::setSelectionAtRow(editor->tableView(), 0);
    editor->removeKVPair();
    EXPECT_TRUE(waitFor([&] { return cell(editor, 0, "ID") == "0" && cell(editor, 1, "ID") == "1"; }))
        << "positions close up";
    EXPECT_FALSE(editor->dataDelegate()->flags(editor->dataDelegate()->index(0, 0)) & Qt::ItemIsEditable);
    editor->keyTextField()->setText("l2");
    okAndWait(panel);
    EXPECT_EQ(arrayItems(raw({"LRANGE", "l", "0", "-1"})), (QByteArrayList{"x", "y", "z"}));
    EXPECT_EQ(arrayItems(raw({"LRANGE", "l2", "0", "-1"})), (QByteArrayList{"y", "z"}));

    // Every row removed: the key is not replaced by nothing.
    panel = openUpdate("h");
    editor = panel->currentViewController();
    while (editor->dataDelegate()->itemCount() > 0) {
        Pavisade::setSelectionAtRow(editor->tableView(), 0);
        editor->removeKVPair();
    }
    okAndWait(panel);
    EXPECT_EQ(openAlerts().size(), 1);
    EXPECT_TRUE(panel->isSheetRunning());
    EXPECT_EQ(arrayItems(raw({"HGETALL", "h"})), (QByteArrayList{"a", "10", "c", "3"}));
}

TEST_F(KeySheetsTest, EmptyZeroOrNegativeTimeToLiveMeansNoExpiry)
{
    const struct
    {
        const char *typed;
        bool expires;
    } cases[] = {{"", false}, {"0", false}, {"-5", false}, {"abc", false}, {"100", true}, {"30s", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        raw({"DEL", "h"});
        raw({"HSET", "h", "f", "v"});
        raw({"EXPIRE", "h", "1000"});
        auto *panel = openUpdate("h");
        EXPECT_NEAR(panel->currentViewController()->ttlTextField()->text().toLongLong(), ttlOf("h"), 2);
        panel->currentViewController()->ttlTextField()->setText(c.typed);
        okAndWait(panel);
        ASSERT_EQ(ended.last(), 1);
        if (c.expires) {
            EXPECT_GT(ttlOf("h"), 0);
            EXPECT_LE(ttlOf("h"), 100);
        } else {
            EXPECT_EQ(ttlOf("h"), -1);
        }
    }
    // A string row's own time to live follows the same rule.
    raw({"SET", "s", "v", "EX", "1000"});
    auto *panel = openUpdate("s");
    EXPECT_EQ(panel->currentViewController()->dataDelegate()->itemCount(), 1);
    setCell(panel->currentViewController(), 0, "ttl", "0");
    okAndWait(panel);
    EXPECT_EQ(ttlOf("s"), -1);
    EXPECT_EQ(raw({"GET", "s"}), "$1\r\nv\r\n");
}

TEST_F(KeySheetsTest, CancelLeavesTheKeyAndItsRecordUntouched)
{
    raw({"ZADD", "z", "1.5", "a", "2", "b"});
    const QByteArray before = raw({"DUMP", "z"});
    const std::optional<DerazUnit> unit = database->derazUnitFromKey("z");
    ASSERT_TRUE(unit);
    auto *panel = open<DerazUpdatePanel>(QVariant::fromValue(*unit));
    auto *editor = panel->currentViewController();
    setCell(editor, 0, "score", "9");
    setCell(editor, 0, "value", "changed");
    Pavisade::setSelectionAtRow(editor->tableView(), 1);
    editor->removeKVPair();
    addRow(editor, {{"score", "3"}, {"value", "new"}});
    panel->cancelButton()->click();
    ASSERT_EQ(ended, QList<qint64>{0});
    EXPECT_EQ(raw({"DUMP", "z"}), before);
    ASSERT_TRUE(StateTest::waitForDatabaseWork(*database, *states.dbViewState()));
    EXPECT_TRUE(recorder.saved.isEmpty());
    ASSERT_EQ(unit->rows().size(), 2);
    EXPECT_EQ(unit->rows().at(0).value(), "b");
    EXPECT_EQ(unit->rows().at(0).score(), 2.0);

    // The panel stays for the next opening, with the cancelled edits in its editor.
    ASSERT_TRUE(TestSupport::waitForPostedEvents());
    ASSERT_FALSE(panels.last().isNull());
    EXPECT_FALSE(panel->isSheetRunning());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(editor->dataDelegate()->itemCount(), 2);
}

// Each panel is begun again for every opening. The add sheet keeps whatever an earlier
// opening left in its editors (a Cancel, or an OK with nothing to save) until a save
// clears the editor it saved from; the update sheet clears the editor it left on show
// before it shows the next key.
TEST_F(KeySheetsTest, AReusedSheetShowsWhatWasCancelledAndASaveClearsItsEditor)
{
    auto *add = make<DerazAddKeyPanel>();
    begin(add);
    add->keyTypeSegments()->button(1)->click();
    auto *hash = add->currentViewController();
    hash->keyTextField()->setText("typed");
    hash->ttlTextField()->setText("60");
    addRow(hash, {{"key", "f"}, {"value", "v"}});
    add->cancelButton()->click();
    ASSERT_EQ(ended, QList<qint64>{0});

    begin(add);
    EXPECT_TRUE(add->isSheetRunning());
    EXPECT_TRUE(add->isVisible());
    EXPECT_EQ(add->currentViewController(), hash) << "the editor on show stays the same";
    EXPECT_EQ(add->keyTypeSegments()->checkedId(), 1);
    EXPECT_EQ(hash->keyTextField()->text(), "typed");
    EXPECT_EQ(hash->ttlTextField()->text(), "60");
    ASSERT_EQ(hash->dataDelegate()->itemCount(), 1);
    EXPECT_EQ(cell(hash, 0, "key"), "f");

    // Another editor's content survives a switch and a save from this one.
    add->keyTypeSegments()->button(3)->click();
    auto *set = add->currentViewController();
    set->keyTextField()->setText("members");
    addRow(set, {{"value", "m"}});
    add->keyTypeSegments()->button(1)->click();
    EXPECT_EQ(hash->dataDelegate()->itemCount(), 1);
    okAndWait(add);
    ASSERT_EQ(ended.last(), 1);
    EXPECT_EQ(arrayItems(raw({"HGETALL", "typed"})), (QByteArrayList{"f", "v"}));
    EXPECT_EQ(raw({"EXISTS", "members"}), ":0\r\n");

    begin(add);
    EXPECT_EQ(add->currentViewController(), hash);
    EXPECT_EQ(hash->dataDelegate()->itemCount(), 0) << "cleared by the save";
    EXPECT_EQ(hash->ttlTextField()->text(), "-1");
    add->keyTypeSegments()->button(3)->click();
    EXPECT_EQ(set->keyTextField()->text(), "members");
    EXPECT_EQ(set->dataDelegate()->itemCount(), 1);
    add->cancelButton()->click();

    // The update sheet: the key's editor filled from the key; the next key, of another
    // type, finds the editor of the first one cleared.
    raw({"HSET", "h", "a", "1"});
    raw({"RPUSH", "l", "x", "y"});
    auto *update = make<DerazUpdatePanel>();
    begin(update, unitOf("h"));
    auto *hashEditor = update->currentViewController();
    EXPECT_EQ(hashEditor->dataDelegate()->itemCount(), 1);
    update->cancelButton()->click();
    begin(update, unitOf("l"));
    EXPECT_EQ(update->lastViewIndex(), 2);
    EXPECT_EQ(update->currentViewController()->dataDelegate()->itemCount(), 2);
    EXPECT_EQ(hashEditor->dataDelegate()->itemCount(), 0);
    okAndWait(update);
    begin(update, unitOf("l"));
    EXPECT_EQ(update->currentViewController()->dataDelegate()->itemCount(), 2)
        << "filled again after the save cleared it";
    EXPECT_EQ(panels.size(), 2);
    EXPECT_TRUE(openAlerts().isEmpty());
}

TEST_F(KeySheetsTest, AScoreThatIsNotANumberIsRefusedAndTheRowKeepsItsScore)
{
    raw({"ZADD", "z", "1.5", "m"});
    auto *panel = openUpdate("z");
    auto *editor = panel->currentViewController();
    for (const char *typed : {"abc", "", "nan", "1.5x"}) {
        SCOPED_TRACE(typed);
        setCell(editor, 0, "score", typed);
        EXPECT_TRUE(waitFor([] { return openAlerts().size() == 1; }));
        if (!openAlerts().isEmpty()) {
            EXPECT_TRUE(openAlerts().first()->informativeText().contains("not a number"));
        }
        closeAlerts();
        EXPECT_EQ(cell(editor, 0, "score"), "1.5");
    }
    setCell(editor, 0, "score", "-inf");
    EXPECT_EQ(cell(editor, 0, "score"), "-inf");
    setCell(editor, 0, "score", "2.25");
    EXPECT_TRUE(openAlerts().isEmpty());
    okAndWait(panel);
    EXPECT_EQ(arrayItems(raw({"ZRANGE", "z", "0", "-1", "WITHSCORES"})), (QByteArrayList{"m", "2.25"}));
}

TEST_F(KeySheetsTest, WithoutACurrentDatabaseTheSheetWarnsAndStaysOpen)
{
    DataStoreBO emptyRegistry{&preferences.preference};
    SimpleDBStateManager noDatabase{&emptyRegistry};
    auto *panel = openAdd(1);
    panel->setStateManager(&noDatabase);
    panel->currentViewController()->keyTextField()->setText("h");
    addRow(panel->currentViewController(), {{"key", "f"}, {"value", "v"}});
    okAndWait(panel);
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(openAlerts().first()->informativeText(), "Select a database first.");
    EXPECT_TRUE(panel->isSheetRunning());
    EXPECT_TRUE(panel->loadingIndicator()->isHidden());
    EXPECT_TRUE(panel->okButton()->isEnabled());
    EXPECT_EQ(raw({"DBSIZE"}), ":0\r\n");
}

TEST_F(KeySheetsTest, OkIsDisabledWhileSavingAndAFailedSaveKeepsTheSheetAsItWas)
{
    auto *panel = openAdd(1);
    auto *editor = panel->currentViewController();
    editor->keyTextField()->setText("h");
    addRow(editor, {{"key", "f"}, {"value", "v"}});
    server().pause();
    panel->okButton()->click();
    EXPECT_TRUE(panel->isSaving());
    EXPECT_FALSE(panel->okButton()->isEnabled());
    EXPECT_FALSE(panel->loadingIndicator()->isHidden());
    panel->ok(); // Enter while saving: nothing more is sent
    // The rows are cleared once the save has finished.
    auto *rows = editor->dataDelegate();
    qint64 rowsLeft = -1;
    QObject::connect(rows, &QAbstractItemModel::rowsRemoved, rows, [&] { rowsLeft = rows->itemCount(); });
    server().resume();
    EXPECT_TRUE(waitFor([&] { return !ended.isEmpty(); }, 10000));
    EXPECT_EQ(ended, QList<qint64>{1});
    EXPECT_TRUE(waitFor([&] { return recorder.saved.size() == 1; }));
    EXPECT_EQ(rowsLeft, 0) << "cleared after the save";

    // A save the server refuses: the sheet stays open with its content, and a second OK
    // retries with what was corrected.
    raw({"SET", "taken", "a string"});
    panel = openAdd(3);
    editor = panel->currentViewController();
    editor->keyTextField()->setText("taken");
    addRow(editor, {{"value", "m"}});
    okAndWait(panel);
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_TRUE(openAlerts().first()->informativeText().contains("WRONGTYPE"));
    closeAlerts();
    EXPECT_TRUE(panel->isSheetRunning());
    EXPECT_TRUE(panel->loadingIndicator()->isHidden());
    EXPECT_EQ(editor->dataDelegate()->itemCount(), 1);
    EXPECT_EQ(editor->keyTextField()->text(), "taken");
    editor->keyTextField()->setText("free");
    okAndWait(panel);
    EXPECT_EQ(ended.last(), 1);
    EXPECT_EQ(arrayItems(raw({"SMEMBERS", "free"})), QByteArrayList{"m"});
}

TEST_F(KeySheetsTest, NothingToSaveEndsTheSheetButAKeyWithoutNameOrRowsIsRefused)
{
    auto *panel = openAdd(0);
    addRow(panel->currentViewController(), {{"key", " "}, {"value", "v"}});
    okAndWait(panel);
    EXPECT_EQ(ended, QList<qint64>{1});

    panel = openAdd(2);
    auto *editor = panel->currentViewController();
    addRow(editor, {{"value", "v"}});
    okAndWait(panel);
    EXPECT_EQ(openAlerts().size(), 1) << "no key name";
    closeAlerts();
    editor->keyTextField()->setText("l");
    setCell(editor, 0, "value", "   ");
    okAndWait(panel);
    EXPECT_EQ(openAlerts().size(), 1) << "no row";
    closeAlerts();
    EXPECT_TRUE(panel->isSheetRunning());
    EXPECT_EQ(raw({"DBSIZE"}), ":0\r\n");
}

// The key tree begins the update sheet with the key to edit.
TEST_F(KeySheetsTest, TheUpdateSheetShowsTheKeyItBeganWithInItsEditor)
{
    raw({"SADD", "s", "b", "a"});
    raw({"EXPIRE", "s", "60"});
    const std::optional<DerazUnit> unit = database->derazUnitFromKey("s");
    ASSERT_TRUE(unit);
    auto *panel = new DerazUpdatePanel;
    panel->setStateManager(&states);
    panels.append(panel);
    QWidget keyTree(&window); // the opener makes itself the panel's parent
    panel->setParent(&keyTree);
    panel->beginWithUnit(&window, QVariant::fromValue(*unit));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->isWindow()) << "a sheet, not a widget inside the key tree";
    EXPECT_EQ(panel->lastViewIndex(), 3);
    auto *editor = panel->currentViewController();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->dataDelegate()->itemCount(), 2);
    EXPECT_NEAR(editor->ttlTextField()->text().toLongLong(), ttlOf("s"), 2);
    EXPECT_FALSE(panel->keyTypeImageView()->pixmap().isNull());

    // Another type chosen: its editor shows, empty.
    panel->keyTypeSegments()->button(1)->click();
    EXPECT_EQ(panel->lastViewIndex(), 1);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(panel->currentViewController()->dataDelegate()->itemCount(), 0);
}

TEST_F(KeySheetsTest, EscapeEndsAKeySheetAsCancelWhereverTheFocusIs)
{
    raw({"HSET", "h", "f", "v"});
    const QByteArray before = raw({"DUMP", "h"});
    // Escape pressed in each kind of control of the sheet: its fields, its table, its
    // buttons.
    auto *probe = openUpdate("h");
    ASSERT_TRUE(probe);
    QStringList kinds;
    for (QWidget *w : probe->findChildren<QWidget *>())
        if (w->isVisible() && w->focusPolicy() != Qt::NoFocus &&
            !kinds.contains(w->metaObject()->className()))
            kinds.append(w->metaObject()->className());
    probe->cancelButton()->click();
    ASSERT_FALSE(kinds.isEmpty());
    for (const QString &kind : kinds) {
        ended.clear();
        auto *panel = openUpdate("h");
        QWidget *target = nullptr;
        for (QWidget *w : panel->findChildren<QWidget *>())
            if (!target && w->isVisible() && w->focusPolicy() != Qt::NoFocus &&
                kind == QLatin1String(w->metaObject()->className()))
                target = w;
        ASSERT_TRUE(target) << qPrintable(kind);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_TRUE(waitFor([&] { return ended == QList<qint64>{0}; }, 2000))
            << "Escape in a " << qPrintable(kind) << " ends the sheet as Cancel";
        EXPECT_FALSE(panel->isVisible()) << qPrintable(kind);
        if (panel->isVisible())
            panel->cancelButton()->click();
    }
    EXPECT_EQ(raw({"DUMP", "h"}), before);
}

} // namespace

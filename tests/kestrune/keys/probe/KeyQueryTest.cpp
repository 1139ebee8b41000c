#include "ProbeTestHelpers.h"

#include <kestrune/AppNotifications.h>
#include <kestrune/keys/probe/DerazKeysQueryViewController.h>

#include <bastwick/platform/NotificationCenter.h>

#include "support/Contrast.h"

#include <QtTest/QTest>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QTableView>

using namespace ProbeTest;

namespace {

// Hears the removals the view state announces.
class RemovalRecorder : public SimpleDBStateDelegate
{
public:
    void dataStoreDerazKeyRemoved(SimpleDBViewState *, const QString &, const QByteArrayList &keys) override
    {
        removed.append(keys);
    }
    QList<QByteArrayList> removed;
};

class KeyQueryTest : public ProbeFixture
{
protected:
    void SetUp() override
    {
        ProbeFixture::SetUp();
        screen = std::make_unique<DerazKeysQueryViewController>();
        screen->view();
        screen->resize(1000, 600);
        screen->show();
        tester = std::make_unique<QAbstractItemModelTester>(
            screen->dataDelegate(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    void TearDown() override
    {
        tester.reset();
        screen.reset();
        ProbeFixture::TearDown();
    }

    QString log() const { return screen->logTextView()->toPlainText(); }

    // Runs the text and waits for its log line.
    bool run(const QString &text)
    {
        screen->queryTextView()->setPlainText(text);
        screen->runButton()->click();
        return waitFor([&] { return !log().isEmpty(); }, 10000);
    }

    bool showsPage(const QString &pages, qsizetype rows)
    {
        return waitFor([&] {
            return label(screen.get(), "pages") == pages && screen->dataDelegate()->itemCount() == rows;
        });
    }

    void click(qint64 tag) { toolButton(screen.get(), tag)->click(); }

    void selectRows(std::initializer_list<int> rows)
    {
        for (int row : rows)
            screen->tableView()->selectionModel()->select(screen->dataDelegate()->index(row, 0),
                                                          QItemSelectionModel::Select |
                                                              QItemSelectionModel::Rows);
    }

    std::unique_ptr<DerazKeysQueryViewController> screen;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(KeyQueryTest, PatternsRunAsKeysCommandsAndCountWhatTheyFind)
{
    fillKeys("user:", 230);
    fillKeys("misc:", 20);
    ASSERT_TRUE(connect());

    const struct
    {
        const char *text;
        int found;
        const char *pages;
        int rows;
    } cases[] = {
        {"user:*", 230, "1/3", 100},          // "keys " is put in front
        {"  KEYS user:*\n", 230, "1/3", 100}, // already a keys command, any case, trimmed
        {"nothing:*", 0, "0/0", 0},
        {"keysmisc:*", 0, "0/0", 0}, // only a first word keys is the command
        {"keys misc:*", 20, "1/1", 20},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(run(QString::fromLatin1(c.text))) << c.text;
        EXPECT_EQ(log(), QStringLiteral("%1  key founded!").arg(c.found)) << c.text;
        EXPECT_TRUE(showsPage(QString::fromLatin1(c.pages), c.rows)) << c.text;
    }

    // Text whose first word is keys is sent as it stands: here a command the server
    // refuses, whose error goes to the log while the rows stay.
    ASSERT_TRUE(run("keys misc:* extra"));
    EXPECT_TRUE(log().contains("wrong number of arguments", Qt::CaseInsensitive)) << qPrintable(log());
    EXPECT_EQ(screen->query(), "keys misc:* extra");
    EXPECT_EQ(screen->dataDelegate()->itemCount(), 20);

    // Return runs the query and still breaks the line in the field.
    screen->queryTextView()->setPlainText("user:*");
    screen->queryTextView()->moveCursor(QTextCursor::End);
    screen->logTextView()->clear();
    QTest::keyClick(screen->queryTextView(), Qt::Key_Return);
    ASSERT_TRUE(showsPage("1/3", 100));
    EXPECT_EQ(screen->queryTextView()->toPlainText(), "user:*\n");
    click(12);
    ASSERT_TRUE(showsPage("3/3", 30));
}

TEST_F(KeyQueryTest, RemovingSelectedRowsAfterASortRemovesThoseRows)
{
    fillKeys("k:", 5);
    ASSERT_TRUE(connect());
    ASSERT_TRUE(run("k:*"));
    ASSERT_TRUE(showsPage("1/1", 5));

    // Descending by key: the two rows on top are k:004 and k:003.
    screen->tableView()->sortByColumn(0, Qt::DescendingOrder);
    ASSERT_EQ(shownKeys(screen.get()).mid(0, 2), (QByteArrayList{"k:004", "k:003"}));
    selectRows({0, 1});

    QObject context;
    QList<QByteArrayList> posted;
    Bastwick::NotificationCenter::defaultCenter().addObserver(
        &context, kDerazRemoveKeyMsg,
        [&](const auto &n) { posted.append(n.object.template value<QByteArrayList>()); });
    click(2);
    ASSERT_TRUE(answerAlert("Ok"));
    ASSERT_EQ(posted.size(), 1);
    EXPECT_EQ(posted.first(), (QByteArrayList{"k:004", "k:003"}));
    QByteArrayList left = shownKeys(screen.get());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (QByteArrayList{"k:000", "k:001", "k:002"}));
}

TEST_F(KeyQueryTest, RemoveAllDeletesTheResultsOnTheServer)
{
    fillKeys("gone:", 3);
    fillKeys("kept:", 2);
    const auto db = connect();
    ASSERT_TRUE(db);
    auto recorder = std::make_shared<RemovalRecorder>();
    state()->addDelegate<SimpleDBStateDelegate>(recorder, Bastwick::mainQueue());

    ASSERT_TRUE(run("gone:*"));
    ASSERT_TRUE(showsPage("1/1", 3));
    // The question names what goes: the matches of the pattern and their number, not the
    // whole database.
    click(7);
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(openAlerts().first()->informativeText(),
              "Remove the keys of DB0 that match gone:* from the server? Matching keys: 3. This cannot be "
              "undone.");
    // One match goes meanwhile: the log counts what the server removed.
    server().command({"DEL", "gone:001"});
    ASSERT_TRUE(answerAlert("Ok"));
    ASSERT_TRUE(waitFor([&] { return !recorder->removed.isEmpty(); }, 10000));
    QByteArrayList keys = recorder->removed.first();
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (QByteArrayList{"gone:000", "gone:001", "gone:002"}));
    EXPECT_EQ(server().command({"EXISTS", "gone:000", "gone:001", "gone:002"}), ":0\r\n");
    EXPECT_EQ(server().command({"EXISTS", "kept:000", "kept:001"}), ":2\r\n");
    EXPECT_EQ(screen->dataDelegate()->itemCount(), 0);
    EXPECT_EQ(log(), "Keys removed: 2 of the 3 found.");
    // The key tree reloads after a removal, and the stored query runs again: the count
    // stays in view.
    state()->dataStoreConnectCompletion();
    ASSERT_TRUE(waitFor([&] { return log().endsWith("0  key founded!"); }, 10000)) << qPrintable(log());
    EXPECT_EQ(log(), "Keys removed: 2 of the 3 found.  0  key founded!");
    // The last page's geometry now describes a list that is gone: reloading asks for nothing.
    click(8);
    ASSERT_TRUE(settled());
    EXPECT_EQ(screen->dataDelegate()->itemCount(), 0);

    // The server refuses the deletion: the reason is in the log, the rows stay.
    ASSERT_TRUE(run("kept:*"));
    ASSERT_TRUE(showsPage("1/1", 2));
    server().command({"ACL", "SETUSER", "default", "-del"});
    const struct Restore
    {
        ~Restore() { server().command({"ACL", "SETUSER", "default", "+del"}); }
    } restore;
    recorder->removed.clear();
    click(7);
    ASSERT_TRUE(answerAlert("Ok"));
    ASSERT_TRUE(waitFor([&] { return !recorder->removed.isEmpty(); }, 10000));
    EXPECT_FALSE(log().isEmpty());
    EXPECT_NE(log(), "2  key founded!");
    EXPECT_EQ(screen->dataDelegate()->itemCount(), 2);
    EXPECT_EQ(server().command({"EXISTS", "kept:000", "kept:001"}), ":2\r\n");
    state()->removeDelegate(recorder);
}

TEST_F(KeyQueryTest, AReconnectRunsTheStoredQueryAgain)
{
    fillKeys("a:", 4);
    ASSERT_TRUE(connect());
    // No stored query: a completion runs nothing.
    state()->dataStoreConnectCompletion();
    ASSERT_TRUE(settled());
    EXPECT_EQ(log(), "");

    ASSERT_TRUE(run("a:*"));
    ASSERT_TRUE(showsPage("1/1", 4));
    screen->clearButton()->click();
    EXPECT_EQ(screen->queryTextView()->toPlainText(), "");
    EXPECT_EQ(screen->dataDelegate()->itemCount(), 4) << "clear empties the field only";

    fillKeys("a:1", 2); // a:1000, a:1001
    screen->logTextView()->clear();
    state()->dataStoreConnectCompletion();
    ASSERT_TRUE(waitFor([&] { return log() == "6  key founded!"; }, 10000));
    EXPECT_TRUE(showsPage("1/1", 6));
}

TEST_F(KeyQueryTest, ThePatternFieldsPlaceholderIsReadableOnItsDarkBackground)
{
    QPlainTextEdit *field = screen->queryTextView();
    ASSERT_FALSE(field->placeholderText().isEmpty());
    const QPalette palette = field->palette();
    const double ratio =
        TestSupport::contrastRatio(palette.color(QPalette::PlaceholderText), palette.color(QPalette::Base));
    EXPECT_GE(ratio, 4.5) << "contrast " << ratio << ":1";
    EXPECT_LT(ratio, TestSupport::contrastRatio(palette.color(QPalette::Text), palette.color(QPalette::Base)))
        << "still told apart from typed text";
}

} // namespace

#include "ProbeTestHelpers.h"

#include <kestrune/AppNotifications.h>
#include <kestrune/exchange/KeyBrowserExchange.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>

#include <pavisade/forms/FormControls.h>
#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/panels/XXXProgressIndicatorPanel.h>

#include <corbelan/services/FilePanel.h>
#include <corbelan/services/XXXPageManager.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/NotificationCenter.h>

#include "support/AwkwardKeys.h"
#include "support/TempDir.h"

#include <QtCore/QFile>
#include <QtTest/QTest>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QTableView>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace ProbeTest;

namespace {

// Answers every open and save panel with the path it holds.
class FixedPathPanel : public Corbelan::FilePanel
{
public:
    std::optional<QStringList> runOpenPanel(const Corbelan::OpenPanelOptions &) override
    {
        return QStringList{path};
    }
    std::optional<QString> runSavePanel(const Corbelan::SavePanelOptions &) override { return path; }
    QString path;
};

// Bytes that clients sent to the server on the port and that it has not read yet: with
// the server paused, a request of the application is on its way.
qint64 unreadAtServer(int port)
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return -1;
    qint64 unread = 0;
    table.readLine(); // the column titles
    while (!table.atEnd()) {
        const QList<QByteArray> fields = table.readLine().simplified().split(' ');
        if (fields.size() < 5 || fields.at(1).split(':').value(1).toInt(nullptr, 16) != port)
            continue;
        unread += fields.at(4).split(':').value(1).toLongLong(nullptr, 16);
    }
    return unread;
}

// Lets a paused server go on when the test ends, also after a failed assertion.
struct ResumeServer
{
    ~ResumeServer() { server().resume(); }
};

class KeyBrowserTest : public ProbeFixture
{
protected:
    void SetUp() override
    {
        ProbeFixture::SetUp();
        browser = std::make_unique<DerazKeysBrowseViewController>();
        browser->view();
        browser->resize(1000, 600);
        browser->show();
        tester = std::make_unique<QAbstractItemModelTester>(
            browser->dataDelegate(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    void TearDown() override
    {
        tester.reset();
        browser.reset();
        ProbeFixture::TearDown();
    }

    // Waits until the table shows the label's page.
    bool showsPage(const QString &pages, qsizetype rows)
    {
        return waitFor([&] {
            return label(browser.get(), "pages") == pages && browser->dataDelegate()->itemCount() == rows;
        });
    }

    void click(qint64 tag)
    {
        QAbstractButton *button = toolButton(browser.get(), tag);
        ASSERT_TRUE(button) << "no button with tag " << tag;
        button->click();
    }

    std::unique_ptr<DerazKeysBrowseViewController> browser;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(KeyBrowserTest, ToolbarButtonsTellWhatTheyDoInTheShippedTexts)
{
    const struct
    {
        qint64 tag;
        QString tip;
    } cases[] = {{1, "Add a key"},
                 {2, "Remove the selected keys"},
                 {4, "Add sample keys"},
                 {5, "Import commands from a file"},
                 {6, "Export the keys to a file"},
                 {7, "Remove all keys"},
                 {8, "Reload"},
                 {9, "First page"},
                 {10, "Previous page"},
                 {11, "Next page"},
                 {12, "Last page"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tag);
        QAbstractButton *button = toolButton(browser.get(), c.tag);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->toolTip(), c.tip);
    }
}

TEST_F(KeyBrowserTest, PagesThroughTwoHundredFiftyKeysAHundredAtATime)
{
    fillKeys("key:", 250);
    // Nothing is connected yet: no pages, and paging does nothing.
    EXPECT_EQ(label(browser.get(), "pages"), "0/0");
    click(11);
    EXPECT_EQ(browser->dataDelegate()->itemCount(), 0);

    const auto db = connect();
    ASSERT_TRUE(db);
    const QByteArrayList all = db->keys().toList();
    ASSERT_EQ(all.size(), 250);

    ASSERT_TRUE(showsPage("1/3", 100));
    EXPECT_EQ(shownKeys(browser.get()), all.mid(0, 100));

    click(11);
    ASSERT_TRUE(showsPage("2/3", 100));
    EXPECT_EQ(shownKeys(browser.get()), all.mid(100, 100));

    click(12);
    ASSERT_TRUE(showsPage("3/3", 50));
    EXPECT_EQ(shownKeys(browser.get()), all.mid(200));
    click(11); // already on the last page
    ASSERT_TRUE(settled());
    EXPECT_EQ(label(browser.get(), "pages"), "3/3");

    click(10);
    ASSERT_TRUE(showsPage("2/3", 100));
    click(9);
    ASSERT_TRUE(showsPage("1/3", 100));
    EXPECT_EQ(shownKeys(browser.get()), all.mid(0, 100));

    // Rows carry the record: the value, type, size and time to live columns.
    const QAbstractItemModel *model = browser->dataDelegate();
    EXPECT_EQ(model->index(0, 1).data().toString(), "v");
    EXPECT_EQ(model->index(0, 2).data().toString(), "String");
    EXPECT_EQ(model->index(0, 4).data().toLongLong(), -1);

    // A page size of 0 or below gives pages of 20.
    AppPreference::sharedPreference()->setPageSize(0);
    state()->dataStoreConnectCompletion();
    ASSERT_TRUE(showsPage("1/13", 20));
}

TEST_F(KeyBrowserTest, AnotherDatabaseStartsAtItsOwnFirstPage)
{
    fillKeys("big:", 250);
    fillKeys("small:", 30, 1);
    const auto db0 = connect(0);
    ASSERT_TRUE(showsPage("1/3", 100));
    click(12);
    ASSERT_TRUE(showsPage("3/3", 50));

    // The key tree selects DB1: the third page of DB0 means nothing there.
    select(1);
    state()->dataStoreDerazDBChanged(nodeURL(1));
    ASSERT_TRUE(showsPage("1/1", 30));
    const auto db1 = SimpleDBStateManager::sharedInstance().currentDatabase();
    EXPECT_EQ(shownKeys(browser.get()), db1->keys().toList());

    select(0);
    state()->dataStoreDerazDBChanged(nodeURL(0));
    ASSERT_TRUE(showsPage("1/3", 100));
    EXPECT_EQ(shownKeys(browser.get()), db0->keys().toList().mid(0, 100));
}

// The range asked of the data layer stays inside the key source, whatever geometry the
// page manager holds.
TEST_F(KeyBrowserTest, PageRangeNeverReachesPastTheKeys)
{
    struct Case
    {
        const char *what;
        qint64 geometryRows; // -1: no page manager
        qint64 page;
        qsizetype keys;
        qint64 from, length;
    } cases[] = {
        {"no geometry", -1, 0, 250, 0, 0},
        {"first page", 250, 0, 250, 0, 100},
        {"last page", 250, 2, 250, 200, 50},
        {"last page of a longer list", 250, 2, 30, 30, 0},
        {"middle page cut by a shorter list", 250, 1, 150, 100, 50},
        {"no pages: the whole list", 0, 0, 40, 0, 40},
    };
    for (const Case &c : cases) {
        XXXPageManager manager(browser.get());
        if (c.geometryRows >= 0) {
            manager.setPageSize(100);
            manager.setTotalRowNum(c.geometryRows);
            manager.computeNumberOfPages();
            manager.setCurrentPageIndex(c.page);
            browser->setPageManager(&manager);
        } else {
            browser->setPageManager(nullptr);
        }
        const Bastwick::IndexSet range = browser->currentPageIndexes(c.keys);
        EXPECT_EQ(range.count(), c.length) << c.what;
        if (c.length > 0)
            EXPECT_EQ(range.firstIndex(), c.from) << c.what;
        browser->setPageManager(nullptr);
    }
}

// A server that stopped answering costs one reply time limit: looking at another tab and
// back does not queue a second read of the same page behind the first, and the first
// read's failure shows as soon as it comes.
TEST_F(KeyBrowserTest, AStalledPageReadIsNotQueuedAgainAndItsFailureShows)
{
    fillKeys("key:", 5);
    const auto db = connect();
    ASSERT_TRUE(showsPage("1/1", 5));
    const auto connection = db->derazConnection();
    ASSERT_TRUE(connection);
    // Reads give up after one second instead of one minute, also on a new connect.
    connection->setReplyTimeLimitMs(1000);
    connection->queue()->sync([&] { connection->deraz()->setReplyTimeLimitMs(1000); });

    ResumeServer resume;
    server().pause();
    click(8);
    ASSERT_TRUE(browser->progressIndicator()->isVisible());
    // A marker behind the first read: it comes round right after that read's outcome.
    auto firstReadDone = std::make_shared<std::atomic_bool>(false);
    connection->queue()->async(
        [firstReadDone] { Bastwick::mainQueue()->async([firstReadDone] { *firstReadDone = true; }); });
    // The Query tab, then Browse again.
    browser->dataProbeTabIndexChanged(state().get(), nodeURL(0), 1);
    browser->dataProbeTabIndexChanged(state().get(), nodeURL(0), 0);

    ASSERT_TRUE(waitFor([&] { return firstReadDone->load(); }, 30000));
    ASSERT_EQ(openAlerts().size(), 1) << "the first read's failure is not dropped";
    EXPECT_TRUE(openAlerts().first()->informativeText().contains("time limit of 1 s"))
        << qPrintable(openAlerts().first()->informativeText());
    EXPECT_FALSE(browser->progressIndicator()->isVisible());

    // Nothing else was waiting behind it.
    ASSERT_TRUE(TestSupport::waitForQueue(*connection->queue(), 30000));
    EXPECT_EQ(openAlerts().size(), 1);
    EXPECT_FALSE(browser->progressIndicator()->isVisible());
    closeAlerts();
}

// Paging on while a page is being read: the answer of the older read, which comes while
// the newer one is still on its way, is never shown; the newer page is.
TEST_F(KeyBrowserTest, APageAnswerThatComesAfterANewerReadStartedIsNotShown)
{
    fillKeys("key:", 250);
    const auto db = connect();
    ASSERT_TRUE(showsPage("1/3", 100));
    const QByteArrayList all = db->keys().toList();
    const QSet<QByteArray> secondPage(all.begin() + 100, all.begin() + 200);

    // Every state the table passes through.
    bool secondPageShown = false;
    const auto look = [&] {
        for (const QByteArray &key : shownKeys(browser.get()))
            secondPageShown = secondPageShown || secondPage.contains(key);
    };
    QAbstractItemModel *model = browser->dataDelegate();
    QObject::connect(model, &QAbstractItemModel::modelReset, browser.get(), look);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, browser.get(), look);
    QObject::connect(model, &QAbstractItemModel::dataChanged, browser.get(), look);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, browser.get(), look);

    // Both clicks come before any answer can: the second page's answer comes after the
    // third page's read started.
    click(11);
    click(11);
    ASSERT_TRUE(showsPage("3/3", 50));
    ASSERT_TRUE(TestSupport::waitForQueue(*db->derazConnection()->queue()));
    EXPECT_FALSE(secondPageShown) << "the second page's late answer was shown";
    EXPECT_EQ(shownKeys(browser.get()), all.mid(200));
    EXPECT_FALSE(browser->progressIndicator()->isVisible());
    EXPECT_TRUE(openAlerts().isEmpty());
}

// Closing the connection is the user's doing: no error, an empty table and no pages,
// whether or not a page was being read at that moment.
TEST_F(KeyBrowserTest, ClosingTheConnectionShowsNoErrorAndNoPages)
{
    for (const bool readUnderWay : {false, true}) {
        SCOPED_TRACE(readUnderWay ? "a page read under way" : "no read under way");
        fillKeys("key:", 5);
        const auto db = connect();
        ASSERT_TRUE(showsPage("1/1", 5));
        const auto connection = db->derazConnection();
        ResumeServer resume;
        if (readUnderWay) {
            server().pause();
            click(8);
            ASSERT_TRUE(browser->progressIndicator()->isVisible());
            ASSERT_TRUE(waitFor([] { return unreadAtServer(server().port()) > 0; }))
                << "the page read reached the server";
        }
        // What the key tree does when the user closes the connection of the current
        // database.
        DataStoreBO::sharedInstance().closeDataStoreByConnIDs({m_profile->connID()});
        state()->setCurrentNodeURL(QString());
        state()->dataStoreDerazDBChanged(QString());
        ASSERT_TRUE(TestSupport::waitForQueue(*connection->queue()));
        EXPECT_TRUE(waitFor([&] { return label(browser.get(), "pages") == "0/0"; }));
        ASSERT_TRUE(TestSupport::waitForMainQueue());
        EXPECT_TRUE(openAlerts().isEmpty())
            << qPrintable(openAlerts().isEmpty() ? QString() : openAlerts().first()->informativeText());
        EXPECT_EQ(browser->dataDelegate()->itemCount(), 0);
        EXPECT_EQ(label(browser.get(), "pages"), "0/0");
        EXPECT_FALSE(browser->progressIndicator()->isVisible());
        closeAlerts();
        m_profile.reset();
    }
}

// Every column shows its whole title and the whole values of the page, and all of them
// lie inside the screen, down to the width the browser has in the default window.
TEST_F(KeyBrowserTest, EveryColumnFitsItsTitleAndValuesInsideTheScreen)
{
    server().command({"SET", "big", QByteArray(5 * 1024 * 1024, 'x')});
    server().command({"SET", "later", "v", "EX", "31536000"});
    server().command({"ZADD", "scores", "1", "m"});
    connect();
    ASSERT_TRUE(showsPage("1/1", 3));
    QTableView *table = browser->tableView();
    QHeaderView *header = table->horizontalHeader();
    const auto *cells = static_cast<const QAbstractItemView *>(table);
    for (const int width : {600, 700, 1000}) {
        SCOPED_TRACE(width);
        browser->resize(width, 600);
        ASSERT_TRUE(TestSupport::waitForPostedEvents());
        int right = 0;
        for (int column = 0; column < header->count(); ++column) {
            const QString title = browser->dataDelegate()->headerData(column, Qt::Horizontal).toString();
            EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << qPrintable(title);
            if (column >= 2) // the key and the value are cut to their columns by design
                EXPECT_GE(header->sectionSize(column), cells->sizeHintForColumn(column)) << qPrintable(title);
            right = qMax(right, header->sectionViewportPosition(column) + header->sectionSize(column));
        }
        EXPECT_LE(right, table->viewport()->width()) << "the last column ends inside the table";
    }
}

// What an import or export did is read whole: a long message wraps instead of losing its
// middle, and it sits inside the screen between the table and the toolbar.
TEST_F(KeyBrowserTest, AnExchangeMessageIsShownWholeAtTheDefaultWidth)
{
    const QString message =
        QStringLiteral("a-rather-long-file-name-of-commands.txt holds no commands: nothing "
                       "was imported");
    for (const int width : {700, 400}) {
        SCOPED_TRACE(width);
        browser->resize(width, 600);
        emit browser->exchange()->exportInfoChanged(message);
        ASSERT_TRUE(TestSupport::waitForPostedEvents());
        QLabel *shown = nullptr;
        for (QLabel *label : browser->findChildren<QLabel *>()) {
            if (label->isVisible() && label->text().contains(QStringLiteral("nothing")))
                shown = label;
        }
        ASSERT_TRUE(shown) << "the message is on the screen";
        EXPECT_EQ(shown->text(), message) << "the whole text, nothing cut out";
        const QRect area =
            shown->geometry().translated(shown->parentWidget()->mapTo(browser.get(), QPoint()));
        EXPECT_TRUE(browser->rect().contains(area));
        EXPECT_GE(area.width() * area.height(),
                  shown->fontMetrics().boundingRect(message).width() * shown->fontMetrics().height())
            << "the label has room for all of its text";
        EXPECT_LE(browser->tableView()->geometry().bottom(), area.top()) << "the table ends above it";
        EXPECT_LE(area.bottom(), browser->toolBarView()->mapTo(browser.get(), QPoint()).y())
            << "the toolbar starts below it";
    }
}

TEST_F(KeyBrowserTest, RemovalIsAskedOfTheKeyTreeOnlyAfterConfirmation)
{
    fillKeys("key:", 5);
    const auto db = connect();
    ASSERT_TRUE(showsPage("1/1", 5));

    QObject context;
    QList<QVariant> removed, emptied;
    auto &center = Bastwick::NotificationCenter::defaultCenter();
    center.addObserver(&context, kDerazRemoveKeyMsg, [&](const auto &n) { removed.append(n.object); });
    center.addObserver(&context, kDerazRemoveAllKeyInDBMsg, [&](const auto &n) { emptied.append(n.object); });

    // No selection: a warning, nothing asked.
    click(2);
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(openAlerts().first()->informativeText(), "Select the keys to remove first.");
    closeAlerts();

    QTableView *table = browser->tableView();
    table->selectionModel()->select(browser->dataDelegate()->index(3, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table->selectionModel()->select(browser->dataDelegate()->index(1, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QByteArrayList expected{shownKeys(browser.get()).at(1), shownKeys(browser.get()).at(3)};

    click(2);
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(openAlerts().first()->informativeText(),
              QStringLiteral("Remove the keys %1? This cannot be undone.")
                  .arg(QString::fromUtf8(expected.at(0) + ',' + expected.at(1))));
    ASSERT_TRUE(answerAlert("Cancel"));
    EXPECT_TRUE(removed.isEmpty());
    click(2);
    ASSERT_TRUE(answerAlert("Ok"));
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed.first().value<QByteArrayList>(), expected);
    EXPECT_EQ(browser->dataDelegate()->itemCount(), 5) << "the browser's rows wait for the key tree";

    click(7);
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(openAlerts().first()->informativeText(), "Remove every key of DB0 from the server?");
    ASSERT_TRUE(answerAlert("Ok"));
    ASSERT_EQ(emptied.size(), 1);
    EXPECT_EQ(emptied.first().toString(), nodeURL(0));
}

TEST_F(KeyBrowserTest, KeysAndValuesThatAreNotPlainTextShowTheirBytesAsEscapes)
{
    // Each key holds its own name as its value.
    for (const TestSupport::AwkwardKey &key : TestSupport::awkwardKeys())
        server().command({"SET", key.bytes, key.bytes});
    const qsizetype count = TestSupport::awkwardKeys().size();
    ASSERT_TRUE(connect());
    ASSERT_TRUE(showsPage("1/1", count));

    const QByteArrayList rows = shownKeys(browser.get());
    DerazKeysBrowseViewDataDelegate *model = browser->dataDelegate();
    QTableView *table = browser->tableView();
    QStringList shown;
    for (const TestSupport::AwkwardKey &key : TestSupport::awkwardKeys()) {
        const int row = int(rows.indexOf(key.bytes));
        ASSERT_GE(row, 0) << qPrintable(key.shown);
        EXPECT_EQ(model->index(row, 0).data().toString(), key.shown) << "Key column";
        EXPECT_EQ(model->index(row, 1).data().toString(), key.shown) << "Value column";
        table->selectionModel()->select(model->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        shown.append(key.shown);
    }

    // The question names the selected keys in the same form, in selection (row) order.
    click(2);
    ASSERT_EQ(openAlerts().size(), 1);
    const QString question = openAlerts().first()->informativeText();
    for (const QString &name : shown)
        EXPECT_TRUE(question.contains(name)) << qPrintable(name) << " missing in " << qPrintable(question);
    EXPECT_FALSE(question.contains(QChar(0xFFFD))) << qPrintable(question);
    ASSERT_TRUE(answerAlert("Cancel"));
}

TEST_F(KeyBrowserTest, ExportAndImportButtonsReachTheExchange)
{
    TestSupport::TempDir dir;
    auto panel = std::make_shared<FixedPathPanel>();
    Corbelan::FilePanel::setShared(panel);
    QStringList revealed;
    browser->setFileRevealer([&](const QString &path) { revealed.append(path); });

    // Keys on the server, but no connection has built pages yet.
    fillKeys("key:", 3);
    click(6);
    ASSERT_EQ(openAlerts().size(), 1);
    EXPECT_EQ(openAlerts().first()->informativeText(), "There are no keys to export.");
    closeAlerts();

    const auto db = connect();
    ASSERT_TRUE(showsPage("1/1", 3));
    click(6);
    ASSERT_TRUE(waitFor([&] { return browser->exportMenu()->isVisible(); }));
    browser->exportMenu()->hide();

    // Command text (tag 1) to the chosen file; the info label tells where it went.
    panel->path = dir.path("keys.txt");
    browser->exchange()->exportDataMenuItemClick(1);
    ASSERT_TRUE(waitFor([&] { return !revealed.isEmpty(); }, 20000));
    EXPECT_EQ(revealed, QStringList{panel->path});
    ASSERT_TRUE(browser->exchangeMessageLabel());
    EXPECT_TRUE(browser->exchangeMessageLabel()->text().contains("keys.txt"));
    QFile exported(panel->path);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll().count("SET"), 3);

    // Import a command file: its keys arrive and the key tree is told.
    panel->path = dir.path("in.txt");
    QFile in(panel->path);
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write("SET imported:1 a\n\nSET imported:2 b\n");
    in.close();
    QObject context;
    int imported = 0;
    Bastwick::NotificationCenter::defaultCenter().addObserver(&context, kDBImportDataNotify,
                                                              [&](const auto &) { ++imported; });
    click(5);
    ASSERT_TRUE(waitFor([&] { return imported == 1; }, 20000));
    EXPECT_EQ(server().command({"GET", "imported:1"}), "$1\r\na\r\n");
    EXPECT_EQ(server().command({"GET", "imported:2"}), "$1\r\nb\r\n");
    Corbelan::FilePanel::setShared(nullptr);
}

// Holds the import between its two passes (on the connection's queue) until the test
// lets it go on, so that what the test does happens while the import runs.
class ImportGate
{
public:
    ImportGate()
    {
        DerazDatabase::setImportBetweenPassesHook([this](const QString &) {
            std::unique_lock lock(m_mutex);
            m_reached = true;
            m_changed.notify_all();
            m_changed.wait_for(lock, std::chrono::seconds(60), [this] { return m_open; });
            m_reached = false;
            m_open = false;
        });
    }
    ~ImportGate()
    {
        open();
        DerazDatabase::setImportBetweenPassesHook({});
    }
    bool reached()
    {
        std::lock_guard lock(m_mutex);
        return m_reached;
    }
    void open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_reached = false;
    bool m_open = false;
};

// The import's panel has a Cancel, and the rest of the window takes no input while it
// runs; yet a request to close the window is not lost: it asks what to do. Cancelling
// (from the panel, or by choosing to close) stops the import before its EXEC, so
// nothing of the file is applied; the Cancel says so, the close closes the window once
// the import has ended. Keeping the import lets it finish with the window open.
TEST_F(KeyBrowserTest, AnImportCanBeCancelledAndTheWindowClosedMeanwhile)
{
    TestSupport::TempDir dir;
    const QString path = dir.path("keys.txt");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 30000; ++i)
            f.write("SET k" + QByteArray::number(i) + " v\n");
    }
    connect();
    ASSERT_TRUE(settled());
    QObject context;
    int imported = 0;
    Bastwick::NotificationCenter::defaultCenter().addObserver(&context, kDBImportDataNotify,
                                                              [&](const auto &) { ++imported; });
    enum Action { CancelButton, CloseKeepImporting, CloseCancelAndClose };
    const struct
    {
        const char *name;
        Action action;
        bool windowOpen;
        const char *dbSize;
    } cases[] = {
        {"Cancel on the panel", CancelButton, true, ":0\r\n"},
        {"close, keep importing", CloseKeepImporting, true, ":30000\r\n"},
        {"close, cancel the import and close", CloseCancelAndClose, false, ":0\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server().flushAll();
        QMainWindow window;
        auto *button = new QPushButton("Elsewhere", &window);
        window.setCentralWidget(button);
        int pressed = 0;
        QObject::connect(button, &QPushButton::clicked, [&] { ++pressed; });
        window.resize(800, 500);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        browser->setParentWindow(&window);
        XXXProgressIndicatorPanel *panel = browser->progressIndicatorPanel();
        QPushButton *cancel = panel->cancelButton();
        const int before = imported;
        ImportGate gate;

        browser->exchange()->importDataFromFile(path);
        ASSERT_TRUE(waitFor([&] { return gate.reached(); }, 20000));
        ASSERT_TRUE(panel->isVisible());
        EXPECT_TRUE(cancel->isVisible() && cancel->isEnabled());
        EXPECT_FALSE(panel->progressBarIndicator()->isHidden());
        // Not modal to the window system, which would swallow a request to close the
        // window; the window's own controls take no input all the same.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(pressed, 0);

        if (c.action == CancelButton) {
            QTest::mouseClick(cancel, Qt::LeftButton);
            EXPECT_FALSE(cancel->isEnabled());
            EXPECT_TRUE(panel->indicatorInfoLabel()->text().contains("Cancelling"));
        } else {
            EXPECT_FALSE(window.close());
            ASSERT_TRUE(window.isVisible());
            ASSERT_EQ(openAlerts().size(), 1);
            EXPECT_TRUE(
                openAlerts().first()->informativeText().contains("Nothing of the file will be applied"));
            ASSERT_TRUE(
                answerAlert(c.action == CloseKeepImporting ? "Keep Importing" : "Cancel Import and Close"));
        }
        gate.open();
        ASSERT_TRUE(waitFor([&] { return imported == before + 1; }, 30000));
        ASSERT_TRUE(TestSupport::waitForMainQueue());
        EXPECT_FALSE(panel->isVisible());
        EXPECT_EQ(server().command({"DBSIZE"}), c.dbSize);
        EXPECT_TRUE(waitFor([&] { return window.isVisible() == c.windowOpen; }));
        if (c.action == CancelButton) {
            ASSERT_EQ(openAlerts().size(), 1);
            EXPECT_EQ(openAlerts().first()->informativeText(),
                      "The import of keys.txt was cancelled: nothing of it was applied.");
        } else {
            EXPECT_TRUE(openAlerts().isEmpty());
        }
        closeAlerts();
        // The window takes input again once the import has ended.
        if (window.isVisible()) {
            QTest::mouseClick(button, Qt::LeftButton);
            EXPECT_EQ(pressed, 1);
        }
        browser->setParentWindow(nullptr);
    }
}

} // namespace

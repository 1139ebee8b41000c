#include "StateTestHelpers.h"

#include <kestrune/data/DataClasses.h>
#include <kestrune/data/records/DerazKV.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBImageCache.h>
#include <kestrune/data/state/SimpleDBState.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/SerialQueue.h>

#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <QtCore/QMutex>
#include <QtCore/QThread>

#include <functional>

namespace {

static TestSupport::SetupHook registerClasses([] { Kestrune::registerDataClasses(); });

// One callback as a delegate heard it.
struct Heard
{
    QString message;
    const void *state = nullptr;
    QString nodeURL;
    QString extra; // further arguments, as text
    bool onMainThread = false;
    bool onOwnQueue = false;
};

// A delegate that records every callback of the protocol.
class Recorder : public QObject, public SimpleDBStateDelegate
{
    Q_OBJECT

public:
    explicit Recorder(const Bastwick::DispatchQueue *queue = nullptr)
        : m_queue(queue)
    {
    }

    QList<Heard> heard() const
    {
        QMutexLocker locker(&m_mutex);
        return m_heard;
    }
    qsizetype count() const { return heard().size(); }

    void dataStoreAddSchema(SimpleDBState *s, const QString &u) override { note("dataStoreAddSchema", s, u); }
    void dataStoreRemoveSchema(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreRemoveSchema", s, u);
    }
    void dataStoreSchemaUnitChanged(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreSchemaUnitChanged", s, u);
    }
    void dataStoreAddUnit(SimpleDBState *s, const QString &u) override { note("dataStoreAddUnit", s, u); }
    void dataStoreRemoveUnit(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreRemoveUnit", s, u);
    }
    void dataStoreRenameUnit(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreRenameUnit", s, u);
    }
    void dataStoreDuplicateUnit(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreDuplicateUnit", s, u);
    }
    void dataStoreUnitDataChanged(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreUnitDataChanged", s, u);
    }
    void dataStoreUnitInfoChanged(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreUnitInfoChanged", s, u);
    }
    void dataStoreSelectedSchemaChanged(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreSelectedSchemaChanged", s, u);
    }
    void dataStoreUnitNameChanged(SimpleDBState *s, const QString &o, const QString &n) override
    {
        note("dataStoreUnitNameChanged", s, o, n);
    }
    void dataStoreUnitSchemaChanged(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreUnitSchemaChanged", s, u);
    }
    void dataStoreAddUnitIndex(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreAddUnitIndex", s, u);
    }
    void dataStoreRemoveUnitUndex(SimpleDBState *s, const QString &u) override
    {
        note("dataStoreRemoveUnitUndex", s, u);
    }
    void dataStoreConnectCompletion(SimpleDBState *s) override
    {
        note("dataStoreConnectCompletion", s, QString());
    }
    void dataStoreSelectedUnitChanged(SimpleDBViewState *s, const QString &u) override
    {
        note("dataStoreSelectedUnitChanged", s, u);
    }
    void dataStoreGraphSelectionIndexesChanged(SimpleDBViewState *s, const QString &u,
                                               const Bastwick::IndexSet &indexes) override
    {
        QStringList items;
        for (qint64 i : indexes)
            items.append(QString::number(i));
        note("dataStoreGraphSelectionIndexesChanged", s, u, items.join(QLatin1Char(',')));
    }
    void dataProbeTabIndexChanged(SimpleDBViewState *s, const QString &u, int index) override
    {
        note("dataProbeTabIndexChanged", s, u, QString::number(index));
    }
    void dataStoreDerazKeyChanged(SimpleDBViewState *s, const QString &u, const QByteArray &key) override
    {
        note("dataStoreDerazKeyChanged", s, u, QString::fromLatin1(key.toHex()));
    }
    void dataStoreDerazKVChanged(SimpleDBViewState *s, const QString &u, const QVariantList &kvs) override
    {
        QStringList items;
        for (const QVariant &kv : kvs)
            items.append(QString::fromLatin1(kv.value<DerazKV>().key()));
        note("dataStoreDerazKVChanged", s, u, items.join(QLatin1Char(',')));
    }
    void dataStoreDerazKeyRemoved(SimpleDBViewState *s, const QString &u, const QByteArrayList &keys) override
    {
        note("dataStoreDerazKeyRemoved", s, u, QString::fromLatin1(keys.join(',').toHex()));
    }
    void dataStoreDerazDBChanged(SimpleDBViewState *s, const QString &u) override
    {
        note("dataStoreDerazDBChanged", s, u);
    }

private:
    void note(const char *message, const void *state, const QString &url, const QString &extra = QString(),
              const QString &more = QString())
    {
        Heard h;
        h.message = QString::fromLatin1(message);
        h.state = state;
        h.nodeURL = url;
        h.extra = more.isNull() ? extra : extra + QLatin1Char('|') + more;
        h.onMainThread = Bastwick::isMainThread();
        h.onOwnQueue = m_queue ? m_queue->isCurrent() : h.onMainThread;
        QMutexLocker locker(&m_mutex);
        m_heard.append(h);
    }

    const Bastwick::DispatchQueue *m_queue;
    mutable QMutex m_mutex;
    QList<Heard> m_heard;
};

// A delegate that implements only the records-changed message.
class RecordsOnly : public QObject, public SimpleDBStateDelegate
{
    Q_OBJECT

public:
    int calls = 0;
    void dataStoreDerazKVChanged(SimpleDBViewState *, const QString &, const QVariantList &) override
    {
        ++calls;
    }
};

QVariantList records(std::initializer_list<const char *> keys)
{
    QVariantList out;
    for (const char *k : keys) {
        DerazKV kv;
        kv.setKey(QByteArray(k));
        out.append(QVariant::fromValue(kv));
    }
    return out;
}

class ViewStateEvents : public ::testing::Test
{
protected:
    ViewStateEvents()
    {
        state.addDelegate<SimpleDBStateDelegate>(&recorder, Bastwick::mainQueue());
        state.deactivate(); // the addition has run
    }

    // Announces and checks the one callback it must send (or that it sends none).
    void expectCallback(const std::function<void()> &announce, const QString &message, const QString &nodeURL,
                        const QString &extra = QString())
    {
        const qsizetype before = recorder.count();
        announce();
        // Delivered asynchronously: nothing has run when the announcement returns.
        EXPECT_EQ(recorder.count(), before);
        if (message.isEmpty()) {
            // Any delivery would have come round by the time a marker behind it has.
            ASSERT_TRUE(TestSupport::waitForQueue(*state.moduleQueue()));
            EXPECT_EQ(recorder.count(), before);
            return;
        }
        ASSERT_TRUE(waitFor([&] { return recorder.count() > before; }));
        ASSERT_TRUE(TestSupport::waitForQueue(*state.moduleQueue())); // and a second one too
        const QList<Heard> heard = recorder.heard();
        ASSERT_EQ(heard.size(), before + 1) << "one callback per announcement";
        const Heard &h = heard.last();
        EXPECT_EQ(h.message, message);
        EXPECT_EQ(h.state, static_cast<const void *>(&state));
        EXPECT_EQ(h.nodeURL.isNull(), nodeURL.isNull());
        EXPECT_EQ(h.nodeURL, nodeURL);
        EXPECT_EQ(h.extra, extra);
        EXPECT_TRUE(h.onMainThread);
    }

    StateTest::Preferences prefs;
    DataStoreBO registry{&prefs.preference};
    SimpleDBViewState state{&registry};
    Recorder recorder;
};

TEST_F(ViewStateEvents, EachEventSendsItsCallbackAndKeepsOrReplacesTheCurrentNode)
{
    struct Case
    {
        const char *message;
        std::function<void(SimpleDBViewState &, const QString &)> announce;
        bool storesCurrent;
    };
    using S = SimpleDBViewState;
    const Case cases[] = {
        {"dataStoreAddSchema", [](S &s, const QString &u) { s.dataStoreAddSchema(u); }, true},
        {"dataStoreRemoveSchema", [](S &s, const QString &u) { s.dataStoreRemoveSchema(u); }, true},
        {"dataStoreSchemaUnitChanged", [](S &s, const QString &u) { s.dataStoreSchemaUnitChanged(u); }, true},
        {"dataStoreAddUnit", [](S &s, const QString &u) { s.dataStoreAddUnit(u); }, true},
        {"dataStoreRemoveUnit", [](S &s, const QString &u) { s.dataStoreRemoveUnit(u); }, false},
        {"dataStoreRenameUnit", [](S &s, const QString &u) { s.dataStoreRenameUnit(u); }, false},
        {"dataStoreDuplicateUnit", [](S &s, const QString &u) { s.dataStoreDuplicateUnit(u); }, false},
        {"dataStoreUnitDataChanged", [](S &s, const QString &u) { s.dataStoreUnitDataChanged(u); }, true},
        {"dataStoreUnitInfoChanged", [](S &s, const QString &u) { s.dataStoreUnitInfoChanged(u); }, true},
        {"dataStoreSelectedSchemaChanged",
         [](S &s, const QString &u) { s.dataStoreSelectedSchemaChanged(u); }, true},
        {"dataStoreUnitSchemaChanged", [](S &s, const QString &u) { s.dataStoreUnitSchemaChanged(u); }, true},
        {"dataStoreAddUnitIndex", [](S &s, const QString &u) { s.dataStoreAddUnitIndex(u); }, true},
        {"dataStoreRemoveUnitUndex", [](S &s, const QString &u) { s.dataStoreRemoveUnitUndex(u); }, true},
        {"dataStoreSelectedUnitChanged", [](S &s, const QString &u) { s.dataStoreSelectedUnitChanged(u); },
         true},
        {"dataStoreDerazDBChanged", [](S &s, const QString &u) { s.dataStoreDerazDBChanged(u); }, false},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        const QString before = QStringLiteral("1/DB0/before");
        ++n;
        const QString url = QStringLiteral("3/DB%1/k/%2").arg(n).arg(n);
        state.setCurrentNodeURL(before);
        expectCallback([&] { c.announce(state, url); }, QString::fromLatin1(c.message), url);
        EXPECT_EQ(state.currentNodeURL(), c.storesCurrent ? url : before);
    }

    // Renaming passes both URLs and leaves the new one current.
    expectCallback(
        [&] { state.dataStoreUnitNameChanged(QStringLiteral("1/DB0/old"), QStringLiteral("1/DB0/new")); },
        QStringLiteral("dataStoreUnitNameChanged"), QStringLiteral("1/DB0/old"), QStringLiteral("1/DB0/new"));
    EXPECT_EQ(state.currentNodeURL(), QStringLiteral("1/DB0/new"));

    expectCallback([&] { state.dataStoreConnectCompletion(); }, QStringLiteral("dataStoreConnectCompletion"),
                   QString());
    expectCallback(
        [&] {
            state.dataStoreGraphSelectionIndexesChanged(QStringLiteral("1/DB2"), {3, 4, 9});
        },
        QStringLiteral("dataStoreGraphSelectionIndexesChanged"), QStringLiteral("1/DB2"),
        QStringLiteral("3,4,9"));
    EXPECT_EQ(state.currentNodeURL(), QStringLiteral("1/DB0/new"));
}

TEST_F(ViewStateEvents, KeyEventsCarryTheCurrentNode)
{
    // No current node: the probe tab is recorded and announced to nobody; records and
    // keys go out with an absent node URL.
    expectCallback([&] { state.dataProbeTabIndexChanged(2); }, QString(), QString());
    EXPECT_EQ(state.viewIndex(), 2);
    expectCallback(
        [&] {
            state.dataStoreDerazKVChanged(records({"a", "b"}));
        },
        QStringLiteral("dataStoreDerazKVChanged"), QString(), QStringLiteral("a,b"));

    state.setCurrentNodeURL(QStringLiteral("5/DB1/a/b"));
    const QByteArray rawKey("k\xff/\x00", 4);
    struct Case
    {
        std::function<void()> announce;
        const char *message;
        QString extra;
    };
    const Case cases[] = {
        {[&] { state.dataProbeTabIndexChanged(3); }, "dataProbeTabIndexChanged", "3"},
        {[&] { state.dataStoreDerazKeyChanged(rawKey); }, "dataStoreDerazKeyChanged",
         QString::fromLatin1(rawKey.toHex())},
        {[&] { state.dataStoreDerazKVChanged(records({"x"})); }, "dataStoreDerazKVChanged", "x"},
        {[&] {
             state.dataStoreDerazKeyRemoved({"p", "q"});
         },
         "dataStoreDerazKeyRemoved", QString::fromLatin1(QByteArray("p,q").toHex())},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        expectCallback(c.announce, QString::fromLatin1(c.message), QStringLiteral("5/DB1/a/b"), c.extra);
    }
    EXPECT_EQ(state.viewIndex(), 3);

    // The explicit forms take the node URL given.
    expectCallback([&] { state.dataStoreDerazKeyChanged(QStringLiteral("6/DB2"), QByteArray("z")); },
                   QStringLiteral("dataStoreDerazKeyChanged"), QStringLiteral("6/DB2"), QStringLiteral("7a"));
    expectCallback([&] { state.dataStoreDerazKeyRemoved(QStringLiteral("6/DB2"), {"z"}); },
                   QStringLiteral("dataStoreDerazKeyRemoved"), QStringLiteral("6/DB2"), QStringLiteral("7a"));
    expectCallback([&] { state.dataStoreDerazKVChanged(QStringLiteral("6/DB2"), records({"y"})); },
                   QStringLiteral("dataStoreDerazKVChanged"), QStringLiteral("6/DB2"), QStringLiteral("y"));
    EXPECT_EQ(state.currentNodeURL(), QStringLiteral("5/DB1/a/b"));
}

TEST(SimpleDBViewState, DeliveryPerDelegateQueueOrderAndSkips)
{
    StateTest::Preferences prefs;
    DataStoreBO registry(&prefs.preference);
    SimpleDBViewState state(&registry);

    auto worker = std::make_shared<Bastwick::SerialQueue>(QStringLiteral("test.delegate.queue"));
    Recorder onMain;
    Recorder onWorker(worker.get());
    RecordsOnly recordsOnly;
    auto *doomed = new Recorder;
    auto *dropped = new Recorder;
    state.addDelegate<SimpleDBStateDelegate>(&onMain, Bastwick::mainQueue());
    state.addDelegate<SimpleDBStateDelegate>(&onWorker, worker);
    state.addDelegate<SimpleDBStateDelegate>(&recordsOnly, Bastwick::mainQueue());
    state.addDelegate<SimpleDBStateDelegate>(doomed, Bastwick::mainQueue());
    state.addDelegate<SimpleDBStateDelegate>(dropped, Bastwick::mainQueue());
    state.deactivate();
    EXPECT_EQ(state.multicastDelegate().count(), 5);

    // Every message of the protocol is known as implemented by the recorders, and the
    // records-only delegate responds to its one message alone.
    const char *const protocol[] = {"dataStoreAddSchema",
                                    "dataStoreRemoveSchema",
                                    "dataStoreSchemaUnitChanged",
                                    "dataStoreAddUnit",
                                    "dataStoreRemoveUnit",
                                    "dataStoreRenameUnit",
                                    "dataStoreDuplicateUnit",
                                    "dataStoreUnitDataChanged",
                                    "dataStoreUnitInfoChanged",
                                    "dataStoreSelectedSchemaChanged",
                                    "dataStoreUnitNameChanged",
                                    "dataStoreUnitSchemaChanged",
                                    "dataStoreAddUnitIndex",
                                    "dataStoreRemoveUnitUndex",
                                    "dataStoreConnectCompletion",
                                    "dataStoreSelectedUnitChanged",
                                    "dataStoreGraphSelectionIndexesChanged",
                                    "dataProbeTabIndexChanged",
                                    "dataStoreDerazKeyChanged",
                                    "dataStoreDerazKVChanged",
                                    "dataStoreDerazKeyRemoved",
                                    "dataStoreDerazDBChanged"};
    for (const char *message : protocol) {
        SCOPED_TRACE(message);
        const bool recordsMessage = QByteArray(message) == "dataStoreDerazKVChanged";
        EXPECT_EQ(state.multicastDelegate().countForSelector(message), recordsMessage ? 5 : 4);
    }

    // A delegate that is gone before the announcement is skipped and pruned; one that
    // goes after it, before its delivery runs, is never called.
    delete dropped;
    state.dataStoreSelectedUnitChanged(QStringLiteral("1/DB0/k"));
    EXPECT_EQ(state.multicastDelegate().count(), 4);
    delete doomed;
    state.dataStoreDerazKeyRemoved({"k"});
    state.dataStoreDerazKVChanged(records({"k"}));
    state.dataStoreDerazDBChanged(QStringLiteral("1/DB1"));

    const QStringList expected{"dataStoreSelectedUnitChanged", "dataStoreDerazKeyRemoved",
                               "dataStoreDerazKVChanged", "dataStoreDerazDBChanged"};
    ASSERT_TRUE(
        waitFor([&] { return onMain.count() == 4 && onWorker.count() == 4 && recordsOnly.calls == 1; }));
    ASSERT_TRUE(TestSupport::waitForQueue(*state.moduleQueue()));
    worker->sync([] {}); // and the worker's deliveries
    for (const Recorder *r : {&onMain, &onWorker}) {
        QStringList order;
        for (const Heard &h : r->heard()) {
            order.append(h.message);
            EXPECT_TRUE(h.onOwnQueue) << h.message.toStdString();
        }
        EXPECT_EQ(order, expected);
    }
    EXPECT_FALSE(onWorker.heard().first().onMainThread);
    EXPECT_EQ(recordsOnly.calls, 1); // nothing for the other three messages

    // A removed delegate hears nothing more.
    state.removeDelegate(&onMain);
    state.dataStoreDerazDBChanged(QStringLiteral("1/DB2"));
    ASSERT_TRUE(waitFor([&] { return onWorker.count() == 5; }));
    ASSERT_TRUE(TestSupport::waitForQueue(*state.moduleQueue()));
    EXPECT_EQ(onMain.count(), 4);
    worker.reset();
}

TEST(SimpleDBViewState, AnnouncementsFromAnyThread)
{
    StateTest::Preferences prefs;
    DataStoreBO registry(&prefs.preference);
    SimpleDBViewState state(&registry);
    Recorder recorder;
    state.addDelegate<SimpleDBStateDelegate>(&recorder, Bastwick::mainQueue());
    state.deactivate();

    constexpr int kThreads = 4;
    constexpr int kEach = 50;
    QList<QThread *> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.append(QThread::create([&state, t] {
            for (int i = 0; i < kEach; ++i) {
                const QString url = QStringLiteral("%1/DB%2").arg(t + 1).arg(i % 16);
                state.dataStoreSelectedUnitChanged(url);
                state.dataStoreDerazKeyChanged(QByteArray::number(i));
                (void)state.currentNodeURL();
            }
        }));
        threads.last()->start();
    }
    for (QThread *thread : threads) {
        thread->wait();
        delete thread;
    }
    ASSERT_TRUE(waitFor([&] { return recorder.count() == 2 * kThreads * kEach; }));
    for (const Heard &h : recorder.heard())
        EXPECT_TRUE(h.onMainThread);
    EXPECT_EQ(DataStoreBO::dbNameByURL(state.currentNodeURL()).left(2), QStringLiteral("DB"));
}

TEST(SimpleDBImageCache, NodeImagesAreResourcesOfOurOwn)
{
    SimpleDBImageCache &cache = SimpleDBImageCache::sharedInstance();
    EXPECT_EQ(&cache, &SimpleDBImageCache::sharedInstance());
    const std::pair<const char *, QImage> images[] = {
        {"dbNodeImage", cache.dbNodeImage()},
        {"dbSysNodeImage", cache.dbSysNodeImage()},
        {"tableNodeImage", cache.tableNodeImage()},
        {"tableSysNodeImage", cache.tableSysNodeImage()},
        {"keyImage", cache.keyImage()},
        {"columnImage", cache.columnImage()},
        {"windosTitleImage", cache.windosTitleImage()},
        {"deviceIPhoneImage", cache.deviceIPhoneImage()},
        {"deviceIMacImage", cache.deviceIMacImage()},
        {"deviceIPadImage", cache.deviceIPadImage()},
        {"deviceMacbookImage", cache.deviceMacbookImage()},
    };
    for (const auto &[name, image] : images) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(image.isNull());
    }
    EXPECT_NE(cache.dbNodeImage(), cache.dbSysNodeImage());
    EXPECT_TRUE(SimpleDBImageCache::imageNamed(QStringLiteral("no-such-image")).isNull());
}

} // namespace

#include "SimpleDBViewStateTest.moc"

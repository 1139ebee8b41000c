#include <corbelan/services/XXXMutiDelegateModule.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/SerialQueue.h>

#include "support/WaitFor.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>
#include <QtCore/QStringList>

#include <memory>

namespace {

class Announcer;

// The protocol of the test module: two optional messages.
class AnnouncerDelegate
{
public:
    virtual ~AnnouncerDelegate() = default;
    virtual void keyChanged(Announcer *, const QString &) {}
    virtual void keysRemoved(Announcer *, const QStringList &) {}

    template <class T> static QSet<QByteArray> implementedBy()
    {
        QSet<QByteArray> s;
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, AnnouncerDelegate, keyChanged);
        XXX_COLLECT_DELEGATE_SELECTOR(s, T, AnnouncerDelegate, keysRemoved);
        return s;
    }
};

class Announcer : public XXXMutiDelegateModule
{
    Q_OBJECT
public:
    using XXXMutiDelegateModule::XXXMutiDelegateModule;
    void announceKey(const QString &key)
    {
        multicastDelegate().relay<AnnouncerDelegate>("keyChanged", &AnnouncerDelegate::keyChanged, this, key);
    }
    void announceRemoved(const QStringList &keys)
    {
        multicastDelegate().relay<AnnouncerDelegate>("keysRemoved", &AnnouncerDelegate::keysRemoved, this,
                                                     keys);
    }
};

// Records every message it gets with the queue it ran on.
class Recorder : public QObject, public AnnouncerDelegate
{
    Q_OBJECT
public:
    void keyChanged(Announcer *, const QString &key) override { record(QStringLiteral("key:") + key); }
    void keysRemoved(Announcer *, const QStringList &keys) override
    {
        record(QStringLiteral("removed:") + keys.join(QLatin1Char(',')));
    }

    QStringList messages() const
    {
        QMutexLocker lock(&m_mutex);
        return m_messages;
    }
    QStringList queues() const
    {
        QMutexLocker lock(&m_mutex);
        return m_queues;
    }

private:
    void record(const QString &message)
    {
        const Bastwick::DispatchQueue *current = Bastwick::SerialQueue::current();
        QMutexLocker lock(&m_mutex);
        m_messages.append(message);
        m_queues.append(current ? current->label() : QStringLiteral("none"));
    }
    mutable QMutex m_mutex;
    QStringList m_messages;
    QStringList m_queues;
};

// Implements one message only.
class KeyOnly : public QObject, public AnnouncerDelegate
{
    Q_OBJECT
public:
    void keyChanged(Announcer *, const QString &key) override { keys.append(key); }
    QStringList keys;
};

// Overrides a message its base left alone, and is added through the base.
class KeyAndRemoved : public KeyOnly
{
    Q_OBJECT
public:
    void keysRemoved(Announcer *, const QStringList &k) override { removed.append(k); }
    QStringList removed;
};

// Joins the announcer from its own constructor, before its subclass exists.
class SelfRegistering : public QObject, public AnnouncerDelegate
{
    Q_OBJECT
public:
    explicit SelfRegistering(Announcer &announcer)
    {
        announcer.addDelegate<AnnouncerDelegate>(this, Bastwick::mainQueue());
    }
};

class SelfRegisteringRecorder : public SelfRegistering
{
    Q_OBJECT
public:
    using SelfRegistering::SelfRegistering;
    void keysRemoved(Announcer *, const QStringList &k) override { removed.append(k); }
    QStringList removed;
};

// A delegate that is not a QObject, held through a weak_ptr.
struct SharedRecorder : AnnouncerDelegate
{
    void keysRemoved(Announcer *, const QStringList &keys) override { got.append(keys); }
    QStringList got;
};

template <class Module> void waitForModule(Module &module)
{
    module.deactivate(); // every queued add/remove has run
}

TEST(MulticastDelegate, ModuleQueueIsLabelledWithTheClassName)
{
    Announcer announcer;
    EXPECT_EQ(announcer.moduleName(), QStringLiteral("Announcer"));
    EXPECT_EQ(announcer.moduleQueue()->label(), QStringLiteral("Announcer"));
    auto own = std::make_shared<Bastwick::SerialQueue>(QStringLiteral("given"));
    Announcer given(own);
    EXPECT_EQ(given.moduleQueue(), own.get());
}

TEST(MulticastDelegate, EachDelegateGetsEveryMessageInOrderOnItsOwnQueue)
{
    Announcer announcer;
    Recorder onMain, onSerial;
    auto serial = std::make_shared<Bastwick::SerialQueue>(QStringLiteral("delegate.serial"));
    announcer.addDelegate<AnnouncerDelegate>(&onMain, Bastwick::mainQueue());
    announcer.addDelegate<AnnouncerDelegate>(&onSerial, serial);
    waitForModule(announcer);

    announcer.announceKey(QStringLiteral("a"));
    announcer.announceRemoved({QStringLiteral("b"), QStringLiteral("c")});
    announcer.announceKey(QStringLiteral("d"));
    // Asynchronous: nothing has reached the main-queue delegate before the event loop runs.
    EXPECT_TRUE(onMain.messages().isEmpty());

    const QStringList expected{QStringLiteral("key:a"), QStringLiteral("removed:b,c"),
                               QStringLiteral("key:d")};
    EXPECT_TRUE(waitFor([&] { return onMain.messages().size() == 3 && onSerial.messages().size() == 3; }));
    EXPECT_EQ(onMain.messages(), expected);
    EXPECT_EQ(onSerial.messages(), expected);
    EXPECT_EQ(onMain.queues(), QStringList(3, Bastwick::mainQueue()->label()));
    EXPECT_EQ(onSerial.queues(), QStringList(3, QStringLiteral("delegate.serial")));
}

TEST(MulticastDelegate, ADestroyedDelegateIsSkippedAndPruned)
{
    Announcer announcer;
    Recorder survivor;
    auto doomed = std::make_unique<Recorder>();
    announcer.addDelegate<AnnouncerDelegate>(doomed.get(), Bastwick::mainQueue());
    announcer.addDelegate<AnnouncerDelegate>(&survivor, Bastwick::mainQueue());
    waitForModule(announcer);

    // Gone after the message was relayed, before its delivery ran.
    announcer.announceKey(QStringLiteral("first"));
    doomed.reset();
    EXPECT_TRUE(waitFor([&] { return survivor.messages().size() == 1; }));

    // Gone before the relay: the node still counts until the next relay prunes it.
    auto later = std::make_unique<Recorder>();
    announcer.addDelegate<AnnouncerDelegate>(later.get(), Bastwick::mainQueue());
    waitForModule(announcer);
    later.reset();
    EXPECT_EQ(announcer.multicastDelegate().count(), 3);
    announcer.announceKey(QStringLiteral("second"));
    EXPECT_EQ(announcer.multicastDelegate().count(), 1);
    EXPECT_TRUE(waitFor([&] { return survivor.messages().size() == 2; }));

    // A shared delegate is held weakly too.
    auto shared = std::make_shared<SharedRecorder>();
    announcer.addDelegate<AnnouncerDelegate>(shared, Bastwick::mainQueue());
    waitForModule(announcer);
    announcer.announceRemoved({QStringLiteral("x")});
    EXPECT_TRUE(waitFor([&] { return shared->got.size() == 1; }));
    shared.reset();
    announcer.announceRemoved({QStringLiteral("y")});
    EXPECT_EQ(announcer.multicastDelegate().count(), 1);
}

TEST(MulticastDelegate, OnlyImplementedMessagesAreDelivered)
{
    Announcer announcer;
    KeyOnly keyOnly;
    Recorder everything;
    auto serial = std::make_shared<Bastwick::SerialQueue>(QStringLiteral("keyonly"));
    announcer.addDelegate<AnnouncerDelegate>(&keyOnly, serial);
    announcer.addDelegate<AnnouncerDelegate>(&everything, Bastwick::mainQueue());
    waitForModule(announcer);

    QueueMulticastDelegate &multicast = announcer.multicastDelegate();
    EXPECT_EQ(multicast.countForSelector("keyChanged"), 2);
    EXPECT_EQ(multicast.countForSelector("keysRemoved"), 1);
    EXPECT_EQ(multicast.countForSelector("somethingElse"), 0);
    EXPECT_FALSE(multicast.hasDelegateThatRespondsToSelector("somethingElse"));

    QueueMulticastDelegateEnumerator e = multicast.delegateEnumerator();
    QueueMulticastDelegateNode::Delegate found;
    Bastwick::DispatchQueue *queue = nullptr;
    ASSERT_TRUE(e.getNextDelegate(&found, &queue, "keysRemoved"));
    EXPECT_EQ(found.object, &everything);
    EXPECT_EQ(queue, Bastwick::mainQueue());
    EXPECT_FALSE(e.getNextDelegate(&found, &queue, "keysRemoved"));

    announcer.announceRemoved({QStringLiteral("r")});
    announcer.announceKey(QStringLiteral("k"));
    EXPECT_TRUE(waitFor([&] { return everything.messages().size() == 2; }));
    serial->sync([] {});
    EXPECT_EQ(keyOnly.keys, QStringList{QStringLiteral("k")});
    // A message no delegate implements is dropped without error.
    multicast.relay<AnnouncerDelegate>("keysRemoved", &AnnouncerDelegate::keysRemoved, &announcer,
                                       QStringList());
}

TEST(MulticastDelegate, DelegatesAddedThroughABaseClassKeepTheirOverrides)
{
    Announcer announcer;
    KeyAndRemoved derived;
    KeyOnly *asBase = &derived;
    announcer.addDelegate<AnnouncerDelegate>(asBase, Bastwick::mainQueue());
    SelfRegisteringRecorder self(announcer);
    waitForModule(announcer);

    announcer.announceRemoved({QStringLiteral("r")});
    EXPECT_TRUE(waitFor([&] { return derived.removed.size() == 1 && self.removed.size() == 1; }));
    // Removal finds them through any pointer, the interface included.
    announcer.removeDelegate(static_cast<AnnouncerDelegate *>(&derived));
    announcer.removeDelegate(&self);
    EXPECT_EQ(announcer.multicastDelegate().count(), 0);
}

TEST(MulticastDelegate, AddingAndRemovingByDelegateAndQueue)
{
    Announcer announcer;
    Recorder twice;
    auto serial = std::make_shared<Bastwick::SerialQueue>(QStringLiteral("other"));
    QueueMulticastDelegate &multicast = announcer.multicastDelegate();

    struct Step
    {
        const char *what;
        std::function<void()> act;
        qsizetype nodes;
    } steps[] = {
        {"nil delegate",
         [&] {
             announcer.addDelegate<AnnouncerDelegate>(static_cast<Recorder *>(nullptr),
                                                      Bastwick::mainQueue());
         },
         0},
        {"nil queue", [&] { announcer.addDelegate<AnnouncerDelegate>(&twice, nullptr); }, 0},
        {"main", [&] { announcer.addDelegate<AnnouncerDelegate>(&twice, Bastwick::mainQueue()); }, 1},
        {"main again", [&] { announcer.addDelegate<AnnouncerDelegate>(&twice, Bastwick::mainQueue()); }, 2},
        {"other queue", [&] { announcer.addDelegate<AnnouncerDelegate>(&twice, serial); }, 3},
        {"remove on other queue only", [&] { announcer.removeDelegate(&twice, serial.get()); }, 2},
    };
    for (const Step &step : steps) {
        step.act();
        waitForModule(announcer);
        EXPECT_EQ(multicast.count(), step.nodes) << step.what;
    }

    announcer.announceKey(QStringLiteral("k"));
    EXPECT_TRUE(waitFor([&] { return twice.messages().size() == 2; }));
    EXPECT_EQ(twice.messages(), QStringList(2, QStringLiteral("key:k")));

    // One removal without a queue takes both remaining nodes; relays started after a
    // synchronous removal submit nothing for it.
    announcer.removeDelegate(&twice);
    EXPECT_EQ(multicast.count(), 0);
    announcer.announceKey(QStringLiteral("late"));
    ASSERT_TRUE(TestSupport::waitForQueue(*announcer.moduleQueue())); // the relays have been submitted
    serial->sync([] {});
    ASSERT_TRUE(TestSupport::waitForMainQueue());
    EXPECT_EQ(twice.messages().size(), 2);
}

TEST(MulticastDelegate, ChangesFromTheModuleQueueRunInline)
{
    Announcer announcer;
    Recorder recorder;
    qsizetype afterAdd = -1, afterRemove = -1;
    announcer.moduleQueue()->sync([&] {
        announcer.addDelegate<AnnouncerDelegate>(&recorder, Bastwick::mainQueue());
        afterAdd = announcer.multicastDelegate().count();
        announcer.removeDelegate(&recorder);
        afterRemove = announcer.multicastDelegate().count();
    });
    EXPECT_EQ(afterAdd, 1);
    EXPECT_EQ(afterRemove, 0);
}

} // namespace

#include "MulticastDelegateTest.moc"

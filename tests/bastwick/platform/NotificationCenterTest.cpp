#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/NotificationCenter.h>

#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace Bastwick;

TEST(NotificationCenter, MainThreadPostCallsMatchingObserversBeforeItReturns)
{
    NotificationCenter center;
    QObject context;
    QObject sender;
    QObject otherSender;
    QStringList calls;
    auto observe = [&](const QString &tag, const QString &name, const QVariant &filter = QVariant()) {
        center.addObserver(
            &context, name,
            [&calls, tag](const Notification &n) {
                calls.append(tag + QLatin1Char(':') + n.name + QLatin1Char(':') +
                             n.userInfo.value(QStringLiteral("v")).toString());
            },
            filter);
    };
    observe(QStringLiteral("a"), QStringLiteral("A"));
    observe(QStringLiteral("all"), QString());
    observe(QStringLiteral("a-from-sender"), QStringLiteral("A"), QVariant::fromValue(&sender));
    observe(QStringLiteral("b-text"), QStringLiteral("B"), QStringLiteral("db0"));

    struct Case
    {
        QString name;
        QVariant object;
        QStringList expected;
    } cases[] = {
        {QStringLiteral("A"), QVariant(), {QStringLiteral("a:A:1"), QStringLiteral("all:A:1")}},
        {QStringLiteral("A"),
         QVariant::fromValue(&sender),
         {QStringLiteral("a:A:1"), QStringLiteral("all:A:1"), QStringLiteral("a-from-sender:A:1")}},
        {QStringLiteral("A"),
         QVariant::fromValue(&otherSender),
         {QStringLiteral("a:A:1"), QStringLiteral("all:A:1")}},
        {QStringLiteral("B"),
         QStringLiteral("db0"),
         {QStringLiteral("all:B:1"), QStringLiteral("b-text:B:1")}},
        {QStringLiteral("B"), QStringLiteral("db1"), {QStringLiteral("all:B:1")}},
        {QStringLiteral("C"), QVariant(), {QStringLiteral("all:C:1")}},
    };
    for (const auto &c : cases) {
        calls.clear();
        center.post(c.name, c.object, {{QStringLiteral("v"), 1}});
        EXPECT_EQ(calls, c.expected) << c.name.toStdString() << " / " << c.object.toString().toStdString();
    }
}

TEST(NotificationCenter, PostsFromOtherThreadsArriveOnTheMainThreadInOrder)
{
    NotificationCenter center;
    QObject context;
    std::vector<std::pair<int, int>> received;
    int offMain = 0;
    center.addObserver(&context, QStringLiteral("Tick"), [&](const Notification &n) {
        if (!isMainThread())
            ++offMain;
        received.emplace_back(n.userInfo.value(QStringLiteral("poster")).toInt(),
                              n.userInfo.value(QStringLiteral("seq")).toInt());
    });
    constexpr int kPerPoster = 200;
    std::vector<std::thread> posters;
    for (int p = 0; p < 2; ++p)
        posters.emplace_back([&center, p] {
            for (int i = 0; i < kPerPoster; ++i)
                center.post(QStringLiteral("Tick"), QVariant(),
                            {{QStringLiteral("poster"), p}, {QStringLiteral("seq"), i}});
        });
    for (auto &t : posters)
        t.join();
    EXPECT_TRUE(waitFor([&] { return received.size() == 2 * kPerPoster; }));
    EXPECT_EQ(offMain, 0);
    int next[2] = {0, 0};
    for (const auto &[poster, seq] : received) {
        ASSERT_EQ(seq, next[poster]) << "poster " << poster;
        ++next[poster];
    }
}

TEST(NotificationCenter, ObserverIsDroppedWithItsContext)
{
    NotificationCenter center;
    int calls = 0;
    auto context = std::make_unique<QObject>();
    QObject keeper;
    center.addObserver(context.get(), QStringLiteral("X"), [&](const Notification &) { ++calls; });
    center.addObserver(&keeper, QStringLiteral("X"), [&](const Notification &) { calls += 100; });
    EXPECT_EQ(center.observerCount(), 2);

    // Posted from another thread while the context lives, delivered after it died.
    std::thread([&] { center.post(QStringLiteral("X")); }).join();
    context.reset();
    EXPECT_EQ(center.observerCount(), 1);
    EXPECT_TRUE(waitFor([&] { return calls == 100; }));
    center.post(QStringLiteral("X"));
    EXPECT_EQ(calls, 200);
}

namespace {
// Counts the connections to its destroyed() signal.
class WatchedContext : public QObject
{
public:
    int destroyedReceivers() const { return receivers(SIGNAL(destroyed(QObject *))); }
};
} // namespace

TEST(NotificationCenter, RemovalRacingTheAdditionFromAnotherThreadLeavesNoConnection)
{
    // A remover on another thread takes the observer the moment it is published; it
    // must find it complete, its context connection included, and cut that too.
    NotificationCenter center;
    WatchedContext context;
    constexpr int kRounds = 200;
    for (int round = 0; round < kRounds; ++round) {
        const NotificationCenter::ObserverId id = NotificationCenter::ObserverId(round + 1);
        std::atomic<bool> spinning{false};
        std::atomic<bool> added{false};
        std::thread remover([&] {
            spinning = true;
            while (!added.load() || center.observerCount() != 0)
                center.removeObserver(id);
        });
        while (!spinning.load())
            std::this_thread::yield();
        EXPECT_EQ(center.addObserver(&context, QStringLiteral("Race"), [](const Notification &) {}), id);
        added = true;
        remover.join();
        ASSERT_EQ(context.destroyedReceivers(), 0) << "round " << round;
    }
}

TEST(NotificationCenter, HandlersMayChangeObserversAndPostAgain)
{
    NotificationCenter center;
    QObject context;
    QStringList calls;
    NotificationCenter::ObserverId second = 0;
    center.addObserver(&context, QStringLiteral("First"), [&](const Notification &) {
        calls.append(QStringLiteral("first"));
        center.removeObserver(second); // removed before its turn in this post
        center.addObserver(&context, QStringLiteral("Nested"),
                           [&](const Notification &) { calls.append(QStringLiteral("nested")); });
        center.post(QStringLiteral("Nested")); // delivered at once, inside this handler
        calls.append(QStringLiteral("first done"));
    });
    second = center.addObserver(&context, QStringLiteral("First"),
                                [&](const Notification &) { calls.append(QStringLiteral("second")); });

    center.post(QStringLiteral("First"));
    EXPECT_EQ(calls,
              (QStringList{QStringLiteral("first"), QStringLiteral("nested"), QStringLiteral("first done")}));
    EXPECT_EQ(center.observerCount(), 2);
}

TEST(NotificationCenter, RemovesObserversByIdContextAndName)
{
    NotificationCenter center;
    QObject a;
    QObject b;
    QStringList calls;
    auto add = [&](QObject *ctx, const QString &name, const QString &tag) {
        return center.addObserver(ctx, name, [&calls, tag](const Notification &) { calls.append(tag); });
    };
    const auto id = add(&a, QStringLiteral("N"), QStringLiteral("a1"));
    add(&a, QStringLiteral("N"), QStringLiteral("a2"));
    add(&a, QStringLiteral("M"), QStringLiteral("aM"));
    add(&b, QStringLiteral("N"), QStringLiteral("b"));

    center.removeObserver(id);
    center.post(QStringLiteral("N"));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("a2"), QStringLiteral("b")}));

    calls.clear();
    center.removeObserver(&a, QStringLiteral("N"));
    center.post(QStringLiteral("N"));
    center.post(QStringLiteral("M"));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("b"), QStringLiteral("aM")}));

    center.removeObserver(&a);
    EXPECT_EQ(center.observerCount(), 1);
}

TEST(NotificationCenter, DefaultCenterIsShared)
{
    QObject context;
    int calls = 0;
    NotificationCenter::defaultCenter().addObserver(&context, QStringLiteral("SharedMsg"),
                                                    [&](const Notification &) { ++calls; });
    NotificationCenter::defaultCenter().post(QStringLiteral("SharedMsg"));
    EXPECT_EQ(calls, 1);
}

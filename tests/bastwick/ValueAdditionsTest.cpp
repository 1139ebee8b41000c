#include <bastwick/MainThreadAdditions.h>
#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/KeyValue.h>

#include "support/LogCapture.h"
#include "support/WaitFor.h"

#include <QtCore/QDateTime>
#include <QtCore/QJsonArray>
#include <QtCore/QJsonDocument>
#include <QtCore/QJsonObject>
#include <QtCore/QThread>
#include <QtCore/QUrl>
#include <QtGui/QDesktopServices>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>

using namespace Bastwick;
using TestSupport::LogCapture;

namespace {

TEST(ValueAdditionsTest, NumberStringsByKind)
{
    struct Case
    {
        const char *name;
        QVariant value;
        NumberKind kind;
        const char *expected; // null: no text
    };
    const Case cases[] = {
        {"int", 5, NumberKind::Int, "5"},
        {"negative int", -7, NumberKind::Int, "-7"},
        {"short", QVariant::fromValue<short>(-12), NumberKind::Short, "-12"},
        {"unsigned char", QVariant::fromValue<uchar>(200), NumberKind::Int, "200"},
        {"unsigned short", QVariant::fromValue<ushort>(65535), NumberKind::Int, "65535"},
        // 64-bit and wide unsigned integers print in full, never through 32 bits.
        {"qint64", QVariant::fromValue<qint64>(9007199254740993LL), NumberKind::Long, "9007199254740993"},
        {"negative qint64", QVariant::fromValue<qint64>(-5000000000LL), NumberKind::Long, "-5000000000"},
        {"long", QVariant::fromValue<long>(4294967296L), NumberKind::Long, "4294967296"},
        {"unsigned int", QVariant::fromValue<uint>(4000000000U), NumberKind::Long, "4000000000"},
        {"quint64 max", QVariant::fromValue<quint64>(std::numeric_limits<quint64>::max()), NumberKind::Long,
         "18446744073709551615"},
        // Floating kinds with six decimals, a double from its own value.
        {"float", QVariant::fromValue<float>(2.5f), NumberKind::Float, "2.500000"},
        {"double", 2.5, NumberKind::Double, "2.500000"},
        {"double beyond float precision", 16777217.0, NumberKind::Double, "16777217.000000"},
        {"double with a small fraction", 10000000000.25, NumberKind::Double, "10000000000.250000"},
        {"negative double", -0.125, NumberKind::Double, "-0.125000"},
        // Booleans, chars and non-numbers have no number text.
        {"bool", true, NumberKind::Other, nullptr},
        {"char", QVariant::fromValue<char>('a'), NumberKind::Other, nullptr},
        {"signed char", QVariant::fromValue<signed char>(3), NumberKind::Other, nullptr},
        {"string", QStringLiteral("5"), NumberKind::Other, nullptr},
        {"nil", QVariant(), NumberKind::Other, nullptr},
        {"null marker", nullValue(), NumberKind::Other, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(numberType(c.value), c.kind);
        const QString text = numberString(c.value);
        if (c.expected) {
            EXPECT_EQ(text, QString::fromLatin1(c.expected));
        } else {
            EXPECT_TRUE(text.isNull()) << text.toStdString();
        }
    }
}

TEST(ValueAdditionsTest, KeyPaths)
{
    const QVariantMap map{
        {"a", QVariantMap{{"b", 1}, {"s", QStringLiteral("text")}}},
        {"a/b", QVariantMap{{"c", 4}}},
        {"h", QVariantHash{{"k", QStringLiteral("v")}}},
        {"list", QVariantList{QVariantMap{{"x", 1}}}},
        {"n", nullValue()},
    };
    struct Case
    {
        const char *path;
        QVariant expected; // invalid: nil
    };
    const Case cases[] = {
        {"a.b", 1},
        {"a/b", 1},
        {"a/b.c", 4}, // "." splits first, so "a/b" is one key here
        {"a.s", QStringLiteral("text")},
        {"a", map.value("a")},
        {"h.k", QStringLiteral("v")},
        {"a.b.c", QVariant()}, // 1 is not a map
        {"a.s.length", QVariant()},
        {"list.x", QVariant()}, // lists are not searched
        {"n.x", QVariant()},
        {"x", QVariant()},
        {"a.x", QVariant()},
        {"a.x.y", QVariant()},
        {"", QVariant()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        const QVariant value = objectForKeyPath(map, QString::fromLatin1(c.path));
        EXPECT_EQ(value.isValid(), c.expected.isValid());
        EXPECT_EQ(value, c.expected);
    }
    EXPECT_TRUE(isNull(objectForKeyPath(map, QStringLiteral("n"))));
}

TEST(ValueAdditionsTest, SafeSettersAndAppends)
{
    LogCapture log;
    QVariantMap map;
    setSafeValue(map, QVariant(), QStringLiteral("name"));
    EXPECT_TRUE(map.isEmpty());
    EXPECT_TRUE(log.contains(QStringLiteral("setSafeValue Error : key =name value null!")));
    setSafeValue(map, QStringLiteral("deraz"), QStringLiteral("name"));
    setSafeValue(map, nullValue(), QStringLiteral("empty"));
    EXPECT_EQ(map, (QVariantMap{{"name", QStringLiteral("deraz")}, {"empty", nullValue()}}));

    QObject object;
    setSafeValue(&object, QStringLiteral("node"), QStringLiteral("objectName"));
    setSafeValue(&object, QVariant(), QStringLiteral("objectName"));
    EXPECT_EQ(object.objectName(), QStringLiteral("node"));
    setSafeValue(nullptr, QStringLiteral("x"), QStringLiteral("objectName"));

    log.clear();
    QVariantList list;
    addSafeObject(list, 1);
    addSafeObject(list, QVariant());
    addSafeObject(list, nullValue());
    EXPECT_EQ(list, (QVariantList{1, nullValue()}));
    EXPECT_EQ(log.count(QStringLiteral("addSafeObject Nil Object!")), 1);

    QList<QObject *> objects;
    addSafeObject(objects, &object);
    addSafeObject(objects, static_cast<QObject *>(nullptr));
    EXPECT_EQ(objects, QList<QObject *>{&object});
    QList<std::shared_ptr<int>> shared;
    addSafeObject(shared, std::make_shared<int>(1));
    addSafeObject(shared, std::shared_ptr<int>());
    ASSERT_EQ(shared.size(), 1);
    EXPECT_EQ(*shared.first(), 1);
    EXPECT_EQ(log.count(QStringLiteral("addSafeObject Nil Object!")), 3);

    const QVariantList original{1, 2, 3};
    EXPECT_EQ(reverse(original), (QVariantList{3, 2, 1}));
    EXPECT_EQ(original, (QVariantList{1, 2, 3}));
    EXPECT_TRUE(reverse(QVariantList()).isEmpty());
}

TEST(ValueAdditionsTest, ObservedChanges)
{
    struct Case
    {
        const char *name;
        QVariantMap change;
        bool changed;
    };
    const QString kNew = kKeyValueChangeNewKey;
    const QString kOld = kKeyValueChangeOldKey;
    const Case cases[] = {
        {"equal", {{kOld, 1}, {kNew, 1}}, false},
        {"equal across number kinds", {{kOld, 1}, {kNew, 1.0}}, false},
        {"equal texts", {{kOld, QStringLiteral("a")}, {kNew, QStringLiteral("a")}}, false},
        {"different", {{kOld, 1}, {kNew, 2}}, true},
        {"new only", {{kNew, 1}}, true},
        {"old only", {{kOld, 1}}, true},
        {"old is the null marker", {{kOld, nullValue()}, {kNew, 1}}, true},
        {"new is the null marker", {{kOld, 1}, {kNew, nullValue()}}, true},
        {"both null markers", {{kOld, nullValue()}, {kNew, nullValue()}}, false},
        {"neither", {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(keyValueChanged(c.change), c.changed);
    }

    const QVariantMap change{{kKeyValueChangeKindKey, uint(KeyValueChangeInsertion)},
                             {kNew, nullValue()},
                             {kOld, 3},
                             {kKeyValueChangeIndexesKey, QVariant::fromValue(IndexSet{1, 2, 5})}};
    EXPECT_EQ(keyValueChangeKind(change), quint32(KeyValueChangeInsertion));
    EXPECT_FALSE(keyValueChangeNew(change).isValid());
    EXPECT_EQ(keyValueChangeOld(change), QVariant(3));
    EXPECT_EQ(keyValueChangeIndexes(change), (IndexSet{1, 2, 5}));
    EXPECT_TRUE(keyValueChangeIndexes(QVariantMap()).isEmpty());
}

TEST(ValueAdditionsTest, JsonTextOfLists)
{
    const QVariantList list{1,
                            QVariant::fromValue<qint64>(9007199254740993LL),
                            2.5,
                            QStringLiteral("Grüße \"quoted\""),
                            true,
                            nullValue(),
                            QVariantMap{{"k", QVariantList{QStringLiteral("a")}}}};
    const QString text = toJSONString(list);
    ASSERT_FALSE(text.isNull());
    EXPECT_TRUE(text.contains(QLatin1Char('\n'))); // indented
    EXPECT_TRUE(text.contains(QStringLiteral("9007199254740993")));
    const QJsonDocument back = QJsonDocument::fromJson(text.toUtf8());
    ASSERT_TRUE(back.isArray());
    const QJsonArray array = back.array();
    ASSERT_EQ(array.size(), 7);
    EXPECT_EQ(array[0].toInteger(), 1);
    EXPECT_EQ(array[1].toInteger(), 9007199254740993LL);
    EXPECT_EQ(array[2].toDouble(), 2.5);
    EXPECT_EQ(array[3].toString(), QStringLiteral("Grüße \"quoted\""));
    EXPECT_EQ(array[4].toBool(), true);
    EXPECT_TRUE(array[5].isNull());
    EXPECT_EQ(array[6].toObject().value("k").toArray().first().toString(), QStringLiteral("a"));
    EXPECT_EQ(toJSONData(list), text.toUtf8());
    EXPECT_FALSE(toJSONString(QVariantList()).isNull());

    // Values without a JSON form fail the whole text, with a log line.
    struct Bad
    {
        const char *name;
        QVariantList list;
    };
    const Bad bad[] = {
        {"date", {1, QDateTime(QDate(2015, 3, 4), QTime(5, 6))}},
        {"bytes", {QByteArray("\x01\x02")}},
        {"nan", {std::nan("")}},
        {"infinity", {QVariantMap{{"x", std::numeric_limits<double>::infinity()}}}},
        {"nil", {QVariant()}},
    };
    for (const Bad &b : bad) {
        SCOPED_TRACE(b.name);
        LogCapture log;
        EXPECT_TRUE(toJSONString(b.list).isNull());
        EXPECT_TRUE(toJSONData(b.list).isNull());
        EXPECT_TRUE(log.contains(QStringLiteral("NSArray JSON Failed:")));
    }
}

class Counted : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count READ count)
public:
    explicit Counted(int n)
        : m_count(n)
    {
    }
    int count() const { return m_count; }

private:
    int m_count;
};

TEST(ValueAdditionsTest, Emptiness)
{
    Counted none(0);
    Counted some(2);
    QObject plain;
    struct Case
    {
        const char *name;
        QVariant value;
        bool empty;
        bool notEmpty;
    };
    const Case cases[] = {
        {"empty text", QString(""), true, false},
        {"null text", QString(), true, false},
        {"text", QStringLiteral("a"), false, true},
        {"blank text", QStringLiteral(" "), false, true},
        {"empty bytes", QByteArray(), true, false},
        {"bytes", QByteArray("x"), false, true},
        {"empty list", QVariantList(), true, false},
        {"list", QVariantList{0}, false, true},
        {"empty string list", QStringList(), true, false},
        {"empty map", QVariantMap(), true, false},
        {"map", QVariantMap{{"k", 0}}, false, true},
        {"empty hash", QVariantHash(), true, false},
        {"empty typed list", QVariant::fromValue(QList<int>()), true, false},
        {"typed list", QVariant::fromValue(QList<int>{1}), false, true},
        {"empty index set", QVariant::fromValue(IndexSet()), true, false},
        {"index set", QVariant::fromValue(IndexSet{4}), false, true},
        {"null marker", nullValue(), true, false},
        {"zero", 0, false, true},
        {"false", false, false, true},
        {"object counting none", QVariant::fromValue<QObject *>(&none), true, false},
        {"object counting some", QVariant::fromValue<QObject *>(&some), false, true},
        {"object without a count", QVariant::fromValue<QObject *>(&plain), false, true},
        {"nil", QVariant(), false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isEmptyObj(c.value), c.empty);
        EXPECT_EQ(isNotEmpty(c.value), c.notEmpty);
    }
}

TEST(MainThreadAdditionsTest, RunsBlocksOnTheMainThread)
{
    QThread *const mainThread = QThread::currentThread();
    ASSERT_TRUE(isMainThread());

    // On the main thread the block runs before the call returns.
    bool ranInline = false;
    runOnMainQueueInline([&] { ranInline = QThread::currentThread() == mainThread; });
    EXPECT_TRUE(ranInline);

    // From another thread the caller waits until the main thread has run it.
    std::atomic<bool> ranOnMain{false};
    std::atomic<bool> sawItAfterReturn{false};
    std::atomic<bool> workerDone{false};
    std::thread worker([&] {
        runOnMainQueueInline([&] { ranOnMain = QThread::currentThread() == mainThread; });
        sawItAfterReturn = ranOnMain.load();
        workerDone = true;
    });
    EXPECT_TRUE(waitFor([&] { return workerDone.load(); }));
    worker.join();
    EXPECT_TRUE(ranOnMain);
    EXPECT_TRUE(sawItAfterReturn);

    // A delayed block does not run before the call returns, then runs on the main thread.
    struct Delayed
    {
        double seconds;
        bool ran = false;
        bool onMain = false;
    };
    Delayed delayed[] = {{0.05}, {0.0}, {-1.0}, {std::nan("")}};
    for (Delayed &d : delayed) {
        runOnMainThreadAfter(d.seconds, [&d, mainThread] {
            d.ran = true;
            d.onMain = QThread::currentThread() == mainThread;
        });
        EXPECT_FALSE(d.ran);
    }
    for (Delayed &d : delayed) {
        SCOPED_TRACE(d.seconds);
        EXPECT_TRUE(waitFor([&] { return d.ran; }));
        EXPECT_TRUE(d.onMain);
    }
}

class UrlReceiver : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

TEST(MainThreadAdditionsTest, OpensAddressesThroughTheDesktop)
{
    UrlReceiver receiver;
    QDesktopServices::setUrlHandler(QStringLiteral("kestrune-test"), &receiver, "open");

    EXPECT_TRUE(openURL(QStringLiteral("kestrune-test://host/path?q=1")));
    EXPECT_TRUE(openURL(QUrl(QStringLiteral("kestrune-test://other"))));
    EXPECT_EQ(receiver.opened, (QList<QUrl>{QUrl(QStringLiteral("kestrune-test://host/path?q=1")),
                                            QUrl(QStringLiteral("kestrune-test://other"))}));

    LogCapture log;
    EXPECT_FALSE(openURL(QString()));
    EXPECT_FALSE(openURL(QStringLiteral("http://exa mple.com/")));
    EXPECT_TRUE(log.contains(QStringLiteral("Failed to open url: http://exa mple.com/")));
    EXPECT_EQ(receiver.opened.size(), 2);
    QDesktopServices::unsetUrlHandler(QStringLiteral("kestrune-test"));
}

} // namespace

#include "ValueAdditionsTest.moc"

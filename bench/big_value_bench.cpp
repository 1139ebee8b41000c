// big_value_bench: the key browser showing a page that holds big values. A throwaway
// redis-server gets a 50 MiB string, a 200,000-field hash and a 200,000-element list among
// small keys; the browser (offscreen, painted for real through grab()) selects the
// database as a click in the key tree does, then scrolls through the page row by row and
// selects each row. A 2-ms heartbeat on the main thread measures how long the event loop
// was held. Prints, one a line:
//   page_read_ms             how long a bare read of the page takes (no browser)
//   page_read_mb             what a bare read of the same page holds (RSS growth while the
//                            records of the page are held, without the browser)
//   page_show_ms             from selecting the database to the page painted
//   max_stall_ms             longest main-thread stall after the page shows, through
//                            scrolling and selecting
//   max_stall_cpu_ms         the main thread's CPU time within that stall (the rest is the
//                            machine not running the thread)
//   rss_growth_mb            RSS after showing and scrolling the page - RSS before
//   rss_beyond_page_read_mb  rss_growth_mb - page_read_mb
//
//   big_value_bench [--string-mb 50] [--fields 200000] [--elements 200000] [--small 60]
//                   [--shot page.png]
//   (needs redis-server on PATH; runs offscreen by default)

#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/model/DBStore.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewController.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewDataDelegate.h>

#include "BenchApp.h"
#include "BenchServer.h"
#include "ProcessMemory.h"
#include "ThreadClock.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QElapsedTimer>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTableView>

#include <malloc.h>

#include <cstdio>

using KestruneBench::command;
using KestruneBench::runUntil;

namespace {

double mib(qint64 bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

// The resident size once freed memory has gone back to the system.
qint64 settledResidentBytes()
{
    malloc_trim(0);
    return KestruneBench::residentBytes();
}

// Fills database 0; false (with a message) when the server refused.
bool fill(int port, qint64 stringBytes, qint64 fields, qint64 elements, qint64 small)
{
    const QList<QByteArray> commands{
        "DEBUG POPULATE " + QByteArray::number(small) + " small 8",
        "EVAL \"redis.call('SET', KEYS[1], string.rep('x', tonumber(ARGV[1])))\" 1 big:string " +
            QByteArray::number(stringBytes),
        "EVAL \"for i = 1, tonumber(ARGV[1]) do redis.call('HSET', KEYS[1], 'field:' .. i, 'value:' .. i) "
        "end\" 1 big:hash " +
            QByteArray::number(fields),
        "EVAL \"for i = 1, tonumber(ARGV[1]) do redis.call('RPUSH', KEYS[1], 'element:' .. i) end\" 1 "
        "big:list " +
            QByteArray::number(elements)};
    for (const QByteArray &line : commands) {
        const QByteArray reply = command(port, line);
        if (reply.isEmpty() || reply.startsWith('-')) {
            std::fprintf(stderr, "the server refused %s: %s\n", line.left(40).constData(), reply.constData());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    KestruneBench::useHome(home.path());
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("string-mb"), QStringLiteral("Size of the big string in MiB."),
                      QStringLiteral("N"), QStringLiteral("50")});
    parser.addOption({QStringLiteral("fields"), QStringLiteral("Fields of the big hash."),
                      QStringLiteral("N"), QStringLiteral("200000")});
    parser.addOption({QStringLiteral("elements"), QStringLiteral("Elements of the big list."),
                      QStringLiteral("N"), QStringLiteral("200000")});
    parser.addOption({QStringLiteral("small"), QStringLiteral("Small keys around them."), QStringLiteral("N"),
                      QStringLiteral("60")});
    parser.addOption({QStringLiteral("shot"), QStringLiteral("Saves the shown page as a PNG file."),
                      QStringLiteral("file")});
    parser.process(app);
    const qint64 stringBytes = parser.value(QStringLiteral("string-mb")).toLongLong() << 20;
    const qint64 fields = parser.value(QStringLiteral("fields")).toLongLong();
    const qint64 elements = parser.value(QStringLiteral("elements")).toLongLong();
    const qint64 small = parser.value(QStringLiteral("small")).toLongLong();

    QProcess redis;
    const int port = KestruneBench::startServer(redis, home.path());
    if (port == 0) {
        std::fprintf(stderr, "redis-server did not start\n");
        return 1;
    }
    if (!fill(port, stringBytes, fields, elements, small))
        return 1;

    auto profile = KestruneBench::startApplication(app, port);
    profile->urlFormat();
    const std::shared_ptr<DBStore> store = DataStoreBO::sharedInstance().dbStoreWithDBProfile(profile);
    bool fetched = false;
    bool fetchFailed = false;
    store->fetchDatabasesWithCallback([&](const DBStore::DatabaseList &, const std::shared_ptr<DBProfile> &,
                                          const std::optional<Bastwick::Error> &error) {
        fetched = true;
        fetchFailed = error.has_value();
    });
    if (!runUntil([&] { return fetched; }, 120000) || fetchFailed) {
        std::fprintf(stderr, "no connection\n");
        return 1;
    }
    const auto state = SimpleDBStateManager::sharedInstance().dbViewState();
    const QString url = DataStoreBO::dbNodeURLWithStore(*store, QStringLiteral("DB0"));
    state->setCurrentNodeURL(url);
    const auto db = SimpleDBStateManager::sharedInstance().currentDatabase();
    if (!db || db->numberOfKeys() != small + 3) {
        std::fprintf(stderr, "database 0 does not hold the keys\n");
        return 1;
    }

    // What the page's records themselves hold, read without the browser.
    qint64 pageRead = 0;
    qint64 pageReadMs = 0;
    {
        const qint64 before = settledResidentBytes();
        QElapsedTimer readClock;
        readClock.start();
        Bastwick::Error error;
        const QList<DerazUnit> units = db->derazUnitsFromKeys(db->keys().toList(), &error);
        if (units.size() != small + 3) {
            std::fprintf(stderr, "the bare page read failed: %s\n", qPrintable(error.description));
            return 1;
        }
        pageReadMs = readClock.elapsed();
        pageRead = KestruneBench::residentBytes() - before;
    }

    DerazKeysBrowseViewController browser;
    browser.view();
    browser.resize(1100, 700);
    browser.show();
    runUntil([] { return false; }, 300);
    browser.grab();
    auto *model = browser.dataDelegate();
    QTableView *table = browser.tableView();
    const qint64 rssBefore = settledResidentBytes();

    qint64 longest = 0;
    double longestCpu = 0;
    double lastCpu = KestruneBench::threadCpuMs();
    QElapsedTimer beat;
    QTimer heartbeat;
    heartbeat.setInterval(2);
    const auto noteStall = [&](qint64 gap, double cpu) {
        if (gap > longest) {
            longest = gap;
            longestCpu = cpu;
        }
    };
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const double cpu = KestruneBench::threadCpuMs();
        noteStall(beat.restart(), cpu - lastCpu);
        lastCpu = cpu;
    });

    // Selecting the database, as a click on its node in the key tree does.
    QElapsedTimer clock;
    clock.start();
    state->dataStoreDerazDBChanged(url);
    if (!runUntil([&] { return model->itemCount() == small + 3; }, 600000)) {
        std::fprintf(stderr, "the page did not show\n");
        return 1;
    }
    const QPixmap shown = browser.grab();
    const qint64 pageShowMs = clock.elapsed();
    if (parser.isSet(QStringLiteral("shot")))
        shown.save(parser.value(QStringLiteral("shot")));

    // From here on every step is a stall of the main thread, and so is every gap of the
    // heartbeat between them.
    beat.start();
    lastCpu = KestruneBench::threadCpuMs();
    heartbeat.start();
    const auto step = [&](const std::function<void()> &action) {
        const double cpu = KestruneBench::threadCpuMs();
        QElapsedTimer t;
        t.start();
        action();
        browser.grab();
        noteStall(t.elapsed(), KestruneBench::threadCpuMs() - cpu);
        runUntil([] { return false; }, 4);
        beat.restart();
        lastCpu = KestruneBench::threadCpuMs();
    };
    QScrollBar *scroll = table->verticalScrollBar();
    for (int value = scroll->minimum(); value <= scroll->maximum(); ++value)
        step([&] { scroll->setValue(value); });
    for (int row = 0; row < model->rowCount(); ++row)
        step([&] { table->selectRow(row); });
    step([&] { scroll->setValue(scroll->minimum()); });
    runUntil([] { return false; }, 100);
    heartbeat.stop();
    const qint64 rssAfter = settledResidentBytes();

    std::printf("keys %lld (big string %lld MiB, hash %lld fields, list %lld elements)\n",
                static_cast<long long>(small + 3), static_cast<long long>(stringBytes >> 20),
                static_cast<long long>(fields), static_cast<long long>(elements));
    std::printf("page_read_ms %lld\n", static_cast<long long>(pageReadMs));
    std::printf("page_read_mb %.1f\n", mib(pageRead));
    std::printf("page_show_ms %lld\n", static_cast<long long>(pageShowMs));
    std::printf("max_stall_ms %lld\n", static_cast<long long>(longest));
    std::printf("max_stall_cpu_ms %.1f\n", longestCpu);
    std::printf("rss_growth_mb %.1f\n", mib(rssAfter - rssBefore));
    std::printf("rss_beyond_page_read_mb %.1f\n", mib(rssAfter - rssBefore - pageRead));
    redis.terminate();
    redis.waitForFinished(5000);
    return 0;
}

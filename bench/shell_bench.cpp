// shell_bench: the application's real main window against a throwaway redis-server
// holding N keys (default 1,000,000, made with DEBUG POPULATE). The window starts as
// main() starts it, with one profile marked for automatic connection; a 2-ms heartbeat
// on the main thread measures how long the event loop was held. Prints, one a line:
//   connect_ms           from start-up to the tree showing the connection
//   load_stall_ms        longest gap of the heartbeat while connecting and loading
//   load_stall_cpu_ms    the main thread's CPU time within that gap (the rest of the gap
//                        is the machine not running the thread)
//   expand_ms            expanding DB0 (N key rows) until painted
//   scroll_ms            scrolling to the end and painting
//   select_ms            selecting a key near the end and painting
//   select_all_ms        selecting every shown row (after the memory reading)
//   select_all_cpu_ms    the main thread's CPU time within select_all_ms (on a busy
//                        machine the rest is the thread waiting for a core)
//   longest_stall_ms     longest heartbeat gap over all of the above
//   rss_bytes_per_key    (RSS after connect, expand and scroll - RSS before) / N
//
//   shell_bench [--keys N]   (needs redis-server on PATH; runs offscreen by default)

#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/shell/AppDelegate.h>
#include <kestrune/shell/DerazViewController.h>
#include <kestrune/shell/KSTMainWindow.h>
#include <kestrune/tree/DerazKeysViewController.h>
#include <kestrune/tree/DerazKeysViewDataDelegate.h>

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

#include <cstdio>
#include <cstdlib>

using KestruneBench::command;
using KestruneBench::runUntil;

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    KestruneBench::useHome(home.path());
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("keys"), QStringLiteral("Key count."), QStringLiteral("N"),
                      QStringLiteral("1000000")});
    parser.process(app);
    const qint64 keys = parser.value(QStringLiteral("keys")).toLongLong();

    QProcess redis;
    const int port = KestruneBench::startServer(redis, home.path());
    if (port == 0) {
        std::fprintf(stderr, "redis-server did not start\n");
        return 1;
    }
    if (command(port, "DEBUG POPULATE " + QByteArray::number(keys) + " key 8") != "+OK") {
        std::fprintf(stderr, "could not populate the server\n");
        return 1;
    }

    auto profile = KestruneBench::startApplication(app, port);
    profile->setAutoLogin(true);
    profile->save();
    DataBaseBO::sharedInstance().closeDataBase();

    qint64 longest = 0;
    double longestCpu = 0;
    double lastCpu = KestruneBench::threadCpuMs();
    QElapsedTimer beat;
    beat.start();
    QTimer heartbeat;
    heartbeat.setInterval(2);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 gap = beat.restart();
        const double cpu = KestruneBench::threadCpuMs();
        if (gap > longest) {
            longest = gap;
            longestCpu = cpu - lastCpu;
        }
        lastCpu = cpu;
    });

    KSTMainWindow window;
    window.resize(1000, 700);
    window.show();
    runUntil([] { return false; }, 200);
    const qint64 rssBefore = KestruneBench::residentBytes();

    QElapsedTimer clock;
    clock.start();
    AppDelegate delegate(&window);
    delegate.awakeFromNib();
    auto *root = qobject_cast<DerazViewController *>(delegate.mainViewController());
    auto *keysScreen = root->derazKeysViewController();
    auto *model = keysScreen->dataDelegate();
    beat.restart();
    lastCpu = KestruneBench::threadCpuMs();
    heartbeat.start();
    if (!runUntil([&] { return model->rowCount() > 0; }, 600000)) {
        std::fprintf(stderr, "no connection\n");
        return 1;
    }
    const qint64 connectMs = clock.elapsed();
    runUntil([] { return false; }, 100);
    const qint64 loadStall = longest;
    const double loadStallCpu = longestCpu;

    Pavisade::OutlineView *tree = keysScreen->derazKeysView();
    const QModelIndex db0 = model->index(0, 0, model->index(0, 0));
    clock.restart();
    tree->expand(db0);
    tree->viewport()->repaint();
    const qint64 expandMs = clock.elapsed();
    runUntil([] { return false; }, 100);

    clock.restart();
    tree->verticalScrollBar()->setValue(tree->verticalScrollBar()->maximum());
    tree->viewport()->repaint();
    const qint64 scrollMs = clock.elapsed();
    runUntil([] { return false; }, 100);

    clock.restart();
    const int rows = model->rowCount(db0);
    const QModelIndex nearEnd = model->index(std::max(0, rows - 10), 0, db0);
    tree->selectionModel()->setCurrentIndex(nearEnd,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tree->scrollTo(nearEnd);
    tree->viewport()->repaint();
    const qint64 selectMs = clock.elapsed();
    runUntil([] { return false; }, 200);
    const qint64 rssAfter = KestruneBench::residentBytes();
    const qint64 longestStall = std::max({longest, expandMs, scrollMs, selectMs});

    clock.restart();
    const double selectAllCpuStart = KestruneBench::threadCpuMs();
    tree->selectAll();
    tree->viewport()->repaint();
    const qint64 selectAllMs = clock.elapsed();
    const double selectAllCpu = KestruneBench::threadCpuMs() - selectAllCpuStart;
    runUntil([] { return false; }, 100);

    std::printf("keys %lld (rows shown %d)\n", static_cast<long long>(keys), rows);
    std::printf("connect_ms %lld\n", static_cast<long long>(connectMs));
    std::printf("load_stall_ms %lld\n", static_cast<long long>(loadStall));
    std::printf("load_stall_cpu_ms %.1f\n", loadStallCpu);
    std::printf("expand_ms %lld\n", static_cast<long long>(expandMs));
    std::printf("scroll_ms %lld\n", static_cast<long long>(scrollMs));
    std::printf("select_ms %lld\n", static_cast<long long>(selectMs));
    std::printf("select_all_ms %lld\n", static_cast<long long>(selectAllMs));
    std::printf("select_all_cpu_ms %.1f\n", selectAllCpu);
    std::printf("longest_stall_ms %lld\n", static_cast<long long>(longestStall));
    std::printf("rss_bytes_per_key %.1f\n", double(rssAfter - rssBefore) / double(std::max<qint64>(1, keys)));
    heartbeat.stop();
    redis.terminate();
    redis.waitForFinished(5000);
    return 0;
}

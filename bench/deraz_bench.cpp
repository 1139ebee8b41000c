// Speed and memory of the Deraz data layer against a server given on the command line,
// each figure beside the same commands sent by bare hiredis.
//
//   deraz_bench --host H --port P [--password W] --op fill  --db N --count C [--mix]
//   deraz_bench --host H --port P [--password W] --op load
//   deraz_bench --host H --port P [--password W] --op pages --db N
//   deraz_bench --host H --port P [--password W] --op write --db N --count C
//   deraz_bench --host H --port P [--password W] --op remove --db N
//   deraz_bench --host H --port P [--password W] --op export --db N --type 8|14 --out FILE
//   deraz_bench --host H --port P [--password W] --op import --db N --in FILE
//
// Prints one "name: value" line per figure; timed figures are medians of 5 runs, ours
// and the reference alternating, each timing connect to last reply converted (the write
// figure times the writes alone, after the connect). The import also prints
// server_hold_ms: the longest a second connection's PING waited during the import,
// which runs as one transaction the server executes without serving anyone else; and,
// with redis-cli installed, ratio: its time over redis-cli --pipe's for the same file,
// with the spread of each figure over the runs (_min, _max).
// The import also prints client_cpu_ratio: the CPU time of this program's import (the
// process's, less the pinging connection's) over that of the redis-cli --pipe process.
// The pages and load figures also print each round's own ratio and their min / median /
// max. The export runs kRuns rounds beside bare hiredis reading the same pages of the
// same key list with the data layer's commands, prints every round and the min / median /
// max of the ratio, and exits with 1 when the export fails.

#include <kestrune/data/deraz/DerazConnection.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/deraz/HiredisClient.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/exchange/DerazExportManager.h>
#include <kestrune/exchange/DerazExportOperation.h>

#include "ProcessMemory.h"
#include "ThreadClock.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QEventLoop>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QProcess>
#include <QtCore/QScopeGuard>
#include <QtCore/QStandardPaths>

#include <hiredis/hiredis.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <thread>

#include <sys/resource.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

using namespace KestruneBench;

constexpr int kRuns = 5;
constexpr int kPageSize = 100;

struct Options
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 6379;
    QString password;
    QString op;
    int db = 0;
    qint64 count = 0;
    bool mix = false;
    int type = 8;
    QString out;
    QString in;
};

void print(const char *name, double value)
{
    std::printf("%s: %.2f\n", name, value);
    std::fflush(stdout);
}

void print(const char *name, qint64 value)
{
    std::printf("%s: %lld\n", name, static_cast<long long>(value));
    std::fflush(stdout);
}

// How long body takes, in milliseconds.
double millisecondsTaken(const std::function<void()> &body)
{
    QElapsedTimer t;
    t.start();
    body();
    return double(t.nsecsElapsed()) / 1e6;
}

double secondsTaken(const std::function<void()> &body)
{
    return millisecondsTaken(body) / 1e3;
}

// User and system CPU time of this process (RUSAGE_SELF) or of its children that have
// ended and been waited for (RUSAGE_CHILDREN), in milliseconds.
double cpuMs(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// Each round's own ratio, then their min / median / max.
void printRoundRatios(QList<double> rounds)
{
    for (double r : rounds)
        print("round_ratio", r);
    std::sort(rounds.begin(), rounds.end());
    print("ratio_min", rounds.first());
    print("ratio_median", median(rounds));
    print("ratio_max", rounds.last());
}

std::shared_ptr<DBProfile> profile(const Options &o)
{
    auto p = std::make_shared<DBProfile>();
    p->setScheme(kDerazURLScheme);
    p->setHost(o.host);
    p->setPort(o.port);
    p->setPassword(o.password);
    p->urlFormat();
    return p;
}

// Connects and loads the sixteen databases the way the application does.
std::shared_ptr<DerazConnection> openConnection(const Options &o, QList<std::shared_ptr<DerazDatabase>> *dbs)
{
    auto connection = std::make_shared<DerazConnection>(profile(o));
    Bastwick::Error error;
    if (!connection->open(&error)) {
        std::fprintf(stderr, "connect failed: %s\n", qPrintable(error.description));
        std::exit(2);
    }
    for (const auto &db : connection->takeDatabases())
        dbs->append(std::dynamic_pointer_cast<DerazDatabase>(db));
    return connection;
}

redisContext *bareConnect(const Options &o)
{
    redisContext *c = redisConnect(o.host.toUtf8().constData(), o.port);
    if (!c || c->err) {
        std::fprintf(stderr, "bare connect failed\n");
        std::exit(2);
    }
    if (!o.password.isEmpty()) {
        const QByteArray pw = o.password.toUtf8();
        const char *argv[] = {"AUTH", pw.constData()};
        const size_t lens[] = {4, size_t(pw.size())};
        freeReplyObject(redisCommandArgv(c, 2, argv, lens));
    }
    return c;
}

void bareAppend(redisContext *c, const DerazArgv &argv)
{
    std::vector<const char *> a;
    std::vector<size_t> l;
    for (const QByteArray &x : argv) {
        a.push_back(x.constData());
        l.push_back(size_t(x.size()));
    }
    redisAppendCommandArgv(c, int(a.size()), a.data(), l.data());
}

// Reads n replies; answers them (the caller frees them).
std::vector<redisReply *> bareRead(redisContext *c, qsizetype n)
{
    std::vector<redisReply *> out;
    out.reserve(size_t(n));
    for (qsizetype i = 0; i < n; ++i) {
        void *r = nullptr;
        if (redisGetReply(c, &r) != REDIS_OK) {
            std::fprintf(stderr, "bare read failed\n");
            std::exit(2);
        }
        out.push_back(static_cast<redisReply *>(r));
    }
    return out;
}

void freeAll(std::vector<redisReply *> &replies)
{
    for (redisReply *r : replies)
        freeReplyObject(r);
    replies.clear();
}

// One page of records read by bare hiredis with the data layer's commands: MULTI, TYPE
// and ttl of every key, EXEC; then MULTI, the value command of every key of the five
// types, EXEC. Answers how many records the page gave.
qsizetype bareReadPage(redisContext *c, const QByteArrayList &keys)
{
    static const char *const names[] = {"string", "hash", "list", "set", "zset"};
    bareAppend(c, {"MULTI"});
    for (const QByteArray &k : keys)
        bareAppend(c, {"TYPE", k});
    for (const QByteArray &k : keys)
        bareAppend(c, {"ttl", k});
    bareAppend(c, {"EXEC"});
    std::vector<redisReply *> first = bareRead(c, 2 * keys.size() + 2);
    const redisReply *exec = first.back();
    if (exec->type != REDIS_REPLY_ARRAY || exec->elements != size_t(2 * keys.size())) {
        std::fprintf(stderr, "bare read failed: unexpected reply to EXEC\n");
        std::exit(2);
    }
    bareAppend(c, {"MULTI"});
    qsizetype values = 0;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QByteArray type(exec->element[i]->str, qsizetype(exec->element[i]->len));
        if (type == names[0])
            bareAppend(c, {"GET", keys[i]});
        else if (type == names[1])
            bareAppend(c, {"HGETALL", keys[i]});
        else if (type == names[2])
            bareAppend(c, {"LRANGE", keys[i], "0", "-1"});
        else if (type == names[3])
            bareAppend(c, {"SMEMBERS", keys[i]});
        else if (type == names[4])
            bareAppend(c, {"ZREVRANGE", keys[i], "0", "-1", "WITHSCORES"});
        else
            continue;
        ++values;
    }
    bareAppend(c, {"EXEC"});
    std::vector<redisReply *> second = bareRead(c, values + 2);
    freeAll(first);
    freeAll(second);
    return values;
}

QByteArray keyName(qint64 i)
{
    // 20 bytes: "key:" and 16 digits.
    return QByteArrayLiteral("key:") + QByteArray::number(i).rightJustified(16, '0');
}

int opFill(const Options &o)
{
    HiredisClient client;
    client.setPassword(o.password.toUtf8());
    if (!client.connect(o.host, o.port)) {
        std::fprintf(stderr, "connect failed: %s\n", qPrintable(client.lastError()));
        return 2;
    }
    client.commandArgv({"SELECT", QByteArray::number(o.db)});
    client.setSelectedDatabase(o.db);
    QElapsedTimer timer;
    timer.start();
    const qint64 batch = 100000;
    for (qint64 start = 0; start < o.count; start += batch) {
        QList<DerazArgv> commands;
        for (qint64 i = start; i < qMin(o.count, start + batch); ++i) {
            const QByteArray key = keyName(i);
            switch (o.mix ? i % 5 : 0) {
            case 0:
                commands.append({"SET", key, "value"});
                break;
            case 1:
                commands.append({"HSET", key, "f1", "a", "f2", "b"});
                break;
            case 2:
                commands.append({"RPUSH", key, "a", "b", "c"});
                break;
            case 3:
                commands.append({"SADD", key, "a", "b", "c"});
                break;
            case 4:
                commands.append({"ZADD", key, "1", "a", "2.5", "b"});
                break;
            }
        }
        for (const DerazReply &r : client.pipeline(commands))
            if (r.isNoReply() || r.isError()) {
                std::fprintf(stderr, "fill failed: %s\n", qPrintable(r.describe()));
                return 2;
            }
    }
    print("keys", o.count);
    print("fill_ms", double(timer.nsecsElapsed()) / 1e6);
    return 0;
}

int opLoad(const Options &o)
{
    // Memory first, on a fresh heap: resident bytes after loading (reply buffers
    // freed) minus before connecting, per key.
    qint64 keys = 0;
    double bytesPerKey = 0;
    {
        const qint64 before = residentBytes();
        QList<std::shared_ptr<DerazDatabase>> dbs;
        auto connection = openConnection(o, &dbs);
#ifdef __GLIBC__
        malloc_trim(0);
#endif
        const qint64 after = residentBytes();
        for (const auto &db : dbs)
            keys += db->numberOfKeys();
        bytesPerKey = keys ? double(after - before) / double(keys) : 0;
    }

    QList<double> ours, ref;
    for (int run = 0; run < kRuns; ++run) {
        {
            // What is opened is closed after the clock stops, as for the reference.
            QList<std::shared_ptr<DerazDatabase>> dbs;
            std::shared_ptr<DerazConnection> connection;
            ours.append(millisecondsTaken([&] { connection = openConnection(o, &dbs); }));
        }
        redisContext *c = nullptr;
        std::vector<redisReply *> replies;
        ref.append(millisecondsTaken([&] {
            c = bareConnect(o);
            for (int i = 0; i < 16; ++i) {
                bareAppend(c, {"MULTI"});
                bareAppend(c, {"select", QByteArray::number(i)});
                bareAppend(c, {"KEYS", "*"});
                bareAppend(c, {"EXEC"});
            }
            replies = bareRead(c, 64);
        }));
        freeAll(replies);
        redisFree(c);
    }
    const double loadMs = median(ours), refMs = median(ref);
    print("load_ms", loadMs);
    print("keys", keys);
    print("rss_bytes_per_key", bytesPerKey);
    print("ref_load_ms", refMs);
    print("ratio", refMs > 0 ? loadMs / refMs : 0.0);
    QList<double> rounds;
    for (int run = 0; run < kRuns; ++run) {
        print("round_load_ms", ours.at(run));
        print("round_ref_load_ms", ref.at(run));
        rounds.append(ref.at(run) > 0 ? ours.at(run) / ref.at(run) : 0.0);
    }
    printRoundRatios(rounds);
    return 0;
}

int opPages(const Options &o)
{
    QList<double> ours, ref;
    qint64 records = 0;
    for (int run = 0; run < kRuns; ++run) {
        {
            QList<std::shared_ptr<DerazDatabase>> dbs;
            std::shared_ptr<DerazConnection> connection;
            ours.append(secondsTaken([&] {
                connection = openConnection(o, &dbs);
                auto db = dbs.value(o.db);
                qint64 got = 0;
                const qint64 n = db->numberOfKeys();
                for (qint64 start = 0; start < n; start += kPageSize) {
                    QEventLoop loop;
                    db->fetchResultSetForRecordsAtIndexes(
                        Bastwick::IndexSet::fromRange(start, qMin<qint64>(kPageSize, n - start)),
                        [&](const QList<DerazUnit> &units) {
                            got += units.size();
                            loop.quit();
                        },
                        [&](const Bastwick::Error &e) {
                            std::fprintf(stderr, "page failed: %s\n", qPrintable(e.description));
                            std::exit(2);
                        });
                    loop.exec();
                }
                records = got;
            }));
        }
        redisContext *c = nullptr;
        std::vector<redisReply *> head;
        ref.append(secondsTaken([&] {
            c = bareConnect(o);
            bareAppend(c, {"select", QByteArray::number(o.db)});
            bareAppend(c, {"KEYS", "*"});
            head = bareRead(c, 2);
            const redisReply *list = head[1];
            const qint64 n = qint64(list->elements);
            for (qsizetype start = 0; start < qsizetype(n); start += kPageSize) {
                const qsizetype end = qMin<qsizetype>(qsizetype(n), start + kPageSize);
                QByteArrayList keys;
                for (qsizetype i = start; i < end; ++i)
                    keys.append(QByteArray(list->element[i]->str, qsizetype(list->element[i]->len)));
                bareReadPage(c, keys);
            }
        }));
        freeAll(head);
        redisFree(c);
    }
    const double ourRate = records / median(ours);
    const double refRate = records / median(ref);
    print("keys", records);
    print("keys_per_s", ourRate);
    print("ref_keys_per_s", refRate);
    print("ratio", ourRate > 0 ? refRate / ourRate : 0.0);
    // Each round's own ratio: ours and the reference ran one after the other, so a round
    // shares the machine's load of its moment.
    QList<double> rounds;
    for (int run = 0; run < kRuns; ++run)
        rounds.append(ref.at(run) > 0 ? ours.at(run) / ref.at(run) : 0.0);
    printRoundRatios(rounds);
    return 0;
}

// The database --db of the loaded connection; the program stops when there is none.
std::shared_ptr<DerazDatabase> databaseOf(const Options &o, const QList<std::shared_ptr<DerazDatabase>> &dbs)
{
    auto db = dbs.value(o.db);
    if (!db) {
        std::fprintf(stderr, "no database %d\n", o.db);
        std::exit(2);
    }
    return db;
}

int opWrite(const Options &o)
{
    QList<double> ours;
    for (int run = 0; run < kRuns; ++run) {
        // The clock starts once the connection has read every key of the server: the
        // figure is the writes', whatever the server holds.
        QList<std::shared_ptr<DerazDatabase>> dbs;
        const std::shared_ptr<DerazConnection> connection = openConnection(o, &dbs);
        const auto db = databaseOf(o, dbs);
        ours.append(secondsTaken([&] {
            for (qint64 start = 0; start < o.count; start += 1000) {
                QVariantList records;
                for (qint64 i = start; i < qMin<qint64>(o.count, start + 1000); ++i)
                    records.append(QVariant::fromValue(
                        DerazKV("w:" + QByteArray::number(i).rightJustified(18, '0'), "value", -1)));
                QEventLoop loop;
                db->saveKVs(records, 0, -1, [&](const std::optional<Bastwick::Error> &e) {
                    if (e) {
                        std::fprintf(stderr, "write failed: %s\n", qPrintable(e->description));
                        std::exit(2);
                    }
                    loop.quit();
                });
                loop.exec();
            }
        }));
    }
    print("keys", o.count);
    print("keys_per_s", o.count / median(ours));
    return 0;
}

double megabytes(qint64 bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

// Waits for a database operation that completes with an error or nothing.
void awaitOperation(const char *what, const std::function<void(DerazDatabase::ErrorCompletion)> &start)
{
    QEventLoop loop;
    start([&](const std::optional<Bastwick::Error> &e) {
        if (e) {
            std::fprintf(stderr, "%s failed: %s\n", what, qPrintable(e->description));
            std::exit(2);
        }
        loop.quit();
    });
    loop.exec();
}

int opRemove(const Options &o)
{
    // Once, as a user would: connect, query every key of the database, then remove
    // what the query found. The peak is measured from the loaded state on.
    QList<std::shared_ptr<DerazDatabase>> dbs;
    auto connection = openConnection(o, &dbs);
    auto db = dbs.value(o.db);
    awaitOperation("query", [&](auto done) { db->execQuery("*", done); });
    const qint64 keys = db->numberOfQueryKeys();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    const qint64 loaded = residentBytes();
    if (!resetPeak())
        std::fprintf(stderr, "the peak resident size cannot be reset; peak_rss_mb includes the load\n");
    const double seconds =
        secondsTaken([&] { awaitOperation("remove", [&](auto done) { db->removeAllQueryKey(done); }); });
    const qint64 peak = peakResidentBytes();
    print("keys", keys);
    print("keys_per_s", seconds > 0 ? double(keys) / seconds : 0.0);
    print("peak_rss_mb", megabytes(peak));
    print("loaded_rss_mb", megabytes(loaded));
    return 0;
}

// Told how an export ended.
class ExportOutcome : public QObject, public DerazExportOperationDelegate
{
public:
    void operationDidFinishWithError(DerazExportOperation *, const std::optional<Bastwick::Error> &e,
                                     const std::shared_ptr<DBDatabase> &) override
    {
        error = e;
        told = true;
    }
    bool told = false;
    std::optional<Bastwick::Error> error;
};

// The export of the key browser on the export queue, beside bare hiredis reading the same
// pages of the same key list with the same commands (no records, no file), over kRuns
// rounds, the two alternating. Exits with 1 when the export fails.
int opExport(const Options &o)
{
    QList<std::shared_ptr<DerazDatabase>> dbs;
    auto connection = openConnection(o, &dbs);
    auto db = databaseOf(o, dbs);
    const DerazKeyList &keys = db->keys();
    const qint64 n = db->numberOfKeys();
    redisContext *bare = bareConnect(o);
    freeReplyObject(redisCommand(bare, "SELECT %d", o.db));
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    const qint64 loaded = residentBytes();

    qint64 read = 0;
    qint64 peak = 0;
    QList<double> bareTimes, exported, ratios;
    for (int round = 0; round < kRuns; ++round) {
        read = 0;
        bareTimes.append(secondsTaken([&] {
            for (qint64 start = 0; start < n; start += exportPageMaxCount)
                read += bareReadPage(bare, keys.mid(start, exportPageMaxCount));
        }));
#ifdef __GLIBC__
        malloc_trim(0);
#endif
        resetPeak();
        QFile::remove(o.out);
        ExportOutcome outcome;
        exported.append(secondsTaken([&] {
            auto op = std::make_shared<DerazExportOperation>(db->dbExport(), o.out);
            op->setExportType(o.type);
            op->setDelegate(&outcome);
            QEventLoop loop;
            QObject::connect(op.get(), &Bastwick::Operation::finished, &loop, &QEventLoop::quit,
                             Qt::QueuedConnection);
            DerazExportManager::sharedInstance().AddExportOperation(op);
            loop.exec();
        }));
        // The delegate's message is posted before the operation finishes.
        QCoreApplication::processEvents();
        if (outcome.error) {
            std::fprintf(stderr, "export failed: %s\n", qPrintable(outcome.error->description));
            return 1;
        }
        if (!outcome.told || !QFile::exists(o.out)) {
            std::fprintf(stderr, "export failed: no file at %s\n", qPrintable(o.out));
            return 1;
        }
        peak = qMax(peak, peakResidentBytes());
        ratios.append(exported.last() / bareTimes.last());
        print("round_export_s", exported.last());
        print("round_bare_read_s", bareTimes.last());
    }
    redisFree(bare);
    print("keys", n);
    print("records_read", read);
    print("file_mb", megabytes(QFileInfo(o.out).size()));
    print("keys_per_s", n / median(exported));
    print("bare_read_keys_per_s", n / median(bareTimes));
    printRoundRatios(ratios);
    print("loaded_rss_mb", megabytes(loaded));
    print("peak_rss_mb", megabytes(peak));
    print("peak_over_loaded_mb", megabytes(peak - loaded));
    return 0;
}

// A second connection that sends PING after PING while it lives, keeping the longest
// wait for a reply: how long the server served nobody else.
class ServerHold
{
public:
    explicit ServerHold(const Options &o)
        : m_context(bareConnect(o))
        , m_thread([this] { run(); })
    {
    }
    ~ServerHold() { stop(); }

    // The CPU time the pings took on this program's side, once stopped.
    double cpuMs() const { return m_cpuMs; }

    // Stops the pings; answers the longest wait in milliseconds.
    double stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_context) {
            redisFree(m_context);
            m_context = nullptr;
        }
        return m_longestMs;
    }

private:
    void run()
    {
        const double cpuAtStart = threadCpuMs();
        const auto keepCpu = qScopeGuard([&] { m_cpuMs = threadCpuMs() - cpuAtStart; });
        while (!m_stop) {
            redisReply *reply = nullptr;
            const double ms = millisecondsTaken(
                [&] { reply = static_cast<redisReply *>(redisCommand(m_context, "PING")); });
            if (!reply) {
                std::fprintf(stderr, "the second connection failed: %s\n", m_context->errstr);
                return;
            }
            freeReplyObject(reply);
            m_longestMs = std::max(m_longestMs, ms);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    redisContext *m_context = nullptr;
    std::atomic<bool> m_stop{false};
    double m_longestMs = 0;
    double m_cpuMs = 0;
    std::thread m_thread;
};

// The database's number of keys, asked over a connection of its own.
qint64 databaseSize(const Options &o)
{
    redisContext *c = bareConnect(o);
    freeReplyObject(redisCommand(c, "SELECT %d", o.db));
    auto *size = static_cast<redisReply *>(redisCommand(c, "DBSIZE"));
    const qint64 keys = size && size->type == REDIS_REPLY_INTEGER ? size->integer : -1;
    freeReplyObject(size);
    redisFree(c);
    return keys;
}

void flushDatabase(const Options &o)
{
    redisContext *c = bareConnect(o);
    freeReplyObject(redisCommand(c, "SELECT %d", o.db));
    freeReplyObject(redisCommand(c, "FLUSHDB"));
    redisFree(c);
}

// The same lines sent by redis-cli --pipe (no transaction), in seconds; nothing when it
// failed or reported errors.
std::optional<double> pipeSeconds(const Options &o, const QString &redisCli)
{
    QStringList args = {QStringLiteral("-h"), o.host,
                        QStringLiteral("-p"), QString::number(o.port),
                        QStringLiteral("-n"), QString::number(o.db)};
    if (!o.password.isEmpty())
        args << QStringLiteral("-a") << o.password << QStringLiteral("--no-auth-warning");
    args << QStringLiteral("--pipe");
    QProcess cli;
    cli.setStandardInputFile(o.in);
    cli.setProcessChannelMode(QProcess::MergedChannels);
    const double seconds = secondsTaken([&] {
        cli.start(redisCli, args);
        cli.waitForFinished(-1);
    });
    const QByteArray output = cli.readAll();
    if (cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0 || !output.contains("errors: 0,")) {
        std::fprintf(stderr, "redis-cli --pipe failed: %s\n", output.constData());
        return std::nullopt;
    }
    return seconds;
}

void printSpread(const char *name, QList<double> values)
{
    std::sort(values.begin(), values.end());
    print(name, median(values));
    print((QByteArray(name) + "_min").constData(), values.constFirst());
    print((QByteArray(name) + "_max").constData(), values.constLast());
}

// The command-file import of the key browser: every line of the file, one transaction,
// into an emptied database, kRuns times. When redis-cli is installed, each run alternates
// with redis-cli --pipe of the same file (no transaction) into the emptied database, and
// ratio is ours over its time in the same round. Figures are the median, with _min and
// _max over the rounds. Memory is measured from the loaded state (the connection open,
// its key lists read).
int opImport(const Options &o)
{
    QList<std::shared_ptr<DerazDatabase>> dbs;
    auto connection = openConnection(o, &dbs);
    auto db = databaseOf(o, dbs);
    QFile file(o.in);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(o.in));
        return 2;
    }
    qint64 lines = 0;
    while (!file.atEnd())
        lines += file.read(1 << 20).count('\n');
    file.close();
    const QString redisCli = QStandardPaths::findExecutable(QStringLiteral("redis-cli"));
    if (redisCli.isEmpty())
        std::fprintf(stderr, "redis-cli is not installed: no ratio\n");
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    const qint64 loaded = residentBytes();
    qint64 peak = loaded;
    qint64 keys = 0;
    QList<double> times, ours, holds, pipes, ratios, cpuRatios;
    for (int run = 0; run < kRuns; ++run) {
        flushDatabase(o);
        resetPeak();
        std::optional<Bastwick::Error> error;
        // The import's CPU time: this process's over the import, less the pinging thread's.
        const double cpuBefore = cpuMs(RUSAGE_SELF);
        ServerHold hold(o);
        const double seconds = secondsTaken([&] {
            QEventLoop loop;
            db->importFile(o.in, [&](const std::optional<Bastwick::Error> &e) {
                error = e;
                loop.quit();
            });
            loop.exec();
        });
        holds.append(hold.stop());
        const double importCpuMs = cpuMs(RUSAGE_SELF) - cpuBefore - hold.cpuMs();
        peak = qMax(peak, peakResidentBytes());
        if (error) {
            std::fprintf(stderr, "import failed: %s\n", qPrintable(error->description));
            return 2;
        }
        keys = databaseSize(o);
        times.append(seconds);
        ours.append(keys / seconds);
        if (redisCli.isEmpty())
            continue;
        flushDatabase(o);
        const double childCpuBefore = cpuMs(RUSAGE_CHILDREN);
        const std::optional<double> pipe = pipeSeconds(o, redisCli);
        const double pipeCpuMs = cpuMs(RUSAGE_CHILDREN) - childCpuBefore;
        if (!pipe)
            return 2;
        if (databaseSize(o) != keys) {
            std::fprintf(stderr, "redis-cli --pipe made %lld keys, the import %lld\n",
                         static_cast<long long>(databaseSize(o)), static_cast<long long>(keys));
            return 2;
        }
        pipes.append(keys / *pipe);
        ratios.append(seconds / *pipe);
        print("round_import_cpu_ms", importCpuMs);
        print("round_pipe_cpu_ms", pipeCpuMs);
        cpuRatios.append(pipeCpuMs > 0 ? importCpuMs / pipeCpuMs : 0.0);
    }
    print("lines", lines);
    print("keys", keys);
    print("import_s", median(times));
    print("lines_per_s", lines / median(times));
    printSpread("keys_per_s", ours);
    printSpread("server_hold_ms", holds);
    if (!ratios.isEmpty()) {
        printSpread("pipe_keys_per_s", pipes);
        printSpread("ratio", ratios);
        printSpread("client_cpu_ratio", cpuRatios);
    }
    print("loaded_rss_mb", megabytes(loaded));
    print("peak_rss_mb", megabytes(peak));
    print("peak_over_loaded_mb", megabytes(peak - loaded));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOptions({{"host", "server host", "host", "127.0.0.1"},
                       {"port", "server port", "port", "6379"},
                       {"password", "password", "password"},
                       {"op", "fill, load, pages, write, remove, export or import", "op"},
                       {"type", "export type: 8 JSON lines, 14 command text", "type", "8"},
                       {"out", "export file", "out"},
                       {"in", "import file", "in"},
                       {"db", "database number", "db", "0"},
                       {"count", "number of keys", "count", "0"},
                       {"mix", "fill with all five types in turn"}});
    parser.addHelpOption();
    parser.process(app);
    Options o;
    o.host = parser.value("host");
    o.port = parser.value("port").toInt();
    o.password = parser.value("password");
    o.op = parser.value("op");
    o.db = parser.value("db").toInt();
    o.count = parser.value("count").toLongLong();
    o.mix = parser.isSet("mix");
    o.type = parser.value("type").toInt();
    o.out = parser.value("out");
    o.in = parser.value("in");
    if (o.op == QLatin1String("fill"))
        return opFill(o);
    if (o.op == QLatin1String("load"))
        return opLoad(o);
    if (o.op == QLatin1String("pages"))
        return opPages(o);
    if (o.op == QLatin1String("write"))
        return opWrite(o);
    if (o.op == QLatin1String("remove"))
        return opRemove(o);
    if (o.op == QLatin1String("export") && !o.out.isEmpty())
        return opExport(o);
    if (o.op == QLatin1String("import") && !o.in.isEmpty())
        return opImport(o);
    std::fprintf(
        stderr,
        "unknown --op or missing --out/--in; use fill, load, pages, write, remove, export or import\n");
    return 1;
}

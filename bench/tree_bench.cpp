// tree_bench: a database node with a million key rows from a real compact key list, in a
// tree view (offscreen). Prints, one figure a line:
//   build_ms           model, connection and database nodes, the view shown and painted
//   expand_ms          expanding the database node until the view has painted
//   scroll_frame_ms    median time of one frame while scrolling to the end
//   select_ms          selecting a key far down, scrolling to it and painting
//   rss_bytes_per_row  resident memory added per key row, beyond the key list itself
// (expand_cpu_ms: the expansion's CPU time, for runs on a busy machine; expand_again_ms:
// collapsing and expanding again.)
//
// The view keeps nothing per row, so an expansion should map in next to no fresh memory.
// What a first touch costs depends on the machine (a virtual machine may charge tens of
// microseconds per page), so these lines show how much of the expansion is that:
//   expand_page_faults   pages mapped in during the first expansion
//   page_fault_us        CPU time of mapping in one fresh page on this machine
//   expand_fault_cpu_ms  expand_page_faults x page_fault_us: the share of expand_cpu_ms
//                        that is the machine mapping in memory, not work of the view or model
//
//   tree_bench [--keys N]

#include <pavisade/PavisadeClasses.h>
#include <pavisade/tables/TableViewExtension.h>
#include <pavisade/trees/OutlineViewExtension.h>
#include <pavisade/trees/XXXTreeViewDataDelegate.h>

#include <kestrune/data/records/DerazKeyList.h>

#include <bastwick/ByteText.h>

#include "ProcessMemory.h"
#include "ThreadClock.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QElapsedTimer>
#include <QtGui/QImage>
#include <QtWidgets/QApplication>
#include <QtWidgets/QScrollBar>
#include <pavisade/trees/OutlineView.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The key rows of one database node, read by index from the key list: nothing per key.
class KeyListRows : public Pavisade::TreeLeafRows
{
public:
    KeyListRows(QString parentUrl, DerazKeyList keys)
        : m_prefix(parentUrl + QLatin1Char('/'))
        , m_keys(std::move(keys))
    {
    }
    qsizetype childCount() const override { return m_keys.size(); }
    QVariant childValue(qsizetype index, const QString &key) const override
    {
        if (key == QLatin1String("name"))
            return Bastwick::textFromBytes(m_keys.view(index).data(), m_keys.view(index).size());
        if (key == QLatin1String("url"))
            return m_prefix + Bastwick::textFromBytes(m_keys.view(index).data(), m_keys.view(index).size());
        if (key == QLatin1String("type"))
            return QStringLiteral("key");
        return {};
    }
    qsizetype indexOfUrl(const QString &url) const override
    {
        if (!url.startsWith(m_prefix))
            return -1;
        return m_keys.indexOf(Bastwick::bytesFromText(url.mid(m_prefix.size())));
    }

private:
    QString m_prefix;
    DerazKeyList m_keys;
};

// Pages this thread has mapped in so far (faults served without reading a file).
long minorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt;
}

// CPU microseconds for the first write to a fresh page: a block the process never used
// is mapped, written once per page and given back.
double pageFaultMicros()
{
    const long page = sysconf(_SC_PAGESIZE);
    const long pages = 4096;
    void *block =
        mmap(nullptr, size_t(page * pages), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return 0;
    const double start = KestruneBench::threadCpuMs();
    for (long i = 0; i < pages; ++i)
        static_cast<volatile char *>(block)[i * page] = 1;
    const double spent = KestruneBench::threadCpuMs() - start;
    munmap(block, size_t(page * pages));
    return spent * 1e3 / double(pages);
}

double ms(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Paints the whole view (header, rows, scroll bars) as a frame of the screen would.
void paintNow(Pavisade::OutlineView &tree)
{
    static QImage frame;
    if (frame.size() != tree.size())
        frame = QImage(tree.size(), QImage::Format_ARGB32_Premultiplied);
    tree.render(&frame);
}

void configure(Pavisade::OutlineView &tree)
{
    tree.resize(480, 800);
    tree.setUniformRowHeights(true);
    tree.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    tree.setSelectionMode(QAbstractItemView::ExtendedSelection);
    XXXNSTableColumnField name;
    name.setIdentifier(QStringLiteral("name"));
    name.setTitle(QStringLiteral("Keys"));
    Pavisade::updateColumnsDef(&tree, {name});
}

} // namespace

int main(int argc, char **argv)
{
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    QCommandLineOption keysOption(QStringLiteral("keys"), QStringLiteral("Key rows."), QStringLiteral("N"),
                                  QStringLiteral("1000000"));
    parser.addOption(keysOption);
    parser.addHelpOption();
    parser.process(app);
    const qsizetype keyCount = parser.value(keysOption).toLongLong();
    Pavisade::registerPavisadeClasses();

    // Warm up the platform, fonts and styles with a small tree, so that the figures
    // below measure the rows.
    {
        Pavisade::OutlineView warm;
        XXXTreeViewDataDelegate warmModel;
        configure(warm);
        warmModel.setOwner(&warm);
        warmModel.addData(Pavisade::TreeNode::create({{QStringLiteral("name"), QStringLiteral("warm")}}));
        warm.show();
        paintNow(warm);
        app.processEvents();
    }

    DerazKeyList keys;
    keys.reserve(keyCount, keyCount * 24);
    for (qsizetype i = 0; i < keyCount; ++i)
        keys.append(QByteArray("user:") + QByteArray::number(i).rightJustified(7, '0') + ":session");
    app.processEvents();
    const qint64 rssBefore = KestruneBench::residentBytes();

    QElapsedTimer timer;
    timer.start();
    Pavisade::OutlineView tree;
    XXXTreeViewDataDelegate model;
    configure(tree);
    model.setOwner(&tree);
    const Pavisade::TreeNodePtr connection = Pavisade::TreeNode::createWithChildren(
        {{QStringLiteral("name"), QStringLiteral("local")}, {QStringLiteral("url"), QStringLiteral("1")}});
    Pavisade::TreeNodePtr database;
    for (int db = 0; db < 16; ++db) {
        const QString name = QStringLiteral("DB%1").arg(db);
        const Pavisade::TreeNodePtr node = Pavisade::TreeNode::createWithChildren(
            {{QStringLiteral("name"), name}, {QStringLiteral("url"), QStringLiteral("1/") + name}});
        if (db == 0) {
            node->setLeafRows(std::make_shared<KeyListRows>(QStringLiteral("1/DB0"), keys));
            database = node;
        }
        connection->appendChild(node);
    }
    model.addData(connection);
    tree.show();
    tree.expand(model.indexForNode(connection));
    paintNow(tree);
    const double buildMs = ms(timer);

    timer.restart();
    const double expandCpuStart = KestruneBench::threadCpuMs();
    const long faultsStart = minorFaults();
    tree.expand(model.indexForNode(database));
    paintNow(tree);
    const double expandMs = ms(timer);
    const double expandCpuMs = KestruneBench::threadCpuMs() - expandCpuStart;
    const long expandFaults = minorFaults() - faultsStart;

    // The same expansion again, with the view's code and data warm.
    tree.collapse(model.indexForNode(database));
    paintNow(tree);
    timer.restart();
    tree.expand(model.indexForNode(database));
    paintNow(tree);
    const double expandAgainMs = ms(timer);

    QScrollBar *bar = tree.verticalScrollBar();
    const int steps = 400;
    QList<double> frames;
    for (int i = 1; i <= steps; ++i) {
        timer.restart();
        bar->setValue(int(qint64(bar->maximum()) * i / steps));
        paintNow(tree);
        frames.append(ms(timer));
    }
    std::sort(frames.begin(), frames.end());
    const double frameMs = frames.at(frames.size() / 2);

    const QModelIndex target = model.index(int(keyCount * 9 / 10), 0, model.indexForNode(database));
    bar->setValue(0);
    paintNow(tree);
    timer.restart();
    tree.selectionModel()->setCurrentIndex(target,
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tree.scrollTo(target);
    paintNow(tree);
    const double selectMs = ms(timer);
    const Pavisade::TreeNodePtr selected = Pavisade::currentSelectedRowItem(&tree);
    app.processEvents();

    const qint64 rssAfter = KestruneBench::residentBytes();
    const double faultMicros = pageFaultMicros();
    std::printf("rows %lld\n", static_cast<long long>(model.rowCount(model.indexForNode(database))));
    std::printf("selected %s\n", selected ? qPrintable(selected->url()) : "(none)");
    std::printf("key_list_bytes %lld\n", static_cast<long long>(keys.memoryUsage()));
    std::printf("build_ms %.2f\n", buildMs);
    std::printf("expand_ms %.2f\n", expandMs);
    std::printf("expand_cpu_ms %.2f\n", expandCpuMs);
    std::printf("expand_again_ms %.2f\n", expandAgainMs);
    std::printf("expand_page_faults %ld\n", expandFaults);
    std::printf("page_fault_us %.2f\n", faultMicros);
    std::printf("expand_fault_cpu_ms %.2f\n", double(expandFaults) * faultMicros / 1e3);
    std::printf("scroll_frame_ms %.3f\n", frameMs);
    std::printf("select_ms %.2f\n", selectMs);
    std::printf("rss_bytes_per_row %.1f\n",
                double(rssAfter - rssBefore) / double(qMax<qsizetype>(1, keyCount)));
    return 0;
}

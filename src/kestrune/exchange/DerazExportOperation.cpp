#include <kestrune/exchange/DerazExportOperation.h>

#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/model/DBExport.h>
#include <kestrune/data/records/DerazCommandLine.h>
#include <kestrune/data/records/DerazUnit.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QDir>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>

#include <condition_variable>
#include <deque>
#include <mutex>

const int exportPageMaxCount = 100;

namespace {

const QString kExportErrorDomain = QStringLiteral("com.fenwarp.Deraz.error");

// A server refusal because a key holds another type than the command expects: the key
// changed type between the reads of one page.
bool isTypeChange(const Bastwick::Error &error)
{
    return error.description.contains(QLatin1String("WRONGTYPE"));
}

// Reads the pages of an export in order on the connection's queue, ahead of the export:
// while the export formats and writes one page, the next ones are read. One read is in
// flight at a time, and the next one starts as long as no more than one finished page
// waits: from the connection's queue when a read ends, so the connection does not wait for
// the export's thread to wake up, and when the export takes a page. Memory stays bounded
// by a few pages whatever the size of the database. After a failed read no more start
// until the export has taken the failure, and none once the export has ended.
class PagesAhead
{
public:
    PagesAhead(std::shared_ptr<DerazDatabase> db, const DerazKeyList &keys)
        : m_state(std::make_shared<State>())
    {
        m_state->db = std::move(db);
        m_state->keys = keys;
    }
    // The export ended: a read still in flight starts no more.
    ~PagesAhead()
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->next = pageCount(m_state->keys);
    }
    PagesAhead(const PagesAhead &) = delete;
    PagesAhead &operator=(const PagesAhead &) = delete;

    // The number of pages of a key list, and the keys of one: exportPageMaxCount keys, the
    // last page taking the rest.
    static qint64 pageCount(const DerazKeyList &keys)
    {
        return (keys.size() + exportPageMaxCount - 1) / exportPageMaxCount;
    }
    static QByteArrayList keysOfPage(const DerazKeyList &keys, qint64 page)
    {
        return keys.mid(page * exportPageMaxCount, exportPageMaxCount);
    }

    // The records of the next page, waiting for its read: nothing and the error when the
    // read failed.
    std::optional<QList<DerazUnit>> take(Bastwick::Error *error)
    {
        State &state = *m_state;
        std::unique_lock<std::mutex> lock(state.mutex);
        readMore(m_state, lock);
        state.changed.wait(lock, [&] { return !state.ready.empty(); });
        Page page = std::move(state.ready.front());
        state.ready.pop_front();
        // The page after is read while this one is written.
        readMore(m_state, lock);
        if (page.error) {
            *error = *page.error;
            return std::nullopt;
        }
        return std::move(page.units);
    }

private:
    struct Page
    {
        QList<DerazUnit> units;
        std::optional<Bastwick::Error> error;
    };
    // Shared with the queued reads, which may end after the export gave up on them.
    struct State
    {
        std::shared_ptr<DerazDatabase> db;
        DerazKeyList keys;
        std::mutex mutex;
        std::condition_variable changed;
        qint64 next = 0;
        bool inFlight = false;
        std::deque<Page> ready;
    };

    // Starts the read of the next page when there is one and room for it; called and
    // returning with the lock held.
    static void readMore(const std::shared_ptr<State> &state, std::unique_lock<std::mutex> &lock)
    {
        const bool room = state->ready.size() <= 1 && (state->ready.empty() || !state->ready.back().error);
        if (state->inFlight || !room || state->next >= pageCount(state->keys))
            return;
        state->inFlight = true;
        const QByteArrayList keys = keysOfPage(state->keys, state->next++);
        // Unlocked: without a connection the read ends before it returns.
        lock.unlock();
        state->db->derazUnitsFromKeysQueued(
            keys, [state](QList<DerazUnit> units, std::optional<Bastwick::Error> error) {
                finished(state, std::move(units), std::move(error));
            });
        lock.lock();
    }

    static void finished(const std::shared_ptr<State> &state, QList<DerazUnit> units,
                         std::optional<Bastwick::Error> error)
    {
        std::unique_lock<std::mutex> lock(state->mutex);
        state->ready.push_back(Page{std::move(units), std::move(error)});
        state->inFlight = false;
        readMore(state, lock);
        state->changed.notify_all();
    }

    std::shared_ptr<State> m_state;
};

} // namespace

DerazExportOperationDelegate::~DerazExportOperationDelegate() = default;

void DerazExportOperationDelegate::operationDidFinishWithError(DerazExportOperation *,
                                                               const std::optional<Bastwick::Error> &,
                                                               const std::shared_ptr<DBDatabase> &)
{
}

void DerazExportOperationDelegate::operationProgress(DerazExportOperation *, qint64, qint64) {}

void DerazExportOperationDelegate::operation(DerazExportOperation *, const std::shared_ptr<DBDatabase> &,
                                             const QStringList &)
{
}

void DerazExportOperationDelegate::operationDidFinishWithWithError(DerazExportOperation *,
                                                                   const std::optional<Bastwick::Error> &,
                                                                   const std::shared_ptr<DBDatabase> &,
                                                                   const QStringList &)
{
}

DerazExportOperation::DerazExportOperation(std::shared_ptr<DBExport> exportor, const QString &filePath)
    : m_exportor(std::move(exportor))
    , m_filePath(filePath)
{
}

DerazExportOperation::DerazExportOperation(std::shared_ptr<DBExport> exportor, const QByteArrayList &keys,
                                           const QString &filePath)
    : DerazExportOperation(std::move(exportor), filePath)
{
    m_keys = keys;
}

DerazExportOperation::DerazExportOperation(std::shared_ptr<DBExport> exportor, const QString &query,
                                           const QString &filePath)
    : DerazExportOperation(std::move(exportor), filePath)
{
    m_query = query;
}

DerazExportOperation::~DerazExportOperation() = default;

QByteArray DerazExportOperation::recordText(const DerazUnit &unit, int exportType)
{
    QByteArray text;
    appendRecordText(text, unit, exportType);
    return text;
}

void DerazExportOperation::appendRecordText(QByteArray &out, const DerazUnit &unit, int exportType)
{
    switch (exportType) {
    case DBExportTypeJSON:
        unit.appendJsonLine(out);
        break;
    case DBExportTypeDerazCommand: {
        const qsizetype before = out.size();
        unit.appendCmd(out);
        // A key that expires gets its remaining time to live after the lines that rebuild
        // it, so an import keeps it expiring. The read gives whole seconds and can give 0
        // for a key about to go; EXPIRE 0 would delete the key at once, so 1 is the least.
        if (out.size() > before && unit.ttl() >= 0)
            DerazCommandLine::appendLine(
                out, {"EXPIRE", unit.key(), QByteArray::number(qMax<qint64>(1, unit.ttl()))});
        break;
    }
    default:
        break;
    }
}

std::optional<QList<DerazUnit>> DerazExportOperation::readPageAgain(DerazDatabase &db,
                                                                    const QByteArrayList &keys,
                                                                    const Bastwick::Error &first,
                                                                    Bastwick::Error *error)
{
    if (!isTypeChange(first)) {
        Bastwick::setError(error, first);
        return std::nullopt;
    }
    XXXLog(Bastwick::format("page of %ld keys read again: %@", qint64(keys.size()), first.description));
    Bastwick::Error second;
    QList<DerazUnit> units = db.derazUnitsFromKeys(keys, &second);
    if (second.description.isEmpty())
        return units;
    if (!isTypeChange(second)) {
        Bastwick::setError(error, second);
        return std::nullopt;
    }
    // Key by key, so one key that keeps changing does not hold the others back.
    units.clear();
    for (const QByteArray &key : keys) {
        std::optional<DerazUnit> unit;
        for (int attempt = 0; attempt < 2; ++attempt) {
            Bastwick::Error e;
            unit = db.derazUnitFromKey(key, &e);
            if (e.description.isEmpty())
                break;
            if (!isTypeChange(e)) {
                Bastwick::setError(error, e);
                return std::nullopt;
            }
            unit.reset();
        }
        if (unit)
            units.append(*unit);
        else
            XXXLog(Bastwick::format("key left out, its type kept changing: %@", Bastwick::logText(key)));
    }
    return units;
}

void DerazExportOperation::main()
{
    const std::shared_ptr<DBDatabase> database = m_exportor ? m_exportor->database() : nullptr;
    const auto db = std::dynamic_pointer_cast<DerazDatabase>(database);
    const DerazKeyList keys = db ? db->keys() : DerazKeyList();
    if (keys.size() <= 0) {
        XXXLog(QStringLiteral("count nil error!"));
        return;
    }

    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath()))
        XXXLog(Bastwick::format("createPathIfNeded %@ failed", info.absolutePath()));
    QSaveFile file(m_filePath);
    // Every way an export can fail ends here: no file is left behind and the delegate
    // gets the error.
    const auto fail = [&](const Bastwick::Error &error) {
        file.cancelWriting();
        XXXLog(Bastwick::format("export failed! error %@ ", error.toString()));
        finish(error, database);
    };
    // Unbuffered, so that each write reaches the file system at once and a full disk
    // shows in the write that meets it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(fileError(file.errorString()));
        return;
    }
    std::unique_ptr<QIODevice> wrapped = m_outputWrapper ? m_outputWrapper(file) : nullptr;
    if (auto error = writePages(wrapped ? *wrapped : static_cast<QIODevice &>(file), db, keys)) {
        fail(*error);
        return;
    }
    if (!file.commit()) {
        fail(fileError(file.errorString()));
        return;
    }
    reportProgress(keys.size(), keys.size());
    finish(std::nullopt, database);
}

// Writes the text of every key, a page at a time, reading the next page on the
// connection's queue while this one is written; the error that stopped it, if any (a
// cancellation, a failed read, a failed write).
std::optional<Bastwick::Error> DerazExportOperation::writePages(QIODevice &out,
                                                                const std::shared_ptr<DerazDatabase> &db,
                                                                const DerazKeyList &keys)
{
    const qint64 count = keys.size();
    const qint64 pages = PagesAhead::pageCount(keys);
    PagesAhead ahead(db, keys);
    QByteArray chunk;
    QElapsedTimer sinceReport;
    sinceReport.start();
    for (qint64 page = 0; page < pages; ++page) {
        if (isCancelled())
            return Bastwick::Error(kExportErrorDomain, 1, QStringLiteral("The export was cancelled."));
        Bastwick::Error error;
        std::optional<QList<DerazUnit>> units = ahead.take(&error);
        if (!units)
            units = readPageAgain(*db, PagesAhead::keysOfPage(keys, page), error, &error);
        if (!units)
            return error;
        chunk.resize(0); // keeps its room for the next page
        for (const DerazUnit &unit : std::as_const(*units))
            appendRecordText(chunk, unit, m_exportType);
        QString reason;
        if (!Bastwick::writeAllBytes(out, chunk, &reason))
            return fileError(reason);
        const qint64 done = qMin(count, (page + 1) * exportPageMaxCount);
        if (sinceReport.elapsed() >= 100) {
            reportProgress(done, count);
            sinceReport.restart();
        }
    }
    return std::nullopt;
}

// A failure of the export file, naming it and the system's reason.
Bastwick::Error DerazExportOperation::fileError(const QString &reason) const
{
    const Bastwick::Error error(kExportErrorDomain, 1,
                                QStringLiteral("Could not write \u201c%1\u201d: %2")
                                    .arg(QDir::toNativeSeparators(m_filePath), reason));
    XXXLog(Bastwick::format("exportTextFileAtPath error=%@", error.toString()));
    return error;
}

void DerazExportOperation::reportProgress(qint64 written, qint64 total)
{
    QPointer<QObject> delegate = m_delegate;
    // The operation stays alive for the posted block when the queue owns it.
    auto self = weak_from_this().lock();
    DerazExportOperation *operation = this;
    Bastwick::mainQueue()->async([self, operation, delegate, written, total] {
        if (auto *d = dynamic_cast<DerazExportOperationDelegate *>(delegate.data()))
            d->operationProgress(operation, written, total);
    });
}

void DerazExportOperation::finish(const std::optional<Bastwick::Error> &error,
                                  const std::shared_ptr<DBDatabase> &database)
{
    QPointer<QObject> delegate = m_delegate;
    // The posted block keeps the operation (when shared) and the database for the delegate.
    auto self = weak_from_this().lock();
    DerazExportOperation *operation = this;
    Bastwick::mainQueue()->async([self, operation, delegate, error, database] {
        if (auto *d = dynamic_cast<DerazExportOperationDelegate *>(delegate.data()))
            d->operationDidFinishWithError(operation, error, database);
    });
}

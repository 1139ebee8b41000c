#include <kestrune/exchange/DerazExportOperation.h>

#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/model/DBExport.h>
#include <kestrune/data/records/DerazCommandLine.h>
#include <kestrune/data/records/DerazUnit.h>

#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QDir>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>

#include <cmath>

const int exportPageMaxCount = 100;

namespace {

const QString kExportErrorDomain = QStringLiteral("com.fenwarp.Deraz.error");

// A server refusal because a key holds another type than the command expects: the key
// changed type between the reads of one page.
bool isTypeChange(const Bastwick::Error &error)
{
    return error.description.contains(QLatin1String("WRONGTYPE"));
}

// Writes all of bytes, however many writes it takes; false, with the system's reason, when
// a write fails or makes no progress.
bool writeAll(QIODevice &device, const QByteArray &bytes, QString *reason)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = device.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            *reason = device.errorString();
            return false;
        }
        written += n;
    }
    return true;
}

} // namespace

DerazExportOperationDelegate::~DerazExportOperationDelegate() = default;

void DerazExportOperationDelegate::operationDidFinishWithError(DerazExportOperation *,
                                                               const std::optional<Bastwick::Error> &,
                                                               const std::shared_ptr<DBDatabase> &)
{
}

void DerazExportOperationDelegate::operationProgress(DerazExportOperation *, qint64, qint64) {}

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

std::optional<QList<DerazUnit>> DerazExportOperation::readPage(DerazDatabase &db, const QByteArrayList &keys,
                                                               Bastwick::Error *error)
{
    Bastwick::Error first;
    QList<DerazUnit> units = db.derazUnitsFromKeys(keys, &first);
    if (first.description.isEmpty())
        return units;
    if (!isTypeChange(first)) {
        Bastwick::setError(error, first);
        return std::nullopt;
    }
    XXXLog(Bastwick::format("page of %ld keys read again: %@", qint64(keys.size()), first.description));
    Bastwick::Error second;
    units = db.derazUnitsFromKeys(keys, &second);
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
    const qint64 count = keys.size();
    if (count <= 0) {
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
    const auto fileFailed = [&](const QString &reason) {
        const Bastwick::Error error(kExportErrorDomain, 1,
                                    QStringLiteral("Could not write \u201c%1\u201d: %2")
                                        .arg(QDir::toNativeSeparators(m_filePath), reason));
        XXXLog(Bastwick::format("exportTextFileAtPath error=%@", error.toString()));
        fail(error);
    };
    // Unbuffered, so that each write reaches the file system at once and a full disk
    // shows in the write that meets it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fileFailed(file.errorString());
        return;
    }
    std::unique_ptr<QIODevice> wrapped = m_outputWrapper ? m_outputWrapper(file) : nullptr;
    QIODevice &out = wrapped ? *wrapped : static_cast<QIODevice &>(file);

    const qint64 pages = qint64(std::ceil(double(count) / double(exportPageMaxCount)));
    const qint64 pageSize = qMin<qint64>(exportPageMaxCount, count);
    QElapsedTimer sinceReport;
    sinceReport.start();
    qint64 done = 0;
    for (qint64 page = 0; page < pages; ++page) {
        if (isCancelled()) {
            fail(Bastwick::Error(kExportErrorDomain, 1, QStringLiteral("The export was cancelled.")));
            return;
        }
        const qint64 from = page * pageSize;
        const qint64 length = (page == pages - 1 && pages >= 2) ? count - from : pageSize;
        const QByteArrayList pageKeys = keys.mid(from, length);
        Bastwick::Error error;
        const std::optional<QList<DerazUnit>> units = readPage(*db, pageKeys, &error);
        if (!units) {
            fail(error);
            return;
        }
        QByteArray chunk;
        for (const DerazUnit &unit : *units)
            appendRecordText(chunk, unit, m_exportType);
        QString reason;
        if (!writeAll(out, chunk, &reason)) {
            fileFailed(reason);
            return;
        }
        done += length;
        if (sinceReport.elapsed() >= 100) {
            reportProgress(done, count);
            sinceReport.restart();
        }
    }
    if (!file.commit()) {
        fileFailed(file.errorString());
        return;
    }
    reportProgress(count, count);
    finish(std::nullopt, database);
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

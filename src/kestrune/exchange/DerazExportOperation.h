#pragma once

#include <bastwick/IndexSet.h>
#include <bastwick/platform/Error.h>
#include <bastwick/platform/OperationQueue.h>

#include <QtCore/QByteArray>
#include <QtCore/QByteArrayList>
#include <QtCore/QIODevice>
#include <QtCore/QPointer>
#include <QtCore/QString>

#include <functional>
#include <memory>
#include <optional>

class DBDatabase;
class DBExport;
class DerazDatabase;
class DerazKeyList;
class DerazExportOperation;
class DerazUnit;

// Export type codes, shared by the export registry, the import base and the key browser.
enum DBExportType : int {
    DBExportTypeSQL = 0,
    DBExportTypeJSON = 8,
    DBExportTypeCSV = 9,
    DBExportTypeXML = 10,
    DBExportTypePList = 11,
    DBExportTypeDerazCommand = 14,
};

// Keys read per page of an export.
extern const int exportPageMaxCount;

// Told on the main thread about a key export. Implemented by a QObject (the key browser),
// which the operation keeps only weakly.
class DerazExportOperationDelegate
{
public:
    virtual ~DerazExportOperationDelegate();
    // The export ended: no error on success; the file is complete, or not there at all.
    virtual void operationDidFinishWithError(DerazExportOperation *operation,
                                             const std::optional<Bastwick::Error> &error,
                                             const std::shared_ptr<DBDatabase> &database);
    // Keys written so far out of all keys; sent now and then while the export runs.
    virtual void operationProgress(DerazExportOperation *operation, qint64 written, qint64 total);
    // Part of the delegate's protocol for exports of chosen keys; the operation exports a
    // whole database and never sends them.
    virtual void operation(DerazExportOperation *operation, const std::shared_ptr<DBDatabase> &database,
                           const QStringList &keys);
    virtual void operationDidFinishWithWithError(DerazExportOperation *operation,
                                                 const std::optional<Bastwick::Error> &error,
                                                 const std::shared_ptr<DBDatabase> &database,
                                                 const QStringList &keys);
};

// Writes every key of a Deraz database to one file, as one JSON object per key and line
// (type 8) or as the keys' command text (type 14). It reads the keys page by page through
// the data layer's batch read, which runs on the connection's queue, and streams each page
// to a temporary file that replaces the target only when every page was written, so a
// failed or cancelled export leaves nothing behind. The next page is read while this one
// is formatted and written, so the server does not wait for the formatting nor the export
// for the server; memory stays bounded by a few pages. A write that fails or falls short
// (a full disk) ends the export at once with the system's reason.
//
// A page that fails because a key changed its type meanwhile is read again once, then key
// by key; a key that vanished leaves no line. Any other failure (a lost server, a reply
// that took too long) ends the export with that error.
//
// The operation also carries what its maker chose the export for (keys, a query, row
// indexes, a folder); the export itself writes every key of the database whichever of
// them is set.
//
// Runs on a worker thread of the export queue; reports on the main thread.
class DerazExportOperation : public Bastwick::Operation,
                             public std::enable_shared_from_this<DerazExportOperation>
{
    Q_OBJECT
public:
    DerazExportOperation(std::shared_ptr<DBExport> exportor, const QString &filePath);
    // The same, keeping the keys (names as bytes) or the query text the export was made for.
    DerazExportOperation(std::shared_ptr<DBExport> exportor, const QByteArrayList &keys,
                         const QString &filePath);
    DerazExportOperation(std::shared_ptr<DBExport> exportor, const QString &query, const QString &filePath);
    ~DerazExportOperation() override;

    std::shared_ptr<DBExport> exportor() const { return m_exportor; }
    QString filePath() const { return m_filePath; }
    void setFilePath(const QString &path) { m_filePath = path; }
    int exportType() const { return m_exportType; }
    void setExportType(int type) { m_exportType = type; }
    // The delegate must be a QObject implementing DerazExportOperationDelegate.
    void setDelegate(QObject *delegate) { m_delegate = delegate; }
    QObject *delegate() const { return m_delegate.data(); }
    // Set before the operation is queued; read on the main thread only.
    QByteArrayList keys() const { return m_keys; }
    void setKeys(const QByteArrayList &keys) { m_keys = keys; }
    QString query() const { return m_query; }
    void setExportQuery(const QString &query) { m_query = query; }
    Bastwick::IndexSet indexes() const { return m_indexes; }
    void setExportAtIndexes(const Bastwick::IndexSet &indexes) { m_indexes = indexes; }
    QString exportFolder() const { return m_exportFolder; }
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }

    // The device the file's bytes are written through, made from the file once it is
    // open; without one they go to the file itself. Lets a test stand for a disk that
    // fills up.
    using OutputWrapper = std::function<std::unique_ptr<QIODevice>(QIODevice &file)>;
    void setOutputWrapper(OutputWrapper wrapper) { m_outputWrapper = std::move(wrapper); }

    // The line(s) one record gives in the file of an export type: its JSON object and
    // "\n" (line and paragraph separators escaped, so every line reader sees one key
    // per line), or its command text followed, for a key that expires, by an EXPIRE line
    // with the remaining time to live (whole seconds, at least 1). Empty for a record
    // with nothing to write.
    static QByteArray recordText(const DerazUnit &unit, int exportType);
    // The same, appended to out.
    static void appendRecordText(QByteArray &out, const DerazUnit &unit, int exportType);

protected:
    void main() override;

private:
    // The records of a page whose read failed with first: read again when a key changed
    // its type meanwhile; nothing and error set when the page cannot be read.
    std::optional<QList<DerazUnit>> readPageAgain(DerazDatabase &db, const QByteArrayList &keys,
                                                  const Bastwick::Error &first, Bastwick::Error *error);
    void finish(const std::optional<Bastwick::Error> &error, const std::shared_ptr<DBDatabase> &database);
    void reportProgress(qint64 written, qint64 total);
    std::optional<Bastwick::Error> writePages(QIODevice &out, const std::shared_ptr<DerazDatabase> &db,
                                              const DerazKeyList &keys);
    Bastwick::Error fileError(const QString &reason) const;

    std::shared_ptr<DBExport> m_exportor;
    QString m_filePath;
    int m_exportType = DBExportTypeJSON;
    QPointer<QObject> m_delegate;
    QByteArrayList m_keys;
    QString m_query;
    Bastwick::IndexSet m_indexes;
    QString m_exportFolder;
    OutputWrapper m_outputWrapper;
};

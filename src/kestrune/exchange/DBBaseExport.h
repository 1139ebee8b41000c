#pragma once

#include <bastwick/IndexSet.h>
#include <bastwick/platform/Error.h>

#include <QtCore/QByteArray>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class AppExportConfig;
class DBExport;
class DBTable;

// The base of the table writers, one per file format (SQL, XML, JSON, CSV, property list),
// made by class name through the class registry. A writer describes its format (file
// extension, name filter) and writes tables, one table or a query's rows to files; each
// operation answers false with the first error it met (errorString() keeps its text) and
// writes every file whole or not at all, so a failed write leaves no half file. Every
// value written reads back unchanged through the matching reader; a value the format
// cannot hold that way fails the export, with its row and column named, before any
// file is written. The content comes
// from the producers, read through the export registry set with setExportDataKit().
//
// Several tables go into one folder named after the database: one file per table when
// the setting isExportSaveAsSingleFile is on, else one file for all, named after the
// database.
//
// Used on one thread at a time.
class DBBaseExport : public QObject
{
    Q_OBJECT
public:
    using TablePtr = std::shared_ptr<DBTable>;
    using TableList = QList<TablePtr>;
    using TableRows = QList<std::pair<TablePtr, QVariantList>>;

    // What a format writes. Each function gets the writer (for its registry and
    // settings); a missing function means the format cannot write that kind of file.
    struct Format
    {
        QString ext;        // without the dot
        QString nameFilter; // for file dialogs
        // Whether a table's file needs its rows (the SQL writer may write the schema alone).
        std::function<bool(DBBaseExport &)> needsRows{};
        // The file of one table from its rows (an error when it cannot be made).
        std::function<std::optional<QByteArray>(DBBaseExport &, const DBTable &, const QVariantList &,
                                                Bastwick::Error *)>
            tableFile{};
        // The file of a query's rows; the table file when not given.
        std::function<std::optional<QByteArray>(DBBaseExport &, const DBTable &, const QVariantList &,
                                                Bastwick::Error *)>
            queryFile{};
        // The one file of several tables, from the rows of those that could be read.
        std::function<QByteArray(DBBaseExport &, const TableRows &)> databaseFile{};
        // Whether the format holds every text (JSON escapes what it must). The rows of a
        // format that does not are checked before it is asked for a file: a value that
        // would not read back fails the export (DBExportProducers::checkWritable).
        bool holdsAnyText = false;
        // Whether table and column names go into markup (XML, property lists).
        bool namesInMarkup = false;
        // The diagnostic lines of the format's failures. In the lines of a file that
        // could not be written "%1" stands for the error's text, or for the file's path
        // where pathInLog says so. An empty line is not written.
        struct Logs
        {
            QString tableFile{};    // a table's file of a per-table export
            QString databaseFile{}; // the one file of several tables
            bool pathInLog = false;
            QString tableRead{};  // a table that could not be read ("%1": the error)
            QString noContent{};  // a one-table file with nothing to write
            QString fileFailed{}; // a one-table file that could not be written
            QString queryTable{}; // a query that names no table of the database
        } logs{};
    };

    explicit DBBaseExport(QObject *parent = nullptr);
    DBBaseExport(Format format, QObject *parent);
    ~DBBaseExport() override;

    // The file extension without the dot, and the file-dialog filter of the format.
    QString ext() const { return m_format.ext; }
    QString nameFilter() const { return m_format.nameFilter; }
    // The text of the last failure.
    QString errorString() const { return m_errorString; }

    // The registry whose database is read; the caller keeps it alive during the call.
    DBExport *exportDataKit() const { return m_exportDataKit; }
    void setExportDataKit(DBExport *kit) { m_exportDataKit = kit; }
    // The export settings: the shared ones unless others were set.
    AppExportConfig *config() const;
    void setConfig(AppExportConfig *config);

    bool exportTables(const TableList &tables, const QString &dbName, const QString &folder,
                      Bastwick::Error *error);
    // One table into <folder>/<database>/<table>.<ext>.
    bool exportTable(const TablePtr &table, const QString &folder, const Bastwick::IndexSet *indexes,
                     Bastwick::Error *error);
    bool exportTableToFile(const TablePtr &table, const QString &filePath, const Bastwick::IndexSet *indexes,
                           Bastwick::Error *error);
    // A table's rows chosen by a query, into a folder: no format writes this; the answer
    // is false and nothing is written.
    bool exportTable(const TablePtr &table, const QString &folder, const QString &query,
                     const Bastwick::IndexSet *indexes, Bastwick::Error *error);
    // A query's rows into <folder>/<database>/<table read>.<ext>.
    bool exportQuery(const QString &sql, const QString &folder, const Bastwick::IndexSet *indexes,
                     Bastwick::Error *error);
    bool exportQueryToFile(const QString &sql, const QString &filePath, const Bastwick::IndexSet *indexes,
                           Bastwick::Error *error);

    // Writes the bytes to the path atomically, making the folder first.
    bool exportTextFileAtPath(const QString &path, const QByteArray &content, Bastwick::Error *error);

protected:
    // Records the failure (the first one of an operation wins in the caller's slot).
    bool failed(Bastwick::Error *error, const Bastwick::Error &cause);

private:
    // An entry operation the format has no writing for: logged and failed.
    bool notImplemented(const QString &operation, Bastwick::Error *error);
    // The format's line about a file that could not be written.
    QString fileFailedLine(const QString &line, const QString &path) const;
    // Writes the format's line about a table that could not be read.
    void logTableRead(const Bastwick::Error &cause) const;
    // Writes the file of one table or query, with the format's lines when there is
    // nothing to write or the writing fails.
    bool writeOneFile(const QString &path, const std::optional<QByteArray> &content,
                      const Bastwick::Error &cause, Bastwick::Error *error);
    bool writeContent(const QString &path, const std::optional<QByteArray> &content,
                      const Bastwick::Error &cause, Bastwick::Error *error);
    bool rowsWritable(const DBTable &table, const QVariantList &rows, Bastwick::Error *error) const;
    std::optional<QByteArray> tableContent(const TablePtr &table, const Bastwick::IndexSet *indexes,
                                           Bastwick::Error *error);

    Format m_format;
    DBExport *m_exportDataKit = nullptr;
    QPointer<AppExportConfig> m_config;
    QString m_errorString;
};

#pragma once

#include <kestrune/exchange/DerazExportOperation.h>

#include <bastwick/platform/Error.h>

#include <QtCore/QObject>
#include <QtCore/QPoint>
#include <QtCore/QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class DerazDatabase;
class QMenu;
class QWidget;
class XXXOpenFileManager;

namespace Corbelan {
class FilePanel;
}

// The key browser's import and export: the export format menu (tag 0 JSON lines with the
// extension "json", any other tag command text with "txt"), the save panel, the hand-over
// of the export to the export queue and its outcome, and the import of a command file.
// The screen shows what this asks for through its signals: warnings and errors as alerts,
// the import's progress sheet, and an export's progress in its info text and spinner
// (no modal sheet, so the screen stays usable while a long export runs).
//
// Lives on the main thread.
class KeyBrowserExchange : public QObject, public DerazExportOperationDelegate
{
    Q_OBJECT
public:
    using DatabaseProvider = std::function<std::shared_ptr<DerazDatabase>()>;

    // Tests pass the file panel to use and where the current database comes from; by
    // default the shared panels and the view state's current database.
    explicit KeyBrowserExchange(QObject *parent = nullptr,
                                std::shared_ptr<Corbelan::FilePanel> panel = nullptr,
                                DatabaseProvider currentDatabase = nullptr);
    ~KeyBrowserExchange() override;

    static int exportFromIndex(qint64 tag);
    static qint64 exportTypeAsindex(qint64 type);
    static QString saveMessage(int type);
    static QString fileExtension(int type);
    // Where the save panel of an export starts: the preferences' export folder when it
    // is one, else the Documents folder.
    static QString exportFolder();

    // The export format menu (made once), its items tagged 0 and 1.
    QMenu *exportMenu();
    int dataExportType() const { return m_dataExportType; }

    // Export button: with no page, the "ExportDataNil" warning; with no current database
    // "DataBaseSelectedNil"; else the format menu pops up at the point (in global
    // coordinates, the screen passes its button's corner).
    void exportBtnClicked(qint64 pageTotalNum, const QPoint &globalPosition);
    // A format chosen: its type is kept, then the save panel asks for the file.
    void exportDataMenuItemClick(qint64 tag);
    // Starts the export of the current database to the path (nothing without one).
    void saveFileAtPath(const QString &path, int type);

    // Import button: the open panel for a command file, then importDataFromFile().
    void importBtnClicked();
    // With no current database, the "DataBaseSelectedNil" warning. A JSON-lines file is
    // refused (it carries no type or time to live). Otherwise the file's lines run as
    // commands; errors are shown, and "DBImportDataNotify" is posted with the database in
    // every case.
    void importDataFromFile(const QString &path);
    // Whether an import runs (from its start until its outcome was told).
    bool isImporting() const { return bool(m_importCancel); }
    // Stops the running import before its transaction is sent in full, so nothing of
    // the file is applied, and says so when it ends ("importCancelled"). An import whose
    // commands all went out already runs to its end and says how it went. Nothing when no
    // import runs.
    void cancelImport();

    // DerazExportOperationDelegate
    void operationDidFinishWithError(DerazExportOperation *operation,
                                     const std::optional<Bastwick::Error> &error,
                                     const std::shared_ptr<DBDatabase> &database) override;
    void operationProgress(DerazExportOperation *operation, qint64 written, qint64 total) override;

signals:
    // An alert with the text of a key of the string tables ("ExportDataNil", ...).
    void warningRequested(const QString &key);
    // An error alert with a message.
    void errorRequested(const QString &message);
    // The import's progress sheet opens with a text, and closes.
    void importStarted(const QString &text);
    void importEnded();
    // The running import was asked to stop; it ends soon with importEnded().
    void importCancelling();
    // A message for the user that is no error (an import stopped on request).
    void infoRequested(const QString &message);
    // An export runs (spinner on) or none does (off); the info text while it runs.
    void exportBusyChanged(bool busy);
    void exportInfoChanged(const QString &text);
    // A finished export's file, to be shown in the file manager.
    void exportFileReady(const QString &path);

private:
    std::shared_ptr<DerazDatabase> currentDatabase() const;
    XXXOpenFileManager &openImportFileManager();
    XXXOpenFileManager &openExportFileManager();

    std::shared_ptr<Corbelan::FilePanel> m_panel;
    DatabaseProvider m_currentDatabase;
    std::unique_ptr<XXXOpenFileManager> m_openImportFileManager;
    std::unique_ptr<XXXOpenFileManager> m_openExportFileManager;
    QMenu *m_exportMenu = nullptr;
    int m_dataExportType = DBExportTypeJSON;
    int m_runningExports = 0;
    // Set while an import runs; the import stops when it becomes true.
    std::shared_ptr<std::atomic_bool> m_importCancel;
};

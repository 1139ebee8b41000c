#include <kestrune/exchange/KeyBrowserExchange.h>

#include <kestrune/exchange/DerazExportManager.h>

#include <kestrune/AppNotifications.h>

#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/state/SimpleDBStateManager.h>

#include <corbelan/services/XXXOpenFileManager.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/NotificationCenter.h>

#include <QtCore/QFileInfo>
#include <QtCore/QLocale>
#include <QtWidgets/QMenu>

KeyBrowserExchange::KeyBrowserExchange(QObject *parent, std::shared_ptr<Corbelan::FilePanel> panel,
                                       DatabaseProvider currentDatabase)
    : QObject(parent)
    , m_panel(std::move(panel))
    , m_currentDatabase(std::move(currentDatabase))
{
}

KeyBrowserExchange::~KeyBrowserExchange()
{
    delete m_exportMenu;
}

int KeyBrowserExchange::exportFromIndex(qint64 tag)
{
    return tag == 0 ? DBExportTypeJSON : DBExportTypeDerazCommand;
}

qint64 KeyBrowserExchange::exportTypeAsindex(qint64 type)
{
    return type == DBExportTypeJSON ? 0 : 1;
}

QString KeyBrowserExchange::saveMessage(int type)
{
    return exportTypeAsindex(type) == 0 ? tr("Save As JSON Format File") : tr("Save As Deraz Command File");
}

QString KeyBrowserExchange::fileExtension(int type)
{
    return exportTypeAsindex(type) == 0 ? QStringLiteral("json") : QStringLiteral("txt");
}

QString KeyBrowserExchange::exportFolder()
{
    const QString chosen = AppPreference::sharedPreference()->exportFolder();
    if (!chosen.isEmpty() && QFileInfo(chosen).isDir())
        return chosen;
    return Bastwick::appPath();
}

std::shared_ptr<DerazDatabase> KeyBrowserExchange::currentDatabase() const
{
    return m_currentDatabase ? m_currentDatabase() : SimpleDBStateManager::sharedInstance().currentDatabase();
}

QMenu *KeyBrowserExchange::exportMenu()
{
    if (!m_exportMenu) {
        m_exportMenu = new QMenu;
        const struct
        {
            qint64 tag;
            QString title;
        } items[] = {{0, tr("JSON Lines")}, {1, tr("Deraz Command Text")}};
        for (const auto &item : items) {
            QAction *action = m_exportMenu->addAction(item.title);
            action->setData(item.tag);
            const qint64 tag = item.tag;
            connect(action, &QAction::triggered, this, [this, tag] { exportDataMenuItemClick(tag); });
        }
    }
    return m_exportMenu;
}

XXXOpenFileManager &KeyBrowserExchange::openImportFileManager()
{
    if (!m_openImportFileManager) {
        m_openImportFileManager =
            m_panel ? std::make_unique<XXXOpenFileManager>(m_panel) : std::make_unique<XXXOpenFileManager>();
        m_openImportFileManager->fileTypes = {QStringLiteral("txt"), QStringLiteral("string"),
                                              QStringLiteral("json"), QStringLiteral("deraz")};
        m_openImportFileManager->canChooseFiles = true;
        m_openImportFileManager->allowsMultipleSelection = false;
        m_openImportFileManager->canChooseDirectories = false;
    }
    return *m_openImportFileManager;
}

XXXOpenFileManager &KeyBrowserExchange::openExportFileManager()
{
    if (!m_openExportFileManager) {
        m_openExportFileManager =
            m_panel ? std::make_unique<XXXOpenFileManager>(m_panel) : std::make_unique<XXXOpenFileManager>();
        m_openExportFileManager->saveTitle = tr(" Data Export");
        m_openExportFileManager->saveMessage = tr("Save As Deraz File");
        m_openExportFileManager->saveFileExtensions = {QStringLiteral("deraz")};
    }
    return *m_openExportFileManager;
}

void KeyBrowserExchange::exportBtnClicked(qint64 pageTotalNum, const QPoint &globalPosition)
{
    if (pageTotalNum == 0) {
        emit warningRequested(QStringLiteral("ExportDataNil"));
        return;
    }
    if (!currentDatabase()) {
        emit warningRequested(QStringLiteral("DataBaseSelectedNil"));
        return;
    }
    exportMenu()->popup(globalPosition);
}

void KeyBrowserExchange::exportDataMenuItemClick(qint64 tag)
{
    const int type = exportFromIndex(tag);
    XXXOpenFileManager &manager = openExportFileManager();
    if (!manager.saveCallback) {
        QPointer<KeyBrowserExchange> self(this);
        // The type is read when the path arrives: the one chosen last.
        manager.saveCallback = [self](const QString &path) {
            if (self && !path.isEmpty())
                self->saveFileAtPath(path, self->m_dataExportType);
        };
    }
    m_dataExportType = type;
    manager.saveDirectory = exportFolder();
    manager.saveMessage = saveMessage(type);
    manager.saveFileExtensions = {fileExtension(type)};
    manager.showSavePanel();
}

void KeyBrowserExchange::saveFileAtPath(const QString &path, int type)
{
    const auto db = currentDatabase();
    if (!db)
        return;
    auto operation = std::make_shared<DerazExportOperation>(db->dbExport(), path);
    operation->setDelegate(this);
    operation->setExportType(type);
    // A database without keys writes no file and tells nobody: the spinner stops when
    // the operation ends.
    QPointer<KeyBrowserExchange> self(this);
    connect(
        operation.get(), &Bastwick::Operation::finished, this,
        [self] {
            if (self && self->m_runningExports > 0 && --self->m_runningExports == 0)
                emit self->exportBusyChanged(false);
        },
        Qt::QueuedConnection);
    if (m_runningExports++ == 0)
        emit exportBusyChanged(true);
    emit exportInfoChanged(
        tr("Exporting %1 keys to %2")
            .arg(QLocale().toString(qint64(db->numberOfKeys())), QFileInfo(path).fileName()));
    DerazExportManager::sharedInstance().AddExportOperation(operation);
}

void KeyBrowserExchange::operationProgress(DerazExportOperation *operation, qint64 written, qint64 total)
{
    emit exportInfoChanged(tr("Exported %1 of %2 keys to %3")
                               .arg(written)
                               .arg(total)
                               .arg(QFileInfo(operation->filePath()).fileName()));
}

void KeyBrowserExchange::operationDidFinishWithError(DerazExportOperation *operation,
                                                     const std::optional<Bastwick::Error> &error,
                                                     const std::shared_ptr<DBDatabase> &)
{
    if (error) {
        emit exportInfoChanged(tr("Export failed"));
        emit errorRequested(error->description);
        return;
    }
    emit exportInfoChanged(tr("Exported to %1").arg(QFileInfo(operation->filePath()).fileName()));
    emit exportFileReady(operation->filePath());
}

void KeyBrowserExchange::importBtnClicked()
{
    XXXOpenFileManager &manager = openImportFileManager();
    if (!manager.openCallback) {
        QPointer<KeyBrowserExchange> self(this);
        manager.openCallback = [self](const QVariant &paths) {
            const QString path = paths.metaType() == QMetaType::fromType<QStringList>()
                                     ? paths.toStringList().value(0)
                                     : paths.toString();
            if (self && !path.isEmpty())
                self->importDataFromFile(path);
        };
    }
    manager.showOpenPanel();
}

void KeyBrowserExchange::importDataFromFile(const QString &path)
{
    const auto db = currentDatabase();
    if (!db) {
        emit warningRequested(QStringLiteral("DataBaseSelectedNil"));
        return;
    }
    if (QFileInfo(path).suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0) {
        emit errorRequested(
            tr("%1 holds JSON lines, which keep neither the keys' types nor their time to live, "
               "so they cannot be imported. Import a Deraz command file instead.")
                .arg(QFileInfo(path).fileName()));
        return;
    }
    if (isImporting()) {
        emit errorRequested(tr("An import is running already: wait until it ends, or cancel it."));
        return;
    }
    auto cancel = std::make_shared<std::atomic_bool>(false);
    m_importCancel = cancel;
    emit importStarted(tr("Importing data..."));
    QPointer<KeyBrowserExchange> self(this);
    const QString name = QFileInfo(path).fileName();
    db->importCommands(
        path,
        [self, db, name, cancel](qsizetype commands, const std::optional<Bastwick::Error> &error) {
            if (self) {
                if (self->m_importCancel == cancel)
                    self->m_importCancel.reset();
                emit self->importEnded();
                const bool cancelled = error && error->code == DerazDatabase::kImportCancelledCode;
                // The info text tells how the import went (it no longer speaks of an export).
                if (cancelled) {
                    emit self->exportInfoChanged(tr("Import of %1 cancelled").arg(name));
                    emit self->infoRequested(
                        tr("The import of %1 was cancelled: nothing of it was applied.").arg(name));
                } else if (error) {
                    emit self->exportInfoChanged(tr("Import of %1 failed").arg(name));
                    emit self->errorRequested(error->description);
                } else if (commands == 0) {
                    emit self->exportInfoChanged(tr("%1 holds no commands: nothing was imported").arg(name));
                } else {
                    emit self->exportInfoChanged(
                        tr("Imported %1 commands from %2").arg(QLocale().toString(qint64(commands)), name));
                    // Asked to stop too late: the whole file had gone to the server.
                    if (*cancel)
                        emit self->infoRequested(tr("The import of %1 could not be cancelled any more: all "
                                                    "its commands had been sent, and they were applied.")
                                                     .arg(name));
                }
            }
            Bastwick::NotificationCenter::defaultCenter().post(kDBImportDataNotify, QVariant::fromValue(db));
        },
        cancel);
}

void KeyBrowserExchange::cancelImport()
{
    if (!m_importCancel || m_importCancel->exchange(true))
        return;
    emit importCancelling();
}

#include <corbelan/services/XXXOpenFileManager.h>

#include <bastwick/platform/Log.h>

XXXOpenFileManager::XXXOpenFileManager() = default;

XXXOpenFileManager::XXXOpenFileManager(std::shared_ptr<Corbelan::FilePanel> panel)
    : m_panel(std::move(panel))
{
}

std::shared_ptr<Corbelan::FilePanel> XXXOpenFileManager::panel() const
{
    return m_panel ? m_panel : Corbelan::FilePanel::shared();
}

void XXXOpenFileManager::showOpenPanel()
{
    Corbelan::OpenPanelOptions options;
    options.canChooseFiles = canChooseFiles;
    options.canChooseDirectories = canChooseDirectories;
    options.allowsMultipleSelection = allowsMultipleSelection;
    if (!fileTypes.isEmpty())
        options.allowedFileTypes = fileTypes;

    const std::optional<QStringList> chosen = panel()->runOpenPanel(options);
    if (!chosen)
        return;
    QStringList paths;
    for (const QString &path : *chosen) {
        XXXLog(QStringLiteral("showOpenPanel patn ") + QUrl::fromLocalFile(path).toString());
        paths.append(path);
    }
    if (paths.isEmpty() || !openCallback)
        return;
    if (allowsMultipleSelection)
        openCallback(QVariant(paths));
    else
        openCallback(QVariant(paths.first()));
}

void XXXOpenFileManager::showSavePanel()
{
    Corbelan::SavePanelOptions options;
    options.title = saveTitle;
    options.message = saveMessage;
    options.allowedFileTypes = saveFileExtensions;
    options.fileName = fileName;
    options.directory = saveDirectory;

    const std::optional<QString> chosen = panel()->runSavePanel(options);
    if (!chosen)
        return;
    if (saveCallback)
        saveCallback(*chosen);
    if (saveURLCallback) {
        const QUrl url = QUrl::fromLocalFile(*chosen);
        saveURLCallback(url, url.isValid() ? url.toEncoded() : QByteArray());
    }
}

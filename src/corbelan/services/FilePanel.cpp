#include <corbelan/services/FilePanel.h>

#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>
#include <QtCore/QUrl>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QLabel>

namespace Corbelan {

namespace {

QMutex g_panelMutex;
std::shared_ptr<FilePanel> g_panel;

QString nameFilter(const QStringList &types)
{
    QStringList patterns;
    for (const QString &type : types)
        patterns.append(QStringLiteral("*.") + type);
    return patterns.join(QLatin1Char(' '));
}

} // namespace

FilePanel::~FilePanel() = default;

std::shared_ptr<FilePanel> FilePanel::shared()
{
    QMutexLocker lock(&g_panelMutex);
    if (!g_panel)
        g_panel = std::make_shared<FileDialogPanel>();
    return g_panel;
}

void FilePanel::setShared(std::shared_ptr<FilePanel> panel)
{
    QMutexLocker lock(&g_panelMutex);
    g_panel = std::move(panel);
}

std::optional<QStringList> FileDialogPanel::runOpenPanel(const OpenPanelOptions &options)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (options.canChooseDirectories && !options.canChooseFiles) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        dialog.setFileMode(options.allowsMultipleSelection ? QFileDialog::ExistingFiles
                                                           : QFileDialog::ExistingFile);
    }
    if (!options.allowedFileTypes.isEmpty())
        dialog.setNameFilter(nameFilter(options.allowedFileTypes));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QStringList paths;
    for (const QUrl &url : dialog.selectedUrls())
        paths.append(url.toLocalFile());
    return paths;
}

std::optional<QString> FileDialogPanel::runSavePanel(const SavePanelOptions &options)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!options.title.isEmpty())
        dialog.setWindowTitle(options.title);
    if (!options.message.isEmpty()) {
        // The message sits in a row of its own below the panel's controls.
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
            grid->addWidget(new QLabel(options.message, &dialog), grid->rowCount(), 0, 1, -1);
    }
    if (!options.allowedFileTypes.isEmpty()) {
        dialog.setNameFilter(nameFilter(options.allowedFileTypes));
        dialog.setDefaultSuffix(options.allowedFileTypes.first());
    }
    if (!options.directory.isEmpty())
        dialog.setDirectory(options.directory);
    if (!options.fileName.isEmpty())
        dialog.selectFile(options.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QList<QUrl> urls = dialog.selectedUrls();
    if (urls.isEmpty())
        return std::nullopt;
    return urls.first().toLocalFile();
}

} // namespace Corbelan

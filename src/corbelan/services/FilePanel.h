#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <memory>
#include <optional>

namespace Corbelan {

// The options of an open panel.
struct OpenPanelOptions
{
    bool canChooseFiles = false;
    bool canChooseDirectories = false;
    bool allowsMultipleSelection = false;
    QStringList allowedFileTypes; // extensions without the dot; empty = any
};

// The options of a save panel; empty fields are not applied.
struct SavePanelOptions
{
    QString title;
    QString message;
    QStringList allowedFileTypes;
    QString fileName;
    QString directory; // the folder the panel starts in
};

// The application-modal open and save panels. Each run returns once the user has
// answered: nothing when the panel was cancelled, else the chosen paths (an open panel
// closed with OK may still hand back no path). Tests put a fake in place of the
// QFileDialog panels. Lives on the main thread (the panels are windows).
class CORBELAN_EXPORT FilePanel
{
public:
    virtual ~FilePanel();
    virtual std::optional<QStringList> runOpenPanel(const OpenPanelOptions &options) = 0;
    virtual std::optional<QString> runSavePanel(const SavePanelOptions &options) = 0;

    // The panels every XXXOpenFileManager uses unless given others: QFileDialog, run
    // with exec(). setShared replaces them (null restores the QFileDialog ones).
    static std::shared_ptr<FilePanel> shared();
    static void setShared(std::shared_ptr<FilePanel> panel);
};

// QFileDialog behind the FilePanel interface. Lives on the main thread.
class CORBELAN_EXPORT FileDialogPanel : public FilePanel
{
public:
    std::optional<QStringList> runOpenPanel(const OpenPanelOptions &options) override;
    std::optional<QString> runSavePanel(const SavePanelOptions &options) override;
};

} // namespace Corbelan

#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/services/FilePanel.h>

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QUrl>
#include <QtCore/QVariant>

#include <functional>
#include <memory>

// Wraps the application-modal open and save panels: a caller sets the options and the
// result callbacks, then shows a panel; the callbacks run on the calling (main) thread
// before the show call returns, and only when the panel was closed with OK.
// Lives on the main thread.
class CORBELAN_EXPORT XXXOpenFileManager
{
public:
    XXXOpenFileManager();
    // Uses the given panels instead of the shared ones (tests).
    explicit XXXOpenFileManager(std::shared_ptr<Corbelan::FilePanel> panel);

    // Open panel: on OK with at least one path, openCallback receives the list of paths
    // (QStringList) when multiple selection is allowed, else the first path (QString).
    void showOpenPanel();
    // Save panel: on OK, saveCallback receives the path, then saveURLCallback the file
    // URL and its bookmark data (the URL's encoded form, which resolves back to it).
    void showSavePanel();

    QStringList fileTypes;
    bool allowsMultipleSelection = false;
    bool canChooseFiles = false;
    bool canChooseDirectories = false;

    QString saveTitle;
    QString saveMessage;
    QStringList saveFileExtensions;
    QString fileName;
    // The folder the save panel starts in; empty: where the panel likes.
    QString saveDirectory;

    std::function<void(const QVariant &)> openCallback;
    std::function<void(const QString &)> saveCallback;
    std::function<void(const QUrl &)> openURLCallback; // kept for callers; no panel calls it
    std::function<void(const QUrl &, const QByteArray &)> saveURLCallback;

private:
    std::shared_ptr<Corbelan::FilePanel> panel() const;
    std::shared_ptr<Corbelan::FilePanel> m_panel;
};

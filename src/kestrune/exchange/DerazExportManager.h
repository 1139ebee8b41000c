#pragma once

#include <bastwick/platform/OperationQueue.h>

#include <QtCore/QString>

#include <memory>

class DerazExportOperation;

// The process-wide queue of key exports. Several exports may run at once, each writing
// its own file. Made on first use from any thread; lives for the whole process.
class DerazExportManager
{
public:
    static DerazExportManager &sharedInstance();

    Bastwick::OperationQueue &operationQueue() { return m_queue; }
    // The user's Documents folder.
    QString exportFolder() const { return m_exportFolder; }
    void setExportFolder(const QString &folder) { m_exportFolder = folder; }

    void AddExportOperation(const std::shared_ptr<DerazExportOperation> &operation);
    // Cancels every export queued or running: a queued one does not start, a running
    // one stops before its next page and leaves no file.
    void cancel();
    // Queued exports wait while paused; a running export goes on.
    void pause();
    void start();

private:
    DerazExportManager();
    ~DerazExportManager();

    Bastwick::OperationQueue m_queue;
    QString m_exportFolder;
};

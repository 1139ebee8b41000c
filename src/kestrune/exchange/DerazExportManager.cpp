#include <kestrune/exchange/DerazExportManager.h>

#include <kestrune/exchange/DerazExportOperation.h>

#include <QtCore/QStandardPaths>

DerazExportManager &DerazExportManager::sharedInstance()
{
    static DerazExportManager manager;
    return manager;
}

DerazExportManager::DerazExportManager()
    : m_exportFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
{
    m_queue.setName(QStringLiteral("DerazExportManager"));
}

DerazExportManager::~DerazExportManager() = default;

void DerazExportManager::AddExportOperation(const std::shared_ptr<DerazExportOperation> &operation)
{
    if (operation)
        m_queue.addOperation(operation);
}

void DerazExportManager::cancel()
{
    m_queue.cancelAllOperations();
}

void DerazExportManager::pause()
{
    m_queue.setSuspended(true);
}

void DerazExportManager::start()
{
    m_queue.setSuspended(false);
}

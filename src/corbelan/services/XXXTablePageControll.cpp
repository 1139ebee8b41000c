#include <corbelan/services/XXXTablePageControll.h>

XXXTablePageControll::XXXTablePageControll(QObject *parent)
    : QObject(parent)
{
}

std::shared_ptr<XXXPageManager> XXXTablePageControll::pageManager()
{
    if (!m_pageManager) {
        m_pageManager = std::make_shared<XXXPageManager>();
        m_tabIndex = 0;
    }
    return m_pageManager;
}

void XXXTablePageControll::setPageManager(std::shared_ptr<XXXPageManager> pageManager)
{
    m_pageManager = std::move(pageManager);
}

void XXXTablePageControll::updatePageSize(qint64 size, qint64 numberOfRecords)
{
    const std::shared_ptr<XXXPageManager> manager = pageManager();
    manager->setPageSize(size > 0 ? size : 20);
    manager->setTotalRowNum(numberOfRecords);
}

void XXXTablePageControll::computeNumberOfPages()
{
    pageManager()->computeNumberOfPages();
}

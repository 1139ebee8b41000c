#include <pavisade/viewcontrollers/ScreenPaging.h>

#include <pavisade/toolbar/XXXButtonToolBar.h>

#include <bastwick/platform/Log.h>

#include <cmath>

ScreenPaging::ScreenPaging(QObject *screen)
    : m_screen(screen)
{
}

ScreenPaging::~ScreenPaging() = default;

void ScreenPaging::setPageManager(XXXPageManager *manager)
{
    m_pageManager = manager;
    if (manager && !manager->parent())
        manager->setParent(m_screen);
}

qint64 ScreenPaging::currentPageIndex() const
{
    return m_pageManager ? m_pageManager->currentPageIndex() : 0;
}

qint64 ScreenPaging::pageSize() const
{
    return m_pageManager ? m_pageManager->pageSize() : 0;
}

qint64 ScreenPaging::totalRowNum() const
{
    return m_pageManager ? m_pageManager->totalRowNum() : 0;
}

bool ScreenPaging::isFirstPage() const
{
    return m_pageManager && m_pageManager->isFirstPage();
}

bool ScreenPaging::isLastPage() const
{
    return m_pageManager && m_pageManager->isLastPage();
}

bool ScreenPaging::nextPage()
{
    return m_pageManager && m_pageManager->nextPage();
}

bool ScreenPaging::prePage()
{
    return m_pageManager && m_pageManager->prePage();
}

bool ScreenPaging::goPage(qint64 index)
{
    return m_pageManager && m_pageManager->goPage(index);
}

qint64 ScreenPaging::pageTotalNum()
{
    const qint64 rows = totalRowNum();
    if (rows < 1)
        return 0;
    qint64 pages = 1;
    if (pageSize() > 0) {
        pages = qint64(std::ceil(double(rows) / double(pageSize())));
    } else {
        XXXLog(QStringLiteral("page size %1: one page holds all %2 rows").arg(pageSize()).arg(rows));
    }
    m_pageManager->setPageTotalNum(pages);
    return pages;
}

void ScreenPaging::updatePageInfo()
{
    const qint64 pages = pageTotalNum();
    const qint64 page = pages >= 1 ? currentPageIndex() + 1 : currentPageIndex();
    pageInfoToolBar()->updateLabelWithIdentifier(QStringLiteral("pages"),
                                                 QStringLiteral("%1/%2").arg(page).arg(pages));
}

bool ScreenPagingToEnds::goFirstPage()
{
    XXXPageManager *manager = pageManager();
    return manager && manager->goFirstPage();
}

bool ScreenPagingToEnds::goLastPage()
{
    XXXPageManager *manager = pageManager();
    return manager && manager->goLastPage();
}

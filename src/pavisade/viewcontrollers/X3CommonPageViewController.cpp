#include <pavisade/viewcontrollers/X3CommonPageViewController.h>

#include <pavisade/toolbar/XXXButtonToolBar.h>

#include <bastwick/platform/Log.h>

#include <cmath>

X3CommonPageViewController::X3CommonPageViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
}

void X3CommonPageViewController::setPageManager(XXXPageManager *manager)
{
    m_pageManager = manager;
    if (manager && !manager->parent())
        manager->setParent(this);
}

qint64 X3CommonPageViewController::currentPageIndex() const
{
    return m_pageManager ? m_pageManager->currentPageIndex() : 0;
}

qint64 X3CommonPageViewController::pageSize() const
{
    return m_pageManager ? m_pageManager->pageSize() : 0;
}

qint64 X3CommonPageViewController::totalRowNum() const
{
    return m_pageManager ? m_pageManager->totalRowNum() : 0;
}

bool X3CommonPageViewController::isFirstPage() const
{
    return m_pageManager && m_pageManager->isFirstPage();
}

bool X3CommonPageViewController::isLastPage() const
{
    return m_pageManager && m_pageManager->isLastPage();
}

bool X3CommonPageViewController::nextPage()
{
    return m_pageManager && m_pageManager->nextPage();
}

bool X3CommonPageViewController::prePage()
{
    return m_pageManager && m_pageManager->prePage();
}

bool X3CommonPageViewController::goPage(qint64 index)
{
    return m_pageManager && m_pageManager->goPage(index);
}

bool X3CommonPageViewController::goFirstPage()
{
    return m_pageManager && m_pageManager->goFirstPage();
}

bool X3CommonPageViewController::goLastPage()
{
    return m_pageManager && m_pageManager->goLastPage();
}

qint64 X3CommonPageViewController::pageTotalNum()
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

void X3CommonPageViewController::updatePageInfo()
{
    const qint64 pages = pageTotalNum();
    const qint64 page = pages >= 1 ? currentPageIndex() + 1 : currentPageIndex();
    toolBarView()->updateLabelWithIdentifier(QStringLiteral("pages"),
                                             QStringLiteral("%1/%2").arg(page).arg(pages));
}

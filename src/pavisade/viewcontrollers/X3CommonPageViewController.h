#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <corbelan/services/XXXPageManager.h>

#include <QtCore/QPointer>

// A screen that shows one page of rows at a time through a page manager, which its
// owner sets before paging (the screen keeps an unowned manager alive). Without a
// manager every answer is 0 or false. Main thread.
class PAVISADE_EXPORT X3CommonPageViewController : public X3CommonViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit X3CommonPageViewController(QWidget *parent = nullptr);

    XXXPageManager *pageManager() const { return m_pageManager; }
    void setPageManager(XXXPageManager *manager);

    qint64 currentPageIndex() const;
    qint64 pageSize() const;
    qint64 totalRowNum() const;
    bool isFirstPage() const;
    bool isLastPage() const;
    bool nextPage();
    bool prePage();
    bool goPage(qint64 index);
    bool goFirstPage();
    bool goLastPage();

    // The page count, also stored into the manager: 0 without rows (the manager is not
    // told), else the rows over the page size rounded up. A page size of 0 or less
    // counts as one page holding every row (with a log line).
    qint64 pageTotalNum();
    // Writes "<page>/<pages>" (1-based; "0/0" without rows) into the toolbar label
    // "pages", making the toolbar when there is none.
    void updatePageInfo();

private:
    QPointer<XXXPageManager> m_pageManager;
};

#pragma once

#include <pavisade/PavisadeExport.h>

#include <corbelan/services/XXXPageManager.h>

#include <QtCore/QPointer>

class XXXButtonToolBar;

// The paging of a screen that shows one page of rows at a time: forwarders to a page
// manager that the screen's owner sets before paging (the screen keeps an unowned
// manager alive), the page count, and the "<page>/<pages>" toolbar label. Without a
// manager every answer is 0 or false. Mixed into the paged screens next to their
// screen base; the older paged lists page only one step or to a given page, the
// current screens also jump to the ends (ScreenPagingToEnds). Main thread.
class PAVISADE_EXPORT ScreenPaging
{
public:
    explicit ScreenPaging(QObject *screen);
    virtual ~ScreenPaging();
    ScreenPaging(const ScreenPaging &) = delete;
    ScreenPaging &operator=(const ScreenPaging &) = delete;

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

    // The page count, also stored into the manager: 0 without rows (the manager is not
    // told), else the rows over the page size rounded up. A page size of 0 or less
    // counts as one page holding every row (with a log line).
    qint64 pageTotalNum();
    // Writes "<page>/<pages>" (1-based; "0/0" without rows) into the toolbar label
    // "pages", making the toolbar when there is none.
    void updatePageInfo();

protected:
    // The toolbar holding the "pages" label.
    virtual XXXButtonToolBar *pageInfoToolBar() = 0;

private:
    QObject *m_screen;
    QPointer<XXXPageManager> m_pageManager;
};

// ScreenPaging with jumps to the first and the last page.
class PAVISADE_EXPORT ScreenPagingToEnds : public ScreenPaging
{
public:
    using ScreenPaging::ScreenPaging;

    bool goFirstPage();
    bool goLastPage();
};

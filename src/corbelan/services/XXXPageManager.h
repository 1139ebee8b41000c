#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QObject>

// The rows of one page: the first row and the number of rows.
struct XXXPageRange
{
    qint64 location = 0;
    qint64 length = 0;
    bool operator==(const XXXPageRange &) const = default;
};

// The position within a list of rows shown a page at a time. Writing a field recomputes
// nothing: callers set the page size and row count, call computeNumberOfPages(), then
// move the current page.
class CORBELAN_EXPORT XXXPageManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint64 currentPageIndex READ currentPageIndex WRITE setCurrentPageIndex)
    Q_PROPERTY(qint64 currentPageSize READ currentPageSize WRITE setCurrentPageSize)
    Q_PROPERTY(qint64 pageSize READ pageSize WRITE setPageSize)
    Q_PROPERTY(qint64 pageTotalNum READ pageTotalNum WRITE setPageTotalNum)
    Q_PROPERTY(qint64 totalRowNum READ totalRowNum WRITE setTotalRowNum)

public:
    explicit XXXPageManager(QObject *parent = nullptr);

    // 0 pages for a page size below 1, else the ceiling of rows / page size.
    void computeNumberOfPages();

    bool isFirstPage() const;
    // True with no pages, or on the page whose index is the page count less one.
    bool isLastPage() const;

    // Moves to a page within [0, pageTotalNum); a negative index or one past the last
    // page is refused and changes nothing.
    bool goPage(qint64 index);
    bool goFirstPage();
    bool goLastPage();
    bool nextPage();
    bool prePage();

    // The rows of the current page: from currentPageIndex * pageSize, pageSize rows, or
    // to the end of the list on the last page; never past the row count (an empty range
    // at the row count when the start lies beyond it).
    XXXPageRange currentPageRange() const;

    qint64 currentPageIndex() const { return m_currentPageIndex; }
    void setCurrentPageIndex(qint64 value) { m_currentPageIndex = value; }
    qint64 currentPageSize() const { return m_currentPageSize; }
    void setCurrentPageSize(qint64 value) { m_currentPageSize = value; }
    qint64 pageSize() const { return m_pageSize; }
    void setPageSize(qint64 value) { m_pageSize = value; }
    qint64 pageTotalNum() const { return m_pageTotalNum; }
    void setPageTotalNum(qint64 value) { m_pageTotalNum = value; }
    qint64 totalRowNum() const { return m_totalRowNum; }
    void setTotalRowNum(qint64 value) { m_totalRowNum = value; }

private:
    qint64 m_currentPageIndex = 0;
    qint64 m_currentPageSize = 0;
    qint64 m_pageSize = 30;
    qint64 m_pageTotalNum = 0;
    qint64 m_totalRowNum = 0;
};

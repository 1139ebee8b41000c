#include <corbelan/services/XXXPageManager.h>

#include <algorithm>
#include <cmath>

XXXPageManager::XXXPageManager(QObject *parent)
    : QObject(parent)
{
}

void XXXPageManager::computeNumberOfPages()
{
    if (m_pageSize < 1 || m_totalRowNum < 1) {
        m_pageTotalNum = 0;
        return;
    }
    m_pageTotalNum = qint64(std::ceil(double(m_totalRowNum) / double(m_pageSize)));
}

bool XXXPageManager::isFirstPage() const
{
    return m_currentPageIndex == 0;
}

bool XXXPageManager::isLastPage() const
{
    return m_pageTotalNum == 0 || m_pageTotalNum == m_currentPageIndex + 1;
}

bool XXXPageManager::goPage(qint64 index)
{
    if (m_pageTotalNum < 1 || index < 0 || index > m_pageTotalNum - 1)
        return false;
    m_currentPageIndex = index;
    return true;
}

bool XXXPageManager::goFirstPage()
{
    return goPage(0);
}

bool XXXPageManager::goLastPage()
{
    if (m_pageTotalNum < 2)
        return false;
    return goPage(m_pageTotalNum - 1);
}

bool XXXPageManager::nextPage()
{
    if (isLastPage())
        return false;
    ++m_currentPageIndex;
    return true;
}

bool XXXPageManager::prePage()
{
    if (isFirstPage())
        return false;
    --m_currentPageIndex;
    return true;
}

XXXPageRange XXXPageManager::currentPageRange() const
{
    const qint64 rows = std::max<qint64>(0, m_totalRowNum);
    const qint64 size = std::max<qint64>(0, m_pageSize);
    const qint64 index = std::max<qint64>(0, m_currentPageIndex);
    // Multiplying in double keeps a huge index from overflowing before the clamp.
    const double start = double(index) * double(size);
    if (start >= double(rows))
        return {rows, 0};
    XXXPageRange range;
    range.location = qint64(start);
    const qint64 remaining = rows - range.location;
    range.length = isLastPage() ? remaining : std::min(size, remaining);
    return range;
}

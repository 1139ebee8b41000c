#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/services/XXXPageManager.h>

#include <QtCore/QObject>

#include <memory>

// The holder the data layer hands to a paged view: one page manager (made on first
// read and shared with the view's table controller) and a tab index.
class CORBELAN_EXPORT XXXTablePageControll : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint64 tabIndex READ tabIndex WRITE setTabIndex)

public:
    explicit XXXTablePageControll(QObject *parent = nullptr);

    // Made on first read (tabIndex then becomes 0).
    std::shared_ptr<XXXPageManager> pageManager();
    void setPageManager(std::shared_ptr<XXXPageManager> pageManager);

    // Page size := size when above 0, else 20; row count := count. Recomputes nothing.
    void updatePageSize(qint64 size, qint64 numberOfRecords);
    void computeNumberOfPages();

    qint64 tabIndex() const { return m_tabIndex; }
    void setTabIndex(qint64 value) { m_tabIndex = value; }

private:
    std::shared_ptr<XXXPageManager> m_pageManager;
    qint64 m_tabIndex = 0;
};

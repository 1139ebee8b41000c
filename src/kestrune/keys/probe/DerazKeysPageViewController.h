#pragma once

#include <kestrune/data/state/SimpleDBStateDelegate.h>

#include <kestrune/keys/probe/DerazKeysBrowseViewDataDelegate.h>
#include <pavisade/tables/X3TableViewXibPageController.h>

#include <bastwick/IndexSet.h>
#include <bastwick/platform/Error.h>

#include <QtCore/QByteArrayList>

#include <functional>
#include <memory>
#include <optional>

class DerazDatabase;
class DerazUnit;
class SimpleDBViewState;
class XXXPageManager;

// What the key browser and the key query share: a table of key records (five columns:
// key, value, type, size, time to live) paged through a page manager, the reload and
// paging buttons, the column widths that follow the screen, the double click that asks
// for the update sheet, and the view-state membership. A subclass names its key source
// (the database's key list or its last query's keys).
//
// The page asked of the server always lies inside the key source: the geometry may have
// been built for another database or a longer list, so the range is clipped to the keys
// the source holds now. A page already on its way is not asked again (behind a slow
// server a second read would only wait out its own time limit behind the first); an
// older read that a newer page replaced still reports its failure. When the connection
// is closed, the reads under way for it end without a word and the screen shows no page.
// Main thread.
class DerazKeysPageViewController : public X3TableViewXibPageController, public SimpleDBStateDelegate
{
    Q_OBJECT

public:
    explicit DerazKeysPageViewController(QWidget *parent = nullptr);
    ~DerazKeysPageViewController() override;

    // The five key columns, the same in both screens.
    static XXXNSTableColumnFieldList keyColumnsDef();
    static XXXButtonToolBarItem imageItem(qint64 tag, const QString &image, const QString &tooltipKey);
    static XXXButtonToolBarItem labelItem(const QString &identifier, qint64 width, const QString &title,
                                          bool highlighted);

    std::shared_ptr<SimpleDBViewState> stateDelegate() const;
    DerazKeysBrowseViewDataDelegate *dataDelegate();

    XXXNSTableColumnFieldList tableColumnsDef() const override { return keyColumnsDef(); }
    void tableViewStyleConfig() override;
    void tableViewColumnConfig() override;
    void tableViewDelegateConfig() override;
    void resizeUI() override;

    // The narrowest the value and key columns get on a narrow screen.
    static constexpr int kValueMinWidth = 120;
    static constexpr int kKeyMinWidth = 100;

    // Widths by column, all inside the screen's width: type, size and time to live as
    // wide as their titles and the values shown (at least 60), key 150 and value the rest;
    // on a narrow screen the key, then the value, give way down to their minimums.
    void resizeTableColumnWidth();
    // A new page geometry from the current key source: page 1, the page-size preference
    // (20 when it is 0 or below). Nothing without a current database.
    void updatePageSizeInfo();
    // Reads the current page's records and shows them (nothing new when that page is
    // already being read).
    void refreshDataView();
    // The key indexes of the current page, inside [0, count).
    Bastwick::IndexSet currentPageIndexes(qsizetype count) const;
    // Asks for the update sheet of the selected row's record.
    void doubleClickRow();

    // The key names of the selected rows, in row order.
    QByteArrayList selectedKeys() const;

protected:
    void awakeFromNib() override;
    void resizeEvent(QResizeEvent *event) override;

    virtual std::shared_ptr<DerazDatabase> currentDatabase() const;
    // The key source of the screen.
    virtual qsizetype keyCount(const DerazDatabase &db) const = 0;
    virtual void fetchPage(DerazDatabase &db, const Bastwick::IndexSet &indexes,
                           std::function<void(const QList<DerazUnit> &)> success,
                           std::function<void(const Bastwick::Error &)> failure) = 0;
    // Called with the row count before a new page geometry is made.
    virtual void pageSizeInfoWillChange(qsizetype rows) { Q_UNUSED(rows); }
    virtual DerazKeysBrowseViewDataDelegate *makeDataDelegate() = 0;

    // Handles the reload and paging tags (8 to 12); answers whether the tag was one of them.
    bool pagingButtonClicked(qint64 tag);
    void registerTableRowDoubleClick();
    void addDBViewStateObserver();
    void removeDBViewStateObserver();

    // A one-button warning with the text of a string-table key.
    void showWarningKey(const QString &key);
    // The "Ok"/"Cancel" confirmation; onCancel logs what was cancelled.
    void confirm(const QString &text, std::function<void()> onOk, const QString &cancelledLog);
    // The question that names the keys to remove, each in its display form.
    static QString dropKeyMessage(const QByteArrayList &keys);

private:
    // The newest page read under way.
    struct PageRead
    {
        std::weak_ptr<DerazDatabase> database;
        Bastwick::IndexSet indexes;
    };

    // No database: an empty table, no pages, and the reads under way are dropped.
    void showNoPage();
    void pageReadFailed(quint64 generation, const Bastwick::Error &error);

    DerazKeysBrowseViewDataDelegate *m_dataDelegate = nullptr;
    quint64 m_fetchGeneration = 0;
    // Reads of this generation or older belonged to a page nobody shows any more.
    quint64 m_droppedGeneration = 0;
    std::optional<PageRead> m_pageRead;
    bool m_joinedViewState = false;
};

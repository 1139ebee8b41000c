#pragma once

#include <kestrune/data/state/SimpleDBStateDelegate.h>

#include <kestrune/keys/probe/DerazKeysBrowseViewDataDelegate.h>
#include <pavisade/tables/X3TableViewXibPageController.h>

#include <bastwick/IndexSet.h>
#include <bastwick/platform/Error.h>

#include <QtCore/QByteArrayList>

#include <functional>
#include <memory>

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
// the source holds now. Main thread.
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

    // Widths by column: key 150, value the rest but 180 (never below its minimum), 60 each
    // for type, size and time to live.
    void resizeTableColumnWidth();
    // A new page geometry from the current key source: page 1, the page-size preference
    // (20 when it is 0 or below). Nothing without a current database.
    void updatePageSizeInfo();
    // Reads the current page's records and shows them.
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
    DerazKeysBrowseViewDataDelegate *m_dataDelegate = nullptr;
    quint64 m_fetchGeneration = 0;
    bool m_joinedViewState = false;
};

#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QElapsedTimer>
#include <QtCore/QPersistentModelIndex>
#include <QtWidgets/QAbstractItemView>

#include <memory>

class QHeaderView;

namespace Pavisade {

class OutlineRows;

// A tree view for any item model that keeps nothing per shown row, so a node of a
// million children expands at once: only the expanded nodes are remembered, and the row
// of an index (or the index of a row) is computed from them and the child counts. Rows
// have one height, taken from the first row; scrolling is by item (or by pixel), the
// header above follows the model's columns, and only the rows in the viewport are
// painted. The tree column is logical column 0. Its API takes the names and meaning of
// QTreeView's, which it replaces under the tree screens. Main thread.
class PAVISADE_EXPORT OutlineView : public QAbstractItemView
{
    Q_OBJECT
    Q_PROPERTY(int indentation READ indentation WRITE setIndentation)
    Q_PROPERTY(bool rootIsDecorated READ rootIsDecorated WRITE setRootIsDecorated)
    Q_PROPERTY(bool itemsExpandable READ itemsExpandable WRITE setItemsExpandable)
    Q_PROPERTY(bool expandsOnDoubleClick READ expandsOnDoubleClick WRITE setExpandsOnDoubleClick)
    Q_PROPERTY(bool allColumnsShowFocus READ allColumnsShowFocus WRITE setAllColumnsShowFocus)
    Q_PROPERTY(bool headerHidden READ isHeaderHidden WRITE setHeaderHidden)

public:
    explicit OutlineView(QWidget *parent = nullptr);
    ~OutlineView() override;

    void setModel(QAbstractItemModel *model) override;
    void setRootIndex(const QModelIndex &index) override;
    void setSelectionModel(QItemSelectionModel *selectionModel) override;

    QHeaderView *header() const { return m_header; }
    bool isHeaderHidden() const;
    void setHeaderHidden(bool hide);

    int indentation() const { return m_indentation; }
    void setIndentation(int pixels);
    bool rootIsDecorated() const { return m_rootIsDecorated; }
    void setRootIsDecorated(bool show);
    bool itemsExpandable() const { return m_itemsExpandable; }
    void setItemsExpandable(bool enable);
    bool expandsOnDoubleClick() const { return m_expandsOnDoubleClick; }
    void setExpandsOnDoubleClick(bool enable) { m_expandsOnDoubleClick = enable; }
    bool allColumnsShowFocus() const { return m_allColumnsShowFocus; }
    void setAllColumnsShowFocus(bool enable);
    // Rows always have one height and expansion is never animated: kept for callers
    // written for QTreeView.
    bool uniformRowHeights() const { return true; }
    void setUniformRowHeights(bool) {}
    bool isAnimated() const { return false; }
    void setAnimated(bool) {}

    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    int columnViewportPosition(int column) const;
    int columnAt(int x) const;
    bool isColumnHidden(int column) const;
    void setColumnHidden(int column, bool hide);

    bool isExpanded(const QModelIndex &index) const;
    void setExpanded(const QModelIndex &index, bool expand);
    QModelIndex indexAbove(const QModelIndex &index) const;
    QModelIndex indexBelow(const QModelIndex &index) const;

    // The shown rows, counted from the top of the tree (not the viewport).
    qint64 visibleRowCount() const;
    // The shown row of an index, -1 when a collapsed ancestor hides it.
    qint64 visibleRowOf(const QModelIndex &index) const;
    // The column-0 index shown in a row, invalid outside the shown rows.
    QModelIndex indexAtVisibleRow(qint64 row) const;
    // The height of every row.
    int rowHeight() const;

    // QAbstractItemView
    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;
    void keyboardSearch(const QString &search) override;
    void doItemsLayout() override;
    void reset() override;
    void selectAll() override;
    int sizeHintForColumn(int column) const override;

public Q_SLOTS:
    void expand(const QModelIndex &index);
    void collapse(const QModelIndex &index);
    void expandAll();
    void collapseAll();
    // Expands the index and its descendants down to depth levels below it (all for -1).
    void expandRecursively(const QModelIndex &index, int depth = -1);
    void resizeColumnToContents(int column);
    void hideColumn(int column) { setColumnHidden(column, true); }
    void showColumn(int column) { setColumnHidden(column, false); }

Q_SIGNALS:
    void expanded(const QModelIndex &index);
    void collapsed(const QModelIndex &index);

protected:
    // Paints one row: option.rect spans the viewport's width at the row.
    virtual void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const;
    // Paints the indentation left of an item, rect spanning it; the default draws the
    // style's branch indicator (open or closed arrow, sibling lines).
    virtual void drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const;

    // QAbstractItemView
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void relayout();
    void connectModel(QAbstractItemModel *model);
    // The first shown pixel row of the content (the scroll position in pixels).
    qint64 contentTop() const;
    int rowsPerPage() const;
    // The indentation left of an item of the tree column.
    int indentationOf(const QModelIndex &index) const;
    // Parts of drawRow: the tree column's branches (narrowing the cell to the right of
    // them), one cell over its row background, and the focus frame around a whole row.
    void drawTreeColumnBranches(QPainter *painter, QStyleOptionViewItem &cellOption,
                                const QModelIndex &index) const;
    void drawCell(QPainter *painter, const QStyleOptionViewItem &cellOption, const QModelIndex &cell) const;
    void drawRowFocus(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                      bool selected) const;
    // The index whose expand arrow is under a viewport point, or invalid.
    QModelIndex arrowAt(const QPoint &point) const;
    void toggle(const QModelIndex &index);
    // The selection of the shown rows [first, last] over columns [left, right], as runs
    // of consecutive siblings.
    QItemSelection selectionOfRows(qint64 first, qint64 last, int left, int right) const;
    // The shown row at a viewport y, or -1.
    qint64 rowAtY(int y) const;
    void updateRow(qint64 row);
    int computeRowHeight() const;
    void expandDescendants(const QModelIndex &parent, int depth);

    std::unique_ptr<OutlineRows> m_rows;
    QHeaderView *m_header = nullptr;
    QList<QMetaObject::Connection> m_modelConnections;
    int m_indentation = 20;
    bool m_rootIsDecorated = true;
    bool m_itemsExpandable = true;
    bool m_expandsOnDoubleClick = true;
    bool m_allColumnsShowFocus = false;
    mutable int m_rowHeight = 0;
    qint64 m_hoverRow = -1;
    QPersistentModelIndex m_pressed;
    QRect m_dropRect;
    QString m_search;
    QElapsedTimer m_searchTimer;
    bool m_inGeometries = false;
};

} // namespace Pavisade

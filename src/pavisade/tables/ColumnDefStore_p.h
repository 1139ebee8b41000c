#pragma once

#include <pavisade/tables/XXXNSTableColumnField.h>

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QPointer>

class QAbstractItemModel;
class QAbstractItemView;
class QHeaderView;

namespace Pavisade {

class ColumnCellDelegate;

// Shows the model in the view (when it does not already) and hands it the view's
// column definitions.
void showModelInView(QAbstractItemView *view, QAbstractItemModel *model);

// The column definitions a table or tree view was last built from, kept with the view
// (a child object under the name "kTableViewColumnDefObjectKey") and handed to
// whichever model the view shows. `definitions` is the list the widths are shared from;
// `columns` the columns the view has (for a table the same list, for a tree the list
// laid over the columns it had before). Lives on the GUI thread.
class ColumnDefStore : public QObject
{
    Q_OBJECT

public:
    static ColumnDefStore *find(const QAbstractItemView *view);
    static ColumnDefStore *ensure(QAbstractItemView *view);

    XXXNSTableColumnFieldList definitions;
    XXXNSTableColumnFieldList columns;

    // Hands `columns` to the view's model (when it takes column definitions) and sets
    // each column's width, resize mode and cell on the view.
    void apply();
    // Shares the view's width among the columns (see resizeColumns of the table).
    void resizeColumns();

    static QHeaderView *headerOf(const QAbstractItemView *view);

private:
    explicit ColumnDefStore(QAbstractItemView *view);
    void sectionResized(int logicalIndex, int oldSize, int newSize);
    void setSectionWidth(int section, double width);

    QAbstractItemView *m_view = nullptr;
    QList<QPointer<ColumnCellDelegate>> m_delegates;
    QPointer<QHeaderView> m_header;
    bool m_resizing = false;
};

} // namespace Pavisade

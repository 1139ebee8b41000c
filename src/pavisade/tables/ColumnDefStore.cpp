#include <pavisade/tables/ColumnDefStore_p.h>

#include <pavisade/tables/ColumnCellDelegate_p.h>
#include <pavisade/tables/ColumnDefinedModel.h>
#include <pavisade/trees/OutlineView.h>

#include <QtCore/QtMath>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTableView>

namespace Pavisade {

namespace {
const char kStoreName[] = "kTableViewColumnDefObjectKey";
}

void showModelInView(QAbstractItemView *view, QAbstractItemModel *model)
{
    if (view->model() != model)
        view->setModel(model);
    if (ColumnDefStore *store = ColumnDefStore::find(view))
        store->apply();
}

ColumnDefStore::ColumnDefStore(QAbstractItemView *view)
    : QObject(view)
    , m_view(view)
{
    setObjectName(QLatin1String(kStoreName));
}

ColumnDefStore *ColumnDefStore::find(const QAbstractItemView *view)
{
    if (!view)
        return nullptr;
    return view->findChild<ColumnDefStore *>(QLatin1String(kStoreName), Qt::FindDirectChildrenOnly);
}

ColumnDefStore *ColumnDefStore::ensure(QAbstractItemView *view)
{
    if (ColumnDefStore *store = find(view))
        return store;
    return new ColumnDefStore(view);
}

QHeaderView *ColumnDefStore::headerOf(const QAbstractItemView *view)
{
    if (auto *table = qobject_cast<const QTableView *>(view))
        return table->horizontalHeader();
    if (auto *tree = qobject_cast<const OutlineView *>(view))
        return tree->header();
    return nullptr;
}

void ColumnDefStore::apply()
{
    if (auto *model = dynamic_cast<ColumnDefinedModel *>(m_view->model()))
        model->setColumnDefs(columns);

    QHeaderView *header = headerOf(m_view);
    if (header != m_header) {
        if (m_header)
            disconnect(m_header, nullptr, this, nullptr);
        m_header = header;
        if (header)
            connect(header, &QHeaderView::sectionResized, this, &ColumnDefStore::sectionResized);
    }

    for (int i = 0; i < m_delegates.size(); ++i) {
        if (m_view->itemDelegateForColumn(i) == m_delegates.at(i))
            m_view->setItemDelegateForColumn(i, nullptr);
        delete m_delegates.at(i);
    }
    m_delegates.clear();

    for (int i = 0; i < columns.size(); ++i) {
        const XXXNSTableColumnField &def = columns.at(i);
        auto *delegate = new ColumnCellDelegate(def, this);
        m_delegates.append(delegate);
        m_view->setItemDelegateForColumn(i, delegate);
        if (header && i < header->count()) {
            header->setSectionResizeMode(i, QHeaderView::Interactive);
            setSectionWidth(i, def.width());
            if (def.minWidth() > 0)
                setSectionWidth(i, qMax(def.width(), def.minWidth()));
        }
    }
}

void ColumnDefStore::setSectionWidth(int section, double width)
{
    if (width <= 0 || !m_header)
        return;
    m_header->resizeSection(section, qRound(width));
}

void ColumnDefStore::sectionResized(int logicalIndex, int oldSize, int newSize)
{
    Q_UNUSED(oldSize);
    if (m_resizing || logicalIndex < 0 || logicalIndex >= columns.size())
        return;
    const double minWidth = columns.at(logicalIndex).minWidth();
    if (minWidth <= 0 || newSize >= qCeil(minWidth))
        return;
    m_resizing = true;
    m_header->resizeSection(logicalIndex, qCeil(minWidth));
    m_resizing = false;
}

void ColumnDefStore::resizeColumns()
{
    if (definitions.isEmpty() || !m_header)
        return;
    auto sectionOf = [&](const QString &identifier) {
        for (int i = 0; i < columns.size(); ++i) {
            if (columns.at(i).identifier() == identifier)
                return i;
        }
        return -1;
    };
    const float tableWidth = float(m_view->viewport()->width());
    if (definitions.size() == 1) {
        const int section = sectionOf(definitions.first().identifier());
        if (section >= 0 && section < m_header->count())
            m_header->resizeSection(section, qRound(tableWidth));
        return;
    }
    // A definition with exactly one of width and minimum width set counts as sized, with
    // the larger of the two.
    QList<int> flexible;
    float sum = 0;
    for (const XXXNSTableColumnField &def : definitions) {
        if (def.width() <= 0 && def.minWidth() <= 0)
            flexible.append(sectionOf(def.identifier()));
        else
            sum += float(qMax(def.width(), def.minWidth()));
    }
    if (flexible.isEmpty())
        return;
    // Whole pixels, never more than the table holds (no scroll bar for a rounding).
    const float share = (tableWidth - sum) / float(flexible.size());
    for (int section : flexible) {
        if (section >= 0 && section < m_header->count())
            m_header->resizeSection(section, qMax(0, qFloor(share)));
    }
}

} // namespace Pavisade

#include <kestrune/keys/sheets/DerazKVDataDelegate.h>

#include <kestrune/keys/sheets/DerazKVEditRow.h>

DerazKVDataDelegate::DerazKVDataDelegate(const DerazKV &blankRecord, QObject *parent)
    : XXXTableViewDataDelegate(parent)
    , m_blankRecord(blankRecord)
{
    setBindClass([this] { return DerazKVEditRow::create(m_blankRecord); });
    connect(this, &QAbstractItemModel::rowsRemoved, this, &DerazKVDataDelegate::renumber,
            Qt::QueuedConnection);
    connect(this, &QAbstractItemModel::rowsMoved, this, &DerazKVDataDelegate::renumber, Qt::QueuedConnection);
    connect(this, &QAbstractItemModel::layoutChanged, this, &DerazKVDataDelegate::renumber,
            Qt::QueuedConnection);
}

void DerazKVDataDelegate::setRecords(const QList<DerazKV> &records, bool loaded)
{
    RowList rows;
    rows.reserve(records.size());
    for (const DerazKV &record : records) {
        auto row = DerazKVEditRow::create(record, loaded);
        row->setPosition(rows.size());
        rows.append(row);
    }
    setData(rows);
}

void DerazKVDataDelegate::addNewData()
{
    addData(DerazKVEditRow::create(m_blankRecord));
}

void DerazKVDataDelegate::addData(const Row &row)
{
    if (auto edit = std::dynamic_pointer_cast<DerazKVEditRow>(row))
        edit->setPosition(itemCache().size());
    XXXTableViewDataDelegate::addData(row);
}

void DerazKVDataDelegate::renumber()
{
    int column = -1;
    for (int i = 0; i < columnDefCount(); ++i) {
        if (columnIdentifier(i) == u"ID")
            column = i;
    }
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < items().size(); ++i) {
        const auto row = editRow(i);
        if (!row || row->position() == i)
            continue;
        row->setPosition(i);
        if (first < 0)
            first = i;
        last = i;
    }
    if (column >= 0 && first >= 0)
        emit dataChanged(index(int(first), column), index(int(last), column));
}

std::shared_ptr<DerazKVEditRow> DerazKVDataDelegate::editRow(qsizetype index) const
{
    return std::dynamic_pointer_cast<DerazKVEditRow>(itemOfRow(index));
}

QVariant DerazKVDataDelegate::data(const QModelIndex &index, int role) const
{
    QVariant value = XXXTableViewDataDelegate::data(index, role);
    if (role == Qt::DisplayRole && value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text.size() > kDisplayLength)
            return QString(text.left(kDisplayLength) + QChar(0x2026));
    }
    return value;
}

QVariant DerazKVDataDelegate::objectValueForTableColumn(int column, qsizetype row) const
{
    if (columnIdentifier(column) == u"ID") {
        const auto object = editRow(row);
        return QString::number(object && object->position() >= 0 ? object->position() : row);
    }
    return XXXTableViewDataDelegate::objectValueForTableColumn(column, row);
}

void DerazKVDataDelegate::setObjectValue(const QVariant &value, int column, qsizetype row)
{
    const auto object = editRow(row);
    if (!object)
        return;
    const QString identifier = columnIdentifier(column);
    const Row before = object->clone();
    if (!object->setValueForKey(identifier, value)) {
        emit valueRefused(identifier, value.toString());
        return;
    }
    if (rowObjectValueChangedCallback)
        rowObjectValueChangedCallback(object, before, row);
}

#include <kestrune/keys/sheets/DerazKVDataDelegate.h>

#include <kestrune/keys/sheets/DerazKVEditRow.h>

DerazKVDataDelegate::DerazKVDataDelegate(const DerazKV &blankRecord, QObject *parent)
    : XXXTableViewDataDelegate(parent)
    , m_blankRecord(blankRecord)
{
    setBindClass([this] { return DerazKVEditRow::create(m_blankRecord); });
}

void DerazKVDataDelegate::setRecords(const QList<DerazKV> &records, bool loaded)
{
    RowList rows;
    rows.reserve(records.size());
    for (const DerazKV &record : records)
        rows.append(DerazKVEditRow::create(record, loaded));
    setData(rows);
}

void DerazKVDataDelegate::addNewData()
{
    addData(DerazKVEditRow::create(m_blankRecord));
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
    if (columnIdentifier(column) == u"ID")
        return QString::number(row);
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

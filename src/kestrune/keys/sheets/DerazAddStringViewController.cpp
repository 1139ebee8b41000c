#include <kestrune/keys/sheets/DerazAddStringViewController.h>

#include <kestrune/data/records/DerazUnit.h>
#include <kestrune/keys/sheets/DerazKVDataDelegate.h>
#include <kestrune/keys/sheets/DerazKVEditRow.h>
#include <kestrune/keys/sheets/EditorColumns.h>

#include <pavisade/tables/NSTableViewEX.h>

DerazAddStringViewController::DerazAddStringViewController(QWidget *parent)
    : DerazKeyEditorViewController(DerazKV(QByteArray(), QByteArray(), -1), false, parent)
{
}

XXXNSTableColumnFieldList DerazAddStringViewController::defConfig()
{
    return {Kestrune::editorColumn(tr("Key"), QStringLiteral("key"), 150, 100),
            Kestrune::editorColumn(tr("Value"), QStringLiteral("value"), 150, 100),
            Kestrune::editorColumn(tr("TTL"), QStringLiteral("ttl"), 192, 192)};
}

void DerazAddStringViewController::awakeFromNib()
{
    DerazKeyEditorViewController::awakeFromNib();
    auto *table = static_cast<NSTableViewEX *>(tableView());
    table->setEmptyDoubleClickTarget(this);
    table->setEmptyDoubleClickAction(QStringLiteral("addNewKVPair"));
}

QVariantList DerazAddStringViewController::kvs()
{
    QVariantList records;
    for (const DerazKV &row : acceptedRows(true))
        records.append(QVariant::fromValue(row));
    return records;
}

void DerazAddStringViewController::refreshViewWithData(const QVariant &data)
{
    const DerazUnit unit = data.value<DerazUnit>();
    const QByteArray value = unit.values().isEmpty() ? QByteArray("") : unit.values().first();
    dataDelegate()->addData(DerazKVEditRow::create(DerazKV(unit.key(), value, unit.ttl()), true));
}

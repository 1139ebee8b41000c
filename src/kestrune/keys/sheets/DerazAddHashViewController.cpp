#include <kestrune/keys/sheets/DerazAddHashViewController.h>

#include <kestrune/data/records/DerazUnit.h>
#include <kestrune/keys/sheets/DerazKVDataDelegate.h>
#include <kestrune/keys/sheets/EditorColumns.h>

DerazAddHashViewController::DerazAddHashViewController(QWidget *parent)
    : DerazKeyEditorViewController(DerazKV(), true, parent)
{
}

XXXNSTableColumnFieldList DerazAddHashViewController::defConfig()
{
    return {Kestrune::editorColumn(tr("Hash Key"), QStringLiteral("key"), 200, 200),
            Kestrune::editorColumn(tr("Value"), QStringLiteral("value"), 292, 292)};
}

QVariantList DerazAddHashViewController::kvs()
{
    DerazHashKV record;
    record.setKey(typedKey());
    record.setPairs(acceptedRows(true));
    return {QVariant::fromValue(record)};
}

void DerazAddHashViewController::refreshViewWithData(const QVariant &data)
{
    const DerazUnit unit = data.value<DerazUnit>();
    showKeyFields(unit);
    dataDelegate()->setRecords(unit.rows(), true);
}

#include <kestrune/keys/sheets/DerazAddZSetViewController.h>

#include <kestrune/data/records/DerazUnit.h>
#include <kestrune/keys/sheets/DerazKVDataDelegate.h>
#include <kestrune/keys/sheets/EditorColumns.h>

DerazAddZSetViewController::DerazAddZSetViewController(QWidget *parent)
    : DerazKeyEditorViewController(DerazKV(), true, parent)
{
}

XXXNSTableColumnFieldList DerazAddZSetViewController::defConfig()
{
    return {Kestrune::editorColumn(tr("Score"), QStringLiteral("score"), 200, 200),
            Kestrune::editorColumn(tr("Value"), QStringLiteral("value"), 292, 292)};
}

QVariantList DerazAddZSetViewController::kvs()
{
    DerazZSetKV record;
    record.setKey(typedKey());
    record.setPairs(acceptedRows(false));
    return {QVariant::fromValue(record)};
}

void DerazAddZSetViewController::refreshViewWithData(const QVariant &data)
{
    const DerazUnit unit = data.value<DerazUnit>();
    showKeyFields(unit);
    dataDelegate()->setRecords(unit.rows(), true);
}

#include <kestrune/keys/sheets/DerazAddSetViewController.h>

#include <kestrune/data/records/DerazUnit.h>
#include <kestrune/keys/sheets/DerazKVDataDelegate.h>
#include <kestrune/keys/sheets/EditorColumns.h>

DerazAddSetViewController::DerazAddSetViewController(QWidget *parent)
    : DerazKeyEditorViewController(DerazKV(), true, parent)
{
}

XXXNSTableColumnFieldList DerazAddSetViewController::defConfig()
{
    return {Kestrune::editorColumn(tr("Value"), QStringLiteral("value"), 0, 0)};
}

QVariantList DerazAddSetViewController::kvs()
{
    DerazSetKV record;
    record.setKey(typedKey());
    record.setValues(acceptedValues());
    return {QVariant::fromValue(record)};
}

void DerazAddSetViewController::refreshViewWithData(const QVariant &data)
{
    const DerazUnit unit = data.value<DerazUnit>();
    showKeyFields(unit);
    setLoadedValues(unit.values());
}

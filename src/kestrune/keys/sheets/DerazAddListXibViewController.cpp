#include <kestrune/keys/sheets/DerazAddListXibViewController.h>

#include <kestrune/data/records/DerazUnit.h>
#include <kestrune/keys/sheets/DerazKVDataDelegate.h>
#include <kestrune/keys/sheets/EditorColumns.h>

DerazAddListXibViewController::DerazAddListXibViewController(QWidget *parent)
    : DerazKeyEditorViewController(DerazKV(), true, parent)
{
}

XXXNSTableColumnFieldList DerazAddListXibViewController::defConfig()
{
    return {Kestrune::editorColumn(tr("Index"), QStringLiteral("ID"), 200, 200, false),
            Kestrune::editorColumn(tr("Value"), QStringLiteral("value"), 292, 292)};
}

QVariantList DerazAddListXibViewController::kvs()
{
    DerazListKV record;
    record.setKey(typedKey());
    record.setValues(acceptedValues());
    return {QVariant::fromValue(record)};
}

void DerazAddListXibViewController::refreshViewWithData(const QVariant &data)
{
    const DerazUnit unit = data.value<DerazUnit>();
    showKeyFields(unit);
    setLoadedValues(unit.values());
}

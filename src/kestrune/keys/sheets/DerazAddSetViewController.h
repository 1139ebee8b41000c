#pragma once

#include <kestrune/keys/sheets/DerazKeyEditorViewController.h>

// The set editor: a key field, a time-to-live field and a one-column table of members.
// Its record is one DerazSetKV (the key as typed, the accepted members). clearData()
// empties the rows and writes "-1" as the time to live. Main thread.
class DerazAddSetViewController : public DerazKeyEditorViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DerazAddSetViewController(QWidget *parent = nullptr);

    static XXXNSTableColumnFieldList defConfig();

    QVariantList kvs() override;
    XXXNSTableColumnFieldList tableColumnsDef() const override { return defConfig(); }
    void refreshViewWithData(const QVariant &data) override;
};

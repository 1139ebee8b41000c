#pragma once

#include <kestrune/keys/sheets/DerazKeyEditorViewController.h>

// The hash editor: a key field, a time-to-live field and a table of field/value pairs.
// Its record is one DerazHashKV (the key as typed, the accepted rows as pairs), also
// when no row is accepted. clearData() empties the rows and writes "-1" as the time to
// live. Main thread.
class DerazAddHashViewController : public DerazKeyEditorViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DerazAddHashViewController(QWidget *parent = nullptr);

    static XXXNSTableColumnFieldList defConfig();

    QVariantList kvs() override;
    XXXNSTableColumnFieldList tableColumnsDef() const override { return defConfig(); }
    void refreshViewWithData(const QVariant &data) override;
};

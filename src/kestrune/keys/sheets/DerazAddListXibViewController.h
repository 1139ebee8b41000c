#pragma once

#include <kestrune/keys/sheets/DerazKeyEditorViewController.h>

// The list editor: a key field, a time-to-live field and a table of the elements in
// list order, each row showing its position ("Index", from 0) and its value. Its record
// is one DerazListKV (the key as typed, the accepted values in row order, duplicates
// kept). clearData() empties the rows and leaves both fields. Main thread.
class DerazAddListXibViewController : public DerazKeyEditorViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DerazAddListXibViewController(QWidget *parent = nullptr);

    static XXXNSTableColumnFieldList defConfig();

    QVariantList kvs() override;
    XXXNSTableColumnFieldList tableColumnsDef() const override { return defConfig(); }
    void refreshViewWithData(const QVariant &data) override;

protected:
    int newRowEditColumn() const override { return 1; }
    bool keepsFieldsOnClear() const override { return true; }
};

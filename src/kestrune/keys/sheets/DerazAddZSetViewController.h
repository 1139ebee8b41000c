#pragma once

#include <kestrune/keys/sheets/DerazKeyEditorViewController.h>

// The sorted-set editor: a key field, a time-to-live field and a table of score and
// member. Scores are doubles shown exactly; a typed score that is not a number is
// refused with a message. Its record is one DerazZSetKV (the key as typed, the accepted
// rows as pairs, whatever their score). clearData() empties the rows and writes "-1"
// as the time to live. Main thread.
class DerazAddZSetViewController : public DerazKeyEditorViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DerazAddZSetViewController(QWidget *parent = nullptr);

    static XXXNSTableColumnFieldList defConfig();

    QVariantList kvs() override;
    XXXNSTableColumnFieldList tableColumnsDef() const override { return defConfig(); }
    void refreshViewWithData(const QVariant &data) override;
};

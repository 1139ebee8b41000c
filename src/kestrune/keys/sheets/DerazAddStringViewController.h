#pragma once

#include <kestrune/keys/sheets/DerazKeyEditorViewController.h>

// The string editor: each row is one string key with its value and time to live, so one
// confirmation writes several keys. Its records are the rows themselves (DerazKV, each
// with its own ttl); ttl() is 0. A double click below the last row adds a row.
// Main thread.
class DerazAddStringViewController : public DerazKeyEditorViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DerazAddStringViewController(QWidget *parent = nullptr);

    static XXXNSTableColumnFieldList defConfig();

    QVariantList kvs() override;
    qint64 ttl() override { return 0; }
    XXXNSTableColumnFieldList tableColumnsDef() const override { return defConfig(); }
    // Adds a row for the unit's key (rows already there stay).
    void refreshViewWithData(const QVariant &data) override;

protected:
    void awakeFromNib() override;
};

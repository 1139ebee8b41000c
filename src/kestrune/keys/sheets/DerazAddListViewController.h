#pragma once

#include <kestrune/keys/sheets/DerazAddListXibViewController.h>

// A second list editor with the same rows, record, time to live and buttons as
// DerazAddListXibViewController. It differs in two points: clearData() also writes "-1"
// into the time-to-live field, and the screen is not localised when it wakes. The sheets
// use the other one. Main thread.
class DerazAddListViewController : public DerazAddListXibViewController
{
    Q_OBJECT

public:
    explicit DerazAddListViewController(QWidget *parent = nullptr);

    void i18Location() override {}

protected:
    bool keepsFieldsOnClear() const override { return false; }
};

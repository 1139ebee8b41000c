#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/NSTableViewEX.h>
#include <pavisade/tables/X3TableViewController.h>

// A table screen whose table (an NSTableViewEX made in code) adds a row on a double
// click on its empty area: the table's empty-area action is "addEmptyRow", sent to the
// table's model. Main thread.
class PAVISADE_EXPORT X3DoubleEidtTableViewController : public X3TableViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit X3DoubleEidtTableViewController(QWidget *parent = nullptr);

    NSTableViewEX *editTableView();
    // Adds a row; empty here.
    Q_INVOKABLE virtual void addEmptyRow(QObject *sender) { Q_UNUSED(sender); }

protected:
    void awakeFromNib() override;
    QTableView *makeTableView() override;

private:
    NSTableViewEX *m_editTableView = nullptr;
};

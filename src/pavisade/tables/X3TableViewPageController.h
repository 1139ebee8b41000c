#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/X3DoubleEidtTableViewController.h>
#include <pavisade/viewcontrollers/ScreenPaging.h>

// The paged form of the double-edit table screen: rows are added by a double click on
// the table's empty area, and one page of rows is shown at a time (see ScreenPaging).
// Main thread.
class PAVISADE_EXPORT X3TableViewPageController : public X3DoubleEidtTableViewController,
                                                  public ScreenPagingToEnds
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit X3TableViewPageController(QWidget *parent = nullptr);

protected:
    XXXButtonToolBar *pageInfoToolBar() override { return toolBarView(); }
};

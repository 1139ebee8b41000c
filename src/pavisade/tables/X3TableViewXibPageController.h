#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/X3TableViewXibController.h>
#include <pavisade/viewcontrollers/ScreenPaging.h>

// A table screen from an interface that shows one page of rows at a time: the screen
// fetches the rows of the page manager's current page, then calls updatePageInfo; its
// toolbar handler calls the paging forwarders (see ScreenPaging). Main thread.
class PAVISADE_EXPORT X3TableViewXibPageController : public X3TableViewXibController,
                                                     public ScreenPagingToEnds
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit X3TableViewXibPageController(QWidget *parent = nullptr);

protected:
    XXXButtonToolBar *pageInfoToolBar() override { return toolBarView(); }
};

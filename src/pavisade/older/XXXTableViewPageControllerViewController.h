#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/older/XXXDoubleEidtTableViewController.h>
#include <pavisade/viewcontrollers/ScreenPaging.h>

// The older double-click list screen showing one page of rows at a time: the screen
// sets the page manager, fetches the rows of its current page and calls
// updatePageInfo. It pages one step or to a given page; it has no jump to the first
// or the last page. Main thread.
class PAVISADE_EXPORT XXXTableViewPageControllerViewController : public XXXDoubleEidtTableViewController,
                                                                 public ScreenPaging
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXTableViewPageControllerViewController(QWidget *parent = nullptr);

protected:
    XXXButtonToolBar *pageInfoToolBar() override { return toolBarView(); }
};

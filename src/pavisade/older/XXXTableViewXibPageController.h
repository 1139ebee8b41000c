#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/older/XXXTableViewXibController.h>
#include <pavisade/viewcontrollers/ScreenPaging.h>

// The older list screen for a table its interface supplies, showing one page of rows
// at a time: the screen sets the page manager, fetches the rows of its current page
// and calls updatePageInfo. It pages one step or to a given page; it has no jump to
// the first or the last page. Main thread.
class PAVISADE_EXPORT XXXTableViewXibPageController : public XXXTableViewXibController, public ScreenPaging
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXTableViewXibPageController(QWidget *parent = nullptr);

protected:
    XXXButtonToolBar *pageInfoToolBar() override { return toolBarView(); }
};

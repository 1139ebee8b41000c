#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/ScreenPaging.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

// A screen that shows one page of rows at a time through a page manager (see
// ScreenPaging). Main thread.
class PAVISADE_EXPORT X3CommonPageViewController : public X3CommonViewController, public ScreenPagingToEnds
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit X3CommonPageViewController(QWidget *parent = nullptr);

protected:
    XXXButtonToolBar *pageInfoToolBar() override { return toolBarView(); }
};

#include <pavisade/viewcontrollers/X3CommonPageViewController.h>

X3CommonPageViewController::X3CommonPageViewController(QWidget *parent)
    : X3CommonViewController(parent)
    , ScreenPagingToEnds(this)
{
}

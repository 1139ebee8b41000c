#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/X3TableViewController.h>

// The table screen whose table comes from its interface (the tableXibView hook): the
// interface places the table, so sizing only shares the column widths, and a window
// resize re-applies the column definitions. The toolbar is centred in its strip along
// the bottom edge. Main thread.
class PAVISADE_EXPORT X3TableViewXibController : public X3TableViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit X3TableViewXibController(QWidget *parent = nullptr);

    void resizeUI() override;
    void tableViewSizeConfig() override;
    virtual void viewSizeConfig2() {}
    // The toolbar centred in its strip (toolbarParentViewDefaultHeight high) along the
    // bottom edge; the table is not moved.
    void layoutToolBar();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void layoutTableArea() override;
};

#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/older/XXXTableViewXibController.h>
#include <pavisade/tables/XXXNSTableColumnField.h>

#include <QtCore/QPointer>

class XXXCSVGridDataDelegate;
class XXXCSVGridView;

// The CSV grid screen: its Designer file supplies the grid (a subclass answers it from
// tableXibView()), which gets the solid grid and the row-number cell on first use and
// is shown through the CSV grid model. Main thread.
class PAVISADE_EXPORT XXXCSVViewController : public XXXTableViewXibController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXCSVViewController(QWidget *parent = nullptr);
    ~XXXCSVViewController() override;

    // The grid's model, made on first use.
    XXXCSVGridDataDelegate *delegate();
    // The grid from tableXibView() (null when it answers none or another table).
    XXXCSVGridView *csvGridView();

    // The model is set on the grid.
    void tableViewDelegateConfig() override;
    // The grid keeps its columns' widths: nothing is sized here.
    void tableViewSizeConfig() override {}
    // The row-number column and n - 1 lettered data columns (at most 677 in all).
    XXXNSTableColumnFieldList tableViewColumnsWithColNums(int n) const;

private:
    QPointer<XXXCSVGridDataDelegate> m_delegate;
    QPointer<XXXCSVGridView> m_csvGridView;
    bool m_gridTaken = false;
};

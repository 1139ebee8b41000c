#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/cells/XXXPopUpButtonCell.h>

#include <QtCore/QPointer>
#include <QtCore/QVariant>
#include <QtWidgets/QTableView>

namespace Pavisade {
class FormMatrixModel;
}

// A matrix form: a right-aligned title column and an editable value column, filled
// from the dynamic form's row maps (rows without a "type" are skipped). The value of
// the second typed row is a sample pop-up. Main thread.
class PAVISADE_EXPORT NSMatrixDynamicForm : public QTableView
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit NSMatrixDynamicForm(QWidget *parent = nullptr);
    ~NSMatrixDynamicForm() override;

    // A matrix of the given rows and 2 columns of 100 × 24 cells, 200 wide and
    // 30 × rows + 10 high, on the control-highlight colour, following its parent's width.
    static NSMatrixDynamicForm *defaultFormWithRowNums(int rows, QWidget *parent = nullptr);

    void updateWithData(const QVariant &data);

    Pavisade::FormMatrixModel *formModel() const { return m_model; }
    FXPopUpButtonCell *samplePopUp() const { return m_popUp; }

private:
    Pavisade::FormMatrixModel *m_model;
    QPointer<FXPopUpButtonCell> m_popUp;
};

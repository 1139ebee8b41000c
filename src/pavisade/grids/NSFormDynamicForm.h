#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/cells/XXXComboBoxCell.h>
#include <pavisade/cells/XXXPopUpButtonCell.h>

#include <QtCore/QPointer>
#include <QtCore/QVariant>
#include <QtWidgets/QTableView>

namespace Pavisade {
class FormMatrixModel;
}

// A form of titled entries, one per row (the titles are the row headers), filled from
// the dynamic form's row maps ("title", "value", "type"; rows without a type are
// skipped). The second typed row tries out the titled cells: a "ComboBox" row shows a
// sample combo box ("test", three "abc" entries), a "PopUpButton" row a sample pop-up.
// Main thread.
class PAVISADE_EXPORT NSFormDynamicForm : public QTableView
{
    Q_OBJECT
public:
    static constexpr float kFormCellHeight = 22.0f;

    Q_INVOKABLE explicit NSFormDynamicForm(QWidget *parent = nullptr);
    ~NSFormDynamicForm() override;

    // A form 100 wide and 22 × rows + 5 high, on the control-highlight colour, that
    // follows its parent's width.
    static NSFormDynamicForm *defaultFormWithRowNums(int rows, QWidget *parent = nullptr);

    // A list of row maps, or one row map.
    void updateWithData(const QVariant &data);

    Pavisade::FormMatrixModel *formModel() const { return m_model; }
    // The sample cells made for the second typed row (null before).
    XXXComboBoxCell *sampleComboBox() const { return m_comboBox; }
    XXXPopUpButtonCell *samplePopUp() const { return m_popUp; }

    // The sample combo box's entries.
    static int numberOfItemsInComboBoxCell() { return 3; }
    static QString comboBoxCellObjectValueForItemAtIndex(int index);

private:
    Pavisade::FormMatrixModel *m_model;
    QPointer<XXXComboBoxCell> m_comboBox;
    QPointer<XXXPopUpButtonCell> m_popUp;
};

// Rows to fill a matrix form with: a list of maps, or one map wrapped in a list.
namespace Pavisade {
PAVISADE_EXPORT QVariantList formRowsOf(const QVariant &data);
}

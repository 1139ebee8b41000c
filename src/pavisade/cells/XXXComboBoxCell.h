#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/cells/TitledChoiceCell.h>

// An editable combo box with its own title at its left. A press in the right-most 20
// points of the cell (the arrow) selects the start of the edited text, as many
// characters as the title has and never more than the text has. Entries inserted
// through insertItemWithObjectValue2 are kept unique and at most 10. Main thread.
class PAVISADE_EXPORT XXXComboBoxCell : public Pavisade::TitledChoiceCell
{
    Q_OBJECT
public:
    static constexpr int kMaxItems = 10;

    Q_INVOKABLE explicit XXXComboBoxCell(const QString &text = QString(), QWidget *parent = nullptr);

    // What a press at the point (cell coordinates) does before the combo box gets it:
    // outside the choice area nothing; in the arrow area the selection described above.
    void editWithEvent(const QPoint &position);
    void insertItemWithObjectValue2(const QString &object, int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

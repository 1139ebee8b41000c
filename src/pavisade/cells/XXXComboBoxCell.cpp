#include <pavisade/cells/XXXComboBoxCell.h>

#include <QtGui/QMouseEvent>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>

#include <algorithm>

XXXComboBoxCell::XXXComboBoxCell(const QString &text, QWidget *parent)
    : Pavisade::TitledChoiceCell(text, true, parent)
{
    comboBox()->installEventFilter(this);
    if (comboBox()->lineEdit())
        comboBox()->lineEdit()->installEventFilter(this);
}

void XXXComboBoxCell::editWithEvent(const QPoint &position)
{
    const QRect choice = choiceRect();
    if (!choice.contains(position))
        return;
    if (position.x() < rect().right() + 1 - 20)
        return; // the combo box edits where it was pressed
    QLineEdit *edit = comboBox()->lineEdit();
    if (!edit)
        return;
    const int length = int(std::min(title().size(), edit->text().size()));
    edit->setSelection(0, length);
}

bool XXXComboBoxCell::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto *widget = qobject_cast<QWidget *>(watched);
        const auto *press = static_cast<QMouseEvent *>(event);
        if (widget)
            editWithEvent(widget->mapTo(this, press->position().toPoint()));
    }
    return Pavisade::TitledChoiceCell::eventFilter(watched, event);
}

void XXXComboBoxCell::insertItemWithObjectValue2(const QString &object, int index)
{
    QComboBox *box = comboBox();
    if (const int existing = box->findText(object, Qt::MatchExactly | Qt::MatchCaseSensitive); existing >= 0)
        box->removeItem(existing);
    box->insertItem(std::clamp(index, 0, box->count()), object);
    while (box->count() > kMaxItems)
        box->removeItem(box->count() - 1);
}

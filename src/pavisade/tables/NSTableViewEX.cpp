#include <pavisade/tables/NSTableViewEX.h>

#include <pavisade/viewcontrollers/InvokeByName_p.h>

#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>

NSTableViewEX::NSTableViewEX(QWidget *parent)
    : QTableView(parent)
{
}

void NSTableViewEX::noteClick(const QPoint &position)
{
    const QModelIndex index = indexAt(position);
    m_clickedRow = index.isValid() ? index.row() : -1;
    m_clickedColumn = index.isValid() ? index.column() : -1;
}

void NSTableViewEX::mousePressEvent(QMouseEvent *event)
{
    noteClick(event->position().toPoint());
    QTableView::mousePressEvent(event);
}

// A window-modal dialog shown over the table's window.
bool NSTableViewEX::sheetIsUp() const
{
    const QWidget *own = window();
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog && dialog != own && dialog->isVisible() && dialog->windowModality() != Qt::NonModal &&
            (dialog->windowModality() == Qt::ApplicationModal || dialog->parentWidget() == own ||
             (dialog->parentWidget() && dialog->parentWidget()->window() == own)))
            return true;
    }
    return false;
}

void NSTableViewEX::mouseDoubleClickEvent(QMouseEvent *event)
{
    noteClick(event->position().toPoint());
    if (m_clickedRow == -1 && m_clickedColumn == -1) {
        if (!m_doubleClickEnabled || sheetIsUp())
            return;
        emit emptyAreaDoubleClicked(-1, -1);
        if (!m_action.isEmpty()) {
            QObject *receiver = m_target ? m_target.data() : static_cast<QObject *>(model());
            Pavisade::invokeByName<QObject>(receiver, m_action, nullptr);
        }
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void NSTableViewEX::focusInEvent(QFocusEvent *event)
{
    if (m_tabEditingDisabled) {
        viewport()->update();
        return;
    }
    QTableView::focusInEvent(event);
}

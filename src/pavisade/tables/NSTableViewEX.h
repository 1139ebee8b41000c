#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtWidgets/QTableView>

// A table that reports a double click on its empty area (below the rows, where the
// clicked row and column are -1): the empty-area action, a method name, is called with
// the table on the empty-area target, or on the table's model when there is no target.
// Double clicks on rows do nothing here. While a sheet (a window-modal dialog) is up on
// the table's window the empty-area double click is off. Lives on the GUI thread.
class PAVISADE_EXPORT NSTableViewEX : public QTableView
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit NSTableViewEX(QWidget *parent = nullptr);

    // The Q_INVOKABLE method `name(QObject *sender)` called on an empty-area double click;
    // none after construction.
    QString emptyDoubleClickAction() const { return m_action; }
    void setEmptyDoubleClickAction(const QString &action) { m_action = action; }
    QObject *emptyDoubleClickTarget() const { return m_target; }
    void setEmptyDoubleClickTarget(QObject *target) { m_target = target; }
    void setEmptyDoubleTarget(QObject *target) { setEmptyDoubleClickTarget(target); }
    // Turns the empty-area double click on (the table starts with it on).
    void enableDoubleClickAction() { m_doubleClickEnabled = true; }

    // When set, taking the focus only redraws the table.
    bool tabEditingDisabled() const { return m_tabEditingDisabled; }
    void setTabEditingDisabled(bool disabled) { m_tabEditingDisabled = disabled; }

    // The row and column of the last click (-1 on the empty area).
    int clickedRow() const { return m_clickedRow; }
    int clickedColumn() const { return m_clickedColumn; }

signals:
    // A double click on the empty area: row and column -1.
    void emptyAreaDoubleClicked(int row, int column);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    bool sheetIsUp() const;
    void noteClick(const QPoint &position);

    QString m_action;
    QPointer<QObject> m_target;
    bool m_doubleClickEnabled = true;
    bool m_tabEditingDisabled = false;
    int m_clickedRow = -1;
    int m_clickedColumn = -1;
};

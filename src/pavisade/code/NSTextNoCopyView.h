#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtWidgets/QPlainTextEdit>

class QMimeData;

// A text view whose selection never leaves it: Copy and Cut (their key sequences and
// context-menu entries) leave both the clipboard and the text as they are, a drag
// started on the selection is not begun, and any data made from the selection is
// empty. Each attempt logs "copying". (copy() and cut() are not virtual; callers that
// call them directly bypass this view.) Main thread.
class PAVISADE_EXPORT NSTextNoCopyView : public QPlainTextEdit
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit NSTextNoCopyView(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    static bool isCopyOrCut(const QKeyEvent *event);
    bool m_pressOnSelection = false;
    bool m_dragRefused = false;
};

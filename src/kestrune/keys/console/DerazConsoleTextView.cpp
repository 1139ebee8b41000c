#include <kestrune/keys/console/DerazConsoleTextView.h>

#include <QtCore/QMimeData>
#include <QtGui/QKeyEvent>

DerazConsoleTextView::DerazConsoleTextView(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

void DerazConsoleTextView::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isReturn) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (m_insertNewline && m_insertNewline())
        return;
    // A plain line break whatever the modifiers (Shift+Return would otherwise insert a
    // line separator that the command reading does not see as a line end).
    QTextCursor cursor = textCursor();
    cursor.insertText(QStringLiteral("\n"));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void DerazConsoleTextView::insertFromMimeData(const QMimeData *source)
{
    if (!m_insertFilter || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.insertText(m_insertFilter(source->text()));
    setTextCursor(cursor);
    ensureCursorVisible();
}

#pragma once

#include <QtWidgets/QPlainTextEdit>

#include <functional>

// The console's one text view: the whole session, prompts, commands and replies, in one
// editable text. Return asks the owner first; when the owner does not take it, the view
// breaks the line at the caret as usual. Pasted or dropped text goes through the owner's
// filter first (which shortens lines too long to lay out quickly). Main thread.
class DerazConsoleTextView : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DerazConsoleTextView(QWidget *parent = nullptr);

    // Called for every Return (and keypad Enter); answers true when it consumed the key.
    void setInsertNewlineHandler(std::function<bool()> handler) { m_insertNewline = std::move(handler); }
    // Turns pasted or dropped text into the text inserted.
    void setInsertTextFilter(std::function<QString(const QString &)> filter)
    {
        m_insertFilter = std::move(filter);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    std::function<bool()> m_insertNewline;
    std::function<QString(const QString &)> m_insertFilter;
};

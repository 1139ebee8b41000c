#pragma once

#include <QtWidgets/QPlainTextEdit>

#include <functional>

// The console's one text view: the whole session, prompts, commands and replies, in one
// editable text. Return asks the owner first; when the owner does not take it, the view
// breaks the line at the caret as usual. Main thread.
class DerazConsoleTextView : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DerazConsoleTextView(QWidget *parent = nullptr);

    // Called for every Return (and keypad Enter); answers true when it consumed the key.
    void setInsertNewlineHandler(std::function<bool()> handler) { m_insertNewline = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::function<bool()> m_insertNewline;
};

#pragma once

#include <kestrune/data/state/SimpleDBStateDelegate.h>

#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtCore/QHash>
#include <QtCore/QStringList>
#include <QtGui/QColor>

#include <memory>

class DataStoreBO;
class DerazConsoleTextView;
class DerazDatabase;
class DerazReply;
class QLabel;
class QPushButton;
class SimpleDBStateManager;
class SimpleDBViewState;

// The console tab: a terminal over the selected server in one editable text. The user
// types a command behind the prompt "host:port>" and presses Return; the last line's
// text behind its first ">" goes to the current database as one command line (read with
// the command-text rules: single blanks split, double-quoted tokens hold blanks and
// escapes), and the reply is written under it, followed by a fresh prompt. There is no
// history and no reply time limit; a line waits until its reply arrives or the connection
// is closed. A command typed while a reply is still coming is taken off its line and
// queued: the strip under the text says a command is running and which wait, and each
// waiting command is written behind a fresh prompt and sent once the reply before it
// arrived. The prompt names the database the next command goes to.
//
// A line too long to lay out quickly (a pasted value of a megabyte, a reply as large) is
// shown bounded: its start and its length. A pasted line so shown is still sent whole.
// Showing the console (its tab chosen, not its window brought back) gives its text the
// keyboard. Main thread.
class DerazConsoleViewController : public X3CommonViewController, public SimpleDBStateDelegate
{
    Q_OBJECT

public:
    // The prompt of a console with no database.
    static const QString kNoDatabasePrompt;
    // Lines longer than this are shown as their first kLongLinePrefix characters and
    // their length.
    static constexpr qsizetype kLongLine = 4096;
    static constexpr qsizetype kLongLinePrefix = 1000;
    // The console's text colour (its background is the tables' "2c3135").
    static const QColor kTextColor;
    static const QColor kBackgroundColor;
    // The colour of the status text in the strip under the console.
    static const QColor kStatusColor;

    explicit DerazConsoleViewController(QWidget *parent = nullptr);
    ~DerazConsoleViewController() override;

    // Where the console finds the current database and the database of a node URL (the
    // shared ones unless set before the view loads).
    void setDataSources(DataStoreBO *registry, SimpleDBStateManager *states);

    DerazConsoleTextView *textView() const { return m_textView; }
    QPushButton *clearButton() const { return m_clearButton; }
    // Says whether a command runs and which typed commands wait for its reply.
    QLabel *statusLabel() const { return m_statusLabel; }
    // True from sending a command until its reply is written.
    bool isRunning() const { return m_running; }
    // The commands typed while a reply was coming, in the order they will be sent.
    const QStringList &queuedCommands() const { return m_queued; }
    // The database whose server the prompt shows; null until one is selected.
    std::shared_ptr<DerazDatabase> database() const { return m_database; }

    // The prompt for a database: "<host>:<port>>" of its connection's profile, or
    // kNoDatabasePrompt for none.
    static QString dbHostURL(const std::shared_ptr<DerazDatabase> &database);
    QString dbHostURL() const { return dbHostURL(m_database); }
    // How a reply reads in the console (without the prompt that follows it): every text
    // element in its display form (CellText.h), except a server report (INFO and its
    // kind: report true) whose lines are shown as lines.
    static QString replyText(const DerazReply &reply, bool report = false);
    // The text as the console shows it: each line longer than kLongLine bounded. With
    // remember, the console keeps each bounded line's whole text, which a command line
    // holding the bounded form sends.
    QString shownText(const QString &text, bool remember);
    // The line with every bounded form the console remembers replaced by its whole text.
    QString fullLine(const QString &line) const;

    void viewStyleConfig() override;
    // Sets the console's colour on all of its text.
    void colorRefresh();
    // Replaces the whole text by a bare prompt.
    void clearBtnClicked();
    // Handles Return: sends the last line's command, and answers whether the key was
    // consumed (true when the text then ends with a prompt).
    bool insertNewline();
    // Reads the command out of the last line and sends it (or writes a fresh prompt
    // when the line holds none); while a reply is coming, queues the line instead.
    void runCmd();

    // SimpleDBStateDelegate
    void dataProbeTabIndexChanged(SimpleDBViewState *state, const QString &nodeURL, int viewIndex) override;
    void dataStoreDerazDBChanged(SimpleDBViewState *state, const QString &nodeURL) override;

protected:
    void loadInterface() override;
    void showEvent(QShowEvent *event) override;
    void awakeFromNib() override;

private:
    std::shared_ptr<SimpleDBViewState> stateDelegate() const;
    SimpleDBStateManager &states() const;
    DataStoreBO &registry() const;
    QString lastLine() const;
    // The prompt for the database the next command goes to (which it also records).
    QString nextPrompt();
    // Sends the typed command text to the current database; false when there is none.
    bool send(const QString &typed);
    void replyArrived(const QString &reply);
    // Takes the last line off the text into the queue (a too short line stays).
    void queueLastLine();
    void showStatus();
    // Appends text at the end and leaves the caret behind it.
    void appendText(const QString &text);
    void addDBViewStateObserver();
    void removeDBViewStateObserver();

    DerazConsoleTextView *m_textView = nullptr;
    QPushButton *m_clearButton = nullptr;
    QLabel *m_statusLabel = nullptr;
    bool m_running = false;
    QStringList m_queued;
    std::shared_ptr<DerazDatabase> m_database;
    DataStoreBO *m_registry = nullptr;
    SimpleDBStateManager *m_states = nullptr;
    std::shared_ptr<SimpleDBViewState> m_joinedState;
    // Whole texts of the bounded lines pasted, by their bounded form.
    QHash<QString, QString> m_longLines;
};

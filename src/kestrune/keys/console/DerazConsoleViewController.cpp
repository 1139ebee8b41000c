#include <kestrune/keys/console/DerazConsoleViewController.h>

#include <kestrune/Localized.h>
#include <kestrune/data/deraz/DerazConnection.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/records/CellText.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/records/DerazCommandLine.h>
#include <kestrune/data/records/DerazReply.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/console/DerazConsoleTextView.h>

#include <bastwick/ByteText.h>
#include <bastwick/FontAdditions.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QPointer>
#include <QtGui/QShowEvent>
#include <QtGui/QTextBlock>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>

using Kestrune::L;

namespace {

// Commands whose reply is the server's own report, written as lines of text to be read
// (INFO and its kind): their text is shown as it stands, line by line, unless it holds
// bytes that are not text.
bool isReportCommand(const QList<QByteArray> &arguments)
{
    if (arguments.isEmpty())
        return false;
    const QByteArray name = arguments.constFirst().toUpper();
    if (name == "INFO" || name == "LOLWUT")
        return true;
    if (arguments.size() < 2)
        return false;
    const QByteArray sub = arguments.at(1).toUpper();
    return (name == "CLIENT" && (sub == "LIST" || sub == "INFO")) ||
           (name == "CLUSTER" && (sub == "INFO" || sub == "NODES")) ||
           ((name == "MEMORY" || name == "LATENCY") && sub == "DOCTOR");
}

// A report's text: line ends as line breaks when it is text, else its display form.
QString reportText(const QByteArray &bytes)
{
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\n' && c != '\r') || u == 0x7f)
            return Kestrune::displayText(bytes);
    }
    if (!Bastwick::isValidUtf8(bytes))
        return Kestrune::displayText(bytes);
    QByteArray text = bytes;
    text.replace("\r\n", "\n");
    // The report's last line end: the prompt's own line break follows.
    if (text.endsWith('\n'))
        text.chop(1);
    return QString::fromUtf8(text);
}

QString elementText(const DerazReply &reply, bool nested);

// A nested array on one line: its elements in parentheses, separated by a comma.
QString nestedArrayText(const DerazReply &reply)
{
    QStringList parts;
    parts.reserve(reply.size());
    for (const DerazReply &element : reply.elements())
        parts.append(elementText(element, true));
    return QLatin1Char('(') + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString elementText(const DerazReply &reply, bool nested)
{
    switch (reply.kind()) {
    case DerazReply::Kind::NoReply:
        // The connection failed or was closed: say so instead of showing "(nil)".
        return reply.errorText().isEmpty() ? L(QStringLiteral("No reply from the server"))
                                           : reply.errorText();
    case DerazReply::Kind::Nil:
        return QStringLiteral("(nil)");
    case DerazReply::Kind::String:
    case DerazReply::Kind::Status:
    case DerazReply::Kind::Error:
        // Each element in its display form: an empty one reads "", a line break inside
        // one is an escape and never looks like a second element.
        return Kestrune::displayText(reply.text());
    case DerazReply::Kind::Integer:
        return QString::number(reply.integer());
    case DerazReply::Kind::Array:
        if (nested)
            return nestedArrayText(reply);
        break;
    }
    QStringList lines;
    lines.reserve(reply.size());
    for (const DerazReply &element : reply.elements())
        lines.append(elementText(element, true));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

const QString DerazConsoleViewController::kNoDatabasePrompt = QStringLiteral("127.0.0.1:6939>");
const QColor DerazConsoleViewController::kTextColor = QColor::fromRgbF(38 / 255.0, 170 / 255.0, 48 / 255.0);
const QColor DerazConsoleViewController::kBackgroundColor = QColor(0x2c, 0x31, 0x35);
// Light grey on the console's background: well above 4.5:1.
const QColor DerazConsoleViewController::kStatusColor = QColor(0xe8, 0xea, 0xec);

DerazConsoleViewController::DerazConsoleViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
}

DerazConsoleViewController::~DerazConsoleViewController()
{
    removeDBViewStateObserver();
}

void DerazConsoleViewController::setDataSources(DataStoreBO *registry, SimpleDBStateManager *states)
{
    m_registry = registry;
    m_states = states;
}

SimpleDBStateManager &DerazConsoleViewController::states() const
{
    return m_states ? *m_states : SimpleDBStateManager::sharedInstance();
}

DataStoreBO &DerazConsoleViewController::registry() const
{
    return m_registry ? *m_registry : DataStoreBO::sharedInstance();
}

std::shared_ptr<SimpleDBViewState> DerazConsoleViewController::stateDelegate() const
{
    return states().dbViewState();
}

void DerazConsoleViewController::loadInterface()
{
    m_textView = new DerazConsoleTextView(this);
    m_textView->setObjectName(QStringLiteral("textView"));
    m_textView->setFrameShape(QFrame::NoFrame);
    m_textView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont font = Bastwick::monospacedFont();
    font.setPixelSize(13);
    m_textView->setFont(font);
    m_textView->setInsertNewlineHandler([this] { return insertNewline(); });
    m_textView->setInsertTextFilter([this](const QString &text) { return shownText(text, true); });

    m_clearButton = new QPushButton(L(QStringLiteral("Clear")), this);
    m_clearButton->setObjectName(QStringLiteral("clearBtn"));
    connect(m_clearButton, &QPushButton::clicked, this, [this] { clearBtnClicked(); });

    // Says that a command is running and which typed commands wait for its reply.
    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QPalette status = m_statusLabel->palette();
    status.setColor(QPalette::WindowText, kStatusColor);
    m_statusLabel->setPalette(status);

    auto *strip = new QHBoxLayout;
    strip->setContentsMargins(6, 4, 6, 4);
    strip->addWidget(m_statusLabel, 1);
    strip->addWidget(m_clearButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_textView, 1);
    layout->addLayout(strip);
}

void DerazConsoleViewController::showEvent(QShowEvent *event)
{
    X3CommonViewController::showEvent(event);
    // What the user types next belongs to the console, once its tab is chosen. A window
    // brought back from the dock (a spontaneous show) keeps the keyboard where it was.
    if (m_textView && !event->spontaneous())
        m_textView->setFocus(Qt::OtherFocusReason);
}

void DerazConsoleViewController::awakeFromNib()
{
    X3CommonViewController::awakeFromNib();
    viewStyleConfig();
    // Whatever is typed or pasted takes the console's colour.
    connect(m_textView->document(), &QTextDocument::contentsChanged, this, [this] { colorRefresh(); });
    addDBViewStateObserver();
}

void DerazConsoleViewController::viewStyleConfig()
{
    setAutoFillBackground(true);
    QPalette own = palette();
    own.setColor(QPalette::Window, kBackgroundColor);
    setPalette(own);
    QPalette text = m_textView->palette();
    text.setColor(QPalette::Base, kBackgroundColor);
    text.setColor(QPalette::Window, kBackgroundColor);
    text.setColor(QPalette::Text, kTextColor);
    m_textView->setPalette(text);
    m_textView->setAutoFillBackground(true);
    colorRefresh();
}

void DerazConsoleViewController::colorRefresh()
{
    // A plain-text view draws all of its text in the palette's text colour; this keeps
    // it so when something changed the palette since.
    if (m_textView && m_textView->palette().color(QPalette::Text) != kTextColor) {
        QPalette text = m_textView->palette();
        text.setColor(QPalette::Text, kTextColor);
        m_textView->setPalette(text);
    }
}

QString DerazConsoleViewController::dbHostURL(const std::shared_ptr<DerazDatabase> &database)
{
    if (!database)
        return kNoDatabasePrompt;
    const auto connection = database->derazConnection();
    const auto profile = connection ? connection->profile() : nullptr;
    if (!profile)
        return kNoDatabasePrompt;
    return QStringLiteral("%1:%2>").arg(profile->host()).arg(profile->port());
}

QString DerazConsoleViewController::replyText(const DerazReply &reply, bool report)
{
    if (report && reply.kind() == DerazReply::Kind::String)
        return reportText(reply.text());
    return elementText(reply, false);
}

QString DerazConsoleViewController::shownText(const QString &text, bool remember)
{
    if (text.size() <= kLongLine)
        return text;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.size() <= kLongLine)
            continue;
        qsizetype prefix = kLongLinePrefix;
        if (line.at(prefix - 1).isHighSurrogate())
            --prefix;
        const QString shown =
            L(QStringLiteral("ConsoleLongLine")).arg(line.left(prefix), QString::number(line.size()));
        if (remember)
            m_longLines.insert(shown, line);
        line = shown;
    }
    return lines.join(QLatin1Char('\n'));
}

QString DerazConsoleViewController::fullLine(const QString &line) const
{
    QString full = line;
    for (auto it = m_longLines.cbegin(); it != m_longLines.cend(); ++it) {
        for (qsizetype at = full.indexOf(it.key()); at >= 0;
             at = full.indexOf(it.key(), at + it.value().size()))
            full.replace(at, it.key().size(), it.value());
    }
    return full;
}

QString DerazConsoleViewController::nextPrompt()
{
    // The prompt names the database the next command goes to, also when that one was
    // chosen before the console was first shown.
    if (const std::shared_ptr<DerazDatabase> current = states().currentDatabase())
        m_database = current;
    return dbHostURL();
}

void DerazConsoleViewController::clearBtnClicked()
{
    view();
    m_longLines.clear();
    m_textView->setPlainText(nextPrompt());
    m_textView->moveCursor(QTextCursor::End);
    colorRefresh();
}

QString DerazConsoleViewController::lastLine() const
{
    return m_textView->document()->lastBlock().text();
}

void DerazConsoleViewController::appendText(const QString &text)
{
    QTextCursor cursor(m_textView->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    m_textView->setTextCursor(cursor);
    m_textView->ensureCursorVisible();
}

bool DerazConsoleViewController::insertNewline()
{
    XXXLog(QStringLiteral("Return was pressed!"));
    if (isRunning()) {
        queueLastLine();
        return true;
    }
    runCmd();
    return lastLine().endsWith(QLatin1Char('>'));
}

void DerazConsoleViewController::runCmd()
{
    if (isRunning()) {
        queueLastLine();
        return;
    }
    const QString line = fullLine(lastLine());
    const qsizetype mark = line.indexOf(QLatin1Char('>'));
    // At least two characters behind the first ">" make a command.
    if (mark < 0 || mark + 1 >= line.size() - 1) {
        appendText(QLatin1Char('\n') + nextPrompt());
        return;
    }
    send(line.mid(mark + 1));
}

bool DerazConsoleViewController::send(const QString &typed)
{
    const QByteArray command = Bastwick::bytesFromText(typed);
    const QList<QByteArray> arguments = DerazCommandLine::split(command.trimmed());
    // Only the command's name and argument count reach the log: arguments may hold a
    // password or a value the user keeps private.
    XXXLog(QStringLiteral("cmd %1").arg(DerazCommandLine::logSummary(arguments)));
    const std::shared_ptr<DerazDatabase> target = states().currentDatabase();
    if (!target) {
        XXXLog(QStringLiteral("no current database: nothing sent"));
        return false;
    }
    m_running = true;
    showStatus();
    const bool report = isReportCommand(arguments);
    QPointer<DerazConsoleViewController> self(this);
    target->execCommand(command, [self, report](const DerazReply &reply) {
        if (self)
            self->replyArrived(replyText(reply, report));
    });
    return true;
}

void DerazConsoleViewController::replyArrived(const QString &reply)
{
    m_running = false;
    appendText(shownText(reply, false) + QLatin1Char('\n') + nextPrompt());
    // The commands typed while the reply was coming go now, one at a time, each behind
    // its own prompt.
    if (!m_queued.isEmpty()) {
        const QString next = m_queued.takeFirst();
        appendText(shownText(next, true) + QLatin1Char('\n'));
        if (!send(next)) {
            m_queued.clear();
            appendText(L(QStringLiteral("ConsoleQueueNotSent")) + QLatin1Char('\n') + nextPrompt());
        }
    }
    showStatus();
}

void DerazConsoleViewController::queueLastLine()
{
    QString command = fullLine(lastLine());
    // A line typed behind a prompt (after Clear, say) holds the prompt itself.
    const QString prompt = dbHostURL();
    if (command.startsWith(prompt))
        command = command.mid(prompt.size());
    if (command.trimmed().size() < 2)
        return;
    m_queued.append(command);
    // The line leaves the text for now and comes back behind its prompt when it is sent.
    QTextCursor cursor(m_textView->document()->lastBlock());
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_textView->setTextCursor(cursor);
    showStatus();
}

void DerazConsoleViewController::showStatus()
{
    if (!m_statusLabel)
        return;
    if (!m_running) {
        m_statusLabel->clear();
        return;
    }
    if (m_queued.isEmpty()) {
        m_statusLabel->setText(L(QStringLiteral("ConsoleCommandRunning")));
        return;
    }
    QStringList commands;
    for (const QString &command : m_queued)
        commands.append(shownText(command.trimmed(), false));
    m_statusLabel->setText(Kestrune::fillPlaceholder(L(QStringLiteral("ConsoleCommandsQueued")),
                                                     commands.join(QStringLiteral("; "))));
}

void DerazConsoleViewController::addDBViewStateObserver()
{
    if (m_joinedState)
        return;
    m_joinedState = stateDelegate();
    m_joinedState->addDelegate<SimpleDBStateDelegate>(this, Bastwick::mainQueue());
    // Joining runs on the state's queue; wait for it, so an announcement made right after
    // the view loads (the probe tab that shows it) already reaches the console.
    m_joinedState->deactivate();
}

void DerazConsoleViewController::removeDBViewStateObserver()
{
    if (!m_joinedState)
        return;
    m_joinedState->removeDelegate(this);
    m_joinedState.reset();
}

void DerazConsoleViewController::dataProbeTabIndexChanged(SimpleDBViewState *, const QString &, int viewIndex)
{
    if (viewIndex == 2 && m_textView && m_textView->document()->isEmpty())
        clearBtnClicked();
}

void DerazConsoleViewController::dataStoreDerazDBChanged(SimpleDBViewState *, const QString &nodeURL)
{
    auto database = std::dynamic_pointer_cast<DerazDatabase>(registry().databaseByNodeURL(nodeURL));
    if (!database || database == m_database)
        return;
    m_database = database;
    clearBtnClicked();
}

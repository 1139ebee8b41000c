#include <kestrune/keys/console/DerazConsoleViewController.h>

#include <kestrune/Localized.h>
#include <kestrune/data/deraz/DerazConnection.h>
#include <kestrune/data/deraz/DerazDatabase.h>
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
#include <QtGui/QTextBlock>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QPushButton>

using Kestrune::L;

namespace {

// True when the bytes read as text as they stand: valid UTF-8 without control bytes
// other than tab and line ends.
bool isPlainText(const QByteArray &bytes)
{
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\n' && c != '\r') || u == 0x7f)
            return false;
    }
    return Bastwick::isValidUtf8(bytes);
}

// A text reply as the console shows it: plain text as it is (server texts end their
// lines with CR LF), anything else in the quoted command-text form, so bytes that are
// not text show as \xNN escapes instead of replacement characters.
QString bytesText(const QByteArray &bytes)
{
    if (isPlainText(bytes)) {
        QByteArray text = bytes;
        text.replace("\r\n", "\n");
        return QString::fromUtf8(text);
    }
    return QString::fromLatin1(DerazCommandLine::quote(bytes));
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
        return bytesText(reply.text());
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

    m_clearButton = new QPushButton(L(QStringLiteral("Clear")), this);
    m_clearButton->setObjectName(QStringLiteral("clearBtn"));
    connect(m_clearButton, &QPushButton::clicked, this, [this] { clearBtnClicked(); });

    auto *strip = new QHBoxLayout;
    strip->setContentsMargins(6, 4, 6, 4);
    strip->addStretch(1);
    strip->addWidget(m_clearButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_textView, 1);
    layout->addLayout(strip);
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

QString DerazConsoleViewController::replyText(const DerazReply &reply)
{
    return elementText(reply, false);
}

void DerazConsoleViewController::clearBtnClicked()
{
    view();
    m_textView->setPlainText(dbHostURL());
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
    runCmd();
    return lastLine().endsWith(QLatin1Char('>'));
}

void DerazConsoleViewController::runCmd()
{
    const QString line = lastLine();
    const qsizetype mark = line.indexOf(QLatin1Char('>'));
    // At least two characters behind the first ">" make a command.
    if (mark < 0 || mark + 1 >= line.size() - 1) {
        appendText(QLatin1Char('\n') + dbHostURL());
        return;
    }
    const QByteArray command = Bastwick::bytesFromText(line.mid(mark + 1));
    // Only the command's name and argument count reach the log: arguments may hold a
    // password or a value the user keeps private.
    XXXLog(QStringLiteral("cmd %1").arg(
        DerazCommandLine::logSummary(DerazCommandLine::split(command.trimmed()))));
    const std::shared_ptr<DerazDatabase> target = states().currentDatabase();
    if (!target) {
        XXXLog(QStringLiteral("no current database: nothing sent"));
        return;
    }
    QPointer<DerazConsoleViewController> self(this);
    target->execCommand(command, [self](const DerazReply &reply) {
        if (!self)
            return;
        self->appendText(replyText(reply) + QLatin1Char('\n') + self->dbHostURL());
    });
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

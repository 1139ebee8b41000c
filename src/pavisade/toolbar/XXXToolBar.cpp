#include <pavisade/toolbar/XXXToolBar.h>

#include <corbelan/services/NamedImage.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QFile>
#include <QtCore/QXmlStreamReader>
#include <QtGui/QIcon>
#include <QtGui/QPixmap>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QSizePolicy>
#include <QtWidgets/QToolBar>

#include <memory>
#include <utility>
#include <vector>

namespace {

// An element of the definition with its text (all text inside it, as XPath's string
// value) and its child elements.
struct Element
{
    QString name;
    QString text;
    std::vector<std::unique_ptr<Element>> children;

    // The first direct child of that name.
    const Element *child(const QString &childName) const
    {
        for (const auto &c : children)
            if (c->name == childName)
                return c.get();
        return nullptr;
    }

    // Elements of that name at any depth below this one, in document order.
    void descendants(const QString &elementName, std::vector<const Element *> *found) const
    {
        for (const auto &c : children) {
            if (c->name == elementName)
                found->push_back(c.get());
            c->descendants(elementName, found);
        }
    }

    const Element *firstDescendant(const QString &elementName) const
    {
        std::vector<const Element *> found;
        descendants(elementName, &found);
        return found.empty() ? nullptr : found.front();
    }
};

// The document read strictly: its root element, or null (with the reason) when the text
// is not well-formed XML.
std::unique_ptr<Element> readStrict(const QByteArray &data, QString *reason)
{
    QXmlStreamReader reader(data);
    std::unique_ptr<Element> root;
    std::vector<Element *> open;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            auto element = std::make_unique<Element>();
            element->name = reader.name().toString();
            Element *raw = element.get();
            if (open.empty())
                root = std::move(element);
            else
                open.back()->children.push_back(std::move(element));
            open.push_back(raw);
            break;
        }
        case QXmlStreamReader::EndElement:
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            for (Element *e : open)
                e->text += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        *reason = QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
        return nullptr;
    }
    if (!root)
        *reason = QStringLiteral("no root element");
    return root;
}

// Text with its references replaced; an "&" that starts no known reference is kept as
// it stands.
QString decodeLenient(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        const qsizetype semi = text.indexOf(u';', i + 1);
        const QStringView ref = semi > i ? text.mid(i + 1, semi - i - 1) : QStringView();
        QString replacement;
        if (ref == u"lt")
            replacement = QStringLiteral("<");
        else if (ref == u"gt")
            replacement = QStringLiteral(">");
        else if (ref == u"amp")
            replacement = QStringLiteral("&");
        else if (ref == u"quot")
            replacement = QStringLiteral("\"");
        else if (ref == u"apos")
            replacement = QStringLiteral("'");
        else if (ref.size() > 1 && ref[0] == u'#') {
            bool ok = false;
            const uint code =
                ref[1] == u'x' || ref[1] == u'X' ? ref.mid(2).toUInt(&ok, 16) : ref.mid(1).toUInt(&ok);
            if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
                const char32_t c = code;
                replacement = QString::fromUcs4(&c, 1);
            }
        }
        if (replacement.isEmpty()) {
            out += u'&';
            continue;
        }
        out += replacement;
        i = semi;
    }
    return out;
}

bool isNameStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u':';
}

// The document read the way a tidying reader repairs markup: an "&" that starts no
// reference is text, a "<" that starts no tag is text, an end tag closes the nearest
// open element of its name and everything opened inside it (an end tag with no such
// element is dropped), elements still open at the end are closed there, and elements
// after the root's end tag go into the root.
class RepairingReader
{
public:
    explicit RepairingReader(const QString &text)
        : m_text(text)
    {
    }

    // The root, or null when the text holds no element at all.
    std::unique_ptr<Element> read()
    {
        qsizetype i = 0;
        while (i < m_text.size()) {
            if (m_text[i] != u'<') {
                qsizetype next = m_text.indexOf(u'<', i);
                if (next < 0)
                    next = m_text.size();
                addText(decodeLenient(QStringView(m_text).mid(i, next - i)));
                i = next;
                continue;
            }
            const QStringView rest = QStringView(m_text).mid(i);
            if (rest.startsWith(u"<!") || rest.startsWith(u"<?")) {
                i = skipDeclaration(i);
            } else if (rest.startsWith(u"</") && rest.size() > 2 && isNameStart(rest[2])) {
                i = closeElement(i);
            } else if (rest.size() > 1 && isNameStart(rest[1])) {
                i = openElement(i);
            } else {
                addText(QStringLiteral("<"));
                ++i;
            }
        }
        return std::move(m_root);
    }

private:
    void addText(const QString &chars)
    {
        for (Element *e : m_open)
            e->text += chars;
    }

    qsizetype skipPast(qsizetype from, QStringView end) const
    {
        const qsizetype at = m_text.indexOf(end, from);
        return at < 0 ? m_text.size() : at + end.size();
    }

    // A comment, CDATA section (its text kept), processing instruction or declaration at
    // i; answers where the text goes on.
    qsizetype skipDeclaration(qsizetype i)
    {
        const QStringView rest = QStringView(m_text).mid(i);
        if (rest.startsWith(u"<!--"))
            return skipPast(i + 4, u"-->");
        if (rest.startsWith(u"<![CDATA[")) {
            const qsizetype end = m_text.indexOf(QStringLiteral("]]>"), i + 9);
            addText(m_text.mid(i + 9, (end < 0 ? m_text.size() : end) - i - 9));
            return end < 0 ? m_text.size() : end + 3;
        }
        if (rest.startsWith(u"<?"))
            return skipPast(i + 2, u"?>");
        const qsizetype close = m_text.indexOf(u'>', i);
        const qsizetype bracket = m_text.indexOf(u'[', i);
        return bracket >= 0 && (close < 0 || bracket < close) ? skipPast(bracket, u"]>") : skipPast(i, u">");
    }

    // An end tag at i closes the nearest open element of its name and all inside it.
    qsizetype closeElement(qsizetype i)
    {
        const qsizetype close = m_text.indexOf(u'>', i);
        const qsizetype end = close < 0 ? m_text.size() : close;
        const QString name = m_text.mid(i + 2, end - i - 2).trimmed();
        for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
            if ((*it)->name == name) {
                m_open.erase(std::next(it).base(), m_open.end());
                break;
            }
        }
        return close < 0 ? m_text.size() : close + 1;
    }

    // A start tag at i: a new element in the innermost open one (the root's after its end).
    qsizetype openElement(qsizetype i)
    {
        // The tag runs to the first ">" outside a quoted attribute value.
        qsizetype j = i + 1;
        QChar quote;
        while (j < m_text.size() && (!quote.isNull() || m_text[j] != u'>')) {
            if (quote.isNull() && (m_text[j] == u'"' || m_text[j] == u'\''))
                quote = m_text[j];
            else if (m_text[j] == quote)
                quote = QChar();
            ++j;
        }
        const bool selfClosing = j > i + 1 && m_text[j - 1] == u'/';
        qsizetype nameEnd = i + 1;
        while (nameEnd < j && !m_text[nameEnd].isSpace() && m_text[nameEnd] != u'/')
            ++nameEnd;
        auto element = std::make_unique<Element>();
        element->name = m_text.mid(i + 1, nameEnd - i - 1);
        Element *raw = element.get();
        if (!m_root) {
            m_root = std::move(element);
        } else {
            if (m_open.empty())
                m_open.push_back(m_root.get());
            m_open.back()->children.push_back(std::move(element));
        }
        if (!selfClosing)
            m_open.push_back(raw);
        return j < m_text.size() ? j + 1 : j;
    }

    const QString &m_text;
    std::unique_ptr<Element> m_root;
    std::vector<Element *> m_open;
};

// The root element of the file, or null (with the reason) when it cannot be read.
// Malformed markup is repaired (with a log line) rather than refused.
std::unique_ptr<Element> readDocument(const QString &path, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return nullptr;
    }
    const QByteArray data = file.readAll();
    if (std::unique_ptr<Element> root = readStrict(data, reason))
        return root;
    std::unique_ptr<Element> root = RepairingReader(QString::fromUtf8(data)).read();
    if (!root) {
        *reason = QStringLiteral("no root element");
        return nullptr;
    }
    XXXLogWarning(
        QStringLiteral("toolbar definition %1 is malformed (%2); read as repaired").arg(path, *reason));
    return root;
}

int displayModeOf(const QString &text)
{
    if (text == QLatin1String("NSToolbarDisplayModeIconAndLabel"))
        return 1;
    if (text == QLatin1String("NSToolbarDisplayModeIconOnly"))
        return 2;
    if (text == QLatin1String("NSToolbarDisplayModeLabelOnly"))
        return 3;
    return -1;
}

int sizeModeOf(const QString &text)
{
    if (text == QLatin1String("NSToolbarSizeModeRegular"))
        return 1;
    if (text == QLatin1String("NSToolbarSizeModeSmall"))
        return 2;
    return -1;
}

QIcon iconNamed(const QString &name)
{
    const QImage image = Corbelan::namedImage(name, QSize(32, 32));
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

// The item one "toolbaritem" element defines, or null (with a log line where it lacks a
// part) for an item that is switched off or incomplete.
XXXToolBarItem *makeItem(const Element &element, QToolBar *toolbar)
{
    const Element *enable = element.child(QStringLiteral("enable"));
    const Element *notification = element.child(QStringLiteral("notification"));
    if (!enable || !element.child(QStringLiteral("class")) || !notification) {
        XXXLogWarning(QStringLiteral("toolbar item without enable, class or notification skipped"));
        return nullptr;
    }
    if (enable->text == QLatin1String("0"))
        return nullptr;
    const Element *label = element.child(QStringLiteral("label"));
    if (!label) {
        XXXLogWarning(QStringLiteral("toolbar item without label skipped"));
        return nullptr;
    }
    auto *item = new XXXToolBarItem(toolbar);
    if (label->text == QLatin1String("Config")) {
        item->setIdentifier(label->text);
        item->setText(QStringLiteral("Configuration"));
        item->setPaletteLabel(QStringLiteral("Configuration"));
        item->setToolTip(QStringLiteral("Configuration"));
        item->setIcon(iconNamed(QStringLiteral("PreferencesGeneral")));
    } else {
        const Element *palette = element.child(QStringLiteral("palettelabel"));
        const Element *tooltip = element.child(QStringLiteral("tooltip"));
        const Element *image = element.child(QStringLiteral("image"));
        if (!palette || !tooltip || !image) {
            XXXLogWarning(QStringLiteral("toolbar item %1 without palettelabel, tooltip or image skipped")
                              .arg(label->text));
            delete item;
            return nullptr;
        }
        item->setIdentifier(label->text);
        item->setText(label->text);
        item->setPaletteLabel(palette->text);
        item->setToolTip(tooltip->text);
        item->setIcon(iconNamed(image->text));
    }
    item->setObjectName(label->text);
    item->setEnable(true);
    item->setNotificationName(notification->text);
    return item;
}

// The toolbar-wide settings of the definition: customisation, separator, sizes, display.
void applySettings(XXXToolBar &bar, const Element &root)
{
    const bool allows = root.firstDescendant(QStringLiteral("allowsusercustomization")) != nullptr;
    if (allows)
        bar.setToolbarAllowsUserCustomization(true);
    if (root.firstDescendant(QStringLiteral("showsbaselineseparator")))
        bar.setToolbarShowsBaselineSeparator(true);
    if (const Element *size = root.firstDescendant(QStringLiteral("sizemode"))) {
        if (const int mode = sizeModeOf(size->text); mode > 0)
            bar.setToolbarSizeMode(mode);
    }
    if (const Element *display = root.firstDescendant(QStringLiteral("displaymode"))) {
        if (const int mode = displayModeOf(display->text); mode > 0)
            bar.setToolbarDisplayMode(mode);
    }
    bar.toolbar()->setMovable(allows);
}

// The property of a bar that points back at the toolbar object that built it.
constexpr char kBuiltByProperty[] = "XXXToolBar";

} // namespace

XXXToolBar::XXXToolBar(QMainWindow *window, const QString &xmlPath, QObject *parent)
    : QObject(parent)
    , m_window(window)
{
    if (!window) {
        XXXLogWarning(QStringLiteral("no window for the toolbar of %1").arg(xmlPath));
        return;
    }
    if (!build(xmlPath))
        return;
    m_toolbar->setProperty(kBuiltByProperty, QVariant::fromValue(QPointer<XXXToolBar>(this)));
    window->addToolBar(m_toolbar);
    window->show();
    window->raise();
    window->activateWindow();
    const QList<QAction *> actions = m_toolbar->actions();
    if (!actions.isEmpty()) {
        auto *space = new QWidget(m_toolbar);
        space->setObjectName(QStringLiteral("NSToolbarFlexibleSpaceItem"));
        space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        m_toolbar->insertWidget(actions.last(), space);
    }
}

XXXToolBar::~XXXToolBar() = default;

XXXToolBar *XXXToolBar::ofWindow(const QMainWindow *window)
{
    if (!window)
        return nullptr;
    // The window's bars in the order they were made; each knows its toolbar object while
    // that lives.
    const QList<QToolBar *> bars = window->findChildren<QToolBar *>(Qt::FindDirectChildrenOnly);
    for (auto it = bars.crbegin(); it != bars.crend(); ++it)
        if (XXXToolBar *built = (*it)->property(kBuiltByProperty).value<QPointer<XXXToolBar>>())
            return built;
    return nullptr;
}

bool XXXToolBar::build(const QString &xmlPath)
{
    QString reason;
    const std::unique_ptr<Element> root = readDocument(xmlPath, &reason);
    if (!root) {
        XXXLogWarning(QStringLiteral("toolbar definition %1 not read: %2").arg(xmlPath, reason));
        return false;
    }
    const Element *identifier = root->firstDescendant(QStringLiteral("identifier"));
    if (!identifier) {
        XXXLogWarning(QStringLiteral("toolbar definition %1 has no identifier").arg(xmlPath));
        return false;
    }

    m_toolbar = new QToolBar(m_window);
    m_toolbar->setObjectName(identifier->text);

    std::vector<const Element *> itemElements;
    root->descendants(QStringLiteral("toolbaritem"), &itemElements);
    for (const Element *element : itemElements) {
        XXXToolBarItem *item = makeItem(*element, m_toolbar);
        if (!item)
            continue;
        connect(item, &QAction::triggered, this, [this, item] { toolbarItemClicked(item); });
        m_toolbarOrderedIdentifiers.append(item->identifier());
        if (XXXToolBarItem *earlier = m_toolbarItems.value(item->identifier()))
            delete earlier;
        m_toolbarItems.insert(item->identifier(), item);
    }
    applySettings(*this, *root);
    for (const QString &id : std::as_const(m_toolbarOrderedIdentifiers))
        if (XXXToolBarItem *item = itemForItemIdentifier(id))
            m_toolbar->addAction(item);
    return true;
}

XXXToolBarItem *XXXToolBar::itemForItemIdentifier(const QString &identifier) const
{
    return m_toolbarItems.value(identifier);
}

void XXXToolBar::setToolbarDisplayMode(int mode)
{
    m_displayMode = mode;
    if (!m_toolbar)
        return;
    switch (mode) {
    case 1:
        m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        break;
    case 2:
        m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        break;
    case 3:
        m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        break;
    default:
        m_toolbar->setToolButtonStyle(Qt::ToolButtonFollowStyle);
        break;
    }
}

void XXXToolBar::setToolbarSizeMode(int mode)
{
    m_sizeMode = mode;
    if (!m_toolbar)
        return;
    if (mode == 1)
        m_toolbar->setIconSize(QSize(32, 32));
    else if (mode == 2)
        m_toolbar->setIconSize(QSize(24, 24));
}

void XXXToolBar::setToolbarVisible(bool visible)
{
    if (m_toolbar)
        m_toolbar->setVisible(visible);
}

void XXXToolBar::toolbarItemClicked(XXXToolBarItem *item)
{
    if (!item)
        return;
    XXXLog(QStringLiteral("Firing off \"%1\" notification").arg(item->notificationName()));
    if (toolBarCallbackBlock)
        toolBarCallbackBlock(QVariantMap{{QStringLiteral("message"), item->notificationName()}});
}

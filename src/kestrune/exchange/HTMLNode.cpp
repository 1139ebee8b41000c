#include <kestrune/exchange/HTMLNode.h>

#include <gumbo.h>

namespace {

QString fromGumbo(const char *text)
{
    return text ? QString::fromUtf8(text) : QString();
}

GumboNode *asNode(GumboInternalNode *node)
{
    return reinterpret_cast<GumboNode *>(node);
}

GumboInternalNode *asInternal(GumboNode *node)
{
    return reinterpret_cast<GumboInternalNode *>(node);
}

const GumboVector *childrenOf(const GumboNode *node)
{
    if (!node)
        return nullptr;
    if (node->type == GUMBO_NODE_DOCUMENT)
        return &node->v.document.children;
    if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE)
        return &node->v.element.children;
    return nullptr;
}

} // namespace

HTMLDocumentData::HTMLDocumentData(QByteArray utf8)
    : m_source(std::move(utf8))
{
    // gumbo reads the bytes up to their length and keeps pointers into them.
    m_output = reinterpret_cast<GumboInternalOutput *>(
        gumbo_parse_with_options(&kGumboDefaultOptions, m_source.constData(), size_t(m_source.size())));
}

HTMLDocumentData::~HTMLDocumentData()
{
    if (m_output)
        gumbo_destroy_output(&kGumboDefaultOptions, reinterpret_cast<GumboOutput *>(m_output));
}

// --- HTMLNode -------------------------------------------------------------------------

HTMLNode::HTMLNode(std::shared_ptr<const HTMLDocumentData> document, GumboInternalNode *node)
    : m_document(std::move(document))
    , m_node(node)
{
}

int HTMLNode::nodeType() const
{
    if (!m_node)
        return -1;
    const int type = asNode(m_node)->type;
    return type == GUMBO_NODE_TEMPLATE ? Element : type;
}

QString HTMLNode::nodeName() const
{
    switch (nodeType()) {
    case Document:
        return QStringLiteral("#document");
    case Element: {
        const char *name = gumbo_normalized_tagname(asNode(m_node)->v.element.tag);
        return QString::fromUtf8(name ? name : "");
    }
    case Text:
        return QStringLiteral("#text");
    default:
        return QString();
    }
}

QString HTMLNode::nodeValue() const
{
    switch (nodeType()) {
    case Text:
    case CData:
    case Comment:
    case Whitespace:
        return fromGumbo(asNode(m_node)->v.text.text);
    default:
        return QString();
    }
}

QList<HTMLNode> HTMLNode::childNodes() const
{
    QList<HTMLNode> out;
    const GumboVector *children = childrenOf(asNode(m_node));
    if (!children)
        return out;
    out.reserve(qsizetype(children->length));
    for (unsigned i = 0; i < children->length; ++i)
        out.append(HTMLNode(m_document, asInternal(static_cast<GumboNode *>(children->data[i]))));
    return out;
}

HTMLNode HTMLNode::parentNode() const
{
    if (!m_node || !asNode(m_node)->parent)
        return {};
    return HTMLNode(m_document, asInternal(asNode(m_node)->parent));
}

QString HTMLNode::description() const
{
    static const char *const classes[] = {"HTMLDocument", "HTMLElement", "HTMLText"};
    const int type = nodeType();
    const char *cls = type == Document ? classes[0] : type == Element ? classes[1] : classes[2];
    const QString name = nodeName();
    return QStringLiteral("<%1 %2 %3>")
        .arg(QLatin1String(cls), QStringLiteral("0x%1").arg(quintptr(m_node), 0, 16),
             name.isNull() ? nodeValue() : name);
}

HTMLElement HTMLNode::toElement() const
{
    return isElement() ? HTMLElement(m_document, m_node) : HTMLElement();
}

HTMLText HTMLNode::toText() const
{
    const int type = nodeType();
    return (type >= Text && type <= Whitespace) ? HTMLText(m_document, m_node) : HTMLText();
}

// --- HTMLAttribute --------------------------------------------------------------------

HTMLAttribute::HTMLAttribute(std::shared_ptr<const HTMLDocumentData> document,
                             GumboInternalAttribute *attribute)
    : m_document(std::move(document))
    , m_attribute(attribute)
{
}

QString HTMLAttribute::name() const
{
    return m_attribute ? fromGumbo(reinterpret_cast<GumboAttribute *>(m_attribute)->name) : QString();
}

QString HTMLAttribute::value() const
{
    return m_attribute ? fromGumbo(reinterpret_cast<GumboAttribute *>(m_attribute)->value) : QString();
}

QString HTMLAttribute::description() const
{
    return QStringLiteral("<HTMLAttribute %1 %2=%3>")
        .arg(QStringLiteral("0x%1").arg(quintptr(m_attribute), 0, 16), name(), value());
}

// --- HTMLElement ----------------------------------------------------------------------

int HTMLElement::tag() const
{
    return isElement() ? int(asNode(m_node)->v.element.tag) : -1;
}

QList<HTMLAttribute> HTMLElement::attributes() const
{
    QList<HTMLAttribute> out;
    if (!isElement())
        return out;
    const GumboVector &attributes = asNode(m_node)->v.element.attributes;
    for (unsigned i = 0; i < attributes.length; ++i)
        out.append(HTMLAttribute(m_document, static_cast<GumboInternalAttribute *>(attributes.data[i])));
    return out;
}

HTMLAttribute HTMLElement::getAttributeNode(const QString &name) const
{
    if (!isElement())
        return {};
    const QByteArray key = name.toUtf8();
    GumboAttribute *attribute = gumbo_get_attribute(&asNode(m_node)->v.element.attributes, key.constData());
    return attribute ? HTMLAttribute(m_document, reinterpret_cast<GumboInternalAttribute *>(attribute))
                     : HTMLAttribute();
}

bool HTMLElement::hasAttribute(const QString &name) const
{
    return !getAttributeNode(name).isNull();
}

QString HTMLElement::getAttribute(const QString &name) const
{
    const HTMLAttribute attribute = getAttributeNode(name);
    return attribute.isNull() ? QString() : attribute.value();
}

// --- HTMLDocument ---------------------------------------------------------------------

HTMLDocument::HTMLDocument(std::shared_ptr<const HTMLDocumentData> data)
    : HTMLNode(data, reinterpret_cast<GumboInternalNode *>(
                         reinterpret_cast<GumboOutput *>(data->output())->document))
{
}

HTMLDocument::HTMLDocument(const QString &html)
    : HTMLDocument(std::make_shared<const HTMLDocumentData>(html.toUtf8()))
{
}

HTMLDocument HTMLDocument::fromUtf8(const QByteArray &utf8)
{
    return HTMLDocument(std::make_shared<const HTMLDocumentData>(utf8));
}

HTMLElement HTMLDocument::rootElement() const
{
    if (!m_document)
        return {};
    return HTMLElement(m_document, reinterpret_cast<GumboInternalNode *>(
                                       reinterpret_cast<GumboOutput *>(m_document->output())->root));
}

// Depth first, pre-order, from the document's first child; the start node itself is not
// tested.
static GumboNode *firstElementByTag(GumboNode *node, GumboTag tag)
{
    const GumboVector *children = childrenOf(node);
    if (!children)
        return nullptr;
    for (unsigned i = 0; i < children->length; ++i) {
        GumboNode *child = static_cast<GumboNode *>(children->data[i]);
        if (child->type != GUMBO_NODE_ELEMENT && child->type != GUMBO_NODE_TEMPLATE)
            continue;
        if (child->v.element.tag == tag)
            return child;
        if (GumboNode *found = firstElementByTag(child, tag))
            return found;
    }
    return nullptr;
}

HTMLElement HTMLDocument::firstElementByTag(int tag) const
{
    const GumboVector *children = childrenOf(asNode(m_node));
    if (!children || children->length == 0)
        return {};
    GumboNode *found = ::firstElementByTag(static_cast<GumboNode *>(children->data[0]), GumboTag(tag));
    return found ? HTMLElement(m_document, asInternal(found)) : HTMLElement();
}

HTMLElement HTMLDocument::head() const
{
    return firstElementByTag(GUMBO_TAG_HEAD);
}

HTMLElement HTMLDocument::body() const
{
    return firstElementByTag(GUMBO_TAG_BODY);
}

QString HTMLDocument::title() const
{
    const HTMLElement title = firstElementByTag(GUMBO_TAG_TITLE);
    const QList<HTMLNode> children = title.childNodes();
    if (children.isEmpty() || children.first().nodeType() != Text)
        return QString();
    return children.first().nodeValue();
}

bool HTMLDocument::hasDoctype() const
{
    return m_node && asNode(m_node)->v.document.has_doctype;
}

QString HTMLDocument::publicID() const
{
    return m_node ? fromGumbo(asNode(m_node)->v.document.public_identifier) : QString();
}

QString HTMLDocument::systemID() const
{
    return m_node ? fromGumbo(asNode(m_node)->v.document.system_identifier) : QString();
}

#include <kestrune/exchange/HTMLNode.h>
#include <kestrune/exchange/HTMLQuery.h>

#include <gtest/gtest.h>

namespace {

QStringList ids(const HTMLQuery::NodeList &nodes)
{
    QStringList out;
    for (const HTMLNode &n : nodes)
        out.append(HTMLQuery::attr(n, QStringLiteral("id")));
    return out;
}

TEST(HTMLDocument, EmptyTextStillHasHtmlHeadAndBody)
{
    const HTMLDocument doc(QString{});
    EXPECT_EQ(doc.nodeName(), "#document");
    EXPECT_EQ(doc.rootElement().tagName(), "html");
    EXPECT_FALSE(doc.head().isNull());
    EXPECT_FALSE(doc.body().isNull());
    EXPECT_TRUE(doc.title().isNull());
    EXPECT_TRUE(doc.parentNode().isNull());
}

TEST(HTMLDocument, NodesAttributesAndText)
{
    const HTMLDocument doc(QString::fromUtf8("<!DOCTYPE html><title>T\xc3\xa9</title><p id=a class='x y'>one "
                                             "<b>two</b><!-- c --> three</p>"));
    EXPECT_TRUE(doc.hasDoctype());
    EXPECT_EQ(doc.title(), QString::fromUtf8("T\xc3\xa9"));
    const HTMLNode p = HTMLQuery::first(HTMLQuery::query(doc, QStringLiteral("p")));
    const HTMLElement element = p.toElement();
    ASSERT_FALSE(element.isNull());
    EXPECT_EQ(element.getAttribute("class"), "x y");
    EXPECT_TRUE(element.getAttribute("missing").isNull());
    EXPECT_FALSE(element.hasAttribute("missing"));
    EXPECT_EQ(element.attributes().size(), 2);
    EXPECT_EQ(element.attributes().at(0).name(), "id");
    // Text below an element, comments left out; inner HTML as written.
    EXPECT_EQ(HTMLQuery::text(p), "one two three");
    EXPECT_EQ(HTMLQuery::html(p), QStringLiteral("one <b>two</b><!-- c --> three"));
    EXPECT_FALSE(HTMLQuery::html(doc).has_value());
    // Two wrappers of one node are equal; a comment has no name but its text.
    const QList<HTMLNode> children = p.childNodes();
    ASSERT_EQ(children.size(), 4);
    EXPECT_EQ(children.at(1), element.childNodes().at(1));
    EXPECT_EQ(children.at(0).description().right(6), "#text>");
    EXPECT_TRUE(children.at(2).nodeName().isNull());
    EXPECT_EQ(children.at(2).nodeValue(), " c ");
    EXPECT_EQ(children.at(1).parentNode(), p);
}

TEST(HTMLDocument, NodesKeepTheParsedDocumentAlive)
{
    HTMLNode kept;
    {
        const HTMLDocument doc(QStringLiteral("<ul><li id=one data-g='x'>first</li></ul>"));
        kept = HTMLQuery::first(HTMLQuery::query(doc, QStringLiteral("li")));
    }
    // The document object is gone; its tree and source bytes are still held by the node.
    EXPECT_EQ(HTMLQuery::attr(kept, "data-g"), "x");
    EXPECT_EQ(HTMLQuery::text(kept), "first");
    EXPECT_EQ(HTMLQuery::html(kept), QStringLiteral("first"));
    EXPECT_EQ(kept.parentNode().nodeName(), "ul");
}

TEST(HTMLQuery, Selectors)
{
    const HTMLDocument doc(QStringLiteral(
        "<div id=main class='big btn'><span id=s1 class=Btn>a<span id=s2 class='a.b'>b</span></span>"
        "<ul id=l><li id=i1>1<ul><li id=i2>2</li></ul></li><li id=i3>3</li></ul>"
        "<div id=d2 class=a>c</div></div>"));
    struct Case
    {
        QString selector;
        QStringList found;
    };
    const Case cases[] = {
        {"li", {"i1", "i2", "i3"}}, // nested ones too, document order
        {"LI", {"i1", "i2", "i3"}}, // tag names ignore case
        {".btn", {"main"}},         // class words match exactly
        {".Btn", {"s1"}},
        {"#MAIN", {"main"}}, // ids ignore ASCII case
        {"span#s2", {"s2"}},
        {"div.a", {"d2"}},
        {"span.a.b", {"s2"}}, // one class "a.b"
        {"div.a.b", {}},
        {"blink", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.selector.toStdString());
        EXPECT_EQ(ids(HTMLQuery::query(doc, c.selector)), c.found);
    }

    // Query never answers the node itself; an empty selector gives direct children.
    const HTMLNode s1 = HTMLQuery::first(HTMLQuery::query(doc, "#s1"));
    EXPECT_EQ(ids(HTMLQuery::query(s1, "span")), QStringList{"s2"});
    const auto direct = HTMLQuery::query(s1, QString());
    ASSERT_EQ(direct.size(), 2);
    EXPECT_EQ(direct.at(0).nodeType(), int(HTMLNode::Text));

    const auto lists = HTMLQuery::query(doc, "ul");
    EXPECT_EQ(ids(HTMLQuery::children(lists, "li")), (QStringList{"i1", "i3", "i2"}));
    EXPECT_EQ(ids(HTMLQuery::find(lists, "li")), (QStringList{"i1", "i2", "i3", "i2"}));
    EXPECT_EQ(HTMLQuery::text(HTMLQuery::query(doc, "li")), "1223");
    const HTMLNode i2 = HTMLQuery::first(HTMLQuery::query(doc, "#i2"));
    EXPECT_EQ(ids(HTMLQuery::parent({i2, i2}, "ul")), (QStringList{"", "l"}));
    EXPECT_EQ(HTMLQuery::index(lists, i2), -1);
    EXPECT_TRUE(HTMLQuery::get(lists, lists.size()).isNull());
    EXPECT_TRUE(HTMLQuery::hasClass(HTMLQuery::query(doc, "div"), "btn"));
    EXPECT_FALSE(HTMLQuery::hasClass(HTMLQuery::query(doc, "div"), "Btn"));
}

} // namespace

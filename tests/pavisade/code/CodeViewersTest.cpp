#include <pavisade/code/CodeEditor.h>
#include <pavisade/code/CodeEditorStyles.h>
#include <pavisade/code/X3CodeSyntaxTabViewController.h>
#include <pavisade/code/X3CodeSyntaxTabViewXibController.h>
#include <pavisade/code/X3CodeSyntaxViewController.h>
#include <pavisade/code/XXXCodeSyntaxTabViewController.h>
#include <pavisade/code/XXXCodeSyntaxViewController.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <Qsci/qscilexer.h>

#include <QtCore/QFile>
#include <QtGui/QFontInfo>
#include <QtWidgets/QLayout>

#include <gtest/gtest.h>

namespace {

TEST(CodeEditorStyles, EachStyleSetsItsLanguageAndTheMonospacedFontOnTheLexer)
{
    struct Case
    {
        void (*style)(CodeEditor *);
        const char *definition;
        const char *language;
    };
    const Case cases[] = {
        {Pavisade::setObjcStyle, "Objective-C", "C++"},
        {Pavisade::setSQLStyle, "Sql", "SQL"},
        {Pavisade::setJSONStyle, "Json", "JSON"},
        {Pavisade::setXMLStyle, "Xml", "XML"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.definition);
        CodeEditor editor;
        c.style(&editor);
        EXPECT_EQ(editor.syntaxDefinitionName(), c.definition);
        ASSERT_NE(editor.lexer(), nullptr);
        EXPECT_STREQ(editor.lexer()->language(), c.language);
        // 13 px in points, fixed pitch, on the lexer's styles (QScintilla draws with those).
        EXPECT_DOUBLE_EQ(editor.lexer()->font(0).pointSizeF(), 9.75);
        EXPECT_TRUE(QFontInfo(editor.lexer()->font(0)).fixedPitch());
    }

    CodeEditor editor;
    Pavisade::setSQLStyleWithFontSize(&editor, 20);
    EXPECT_DOUBLE_EQ(editor.lexer()->font(0).pointSizeF(), 15.0);
    // Changing language keeps the font.
    Pavisade::setXMLStyle(&editor);
    EXPECT_STREQ(editor.lexer()->language(), "XML");
    Pavisade::setObjcStyle(nullptr); // a missing editor is left alone
}

TEST(CodeSyntaxView, ShowsTextsOnlyAndFillsTheScreen)
{
    X3CodeSyntaxViewController screen;
    screen.resize(300, 200);
    screen.view();
    CodeEditor *editor = screen.codeSyntxView();
    EXPECT_EQ(editor->parentWidget(), &screen);
    ASSERT_NE(screen.layout(), nullptr);
    EXPECT_GE(screen.layout()->indexOf(editor), 0); // fills the screen
    EXPECT_EQ(editor->syntaxDefinitionName(), "Objective-C");

    screen.refreshViewWithData(QStringLiteral("int main();"));
    EXPECT_EQ(editor->text(), "int main();");
    screen.refreshViewWithData(42);
    EXPECT_EQ(editor->text(), "int main();");
    screen.updateContent(QString());
    EXPECT_EQ(editor->text(), "int main();");
    screen.updateContent(QStringLiteral(""));
    EXPECT_EQ(editor->text(), "");

    XXXCodeSyntaxViewController older;
    older.view();
    older.refreshViewWithData(QStringLiteral("a"));
    older.refreshViewWithData(QVariant()); // no value is ignored here
    EXPECT_EQ(older.codeSyntxView()->text(), "a");
}

TEST(CodeSyntaxView, FilesAreDecodedByMarkOrStrictUtf8AndBadFilesChangeNothing)
{
    TestSupport::TempDir dir;
    struct Case
    {
        const char *name;
        QByteArray bytes; // empty name of a file that is not written
        const char *expected;
        const char *logged;
    };
    const Case cases[] = {
        {"utf8.sql", QByteArray("select 'é';"), "select 'é';", nullptr},
        {"bom16.sql",
         QByteArray("\xff\xfe"
                    "a\0b\0",
                    6),
         "ab", nullptr},
        {"bom8.sql",
         QByteArray("\xef\xbb\xbf"
                    "x"),
         "x", nullptr},
        {"latin1.sql", QByteArray("caf\xe9"), "before", "not text"},
        {"missing.sql", QByteArray(), "before", "not exsit"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.path(c.name);
        if (!c.bytes.isEmpty()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        XXXCodeSyntaxViewController screen;
        screen.view();
        screen.codeSyntxView()->setString("before");
        TestSupport::LogCapture log;
        screen.refreshViewWithFilePath(path);
        EXPECT_EQ(screen.codeSyntxView()->text(), QString::fromUtf8(c.expected));
        if (c.logged) {
            EXPECT_EQ(log.count(c.logged), 1);
        }
    }
}

std::shared_ptr<XXXTabItemDefine> tab(const QString &title)
{
    auto item = std::make_shared<XXXTabItemDefine>();
    item->setTitle(title);
    item->setIdentifier(title.toLower());
    return item;
}

template <class Base> class ThreeTabs : public Base
{
public:
    int configured = 0;
    XXXTabItemDefineList tabColumnsDef() const override { return {tab("SQL"), tab("JSON"), tab("XML")}; }
    void syntaxViewConfig() override
    {
        ++configured;
        const QList<CodeEditor *> editors = this->syntaxViews();
        if (editors.size() != 3)
            return; // asked before the tabs exist
        Pavisade::setSQLStyle(editors.at(0));
        Pavisade::setJSONStyle(editors.at(1));
        Pavisade::setXMLStyle(editors.at(2));
    }
};

template <class T> class CodeSyntaxTabs : public ::testing::Test
{
};
using TabScreens = ::testing::Types<X3CodeSyntaxTabViewController, X3CodeSyntaxTabViewXibController>;
TYPED_TEST_SUITE(CodeSyntaxTabs, TabScreens);

TYPED_TEST(CodeSyntaxTabs, OneNamedEditorPerTabInTabOrder)
{
    ThreeTabs<TypeParam> screen;
    screen.resize(400, 300);
    screen.view();
    screen.viewConfig();
    EXPECT_EQ(screen.configured, 1);

    const QList<CodeEditor *> editors = screen.syntaxViews();
    ASSERT_EQ(editors.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(editors.at(i)->objectName(), QStringLiteral("syntaxView%1").arg(i));
        QWidget *page = screen.tabView()->widget(i);
        EXPECT_EQ(editors.at(i)->parentWidget(), page);
        ASSERT_NE(page->layout(), nullptr);
        EXPECT_GE(page->layout()->indexOf(editors.at(i)), 0); // fills its tab
    }
    EXPECT_EQ(editors.at(1)->syntaxDefinitionName(), "Json");

    screen.updateSyntaxViewWithString("{}", 1);
    EXPECT_EQ(editors.at(1)->text(), "{}");
    TestSupport::LogCapture log;
    screen.updateSyntaxViewWithString("lost?", 3);
    EXPECT_EQ(log.count("texts unchanged"), 1);
    for (CodeEditor *editor : editors)
        EXPECT_NE(editor->text(), "lost?");

    screen.updateSyntaxViewEditable(false);
    for (CodeEditor *editor : editors)
        EXPECT_TRUE(editor->isReadOnly());
    screen.tabUpdate(); // viewConfig and the hook once more
    EXPECT_EQ(screen.configured, 3);
    EXPECT_EQ(screen.syntaxViews().size(), 3);
}

TEST(CodeSyntaxTabsUnbuilt, EditableBeforeTheEditorsExistDoesNothing)
{
    X3CodeSyntaxTabViewController screen;
    screen.updateSyntaxViewEditable(false); // nothing built, nothing made
    screen.view();
    EXPECT_TRUE(screen.syntaxViews().isEmpty()); // no tabs, no editors
}

} // namespace

namespace {

TEST(OlderCodeSyntaxTabs, OneUnnamedEditorPerTabAndOutOfRangeTextsLost)
{
    ThreeTabs<XXXCodeSyntaxTabViewController> screen;
    screen.resize(400, 300);
    screen.view();
    screen.viewConfig();
    const QList<CodeEditor *> editors = screen.syntaxViews();
    ASSERT_EQ(editors.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(editors.at(i)->objectName().isEmpty());
        EXPECT_EQ(editors.at(i)->parentWidget(), screen.tabView()->widget(i));
    }
    EXPECT_EQ(editors.at(2)->syntaxDefinitionName(), "Xml");
    screen.updateSyntaxViewWithString("<a/>", 2);
    EXPECT_EQ(editors.at(2)->text(), "<a/>");
    TestSupport::LogCapture log;
    screen.updateSyntaxViewWithString("lost?", 5);
    EXPECT_EQ(log.count("texts unchanged"), 1);
}

} // namespace

#include <pavisade/code/CodeEditor.h>

#include <pavisade/viewcontrollers/ChildScreens.h>

#include <bastwick/ViewGeometry.h>

#include <Qsci/qscilexercpp.h>
#include <Qsci/qscilexerjson.h>
#include <Qsci/qscilexersql.h>
#include <Qsci/qscilexerxml.h>

#include <QtWidgets/QVBoxLayout>

namespace {

QsciLexer *lexerNamed(const QString &name, QObject *parent)
{
    if (name == QLatin1String("Objective-C") || name == QLatin1String("C++"))
        return new QsciLexerCPP(parent);
    if (name == QLatin1String("Sql"))
        return new QsciLexerSQL(parent);
    if (name == QLatin1String("Json"))
        return new QsciLexerJSON(parent);
    if (name == QLatin1String("Xml"))
        return new QsciLexerXML(parent);
    return nullptr;
}

} // namespace

CodeEditor::CodeEditor(QWidget *parent)
    : QsciScintilla(parent)
    , m_textFont(font())
{
    setUtf8(true);
}

CodeEditor::~CodeEditor() = default;

void CodeEditor::setSyntaxDefinitionName(const QString &name)
{
    if (name == m_syntaxDefinitionName && (m_lexer || name.isEmpty()))
        return;
    m_syntaxDefinitionName = name;
    QsciLexer *old = m_lexer;
    m_lexer = lexerNamed(name, this);
    setLexer(m_lexer);
    delete old;
    applyFont();
}

void CodeEditor::setTextFont(const QFont &font)
{
    m_textFont = font;
    applyFont();
}

void CodeEditor::applyFont()
{
    setFont(m_textFont);
    if (m_lexer) {
        m_lexer->setDefaultFont(m_textFont);
        m_lexer->setFont(m_textFont, -1);
        // The lexer's fonts reach the editor when the lexer is set.
        setLexer(m_lexer);
    }
}

void CodeEditor::embedInView(QWidget *view)
{
    if (!view)
        return;
    // Into the view's filling layout, also when the editor is already the view's child.
    if (QVBoxLayout *layout = Pavisade::fillingLayout(view)) {
        if (layout->indexOf(this) < 0)
            layout->addWidget(this);
    } else {
        setParent(view);
        setGeometry(view->rect());
        Bastwick::setAutoresizingMask(this, Bastwick::ViewWidthSizable | Bastwick::ViewHeightSizable);
    }
    show();
}

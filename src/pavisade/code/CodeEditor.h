#pragma once

#include <pavisade/PavisadeExport.h>

#include <Qsci/qsciscintilla.h>

#include <QtCore/QString>
#include <QtGui/QFont>

class QsciLexer;

// The code editor of the code viewers: a QScintilla editor whose colouring language
// is chosen by name ("Objective-C" and "C++" colour as C++, "Sql", "Json", "Xml";
// any other name colours nothing) and whose text font is kept on the lexer, since
// QScintilla draws lexed text in the lexer's fonts. Main thread.
class PAVISADE_EXPORT CodeEditor : public QsciScintilla
{
    Q_OBJECT
    Q_PROPERTY(QString syntaxDefinitionName READ syntaxDefinitionName WRITE setSyntaxDefinitionName)
    Q_PROPERTY(QFont textFont READ textFont WRITE setTextFont)

public:
    Q_INVOKABLE explicit CodeEditor(QWidget *parent = nullptr);
    ~CodeEditor() override;

    QString syntaxDefinitionName() const { return m_syntaxDefinitionName; }
    void setSyntaxDefinitionName(const QString &name);
    QFont textFont() const { return m_textFont; }
    void setTextFont(const QFont &font);

    // Shows exactly the given text in place of the previous one.
    void setString(const QString &text) { setText(text); }
    // Places the editor in the view, filling it.
    void embedInView(QWidget *view);

private:
    void applyFont();

    QString m_syntaxDefinitionName;
    QFont m_textFont;
    QsciLexer *m_lexer = nullptr;
};

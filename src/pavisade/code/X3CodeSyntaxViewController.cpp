#include <pavisade/code/X3CodeSyntaxViewController.h>

#include <pavisade/code/CodeEditor.h>
#include <pavisade/code/CodeEditorStyles.h>

#include <bastwick/platform/Assert.h>

X3CodeSyntaxViewController::X3CodeSyntaxViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
}

CodeEditor *X3CodeSyntaxViewController::codeSyntxView()
{
    if (!m_codeSyntxView) {
        m_codeSyntxView = new CodeEditor(this);
        Pavisade::setObjcStyle(m_codeSyntxView);
    }
    return m_codeSyntxView;
}

void X3CodeSyntaxViewController::awakeFromNib()
{
    X3CommonViewController::awakeFromNib();
    codeSyntxView()->embedInView(this);
    Pavisade::setObjcStyle(codeSyntxView());
}

void X3CodeSyntaxViewController::refreshViewWithData(const QVariant &data)
{
    XXXAssert(data.isValid(), QStringLiteral("data"));
    if (data.metaType().id() == QMetaType::QString)
        codeSyntxView()->setString(data.toString());
}

void X3CodeSyntaxViewController::updateContent(const QString &text)
{
    if (!text.isNull())
        codeSyntxView()->setString(text);
}

#include <pavisade/code/X3CodeSyntaxTabViewController.h>

X3CodeSyntaxTabViewController::X3CodeSyntaxTabViewController(QWidget *parent)
    : X3TabViewController(parent)
{
}

void X3CodeSyntaxTabViewController::viewConfig()
{
    X3TabViewController::viewConfig();
    syntaxViewConfig();
}

void X3CodeSyntaxTabViewController::tabUpdate()
{
    viewConfig();
    syntaxViewConfig();
}

QList<CodeEditor *> X3CodeSyntaxTabViewController::syntaxViews()
{
    return m_tabs.editors(tabView(), true);
}

void X3CodeSyntaxTabViewController::updateSyntaxViewWithString(const QString &text, qsizetype index)
{
    m_tabs.updateString(tabView(), true, text, index);
}

void X3CodeSyntaxTabViewController::updateSyntaxViewEditable(bool editable)
{
    m_tabs.setEditable(editable);
}

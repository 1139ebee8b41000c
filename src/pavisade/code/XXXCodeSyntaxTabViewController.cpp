#include <pavisade/code/XXXCodeSyntaxTabViewController.h>

XXXCodeSyntaxTabViewController::XXXCodeSyntaxTabViewController(QWidget *parent)
    : XXXTabViewController(parent)
{
}

void XXXCodeSyntaxTabViewController::viewConfig()
{
    XXXTabViewController::viewConfig();
    syntaxViewConfig();
}

void XXXCodeSyntaxTabViewController::tabUpdate()
{
    viewConfig();
    syntaxViewConfig();
}

QList<CodeEditor *> XXXCodeSyntaxTabViewController::syntaxViews()
{
    return m_tabs.editors(tabView(), false);
}

void XXXCodeSyntaxTabViewController::updateSyntaxViewWithString(const QString &text, qsizetype index)
{
    m_tabs.updateString(tabView(), false, text, index);
}

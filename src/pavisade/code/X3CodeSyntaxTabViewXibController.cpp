#include <pavisade/code/X3CodeSyntaxTabViewXibController.h>

X3CodeSyntaxTabViewXibController::X3CodeSyntaxTabViewXibController(QWidget *parent)
    : X3TabViewXibController(parent)
{
}

void X3CodeSyntaxTabViewXibController::viewConfig()
{
    X3TabViewXibController::viewConfig();
    syntaxViewConfig();
}

void X3CodeSyntaxTabViewXibController::tabUpdate()
{
    viewConfig();
    syntaxViewConfig();
}

QList<CodeEditor *> X3CodeSyntaxTabViewXibController::syntaxViews()
{
    return m_tabs.editors(tabView(), true);
}

void X3CodeSyntaxTabViewXibController::updateSyntaxViewWithString(const QString &text, qsizetype index)
{
    m_tabs.updateString(tabView(), true, text, index);
}

void X3CodeSyntaxTabViewXibController::updateSyntaxViewEditable(bool editable)
{
    m_tabs.setEditable(editable);
}

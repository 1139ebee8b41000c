#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/code/CodeSyntaxTabs_p.h>
#include <pavisade/older/XXXTabViewController.h>

class CodeEditor;

// The older tabbed code viewer: one code editor per tab, made on first use for the
// tabs that exist then, without names. Main thread.
class PAVISADE_EXPORT XXXCodeSyntaxTabViewController : public XXXTabViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXCodeSyntaxTabViewController(QWidget *parent = nullptr);

    // The base's, then syntaxViewConfig().
    void viewConfig() override;
    // Hook: style and fill the editors.
    virtual void syntaxViewConfig() {}
    // viewConfig(), then syntaxViewConfig() once more.
    void tabUpdate();
    QList<CodeEditor *> syntaxViews();
    // The editor of the tab shows the text; an index outside the editors is logged and
    // changes nothing.
    void updateSyntaxViewWithString(const QString &text, qsizetype index);

private:
    Pavisade::CodeSyntaxTabs m_tabs;
};

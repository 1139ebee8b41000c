#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/code/CodeSyntaxTabs_p.h>
#include <pavisade/viewcontrollers/X3TabViewController.h>

class CodeEditor;

// A tabbed screen with one code editor per tab, in the C++ colouring until a subclass
// styles them in syntaxViewConfig().
// Editors are made on first use for the tabs that exist then. Main thread.
class PAVISADE_EXPORT X3CodeSyntaxTabViewController : public X3TabViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit X3CodeSyntaxTabViewController(QWidget *parent = nullptr);

    // The base's, then syntaxViewConfig().
    void viewConfig() override;
    // Hook: style and fill the editors.
    virtual void syntaxViewConfig() {}
    // viewConfig(), then syntaxViewConfig() once more.
    void tabUpdate();
    // One editor per tab, in tab order, named "syntaxView<i>".
    QList<CodeEditor *> syntaxViews();
    // The editor of the tab shows the text; an index outside the editors is logged and
    // changes nothing.
    void updateSyntaxViewWithString(const QString &text, qsizetype index);
    // Every editor made so far becomes editable or read-only.
    void updateSyntaxViewEditable(bool editable);

private:
    Pavisade::CodeSyntaxTabs m_tabs;
};

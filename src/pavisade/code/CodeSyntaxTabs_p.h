#pragma once

#include <QtCore/QList>
#include <QtCore/QPointer>
#include <QtCore/QString>

class CodeEditor;
class QTabWidget;

namespace Pavisade {

// The editors of a tabbed code viewer, one per tab in tab order, made the first time
// they are asked for once the tab view has tabs; tabs added later get none. Main thread.
class CodeSyntaxTabs
{
public:
    // With identify, each editor is named "syntaxView<i>" after its tab's position.
    QList<CodeEditor *> editors(QTabWidget *tabView, bool identify);
    bool isBuilt() const { return m_built; }
    // The editor of that tab shows "" and then the text; an index outside the editors
    // changes nothing and is logged.
    void updateString(QTabWidget *tabView, bool identify, const QString &text, qsizetype index);
    // Sets the editable flag of every editor made so far.
    void setEditable(bool editable);

private:
    QList<QPointer<CodeEditor>> m_editors;
    bool m_built = false;
};

} // namespace Pavisade

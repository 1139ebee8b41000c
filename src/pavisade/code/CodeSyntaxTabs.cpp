#include <pavisade/code/CodeSyntaxTabs_p.h>

#include <pavisade/code/CodeEditor.h>
#include <pavisade/code/CodeEditorStyles.h>

#include <bastwick/platform/Log.h>

#include <QtWidgets/QTabWidget>

namespace Pavisade {

QList<CodeEditor *> CodeSyntaxTabs::editors(QTabWidget *tabView, bool identify)
{
    // Asked before the tabs exist (the older screens run their hooks before making
    // the tabs), nothing is built yet, so the tabs still get their editors later.
    if (!m_built && tabView && tabView->count() > 0) {
        m_built = true;
        for (int i = 0; i < tabView->count(); ++i) {
            QWidget *page = tabView->widget(i);
            auto *editor = new CodeEditor(page);
            editor->embedInView(page);
            if (identify)
                editor->setObjectName(QStringLiteral("syntaxView%1").arg(i));
            setObjcStyle(editor);
            m_editors.append(editor);
        }
    }
    QList<CodeEditor *> out;
    for (const QPointer<CodeEditor> &editor : std::as_const(m_editors))
        out.append(editor.data());
    return out;
}

void CodeSyntaxTabs::updateString(QTabWidget *tabView, bool identify, const QString &text, qsizetype index)
{
    const QList<CodeEditor *> list = editors(tabView, identify);
    if (index < 0 || index >= list.size()) {
        XXXLogWarning(
            QStringLiteral("no editor at tab %1 of %2; texts unchanged").arg(index).arg(list.size()));
        return;
    }
    if (CodeEditor *editor = list.at(index)) {
        editor->setString(QString());
        editor->setString(text);
    }
}

void CodeSyntaxTabs::setEditable(bool editable)
{
    for (const QPointer<CodeEditor> &editor : std::as_const(m_editors))
        if (editor)
            editor->setReadOnly(!editable);
}

} // namespace Pavisade

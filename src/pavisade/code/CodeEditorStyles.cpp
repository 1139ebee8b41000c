#include <pavisade/code/CodeEditorStyles.h>

#include <pavisade/code/CodeEditor.h>

#include <bastwick/FontAdditions.h>

namespace Pavisade {

namespace {

void applyStyle(CodeEditor *editor, const QString &definition, double pixelSize)
{
    if (!editor)
        return;
    editor->setSyntaxDefinitionName(definition);
    editor->setTextFont(codeFont(pixelSize));
}

} // namespace

QFont codeFont(double pixelSize)
{
    QFont font = Bastwick::monospacedFont();
    // Points from pixels at the 96-pixel inch the designs assume (13 px = 9.75 pt).
    font.setPointSizeF(pixelSize * 72.0 / 96.0);
    return font;
}

void setObjcStyle(CodeEditor *editor)
{
    applyStyle(editor, QStringLiteral("Objective-C"), 13);
}

void setSQLStyle(CodeEditor *editor)
{
    applyStyle(editor, QStringLiteral("Sql"), 13);
}

void setSQLStyleWithFontSize(CodeEditor *editor, double pixelSize)
{
    applyStyle(editor, QStringLiteral("Sql"), pixelSize);
}

void setJSONStyle(CodeEditor *editor)
{
    applyStyle(editor, QStringLiteral("Json"), 13);
}

void setXMLStyle(CodeEditor *editor)
{
    applyStyle(editor, QStringLiteral("Xml"), 13);
}

} // namespace Pavisade

#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtGui/QFont>

class CodeEditor;

// The preset styles of the code viewers: a colouring language and the monospaced text
// font (the installed fixed-pitch font at 13 pixels, given in points). A null editor
// is left alone.
namespace Pavisade {

// The viewers' text font at the given size in pixels.
PAVISADE_EXPORT QFont codeFont(double pixelSize = 13);

PAVISADE_EXPORT void setObjcStyle(CodeEditor *editor);
PAVISADE_EXPORT void setSQLStyle(CodeEditor *editor);
PAVISADE_EXPORT void setSQLStyleWithFontSize(CodeEditor *editor, double pixelSize);
PAVISADE_EXPORT void setJSONStyle(CodeEditor *editor);
PAVISADE_EXPORT void setXMLStyle(CodeEditor *editor);

} // namespace Pavisade

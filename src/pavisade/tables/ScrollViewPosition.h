#pragma once

#include <pavisade/PavisadeExport.h>

class QAbstractScrollArea;

// Positions of a scroll view over its document. GUI thread only.
namespace Pavisade {

// Scrolls to the top-left of the document: the top edge of a scroll area's widget, the
// first row of a table or tree. Nothing for a null scroll view.
PAVISADE_EXPORT void scrollToTop(QAbstractScrollArea *scrollView);

} // namespace Pavisade

#include <pavisade/tables/ScrollViewPosition.h>

#include <QtWidgets/QAbstractScrollArea>
#include <QtWidgets/QScrollBar>

namespace Pavisade {

void scrollToTop(QAbstractScrollArea *scrollView)
{
    if (!scrollView)
        return;
    // The scroll bars move the document; the scroll area keeps its viewport in step.
    QScrollBar *vertical = scrollView->verticalScrollBar();
    vertical->setValue(vertical->minimum());
    QScrollBar *horizontal = scrollView->horizontalScrollBar();
    horizontal->setValue(horizontal->minimum());
}

} // namespace Pavisade

#pragma once

#include <pavisade/PavisadeExport.h>

QT_BEGIN_NAMESPACE
class QImage;
class QUrl;
class QWidget;
QT_END_NAMESPACE

// A window that shows the document it stands for: it keeps the document's URL and shows
// a document-icon button beside its title. A window class that draws its own title bar
// implements this beside QWidget; the start-up code finds it with a dynamic_cast on the
// main window. Main thread.
class PAVISADE_EXPORT DocumentWindow
{
public:
    virtual ~DocumentWindow();

    virtual void setRepresentedURL(const QUrl &url) = 0;
    // The image of the document-icon button; a window without that button yet ignores it.
    virtual void setDocumentIconImage(const QImage &image) = 0;
};

namespace Pavisade {

// Sets the URL the window stands for: through DocumentWindow where the window implements
// it, otherwise as Qt's window file path (the local path of a file URL, else the URL's
// text). Nothing for a null window.
PAVISADE_EXPORT void setRepresentedURL(QWidget *window, const QUrl &url);
// Shows the image as the window's document icon: on its document-icon button where the
// window implements DocumentWindow, and as the window's icon. A null image or window
// changes nothing.
PAVISADE_EXPORT void setDocumentIconImage(QWidget *window, const QImage &image);

} // namespace Pavisade

#include <pavisade/viewcontrollers/DocumentWindow.h>

#include <QtCore/QUrl>
#include <QtGui/QIcon>
#include <QtGui/QImage>
#include <QtGui/QPixmap>
#include <QtWidgets/QWidget>

DocumentWindow::~DocumentWindow() = default;

namespace Pavisade {

void setRepresentedURL(QWidget *window, const QUrl &url)
{
    if (!window)
        return;
    if (auto *document = dynamic_cast<DocumentWindow *>(window))
        document->setRepresentedURL(url);
    else
        window->setWindowFilePath(url.isLocalFile() ? url.toLocalFile() : url.toString());
}

void setDocumentIconImage(QWidget *window, const QImage &image)
{
    if (!window || image.isNull())
        return;
    if (auto *document = dynamic_cast<DocumentWindow *>(window))
        document->setDocumentIconImage(image);
    window->setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

} // namespace Pavisade

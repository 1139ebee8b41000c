#include <pavisade/sidepanes/TemplateImage.h>

#include <QtGui/QPainter>

namespace Pavisade {

QImage tintedTemplateImage(const QImage &image, const QColor &color)
{
    if (image.isNull())
        return image;
    QImage tinted = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&tinted);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(tinted.rect(), color);
    return tinted;
}

} // namespace Pavisade

#include <kestrune/chrome/ImageButton.h>

#include <corbelan/services/NamedImage.h>

#include <QtCore/QHash>
#include <QtGui/QPainter>

namespace Kestrune {

QImage chromeImage(const QString &name)
{
    // Main thread only, like every user of the chrome.
    static QHash<QString, QImage> images;
    const auto found = images.constFind(name);
    if (found != images.constEnd())
        return *found;
    const QImage image = Corbelan::namedImage(name);
    images.insert(name, image);
    return image;
}

} // namespace Kestrune

ImageButton::ImageButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, &ImageButton::sendAction);
}

ImageButton::ImageButton(const QRect &frame, const QImage &image, QWidget *parent)
    : ImageButton(parent)
{
    setGeometry(frame);
    m_image = image;
}

void ImageButton::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void ImageButton::setAlternateImage(const QImage &image)
{
    m_alternateImage = image;
    update();
}

QSize ImageButton::sizeHint() const
{
    return m_image.isNull() ? QSize(0, 0) : m_image.size() / m_image.devicePixelRatio();
}

void ImageButton::paintEvent(QPaintEvent *)
{
    const QImage &shown = (isDown() && !m_alternateImage.isNull()) ? m_alternateImage : m_image;
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF size = QSizeF(shown.size()) / shown.devicePixelRatio();
    const QPointF origin((width() - size.width()) / 2.0, (height() - size.height()) / 2.0);
    painter.drawImage(QRectF(origin, size), shown);
}

void ImageButton::sendAction()
{
    if (m_target && m_action)
        m_action();
}

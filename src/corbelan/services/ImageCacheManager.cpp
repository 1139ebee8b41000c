#include <corbelan/services/ImageCacheManager.h>

#include <corbelan/services/NamedImage.h>

#include <QtCore/QMutexLocker>
#include <QtGui/QIcon>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>

#include <functional>

namespace Corbelan {

ImageMemoryCache::ImageMemoryCache() = default;
ImageMemoryCache::~ImageMemoryCache() = default;

QImage ImageMemoryCache::objectForKey(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_images.value(key);
}

void ImageMemoryCache::setObject(const QImage &image, const QString &key)
{
    if (image.isNull())
        return;
    QMutexLocker lock(&m_mutex);
    m_images.insert(key, image);
}

void ImageMemoryCache::removeObjectForKey(const QString &key)
{
    QMutexLocker lock(&m_mutex);
    m_images.remove(key);
}

void ImageMemoryCache::removeAllObjects()
{
    QMutexLocker lock(&m_mutex);
    m_images.clear();
}

namespace {

QImage cachedImage(ImageMemoryCache &cache, const QString &key, const std::function<QImage()> &load)
{
    QImage image = cache.objectForKey(key);
    if (!image.isNull())
        return image;
    image = load();
    cache.setObject(image, key);
    return image;
}

QImage sizedImage(ImageMemoryCache &cache, const QString &name, const QSize &size)
{
    return cachedImage(cache, name, [&] { return namedImage(name, size); });
}

} // namespace

QImage imageNamed(ImageMemoryCache &cache, const QString &name)
{
    return cachedImage(cache, name, [&] { return namedImage(name); });
}

QImage hImage(ImageMemoryCache &cache)
{
    return sizedImage(cache, QStringLiteral("h.png"), QSize(14, 16));
}

QImage mImage(ImageMemoryCache &cache)
{
    return sizedImage(cache, QStringLiteral("m.png"), QSize(14, 16));
}

QImage folderImage(ImageMemoryCache &cache)
{
    return cachedImage(cache, QStringLiteral("NSFolder"), [] {
        auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
        if (!app)
            return QImage();
        return QApplication::style()->standardIcon(QStyle::SP_DirIcon).pixmap(QSize(16, 16)).toImage();
    });
}

QImage uiviewImage(ImageMemoryCache &cache)
{
    return sizedImage(cache, QStringLiteral("UIView"), QSize(16, 16));
}

QImage imageImage(ImageMemoryCache &cache)
{
    return imageNamed(cache, QStringLiteral("tree-image.png"));
}

QImage textImage(ImageMemoryCache &cache)
{
    return imageNamed(cache, QStringLiteral("tree-text.png"));
}

} // namespace Corbelan

ImageCacheManager &ImageCacheManager::sharedImageCacheManager()
{
    static ImageCacheManager *instance = new ImageCacheManager;
    return *instance;
}

ImageCacheManager::ImageCacheManager() = default;

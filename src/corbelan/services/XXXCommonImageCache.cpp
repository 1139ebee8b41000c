#include <corbelan/services/XXXCommonImageCache.h>

#include <corbelan/services/NamedImage.h>

#include <bastwick/platform/Log.h>

#include <QtGui/QPixmap>

namespace {
const QString kWindowTitleImageKey = QStringLiteral("windowTitleImage");
}

XXXCommonImageCache &XXXCommonImageCache::sharedInstance()
{
    static XXXCommonImageCache *instance = new XXXCommonImageCache;
    return *instance;
}

XXXCommonImageCache::XXXCommonImageCache() = default;

QImage XXXCommonImageCache::windowTitleImage()
{
    const auto stored = m_cache.constFind(kWindowTitleImageKey);
    if (stored != m_cache.constEnd())
        return *stored;
    const QImage image = Corbelan::namedImage(QStringLiteral("AppIcon"));
    if (!image.isNull())
        m_cache.insert(kWindowTitleImageKey, image);
    return image;
}

void XXXCommonImageCache::upDateWindowTitleImage(const QVariant &imageOrName)
{
    QImage image;
    if (imageOrName.metaType() == QMetaType::fromType<QString>())
        image = Corbelan::namedImage(imageOrName.toString());
    else if (imageOrName.metaType() == QMetaType::fromType<QImage>())
        image = imageOrName.value<QImage>();
    else if (imageOrName.metaType() == QMetaType::fromType<QPixmap>())
        image = imageOrName.value<QPixmap>().toImage();
    if (image.isNull()) {
        XXXLogWarning(QStringLiteral("setSafeValue Error : key =%1 value null!").arg(kWindowTitleImageKey));
        return;
    }
    m_cache.insert(kWindowTitleImageKey, image);
}

QImage XXXCommonImageCache::keyImage() const
{
    return Corbelan::namedImage(QStringLiteral("column-key"));
}

QImage XXXCommonImageCache::columnImage() const
{
    return Corbelan::namedImage(QStringLiteral("column-field"));
}

QImage XXXCommonImageCache::deviceIPhoneImage() const
{
    return Corbelan::namedImage(QStringLiteral("dev-iphone"));
}

QImage XXXCommonImageCache::deviceIMacImage() const
{
    return Corbelan::namedImage(QStringLiteral("dev-imac"));
}

QImage XXXCommonImageCache::deviceIPadImage() const
{
    return Corbelan::namedImage(QStringLiteral("dev-ipad"));
}

QImage XXXCommonImageCache::deviceMacbookImage() const
{
    return Corbelan::namedImage(QStringLiteral("dev-macbook"));
}

QImage XXXCommonImageCache::deviceMacbookAirImage() const
{
    return Corbelan::namedImage(QStringLiteral("dev-macbook-air"));
}

QImage XXXCommonImageCache::deviceMacbookProImage() const
{
    return Corbelan::namedImage(QStringLiteral("dev-macbook-pro"));
}

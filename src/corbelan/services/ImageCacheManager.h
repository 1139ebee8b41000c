#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QHash>
#include <QtCore/QMutex>
#include <QtCore/QSize>
#include <QtCore/QString>
#include <QtGui/QImage>

namespace Corbelan {

// A memory cache of images by key, safe to share between threads.
class CORBELAN_EXPORT ImageMemoryCache
{
public:
    ImageMemoryCache();
    virtual ~ImageMemoryCache();

    QImage objectForKey(const QString &key) const; // null when absent
    void setObject(const QImage &image, const QString &key);
    void removeObjectForKey(const QString &key);
    void removeAllObjects();

private:
    mutable QMutex m_mutex;
    QHash<QString, QImage> m_images;
};

// Image operations on a memory cache: each image is looked up in the cache under its
// name, else loaded by name (namedImage) and stored there when found.
CORBELAN_EXPORT QImage imageNamed(ImageMemoryCache &cache, const QString &name);
// Images given a display size when first loaded.
CORBELAN_EXPORT QImage hImage(ImageMemoryCache &cache);      // "h.png", 14 x 16
CORBELAN_EXPORT QImage mImage(ImageMemoryCache &cache);      // "m.png", 14 x 16
CORBELAN_EXPORT QImage folderImage(ImageMemoryCache &cache); // the style's folder icon, 16 x 16
CORBELAN_EXPORT QImage uiviewImage(ImageMemoryCache &cache); // "UIView", 16 x 16
CORBELAN_EXPORT QImage imageImage(ImageMemoryCache &cache);  // "tree-image.png"
CORBELAN_EXPORT QImage textImage(ImageMemoryCache &cache);   // "tree-text.png"

} // namespace Corbelan

// The process-wide image cache.
class CORBELAN_EXPORT ImageCacheManager : public Corbelan::ImageMemoryCache
{
public:
    static ImageCacheManager &sharedImageCacheManager();
    ImageCacheManager();
};

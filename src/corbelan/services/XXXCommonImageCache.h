#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QHash>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtGui/QImage>

// The shared holder of the window title image and a few fixed images.
// Lives on the main thread.
class CORBELAN_EXPORT XXXCommonImageCache
{
public:
    static XXXCommonImageCache &sharedInstance();

    XXXCommonImageCache();

    // The stored window title image; the first read loads "AppIcon" (and stores it when
    // it loads).
    QImage windowTitleImage();
    // A text is taken as an image name, an image (QImage or QPixmap) as it is; the result replaces the
    // window title image. Anything else, or a name that loads nothing, keeps it.
    void upDateWindowTitleImage(const QVariant &imageOrName);

    // Loaded by name on every call, not stored.
    QImage keyImage() const;
    QImage columnImage() const;
    QImage deviceIPhoneImage() const;
    QImage deviceIMacImage() const;
    QImage deviceIPadImage() const;
    QImage deviceMacbookImage() const;
    QImage deviceMacbookAirImage() const;
    QImage deviceMacbookProImage() const;

    QHash<QString, QImage> cache() const { return m_cache; }
    void setCache(const QHash<QString, QImage> &cache) { m_cache = cache; }

private:
    QHash<QString, QImage> m_cache;
};

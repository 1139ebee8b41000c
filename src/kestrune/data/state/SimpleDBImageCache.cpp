#include <kestrune/data/state/SimpleDBImageCache.h>

#include <corbelan/services/NamedImage.h>

#include <mutex>

// The node images are resources of this static library: their registration has to be
// pulled in explicitly, or the linker drops it. Outside any namespace, as Qt requires.
static void initNodeImages()
{
    Q_INIT_RESOURCE(kestrune_data_images);
}

SimpleDBImageCache &SimpleDBImageCache::sharedInstance()
{
    static SimpleDBImageCache instance;
    return instance;
}

SimpleDBImageCache::SimpleDBImageCache()
{
    static std::once_flag once;
    std::call_once(once, [] { initNodeImages(); });
}

QImage SimpleDBImageCache::imageNamed(const QString &name)
{
    return Corbelan::namedImage(name);
}

QImage SimpleDBImageCache::dbNodeImage() const
{
    return imageNamed(QStringLiteral("DBDatabase"));
}

QImage SimpleDBImageCache::dbSysNodeImage() const
{
    return imageNamed(QStringLiteral("DBDatabase-Sys"));
}

QImage SimpleDBImageCache::tableNodeImage() const
{
    return imageNamed(QStringLiteral("DBDocs"));
}

QImage SimpleDBImageCache::tableSysNodeImage() const
{
    return imageNamed(QStringLiteral("DBTable-Sys"));
}

QImage SimpleDBImageCache::keyImage() const
{
    return imageNamed(QStringLiteral("column-key"));
}

QImage SimpleDBImageCache::columnImage() const
{
    return imageNamed(QStringLiteral("column-field"));
}

QImage SimpleDBImageCache::windosTitleImage() const
{
    return imageNamed(QStringLiteral("window-title"));
}

QImage SimpleDBImageCache::deviceIPhoneImage() const
{
    return imageNamed(QStringLiteral("dev-iphone"));
}

QImage SimpleDBImageCache::deviceIMacImage() const
{
    return imageNamed(QStringLiteral("dev-imac"));
}

QImage SimpleDBImageCache::deviceIPadImage() const
{
    return imageNamed(QStringLiteral("dev-ipad"));
}

QImage SimpleDBImageCache::deviceMacbookImage() const
{
    return imageNamed(QStringLiteral("dev-macbook"));
}

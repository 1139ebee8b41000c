#include <corbelan/services/NamedImage.h>

#include <QtCore/QFileInfo>
#include <QtCore/QStringList>
#include <QtGui/QPainter>
#include <QtSvg/QSvgRenderer>

namespace Corbelan {

namespace {

QStringList candidateFiles(const QString &name)
{
    const QFileInfo info(name);
    const QString suffix = info.suffix().toLower();
    if (suffix.isEmpty())
        return {name + QStringLiteral(".svg"), name + QStringLiteral(".png"), name};
    if (suffix == QLatin1String("svg"))
        return {name};
    return {name, name.left(name.size() - suffix.size()) + QStringLiteral("svg")};
}

QImage renderSvg(const QString &path, const QSize &size)
{
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    const QSize target = size.isValid() ? size : renderer.defaultSize();
    if (target.isEmpty())
        return {};
    QImage image(target, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

QImage loadBitmap(const QString &path, const QSize &size)
{
    QImage image(path);
    if (image.isNull() || !size.isValid() || image.size() == size)
        return image;
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QImage namedImage(const QString &name, const QSize &size)
{
    if (name.isEmpty())
        return {};
    for (const QString &prefix : {QStringLiteral(":/images/"), QStringLiteral(":/")}) {
        for (const QString &file : candidateFiles(name)) {
            const QString path = prefix + file;
            if (!QFileInfo::exists(path))
                continue;
            const QImage image = path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)
                                     ? renderSvg(path, size)
                                     : loadBitmap(path, size);
            if (!image.isNull())
                return image;
        }
    }
    return {};
}

} // namespace Corbelan

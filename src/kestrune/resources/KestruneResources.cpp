#include <kestrune/resources/KestruneResources.h>

#include <QtCore/QFile>

namespace Kestrune {

bool hasSeedDatabase()
{
    return QFile::exists(QStringLiteral(":/Deraz.sqlite"));
}

} // namespace Kestrune

#include <corbelan/services/ItemsConfig.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/StringAdditions.h>
#include <bastwick/ValueAdditions.h>
#include <bastwick/platform/Log.h>

namespace Corbelan {

QVariant itemsForIdentifierInFile(const QString &path, const QString &identifier)
{
    const std::optional<QString> text = Bastwick::readFileByPath(path);
    const QVariant parsed = text ? Bastwick::parsedObject(*text) : QVariant();
    if (parsed.metaType() != QMetaType::fromType<QVariantMap>()) {
        XXXLogWarning(
            QStringLiteral("OSXTablePropertiesConfig.json string convert to NSDictionary obj error!"));
        return {};
    }
    return Bastwick::objectForKeyPath(parsed.toMap(), identifier);
}

} // namespace Corbelan

#include <corbelan/services/XXXHelper.h>

#include <corbelan/services/InterfaceAddress_p.h>

#include <bastwick/platform/KeyValue.h>

bool XXXHelper::isEmpty(const QVariant &object)
{
    if (Bastwick::isNil(object) || Bastwick::isNull(object))
        return true;
    if (object.metaType() == QMetaType::fromType<QString>())
        return object.toString().isEmpty();
    return false;
}

QString XXXHelper::hostIPAddress()
{
    const std::optional<QString> address = Corbelan::lastIPv4InterfaceAddress(true);
    return address && !address->isNull() ? *address : QStringLiteral("127.0.0.1");
}

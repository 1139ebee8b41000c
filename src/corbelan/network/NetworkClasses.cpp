#include <corbelan/network/NetworkClasses.h>

#include <corbelan/network/MKObject.h>
#include <corbelan/network/RemoteClientDevice.h>

#include <bastwick/platform/ClassRegistry.h>

#include <memory>

namespace Corbelan {

void registerNetworkClasses()
{
    qRegisterMetaType<std::shared_ptr<QObject>>();
    Bastwick::ClassRegistry &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<MKObject>();
    registry.registerClass<RemoteClientDevice>();
}

} // namespace Corbelan

#include <kestrune/data/DataStateClasses.h>

#include <kestrune/data/state/DerazCommand.h>
#include <kestrune/data/state/SimpleDBImageCache.h>
#include <kestrune/data/state/XXXAppVersion.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerStateClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<DerazCommand>();
    registry.registerClass<XXXAppVersion>();
    // Makes the node images available before the first tree is drawn.
    SimpleDBImageCache::sharedInstance();
}

} // namespace Kestrune

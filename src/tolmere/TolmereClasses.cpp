#include <tolmere/TolmereClasses.h>

#include <tolmere/IconSidebar.h>
#include <tolmere/LineNumberTextEdit.h>
#include <tolmere/LineNumberView.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Tolmere {

void registerTolmereClasses()
{
    static const bool done = [] {
        Bastwick::ClassRegistry &registry = Bastwick::ClassRegistry::instance();
        registry.registerClass<LineNumberView>();
        registry.registerClass<LineNumberTextEdit>();
        registry.registerClass<IconSidebar>();
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace Tolmere

#include <pavisade/panels/PanelClasses.h>

#include <pavisade/panels/XXXButtonElement.h>
#include <pavisade/panels/XXXPanel.h>
#include <pavisade/panels/XXXProgressIndicatorPanel.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerPavisadePanelClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<XXXButtonElement>();
    registry.registerClass<XXXPanel>();
    registry.registerClass<XXXProgressIndicatorPanel>();
}

} // namespace Pavisade

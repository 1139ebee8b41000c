#include <pavisade/PavisadeClasses.h>

#include <pavisade/forms/FormControls.h>
#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/toolbar/XXXButtonToolBarItem.h>
#include <pavisade/viewcontrollers/Localization.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>
#include <pavisade/viewcontrollers/X3SplitViewController.h>
#include <pavisade/viewcontrollers/X3TabViewController.h>
#include <pavisade/viewcontrollers/XXXTabItemDefine.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerPavisadeClasses()
{
    static const bool done = [] {
        auto &registry = Bastwick::ClassRegistry::instance();
        registerFormClasses();
        registry.registerClass<XXXSpinningProgressIndicator>();
        registry.registerClass<XXXButtonToolBarItem>();
        registry.registerClass<X3CommonViewController>();
        registry.registerClass<X3SplitViewController>();
        registry.registerClass<X3SplitViewXibController>();
        registry.registerClass<X3TabViewController>();
        registry.registerClass<X3TabViewXibController>();
        registry.registerClass<XXXTabItemDefine>();
        return true;
    }();
    Q_UNUSED(done);
    installPavisadeTranslations();
}

} // namespace Pavisade

#include <pavisade/PavisadeClasses.h>

#include <pavisade/forms/FormControls.h>
#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/toolbar/XXXButtonToolBarItem.h>
#include <pavisade/viewcontrollers/Localization.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

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
        return true;
    }();
    Q_UNUSED(done);
    installPavisadeTranslations();
}

} // namespace Pavisade

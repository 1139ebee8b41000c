#include <pavisade/PavisadeClasses.h>

#include <pavisade/forms/FormControls.h>
#include <pavisade/forms/XXXDragImageZone.h>
#include <pavisade/forms/XXXSpinningProgressIndicator.h>
#include <pavisade/sheets/XSheet.h>
#include <pavisade/toolbar/XXXButtonToolBarItem.h>
#include <pavisade/viewcontrollers/Localization.h>
#include <pavisade/viewcontrollers/X3CommonPageViewController.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>
#include <pavisade/viewcontrollers/X3SplitViewController.h>
#include <pavisade/viewcontrollers/X3TabViewController.h>
#include <pavisade/viewcontrollers/XXXCommonViewController.h>
#include <pavisade/viewcontrollers/XXXDragViewController.h>
#include <pavisade/viewcontrollers/XXXTabItemDefine.h>

#include <pavisade/cells/CellClasses.h>
#include <pavisade/code/CodeClasses.h>
#include <pavisade/grids/GridClasses.h>
#include <pavisade/older/OlderClasses.h>
#include <pavisade/panels/PanelClasses.h>
#include <pavisade/sidepanes/SidePaneClasses.h>
#include <pavisade/tables/TableClasses.h>
#include <pavisade/trees/TreeClasses.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerPavisadeClasses()
{
    static const bool done = [] {
        auto &registry = Bastwick::ClassRegistry::instance();
        registerFormClasses();
        registerPavisadeTableClasses();
        registerPavisadeTreeClasses();
        registerPavisadePanelClasses();
        registerPavisadeCodeClasses();
        registerPavisadeGridClasses();
        registerPavisadeCellClasses();
        registerOlderClasses();
        registerSidePaneClasses();
        registry.registerClass<XXXSpinningProgressIndicator>();
        registry.registerClass<XXXButtonToolBarItem>();
        registry.registerClass<X3CommonViewController>();
        registry.registerClass<X3CommonPageViewController>();
        registry.registerClass<XXXCommonViewController>();
        registry.registerClass<X3SplitViewController>();
        registry.registerClass<X3SplitViewXibController>();
        registry.registerClass<X3TabViewController>();
        registry.registerClass<X3TabViewXibController>();
        registry.registerClass<XXXTabItemDefine>();
        registry.registerClass<XXXDragImageZone>();
        registry.registerClass<XXXDragViewController>();
        registry.registerClass<XSheet>();
        registry.registerClass<ConfirmAlertSheet>();
        return true;
    }();
    Q_UNUSED(done);
    installPavisadeTranslations();
}

} // namespace Pavisade

#include <pavisade/grids/GridClasses.h>

#include <pavisade/grids/NSFormDynamicForm.h>
#include <pavisade/grids/NSMatrixDynamicForm.h>
#include <pavisade/grids/X3GridViewController.h>
#include <pavisade/grids/X3GridViewXibController.h>
#include <pavisade/grids/XXXCSVGridDataDelegate.h>
#include <pavisade/grids/XXXCSVGridView.h>
#include <pavisade/grids/XXXCSVViewController.h>
#include <pavisade/grids/XXXCollectionView.h>
#include <pavisade/grids/XXXCollectionViewItem.h>
#include <pavisade/grids/XXXGridViewController.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerPavisadeGridClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<XXXCSVGridDataDelegate>();
    registry.registerClass<XXXCSVGridView>();
    registry.registerClass<XXXCSVViewController>();
    registry.registerClass<X3GridViewController>();
    registry.registerClass<X3GridViewXibController>();
    registry.registerClass<XXXGridViewController>();
    registry.registerClass<XXXCollectionViewItem>();
    registry.registerClass<XXXCollectionView>();
    registry.registerClass<NSFormDynamicForm>();
    registry.registerClass<NSMatrixDynamicForm>();
}

} // namespace Pavisade

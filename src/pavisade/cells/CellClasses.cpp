#include <pavisade/cells/CellClasses.h>

#include <pavisade/cells/ImageAndTextCell.h>
#include <pavisade/cells/SeparatorCell.h>
#include <pavisade/cells/XXXComboBoxCell.h>
#include <pavisade/cells/XXXPopUpButtonCell.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Pavisade {

void registerPavisadeCellClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<ImageAndTextCell>();
    registry.registerClass<SeparatorCell>();
    registry.registerClass<XXXComboBoxCell>();
    registry.registerClass<XXXPopUpButtonCell>();
    registry.registerClass<FXPopUpButtonCell>();
}

} // namespace Pavisade

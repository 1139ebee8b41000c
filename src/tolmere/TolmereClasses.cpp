#include <tolmere/TolmereClasses.h>

#include <tolmere/HoverTableView.h>
#include <tolmere/IconSidebar.h>
#include <tolmere/LineNumberTextEdit.h>
#include <tolmere/LineNumberView.h>
#include <tolmere/OSXBadgeTextFieldCell.h>
#include <tolmere/ResponderViewController.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Tolmere {

void registerTolmereClasses()
{
    static const bool done = [] {
        Bastwick::ClassRegistry &registry = Bastwick::ClassRegistry::instance();
        registry.registerClass<LineNumberView>();
        registry.registerClass<LineNumberTextEdit>();
        registry.registerClass<IconSidebar>();
        registry.registerClass<HoverTableView>();
        registry.registerClass<OSXBadgeTextFieldCellDelegate>();
        registry.registerClass<ResponderViewController>();
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace Tolmere

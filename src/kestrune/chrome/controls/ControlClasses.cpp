#include <kestrune/chrome/ChromeClasses.h>

#include <kestrune/chrome/controls/BorderlessLinkButton.h>
#include <kestrune/chrome/controls/ColorButton.h>
#include <kestrune/chrome/controls/KSTAddListTextFieldCell.h>
#include <kestrune/chrome/controls/KSTArchesWindow.h>
#include <kestrune/chrome/controls/KSTFlatButton.h>
#include <kestrune/chrome/controls/KSTSecureTextField.h>
#include <kestrune/chrome/controls/KSTSecureTextFieldCell.h>
#include <kestrune/chrome/controls/KSTTagTextFieldCell.h>
#include <kestrune/chrome/controls/KSTTaskTextField.h>
#include <kestrune/chrome/controls/KSTTaskTextFieldCell.h>
#include <kestrune/chrome/controls/KSTTextField.h>
#include <kestrune/chrome/controls/KSTTextFieldCell.h>
#include <kestrune/chrome/controls/TKNTokenAttachmentCell.h>
#include <kestrune/chrome/controls/TKNTokenField.h>
#include <kestrune/chrome/controls/TKNTokenFieldCell.h>
#include <kestrune/chrome/controls/TKNTokenTextStorage.h>

#include <bastwick/platform/ClassRegistry.h>

namespace Kestrune {

void registerControlClasses()
{
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<ColorButton>();
    registry.registerClass<ColorButtonCell>();
    registry.registerClass<KSTFlatButton>();
    registry.registerClass<KSTFlatButtonCell>();
    registry.registerClass<KSTTextButtonCell>();
    registry.registerClass<BorderlessLinkButton>();
    registry.registerClass<KSTArchesWindow>();
    registry.registerClass<KSTArchesWindowContentView>();
    // Styled text fields and the token field.
    registry.registerClass<KSTTextField>();
    registry.registerClass<KSTTextFieldCell>();
    registry.registerClass<KSTSecureTextField>();
    registry.registerClass<KSTSecureTextFieldCell>();
    registry.registerClass<KSTTagTextFieldCell>();
    registry.registerClass<KSTAddListTextFieldCell>();
    registry.registerClass<KSTTaskTextField>();
    registry.registerClass<KSTTaskTextFieldCell>();
    registry.registerClass<TKNTokenField>();
    registry.registerClass<TKNTokenFieldCell>();
    registry.registerClass<TKNTokenTextStorage>();
    registry.registerClass<TKNTokenAttachmentCell>();
}

} // namespace Kestrune

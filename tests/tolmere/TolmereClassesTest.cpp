#include <tolmere/TolmereClasses.h>

#include <bastwick/platform/ClassRegistry.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Screens described by class name make the widgets through the registry.
TEST(TolmereClasses, WidgetsAreMadeByName)
{
    Tolmere::registerTolmereClasses();
    Tolmere::registerTolmereClasses();
    const Bastwick::ClassRegistry &registry = Bastwick::ClassRegistry::instance();
    for (const char *name : {"LineNumberView", "LineNumberTextEdit", "IconSidebar", "HoverTableView",
                             "OSXBadgeTextFieldCellDelegate", "ResponderViewController"}) {
        std::unique_ptr<QObject> object(registry.createObject(QString::fromLatin1(name)));
        ASSERT_NE(object, nullptr) << name;
        EXPECT_STREQ(object->metaObject()->className(), name);
    }
}

} // namespace

#include <kestrune/keys/ScreenByName.h>

#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/Log.h>

namespace Kestrune {

X3CommonViewController *screenWithClassName(const QString &className)
{
    QObject *made = Bastwick::ClassRegistry::instance().createObject(className);
    if (auto *screen = qobject_cast<X3CommonViewController *>(made))
        return screen;
    delete made;
    XXXLogWarning(QStringLiteral("%1 is not available; an empty screen stands in").arg(className));
    return new X3CommonViewController;
}

} // namespace Kestrune

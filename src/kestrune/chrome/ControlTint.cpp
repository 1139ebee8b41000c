#include <kestrune/chrome/ControlTint.h>

#include <bastwick/platform/NotificationCenter.h>
#include <bastwick/platform/UserDefaults.h>

namespace Kestrune {

ControlTint currentControlTint()
{
    switch (Bastwick::UserDefaults::standard().integerForKey(kControlTintDefaultsKey)) {
    case BlueControlTint:
        return BlueControlTint;
    case GraphiteControlTint:
        return GraphiteControlTint;
    case ClearControlTint:
        return ClearControlTint;
    default:
        return DefaultControlTint;
    }
}

void setCurrentControlTint(ControlTint tint)
{
    if (tint == currentControlTint())
        return;
    Bastwick::UserDefaults::standard().setInteger(tint, kControlTintDefaultsKey);
    Bastwick::NotificationCenter::defaultCenter().post(kControlTintDidChangeNotification);
}

} // namespace Kestrune

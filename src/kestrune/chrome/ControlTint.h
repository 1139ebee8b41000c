#pragma once

#include <QtCore/QString>

namespace Kestrune {

// The user's control tint, which chrome images follow (the traffic lights have a
// graphite set). Linux desktops keep no such setting, so it lives in the application's
// user defaults under the key the tint has always been stored under; absent reads as the
// default tint.
enum ControlTint : int {
    DefaultControlTint = 0,
    BlueControlTint = 1,
    GraphiteControlTint = 6,
    ClearControlTint = 7,
};

inline const QString kControlTintDefaultsKey = QStringLiteral("AppleAquaColorVariant");
// Posted on the default notification centre, without an object, when the tint changes.
inline const QString kControlTintDidChangeNotification = QStringLiteral("NSControlTintDidChangeNotification");

ControlTint currentControlTint();
// Stores the tint; posts the change notification when it differs from the stored one.
void setCurrentControlTint(ControlTint tint);

} // namespace Kestrune

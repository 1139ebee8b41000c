#pragma once

#include <QtCore/QString>

class X3CommonViewController;

namespace Kestrune {

// A screen of the class registered under the name, without a parent. While no such
// class is registered, a plain empty screen stands in and the log says so.
X3CommonViewController *screenWithClassName(const QString &className);

} // namespace Kestrune

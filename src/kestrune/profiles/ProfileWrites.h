#pragma once

#include <memory>

class DBProfile;
class QWidget;

// The profile screens' writes of a profile's row. A write that fails is said at once, as
// a warning on the window, with the profile's name and the reason; the caller learns the
// outcome from the answer. Main thread.

namespace Kestrune {

bool saveProfileOrWarn(const std::shared_ptr<DBProfile> &profile, QWidget *window);
bool deleteProfileOrWarn(const std::shared_ptr<DBProfile> &profile, QWidget *window);

} // namespace Kestrune

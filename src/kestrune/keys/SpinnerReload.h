#pragma once

#include <functional>

class X3CommonViewController;

namespace Kestrune {

// Shows the screen's spinner, goes through a global queue and back to the main queue,
// and there runs reload and hides the spinner. When the screen is gone by then, nothing
// runs. Main thread.
void reloadBehindSpinner(X3CommonViewController *screen, std::function<void()> reload);

} // namespace Kestrune

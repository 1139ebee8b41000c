#pragma once

class X3TableViewController;

namespace Pavisade {

// The start-up steps the older table screens share, whatever current table screen
// they are built on. Main thread.

// tableViewColumnConfig, tableViewDelegateConfig, tableViewSizeConfig (no style hook).
void olderTableViewConfig(X3TableViewController *screen);
// The older base's awakening (viewConfig, viewSizeConfig, which reach the table hooks),
// then tableViewSizeConfig once more.
void olderTableAwakening(X3TableViewController *screen);

} // namespace Pavisade

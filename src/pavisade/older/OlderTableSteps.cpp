#include <pavisade/older/OlderTableSteps_p.h>

#include <pavisade/tables/X3TableViewController.h>

namespace Pavisade {

void olderTableViewConfig(X3TableViewController *screen)
{
    screen->tableViewColumnConfig();
    screen->tableViewDelegateConfig();
    screen->tableViewSizeConfig();
}

void olderTableAwakening(X3TableViewController *screen)
{
    screen->viewConfig();
    screen->viewSizeConfig();
    screen->tableViewSizeConfig();
}

} // namespace Pavisade

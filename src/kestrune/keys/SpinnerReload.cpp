#include <kestrune/keys/SpinnerReload.h>

#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <bastwick/platform/DispatchQueue.h>

#include <QtCore/QPointer>

namespace Kestrune {

void reloadBehindSpinner(X3CommonViewController *screen, std::function<void()> reload)
{
    screen->displayActivityView();
    QPointer<X3CommonViewController> self(screen);
    Bastwick::globalQueue()->async([self, reload = std::move(reload)]() mutable {
        Bastwick::mainQueue()->async([self, reload = std::move(reload)] {
            if (!self)
                return;
            reload();
            self->hideActivityView();
        });
    });
}

} // namespace Kestrune

#include <kestrune/shell/Startup.h>

#include <bastwick/platform/ClassRegistry.h>
#include <corbelan/CorbelanClasses.h>
#include <kestrune/data/DataClasses.h>

#include <QtWidgets/QApplication>

namespace Kestrune {

void configureApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Kestrune"));
    QApplication::setOrganizationName(QStringLiteral("Kestrune"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kestrune"));
    Q_UNUSED(app);
}

void registerAllClasses()
{
    Bastwick::registerBastwickClasses();
    Corbelan::registerCorbelanClasses();
    Kestrune::registerDataClasses();
}

} // namespace Kestrune

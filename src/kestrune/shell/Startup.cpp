#include <kestrune/shell/Startup.h>

#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/Log.h>
#include <corbelan/CorbelanClasses.h>
#include <kestrune/Localized.h>
#include <kestrune/chrome/ChromeClasses.h>
#include <kestrune/data/DataClasses.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/exchange/ExchangeClasses.h>
#include <kestrune/shell/DerazViewController.h>
#include <pavisade/PavisadeClasses.h>
#include <tolmere/TolmereClasses.h>

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
    Pavisade::registerPavisadeClasses();
    Tolmere::registerTolmereClasses();
    Kestrune::registerDataClasses();
    registerShellClasses();
    Kestrune::registerExchangeClasses();
    Kestrune::registerChromeClasses();
}

bool openLocalStore()
{
    const bool opened = DataBaseBO::sharedInstance().openDataBase();
    if (!opened)
        XXXLogError(QStringLiteral("the local database %1 could not be opened").arg(appDBPath()));
    return opened;
}

void setStartPreferences()
{
    AppPreference *preference = AppPreference::sharedPreference();
    preference->setPageSize(100);
    preference->setMagicNumbers(500);
}

void registerShellClasses()
{
    installAppTranslations();
    Bastwick::ClassRegistry &registry = Bastwick::ClassRegistry::instance();
    // The root screen is opened through its route, which makes it by class name.
    registry.registerClass<DerazViewController>();
}

} // namespace Kestrune

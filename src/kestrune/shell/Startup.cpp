#include <kestrune/shell/Startup.h>

#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/Error.h>
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

#include <QtCore/QDir>
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

bool openLocalStore(Bastwick::Error *error)
{
    Bastwick::Error failure;
    const bool opened = DataBaseBO::sharedInstance().openDataBase(&failure);
    if (!opened) {
        XXXLogError(QStringLiteral("the local database %1 could not be opened: %2")
                        .arg(appDBPath(), failure.description));
        Bastwick::setError(error, failure);
    }
    return opened;
}

QString localStoreUnusableText(const Bastwick::Error &error)
{
    const QString reason = error.description.isEmpty() ? QString::number(error.code) : error.description;
    return L(QStringLiteral("LocalStoreUnusableMessage")).arg(QDir::toNativeSeparators(appDBPath()), reason);
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

#include <bastwick/platform/Translations.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QSet>
#include <QtCore/QTranslator>

namespace Bastwick {

bool installTranslationsOnce(const QString &qmPath)
{
    static QSet<QString> installed;
    if (installed.contains(qmPath))
        return true;
    if (!QCoreApplication::instance())
        return false;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(qmPath)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed.insert(qmPath);
    return true;
}

} // namespace Bastwick

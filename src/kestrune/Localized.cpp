#include <kestrune/Localized.h>

#include <pavisade/sheets/AlertSheet.h>
#include <pavisade/viewcontrollers/Localization.h>

#include <bastwick/platform/Translations.h>

namespace Kestrune {

QString L(const QString &key)
{
    return Pavisade::localizedString(key);
}

QString fillPlaceholder(const QString &text, const QString &argument)
{
    QString filled = text;
    for (const QLatin1String placeholder : {QLatin1String("%@"), QLatin1String("%1")}) {
        const qsizetype at = filled.indexOf(placeholder);
        if (at >= 0)
            return filled.replace(at, placeholder.size(), argument);
    }
    return filled + QLatin1Char(' ') + argument;
}

void installAppTranslations()
{
    Bastwick::installTranslationsOnce(QStringLiteral(":/i18n/kestrune_shell_en.qm"));
}

QMessageBox *confirmWarning(QWidget *window, const QString &text, const std::function<void(qint64)> &onOk,
                            const std::function<void()> &onCancel)
{
    return Pavisade::showConfirmSheetModalForWindow(window, L(QStringLiteral("Warning")), text,
                                                    Pavisade::AlertStyleWarning, L(QStringLiteral("Cancel")),
                                                    L(QStringLiteral("Ok")), onOk, onCancel);
}

void showWarning(QWidget *window, const QString &text)
{
    Pavisade::showSheetModalForWindow(window, L(QStringLiteral("Warning")), text, Pavisade::AlertStyleWarning,
                                      L(QStringLiteral("Ok")));
}

} // namespace Kestrune

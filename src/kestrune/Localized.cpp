#include <kestrune/Localized.h>

#include <pavisade/sheets/AlertSheet.h>
#include <pavisade/viewcontrollers/Localization.h>

namespace Kestrune {

QString L(const QString &key)
{
    return Pavisade::localizedString(key);
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

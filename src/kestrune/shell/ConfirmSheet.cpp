#include <kestrune/shell/ConfirmSheet.h>

#include <pavisade/sheets/AlertSheet.h>
#include <pavisade/sheets/SheetHost.h>
#include <pavisade/viewcontrollers/Localization.h>

#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

namespace Kestrune {

QMessageBox *showConfirmSheet(QWidget *window, const QString &message, const QString &informativeText,
                              const QString &cancelTitle, const QString &okTitle,
                              const std::function<void(qint64)> &onOk, const std::function<void()> &onCancel)
{
    auto *box = new QMessageBox(window ? window->window() : nullptr);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Warning);
    box->setText(message);
    box->setInformativeText(informativeText);
    QPushButton *ok = box->addButton(okTitle, QMessageBox::AcceptRole);
    QPushButton *cancel = box->addButton(cancelTitle, QMessageBox::RejectRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(cancel);
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box, [box, ok, onOk, onCancel](int) {
        if (box->clickedButton() == ok) {
            if (onOk)
                onOk(0);
        } else if (onCancel) {
            onCancel();
        }
    });
    if (window) {
        box->adjustSize();
        box->move(Pavisade::sheetPosition(window->window(), box->size()));
    }
    box->open();
    return box;
}

QMessageBox *confirmWarning(QWidget *window, const QString &text, const std::function<void(qint64)> &onOk,
                            const std::function<void()> &onCancel)
{
    return showConfirmSheet(window, Pavisade::localizedString(QStringLiteral("Warning")), text,
                            Pavisade::localizedString(QStringLiteral("Cancel")),
                            Pavisade::localizedString(QStringLiteral("Ok")), onOk, onCancel);
}

void showWarning(QWidget *window, const QString &text)
{
    Pavisade::showSheetModalForWindow(window, Pavisade::localizedString(QStringLiteral("Warning")), text,
                                      Pavisade::AlertStyleWarning,
                                      Pavisade::localizedString(QStringLiteral("Ok")));
}

} // namespace Kestrune

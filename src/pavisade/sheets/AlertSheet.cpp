#include <pavisade/sheets/AlertSheet.h>

#include <pavisade/sheets/SheetHost.h>
#include <pavisade/sheets/XSheet.h>

#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

namespace Pavisade {

QMessageBox *showSheetModalForWindow(QWidget *window, const QString &message, const QString &informativeText,
                                     int alertStyle, const QString &okButtonTitle,
                                     const std::function<void(qint64)> &onDismiss)
{
    auto *box = new QMessageBox(window ? window->window() : nullptr);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setText(message);
    box->setInformativeText(informativeText);
    switch (alertStyle) {
    case AlertStyleCritical:
        box->setIcon(QMessageBox::Critical);
        break;
    case AlertStyleInformational:
        box->setIcon(QMessageBox::Information);
        break;
    default:
        box->setIcon(QMessageBox::Warning);
        break;
    }
    QPushButton *ok = box->addButton(okButtonTitle, QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    if (onDismiss)
        QObject::connect(box, &QMessageBox::finished, box, [onDismiss] { onDismiss(XSheetReturnCodeOK); });
    openAsSheet(box, window);
    return box;
}

} // namespace Pavisade

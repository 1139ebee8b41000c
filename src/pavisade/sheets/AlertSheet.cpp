#include <pavisade/sheets/AlertSheet.h>

#include <pavisade/sheets/SheetHost.h>
#include <pavisade/sheets/XSheet.h>

#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

namespace Pavisade {

namespace {

// A self-deleting alert on the window with the texts and the icon of the style, still
// without buttons.
QMessageBox *makeAlert(QWidget *window, const QString &message, const QString &informativeText,
                       int alertStyle)
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
    return box;
}

} // namespace

QMessageBox *showSheetModalForWindow(QWidget *window, const QString &message, const QString &informativeText,
                                     int alertStyle, const QString &okButtonTitle,
                                     const std::function<void(qint64)> &onDismiss)
{
    QMessageBox *box = makeAlert(window, message, informativeText, alertStyle);
    QPushButton *ok = box->addButton(okButtonTitle, QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    if (onDismiss)
        QObject::connect(box, &QMessageBox::finished, box, [onDismiss] { onDismiss(XSheetReturnCodeOK); });
    openAsSheet(box, window);
    return box;
}

QMessageBox *showConfirmSheetModalForWindow(QWidget *window, const QString &message,
                                            const QString &informativeText, int alertStyle,
                                            const QString &cancelButtonTitle, const QString &okButtonTitle,
                                            const std::function<void(qint64)> &onOk,
                                            const std::function<void()> &onCancel)
{
    QMessageBox *box = makeAlert(window, message, informativeText, alertStyle);
    QPushButton *ok = box->addButton(okButtonTitle, QMessageBox::AcceptRole);
    QPushButton *cancel = box->addButton(cancelButtonTitle, QMessageBox::RejectRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(cancel);
    QObject::connect(box, &QMessageBox::finished, box, [box, ok, onOk, onCancel] {
        if (box->clickedButton() == ok) {
            if (onOk)
                onOk(0);
        } else if (onCancel) {
            onCancel();
        }
    });
    openAsSheet(box, window);
    return box;
}

} // namespace Pavisade

#pragma once

#include <QtCore/QString>

#include <functional>

class QMessageBox;
class QWidget;

namespace Kestrune {

// A confirmation with a cancel button and one other button, shown as a sheet on the
// window (application-modal without one). When it ends exactly one handler runs: onOk
// with the index of the pressed other button (0), or onCancel. Returns at once; the
// alert deletes itself. Main thread.
QMessageBox *showConfirmSheet(QWidget *window, const QString &message, const QString &informativeText,
                              const QString &cancelTitle, const QString &okTitle,
                              const std::function<void(qint64)> &onOk, const std::function<void()> &onCancel);

// The confirmations of the shell: message "Warning", the given text, "Cancel" and "Ok"
// (all translated).
QMessageBox *confirmWarning(QWidget *window, const QString &text, const std::function<void(qint64)> &onOk,
                            const std::function<void()> &onCancel);

// A one-button warning: message "Warning", the given (already translated) text, "Ok".
void showWarning(QWidget *window, const QString &text);

} // namespace Kestrune

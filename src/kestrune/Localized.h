#pragma once

#include <QtCore/QString>

#include <functional>

class QMessageBox;
class QWidget;

// The application's texts as the user sees them, and the stock warnings that show them.
// A text is a key of the string tables ("DropKeyMessage", "Reload", ...), looked up in
// the "Localizable" context that the shipped English table (shell/translations) fills;
// a key without an entry shows as itself. Main thread.

namespace Kestrune {

// The text of the key in the installed tables, or the key itself.
QString L(const QString &key);

// The text with its one placeholder ("%@" or "%1") filled, or the argument put behind
// it when it has none (a key without an entry); the argument is never read as a format.
QString fillPlaceholder(const QString &text, const QString &argument);

// Loads the shipped English table into the application, once; needs the application
// object. Start-up does it before any screen is made.
void installAppTranslations();

// A question as a sheet on the window: message "Warning", the given text, "Cancel" and
// "Ok" (all looked up). Exactly one handler runs; see
// Pavisade::showConfirmSheetModalForWindow.
QMessageBox *confirmWarning(QWidget *window, const QString &text, const std::function<void(qint64)> &onOk,
                            const std::function<void()> &onCancel);

// A one-button warning as a sheet on the window: message "Warning", the given (already
// looked-up) text, "Ok".
void showWarning(QWidget *window, const QString &text);

} // namespace Kestrune

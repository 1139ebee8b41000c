#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QString>

#include <functional>

QT_BEGIN_NAMESPACE
class QMessageBox;
class QWidget;
QT_END_NAMESPACE

namespace Pavisade {

// Alert styles.
constexpr int AlertStyleWarning = 0;
constexpr int AlertStyleInformational = 1;
constexpr int AlertStyleCritical = 2;

// Runs a one-button alert as a sheet on the window (placed like every sheet, see
// SheetHost) and returns at once. The dismiss handler, when given, gets 1 (OK) once the
// alert is dismissed; the alert deletes itself then. A null window shows the alert
// application-modal. Main thread.
PAVISADE_EXPORT QMessageBox *showSheetModalForWindow(QWidget *window, const QString &message,
                                                     const QString &informativeText, int alertStyle,
                                                     const QString &okButtonTitle,
                                                     const std::function<void(qint64)> &onDismiss = {});

// Runs a question with a cancel button and one other button as a sheet on the window
// (placed like every sheet, see SheetHost) and returns at once. The other button is the
// default, Escape cancels. When the question ends exactly one handler runs: onOk with the
// index of the pressed other button (0), or onCancel, however the question was closed
// otherwise. The alert deletes itself then. A null window shows the question
// application-modal. Main thread.
PAVISADE_EXPORT QMessageBox *showConfirmSheetModalForWindow(QWidget *window, const QString &message,
                                                            const QString &informativeText, int alertStyle,
                                                            const QString &cancelButtonTitle,
                                                            const QString &okButtonTitle,
                                                            const std::function<void(qint64)> &onOk,
                                                            const std::function<void()> &onCancel);

} // namespace Pavisade

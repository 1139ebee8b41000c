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

} // namespace Pavisade

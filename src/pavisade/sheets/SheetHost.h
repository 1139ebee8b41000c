#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QPoint>
#include <QtCore/QSize>
#include <QtCore/qnamespace.h>

#include <functional>

QT_BEGIN_NAMESPACE
class QDialog;
class QObject;
class QWidget;
QT_END_NAMESPACE

// Where a window wants its sheets. A window class that draws its own chrome (a title
// bar, a toolbar strip) implements this interface beside QWidget, and every sheet opened
// on such a window asks it where to go; the host is found with a dynamic_cast on the
// sheet's parent window. Windows that do not implement it get the default position, the
// top centre of their client area. Main thread.
class PAVISADE_EXPORT SheetHost
{
public:
    virtual ~SheetHost();

    // The global position of the top-left corner of a sheet of the given size.
    virtual QPoint sheetPosition(const QSize &sheetSize) const = 0;
};

namespace Pavisade {

// The top centre of the window's client area: the central widget's area for a
// QMainWindow that has one (below its menu bar and top toolbars), otherwise the whole
// inside of the window. Global coordinates; the origin for a null window.
PAVISADE_EXPORT QPoint defaultSheetPosition(const QWidget *window, const QSize &sheetSize);

// The position the window answers through SheetHost when it implements it, otherwise
// defaultSheetPosition().
PAVISADE_EXPORT QPoint sheetPosition(const QWidget *window, const QSize &sheetSize);

// Opens the dialog as a sheet of the window: window-modal, placed where the window wants
// its sheets, shown with open() so the call returns at once. A null window opens the
// dialog application-modal where the window system puts it. A sheet whose owner keeps the
// window's input itself opens with the modality Qt::NonModal.
PAVISADE_EXPORT void openAsSheet(QDialog *dialog, QWidget *window,
                                 Qt::WindowModality modality = Qt::WindowModal);

// Runs the block once the window is on screen: at once when it already shows (or there is
// no window), otherwise from the event loop after the window has been shown and
// activated, so a window or alert opened from it lands in front of it rather than behind
// it. Dropped when the context dies first.
PAVISADE_EXPORT void whenWindowShown(QWidget *window, QObject *context, const std::function<void()> &block);

} // namespace Pavisade

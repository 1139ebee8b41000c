#include <pavisade/sheets/SheetHost.h>

#include <QtWidgets/QDialog>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QWidget>

SheetHost::~SheetHost() = default;

namespace Pavisade {

QPoint defaultSheetPosition(const QWidget *window, const QSize &sheetSize)
{
    if (!window)
        return QPoint();
    const QWidget *client = window;
    if (auto *main = qobject_cast<const QMainWindow *>(window); main && main->centralWidget())
        client = main->centralWidget();
    const QPoint topLeft = client->mapToGlobal(QPoint(0, 0));
    return QPoint(topLeft.x() + (client->width() - sheetSize.width()) / 2, topLeft.y());
}

QPoint sheetPosition(const QWidget *window, const QSize &sheetSize)
{
    if (auto *host = dynamic_cast<const SheetHost *>(window))
        return host->sheetPosition(sheetSize);
    return defaultSheetPosition(window, sheetSize);
}

void openAsSheet(QDialog *dialog, QWidget *window)
{
    if (!dialog)
        return;
    QWidget *top = window ? window->window() : nullptr;
    if (top && dialog->parentWidget() != top)
        dialog->setParent(top, dialog->windowFlags() | Qt::Dialog);
    dialog->setWindowModality(top ? Qt::WindowModal : Qt::ApplicationModal);
    dialog->adjustSize();
    if (top)
        dialog->move(sheetPosition(top, dialog->size()));
    dialog->open();
}

} // namespace Pavisade

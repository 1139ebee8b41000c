#include <pavisade/sheets/SheetHost.h>

#include <QtCore/QEvent>
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtWidgets/QDialog>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QWidget>

SheetHost::~SheetHost() = default;

namespace {

// Waits for the first Show event of its window, then hands the block to the event loop
// (behind the activation that follows showing) and goes away.
class ShowWaiter : public QObject
{
public:
    ShowWaiter(QWidget *window, QObject *context, std::function<void()> block)
        : QObject(window)
        , m_context(context)
        , m_block(std::move(block))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched == parent()) {
            watched->removeEventFilter(this);
            if (m_context)
                QTimer::singleShot(0, m_context.data(), m_block);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QObject> m_context;
    std::function<void()> m_block;
};

} // namespace

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
    // The sheet takes the keyboard at once (a window system may leave new windows behind
    // the focus).
    dialog->raise();
    dialog->activateWindow();
}

void whenWindowShown(QWidget *window, QObject *context, const std::function<void()> &block)
{
    if (!block)
        return;
    QWidget *top = window ? window->window() : nullptr;
    if (!top || top->isVisible()) {
        block();
        return;
    }
    new ShowWaiter(top, context, block);
}

} // namespace Pavisade

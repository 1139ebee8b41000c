#include <pavisade/sheets/SheetHost.h>

#include <QtCore/QEvent>
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
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

// Keeps the keyboard with a sheet while it is up, and gives it back to the sheet's
// window when the sheet goes away.
//
// A window system activates the window a sheet blocks when the user clicks it, and then
// neither takes the keys: the blocked window gets none, the sheet does not have the
// keyboard. So when the window the sheet hangs on becomes active while a sheet blocks it,
// the keyboard goes to the sheet in front (the topmost one, an alert on the sheet
// perhaps).
//
// When the sheet goes away while it has the keyboard, the window is the active one
// again whatever the window system would choose (some pick the window under the
// pointer, or none). A sheet that closes while another window or another application
// has the keyboard leaves it there.
class SheetKeyboard : public QObject
{
public:
    // Once per sheet: a sheet can be begun again.
    static void install(QDialog *sheet)
    {
        static const QString name = QStringLiteral("pavisade_sheet_keyboard");
        if (!sheet->findChild<QObject *>(name, Qt::FindDirectChildrenOnly))
            (new SheetKeyboard(sheet))->setObjectName(name);
    }

private:
    explicit SheetKeyboard(QDialog *sheet)
        : QObject(sheet)
        , m_sheet(sheet)
    {
        sheet->installEventFilter(this);
        if (sheet->isVisible())
            watchOwner(ownerWindow());
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *focus) {
            if (focus)
                m_hasKeyboard = focus == m_sheet->windowHandle();
            else if (!m_sheet->isHidden())
                m_hasKeyboard = false; // the application lost the keyboard, not the sheet
        });
    }

    QWidget *ownerWindow() const
    {
        return m_sheet->parentWidget() ? m_sheet->parentWidget()->window() : nullptr;
    }

    void watchOwner(QWidget *owner)
    {
        if (m_owner == owner)
            return;
        if (m_owner)
            m_owner->removeEventFilter(this);
        m_owner = owner;
        if (owner)
            owner->installEventFilter(this);
    }

    // The modal window in front of the owner takes the keyboard, once the activation of
    // the owner has run its course.
    void giveKeyboardToTheSheetInFront()
    {
        QTimer::singleShot(0, this, [this] {
            QWidget *owner = m_owner;
            QWidget *front = QApplication::activeModalWidget();
            if (!owner || !front || front == owner || !front->isVisible() ||
                QApplication::activeWindow() != owner)
                return;
            for (QWidget *w = front->parentWidget(); w; w = w->parentWidget())
                if (w->window() == owner) {
                    front->raise();
                    front->activateWindow();
                    return;
                }
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_sheet) {
            if (event->type() == QEvent::Show) {
                watchOwner(ownerWindow());
            } else if (event->type() == QEvent::Hide) {
                watchOwner(nullptr);
                if (std::exchange(m_hasKeyboard, false)) {
                    QWidget *window = ownerWindow();
                    const QWidget *active = QApplication::activeWindow();
                    if (window && window->isVisible() && (!active || active == m_sheet))
                        window->activateWindow();
                }
            }
        } else if (watched == m_owner && event->type() == QEvent::WindowActivate && m_sheet->isVisible()) {
            giveKeyboardToTheSheetInFront();
        }
        return false;
    }

private:
    QDialog *m_sheet;
    QPointer<QWidget> m_owner;
    bool m_hasKeyboard = false;
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

void openAsSheet(QDialog *dialog, QWidget *window, Qt::WindowModality modality)
{
    if (!dialog)
        return;
    QWidget *top = window ? window->window() : nullptr;
    if (top && dialog->parentWidget() != top)
        dialog->setParent(top, dialog->windowFlags() | Qt::Dialog);
    dialog->setWindowModality(top ? modality : Qt::ApplicationModal);
    dialog->adjustSize();
    if (top)
        dialog->move(sheetPosition(top, dialog->size()));
    SheetKeyboard::install(dialog);
    // open() would make the dialog window-modal whatever was asked.
    if (top && modality == Qt::NonModal) {
        dialog->setResult(0);
        dialog->show();
    } else {
        dialog->open();
    }
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

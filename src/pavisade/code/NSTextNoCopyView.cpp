#include <pavisade/code/NSTextNoCopyView.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QMimeData>
#include <QtGui/QAction>
#include <QtGui/QContextMenuEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QTextCursor>
#include <QtWidgets/QMenu>

#include <memory>

namespace {

void logCopying()
{
    XXXLog(QStringLiteral("copying"));
}

} // namespace

NSTextNoCopyView::NSTextNoCopyView(QWidget *parent)
    : QPlainTextEdit(parent)
{
}

bool NSTextNoCopyView::isCopyOrCut(const QKeyEvent *event)
{
    return event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut);
}

bool NSTextNoCopyView::event(QEvent *event)
{
    // The text control claims Copy and Cut as shortcuts of its own; keep them here.
    if (event->type() == QEvent::ShortcutOverride && isCopyOrCut(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void NSTextNoCopyView::keyPressEvent(QKeyEvent *event)
{
    if (isCopyOrCut(event)) {
        logCopying();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void NSTextNoCopyView::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-copy") ||
            action->objectName() == QLatin1String("edit-cut")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, [] { logCopying(); });
        }
    }
    menu->exec(event->globalPos());
}

void NSTextNoCopyView::mousePressEvent(QMouseEvent *event)
{
    const QTextCursor selection = textCursor();
    const int at = cursorForPosition(event->position().toPoint()).position();
    m_pressOnSelection = event->button() == Qt::LeftButton && selection.hasSelection() &&
                         at >= selection.selectionStart() && at < selection.selectionEnd();
    QPlainTextEdit::mousePressEvent(event);
}

void NSTextNoCopyView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressOnSelection && (event->buttons() & Qt::LeftButton)) {
        // Moves after a press on the selection would drag the selection out.
        if (!m_dragRefused)
            logCopying();
        m_dragRefused = true;
        event->accept();
        return;
    }
    QPlainTextEdit::mouseMoveEvent(event);
}

void NSTextNoCopyView::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressOnSelection = false;
    m_dragRefused = false;
    QPlainTextEdit::mouseReleaseEvent(event);
}

QMimeData *NSTextNoCopyView::createMimeDataFromSelection() const
{
    logCopying();
    return new QMimeData;
}

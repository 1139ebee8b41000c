#include <kestrune/chrome/controls/KSTTextField.h>

#include <kestrune/chrome/TBWindow.h>
#include <kestrune/chrome/controls/StyledFieldCell.h>

#include <QtCore/QEvent>
#include <QtGui/QPainter>

using namespace Kestrune;

KSTTextField::KSTTextField(QWidget *parent)
    : KSTTextField(new StyledFieldCell, parent)
{
}

KSTTextField::KSTTextField(StyledFieldCell *cell, QWidget *parent)
    : QLineEdit(parent)
{
    setCell(cell);
}

KSTTextField::~KSTTextField()
{
    disconnect(m_windowConnection);
}

void KSTTextField::setCell(StyledFieldCell *cell)
{
    if (StyledFieldCell::install(m_cell, cell, this, [this] { applyCell(); }))
        applyCell();
}

void KSTTextField::setPlaceholderString(const QString &placeholder)
{
    m_cell->setPlaceholderString(placeholder);
}

QString KSTTextField::placeholderString() const
{
    return m_cell->placeholderString();
}

bool KSTTextField::showsFirstResponder() const
{
    return window()->focusWidget() == this && windowDrawsAsMain(this);
}

void KSTTextField::applyCell()
{
    m_cell->setUpFieldEditorAttributes(*this);
    update();
}

bool KSTTextField::event(QEvent *event)
{
    const bool result = QLineEdit::event(event);
    if (event->type() == QEvent::Show || event->type() == QEvent::ParentChange)
        observeWindow();
    return result;
}

void KSTTextField::observeWindow()
{
    if (m_observedWindow == window())
        return;
    disconnect(m_windowConnection);
    m_observedWindow = window();
    // A title-bar window may draw as main by its own hook; other windows report
    // activation changes to every widget (changeEvent).
    if (auto *tbWindow = qobject_cast<TBWindow *>(window()))
        m_windowConnection = connect(tbWindow, &TBWindow::activationStateChanged, this, [this] { update(); });
}

void KSTTextField::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        m_cell->drawInteriorWithFrame(painter, QRectF(rect()), showsFirstResponder());
    }
    QLineEdit::paintEvent(event);
}

void KSTTextField::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    m_cell->setUpFieldEditorAttributes(*this);
}

void KSTTextField::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        update();
}

#include <kestrune/chrome/hud/HUDWindow.h>

#include <kestrune/chrome/hud/HUDWindowButtonCell.h>
#include <kestrune/chrome/hud/HUDWindowFrameView.h>

#include <QtCore/QEvent>

HUDWindow::HUDWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setUp();
}

HUDWindow::HUDWindow(const QRect &contentRect, QWidget *parent)
    : HUDWindow(parent)
{
    setGeometry(frameRectForContentRect(contentRect).toRect());
}

HUDWindow::~HUDWindow() = default;

void HUDWindow::setUp()
{
    setObjectName(QStringLiteral("HUDWindow"));
    // Clear outside the rounded frame; the frame view paints everything else.
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

QRectF HUDWindow::contentRectForFrameRect(const QRectF &frameRect)
{
    return {0.0, 0.0, frameRect.width(), frameRect.height() - kTitleBarHeight};
}

QRectF HUDWindow::frameRectForContentRect(const QRectF &contentRect)
{
    return {contentRect.topLeft(), QSizeF(contentRect.width(), contentRect.height() + kTitleBarHeight)};
}

void HUDWindow::setContentView(QWidget *view)
{
    if (m_customContentView == view)
        return;
    if (!m_frameView) {
        m_frameView = new HUDWindowFrameView(this);
        m_frameView->setGeometry(rect());
        connect(m_frameView->closeButton(), &QAbstractButton::clicked, this, &QWidget::close);
        m_frameView->show();
    }
    if (QWidget *previous = m_customContentView.data()) {
        previous->hide();
        previous->setParent(nullptr);
        previous->deleteLater();
    }
    m_customContentView = view;
    if (!view)
        return;
    view->setParent(m_frameView);
    view->setGeometry(m_frameView->contentRect());
    view->show();
    // The close button stays clickable above the content.
    m_frameView->closeButton()->raise();
}

QWidget *HUDWindow::contentView() const
{
    return m_customContentView.data();
}

void HUDWindow::setTitle(const QString &title)
{
    setWindowTitle(title);
    // A null title is kept null, so that the title bar shows no text.
    if (m_frameView)
        m_frameView->update();
}

HUDWindowButtonCell *HUDWindow::closeButton() const
{
    return m_frameView ? m_frameView->closeButton() : nullptr;
}

void HUDWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_frameView)
        return;
    m_frameView->setGeometry(rect());
    if (m_customContentView)
        m_customContentView->setGeometry(m_frameView->contentRect());
}

void HUDWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange && m_frameView)
        m_frameView->update();
}

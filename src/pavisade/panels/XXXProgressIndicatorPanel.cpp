#include <pavisade/panels/XXXProgressIndicatorPanel.h>

#include <pavisade/forms/FormControls.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>

XXXProgressIndicatorPanel::XXXProgressIndicatorPanel(QWidget *parent)
    : XSheet(parent)
{
}

XXXProgressIndicatorPanel::XXXProgressIndicatorPanel(const QSize &contentSize, QWidget *parent)
    : XSheet(parent)
{
    resize(contentSize);
}

float XXXProgressIndicatorPanel::commonPadding() const
{
    return (float(height() - m_cancelRow) - 40.f) / 3.f;
}

XXXLabel *XXXProgressIndicatorPanel::indicatorInfoLabel()
{
    if (!m_indicatorInfoLabel) {
        const float width = float(this->width()) - 60.f;
        m_indicatorInfoLabel = new XXXLabel(this);
        m_indicatorInfoLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_indicatorInfoLabel->setGeometry(qRound((float(this->width()) - width) / 2.f),
                                          qRound(commonPadding()), qRound(width), 20);
        m_indicatorInfoLabel->show();
        XXXLog(QStringLiteral("_indicatorInfoLabel.top=%1").arg(double(commonPadding())));
    }
    return m_indicatorInfoLabel;
}

QProgressBar *XXXProgressIndicatorPanel::progressBarIndicator()
{
    if (!m_progressBarIndicator) {
        indicatorInfoLabel();
        const float width = float(this->width()) - 60.f;
        const float top = commonPadding() + 20.f + commonPadding();
        m_progressBarIndicator = new QProgressBar(this);
        m_progressBarIndicator->setGeometry(qRound((float(this->width()) - width) / 2.f), qRound(top),
                                            qRound(width), 20);
        m_progressBarIndicator->setTextVisible(false);
        // Indeterminate: a busy bar.
        m_progressBarIndicator->setRange(0, 0);
        XXXLog(QStringLiteral("_progressBarIndicator=%1").arg(double(top)));
        showProgressBarIndicator();
    }
    return m_progressBarIndicator;
}

void XXXProgressIndicatorPanel::beginOnWindow(QWidget *window)
{
    beginOnWindow(window, {});
}

void XXXProgressIndicatorPanel::beginOnWindow(QWidget *window, CompletionHandler handler)
{
    showProgressBarIndicator();
    QWidget *top = window ? window->window() : nullptr;
    if (m_cancellable && top) {
        // The panel keeps the window's input itself, so that the window system's
        // modality does not swallow a request to close the window.
        setSheetModality(Qt::NonModal);
        m_blockedWindow = top;
        qApp->installEventFilter(this);
    } else {
        setSheetModality(Qt::WindowModal);
    }
    beginSheet(window, std::move(handler), true);
}

void XXXProgressIndicatorPanel::sheetDidEnd(qint64 returnCode)
{
    if (qApp)
        qApp->removeEventFilter(this);
    m_blockedWindow.clear();
    XSheet::sheetDidEnd(returnCode);
}

void XXXProgressIndicatorPanel::setCancellable(bool cancellable)
{
    if (cancellable == m_cancellable)
        return;
    progressBarIndicator();
    QPushButton *button = cancelButton();
    m_cancellable = cancellable;
    if (cancellable) {
        // Under the bar, at its right end, with the gap below that the rows have.
        const int right = m_progressBarIndicator->geometry().right();
        const int width = qMax(button->sizeHint().width(), 80);
        button->setGeometry(right + 1 - width, height(), width, button->sizeHint().height());
        m_cancelRow = button->height() + qRound(commonPadding());
        resize(this->width(), height() + m_cancelRow);
    } else {
        resize(this->width(), height() - m_cancelRow);
        m_cancelRow = 0;
    }
    button->setVisible(cancellable);
}

QPushButton *XXXProgressIndicatorPanel::cancelButton()
{
    if (!m_cancelButton) {
        m_cancelButton = new QPushButton(tr("Cancel"), this);
        m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
        m_cancelButton->setAutoDefault(false);
        m_cancelButton->hide();
        connect(m_cancelButton, &QPushButton::clicked, this, [this] {
            if (isSheetRunning())
                emit cancelRequested();
        });
    }
    return m_cancelButton;
}

void XXXProgressIndicatorPanel::reject()
{
    // The work goes on until its owner ends the panel: Escape and closing only ask.
    if (!isSheetRunning())
        XSheet::reject();
    else if (m_cancellable)
        emit cancelRequested();
}

bool XXXProgressIndicatorPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_blockedWindow || !isSheetRunning() || !watched->isWidgetType())
        return XSheet::eventFilter(watched, event);
    auto *widget = static_cast<QWidget *>(watched);
    if (widget->window() != m_blockedWindow)
        return false;
    switch (event->type()) {
    case QEvent::Close:
        if (widget != m_blockedWindow)
            return false;
        event->ignore();
        emit windowCloseRequested();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

void XXXProgressIndicatorPanel::endPanel()
{
    end();
    hideProgressBarIndicator();
}

void XXXProgressIndicatorPanel::showProgressBarIndicator()
{
    QProgressBar *bar = progressBarIndicator();
    bar->setRange(0, 0);
    bar->show();
}

void XXXProgressIndicatorPanel::hideProgressBarIndicator()
{
    QProgressBar *bar = progressBarIndicator();
    bar->hide();
    // A stopped busy bar: no range to animate through.
    bar->setRange(0, 100);
    bar->setValue(25);
}

void XXXProgressIndicatorPanel::updateIndicatorInfo(const QString &text)
{
    if (text.isNull())
        return;
    indicatorInfoLabel()->setText(text);
}

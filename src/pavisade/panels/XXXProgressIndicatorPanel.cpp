#include <pavisade/panels/XXXProgressIndicatorPanel.h>

#include <pavisade/forms/FormControls.h>

#include <bastwick/platform/Log.h>

#include <QtWidgets/QProgressBar>

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
    return (float(height()) - 40.f) / 3.f;
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
    beginSheet(window, std::move(handler), true);
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

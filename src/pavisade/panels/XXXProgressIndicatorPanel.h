#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/sheets/XSheet.h>

QT_BEGIN_NAMESPACE
class QProgressBar;
QT_END_NAMESPACE

class XXXLabel;

// A small sheet that shows a one-line message above a busy progress bar while a long
// operation runs. The label and the bar are made the first time they are needed, laid
// out from the panel's size: three equal gaps around the two 20-high rows, both rows
// 60 narrower than the panel and centred. Beginning the sheet shows and starts the
// bar; endPanel ends the sheet and hides the bar. Main thread.
class PAVISADE_EXPORT XXXProgressIndicatorPanel : public XSheet
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit XXXProgressIndicatorPanel(QWidget *parent = nullptr);
    // A panel of the given content size (the application makes it 300 x 80).
    explicit XXXProgressIndicatorPanel(const QSize &contentSize, QWidget *parent = nullptr);

    XXXLabel *indicatorInfoLabel();
    QProgressBar *progressBarIndicator();
    // The gap above, between and below the two rows.
    float commonPadding() const;

    void beginOnWindow(QWidget *window);
    void beginOnWindow(QWidget *window, CompletionHandler handler);
    // Ends the sheet, then hides and stops the bar.
    void endPanel();
    void showProgressBarIndicator();
    void hideProgressBarIndicator();
    // Sets the message; a null text keeps the one shown.
    void updateIndicatorInfo(const QString &text);

private:
    XXXLabel *m_indicatorInfoLabel = nullptr;
    QProgressBar *m_progressBarIndicator = nullptr;
};

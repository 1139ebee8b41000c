#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/sheets/XSheet.h>

#include <QtCore/QPointer>

QT_BEGIN_NAMESPACE
class QProgressBar;
class QPushButton;
QT_END_NAMESPACE

class XXXLabel;

// A small sheet that shows a one-line message above a busy progress bar while a long
// operation runs. The label and the bar are made the first time they are needed, laid
// out from the panel's size: three equal gaps around the two 20-high rows, both rows
// 60 narrower than the panel and centred. Beginning the sheet shows and starts the
// bar; endPanel ends the sheet and hides the bar.
//
// A cancellable panel also shows a Cancel button under the bar (the panel grows by its
// row; the message and the bar keep their places). The button, Escape and closing the
// panel ask its owner to stop the work (cancelRequested()); the sheet stays up until the
// owner ends it. While it runs, the rest of its window takes no input, yet a request to
// close that window is not lost as under the window system's modality: the window stays
// open and windowCloseRequested() lets the owner decide. Main thread.
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

    // Shows or hides the Cancel button; set it before the sheet begins.
    void setCancellable(bool cancellable);
    bool isCancellable() const { return m_cancellable; }
    QPushButton *cancelButton();

signals:
    // Cancel was clicked, Escape pressed or the panel closed while a cancellable sheet ran.
    void cancelRequested();
    // The window of a running cancellable sheet was asked to close; it stays open.
    void windowCloseRequested();

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void sheetDidEnd(qint64 returnCode) override;

private:
    bool m_cancellable = false;
    QPushButton *m_cancelButton = nullptr;
    // The height the Cancel button's row adds to the panel.
    int m_cancelRow = 0;
    // The window a running cancellable sheet keeps the input from.
    QPointer<QWidget> m_blockedWindow;
    XXXLabel *m_indicatorInfoLabel = nullptr;
    QProgressBar *m_progressBarIndicator = nullptr;
};

#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QString>
#include <QtWidgets/QDialog>

#include <functional>

QT_BEGIN_NAMESPACE
class QLabel;
class QPushButton;
QT_END_NAMESPACE

// The codes a sheet ends with. end() reports the stop code.
constexpr qint64 XSheetReturnCodeCancel = 0;
constexpr qint64 XSheetReturnCodeOK = 1;
constexpr qint64 XSheetReturnCodeStop = -1000;

// "Cancel" for 0, "OK" for 1, the default text for any other code.
PAVISADE_EXPORT QString XSheetStringForReturnCodeWithDefault(qint64 code, const QString &defaultString);
// "Cancel" for 0, "OK" for 1, a null text for any other code.
PAVISADE_EXPORT QString XSheetStringForReturnCode(qint64 code);
// "Cancel" for 0, "OK" for 1, "???" for any other code.
PAVISADE_EXPORT QString XSheetDebugStringForReturnCode(qint64 code);

// A panel that runs as a sheet on a window: window-modal, opened with open() where the
// window wants its sheets (SheetHost), and ending with a code that goes to the
// completion handler once. ok() ends with 1, cancel() (and Escape, and closing the
// panel) with 0, end() with the stop code. The panel survives its run and can be begun
// again. Main thread.
class PAVISADE_EXPORT XSheet : public QDialog
{
    Q_OBJECT
public:
    using CompletionHandler = std::function<void(qint64 returnCode)>;

    // Window style bits: a sheet has no title bar unless Titled is set.
    enum StyleMask : unsigned { Titled = 1, Closable = 2, Miniaturizable = 4, Resizable = 8 };

    // A sheet panel: closable, no title bar.
    Q_INVOKABLE explicit XSheet(QWidget *parent = nullptr);
    // A panel with the given style, taken as it is.
    explicit XSheet(unsigned styleMask, QWidget *parent = nullptr);
    // The style a sheet asks for: titled and miniaturizable cleared, closable set.
    static unsigned sheetStyleMask(unsigned requestedMask)
    {
        return (requestedMask & ~(Titled | Miniaturizable)) | Closable;
    }
    // A panel with sheetStyleMask(requestedMask).
    static XSheet *withSheetStyle(unsigned requestedMask, QWidget *parent = nullptr);

    unsigned styleMask() const { return m_styleMask; }
    // A sheet without a title bar still takes the keyboard focus.
    bool canBecomeKeyWindow() const { return true; }

    // Keeps the handler and opens the panel as a sheet of the window.
    void beginOnWindow(QWidget *window, CompletionHandler handler);
    // Ends the running sheet with the stop code.
    void end();
    // Ends the running sheet with the code; nothing when no sheet runs.
    void endWithReturnCode(qint64 code);
    bool isSheetRunning() const { return m_running; }

    // For subclasses that reset their fields before a run; empty here.
    virtual void clearData() {}

public slots:
    virtual void ok();
    virtual void cancel();
    // Takes the panel off the screen (and out of its window-modal state).
    void orderOut();

signals:
    void sheetEnded(qint64 returnCode);

protected:
    // The panel stays up after the handler ran when autoExitWindow is false, until
    // orderOut(); beginOnWindow() runs with it true.
    void beginSheet(QWidget *window, CompletionHandler handler, bool autoExitWindow);
    bool autoExitWindow() const { return m_autoExitWindow; }
    // How the next run blocks its window (window-modal unless a subclass keeps the
    // window's input itself).
    void setSheetModality(Qt::WindowModality modality) { m_sheetModality = modality; }
    void setAutoExitWindow(bool autoExit) { m_autoExitWindow = autoExit; }
    // The end of a run: the handler once (then dropped), then orderOut() when
    // autoExitWindow is set.
    virtual void sheetDidEnd(qint64 returnCode);

    void done(int result) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyStyleMask();

    unsigned m_styleMask = Closable;
    CompletionHandler m_handler;
    bool m_running = false;
    bool m_autoExitWindow = true;
    bool m_orderingOut = false;
    Qt::WindowModality m_sheetModality = Qt::WindowModal;
};

// A confirmation sheet: a title line, a message, and Cancel and OK buttons wired to
// cancel() and ok(). bizMode is a number for the owner (which confirmation this is).
class PAVISADE_EXPORT ConfirmAlertSheet : public XSheet
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit ConfirmAlertSheet(QWidget *parent = nullptr);

    QLabel *titleTextFld() const { return m_titleTextFld; }
    QLabel *contentTextFld() const { return m_contentTextFld; }
    QPushButton *cancleBtn() const { return m_cancleBtn; }
    QPushButton *okBtn() const { return m_okBtn; }
    quint64 bizMode() const { return m_bizMode; }
    void setBizMode(quint64 mode) { m_bizMode = mode; }

private:
    QLabel *m_titleTextFld = nullptr;
    QLabel *m_contentTextFld = nullptr;
    QPushButton *m_cancleBtn = nullptr;
    QPushButton *m_okBtn = nullptr;
    quint64 m_bizMode = 0;
};

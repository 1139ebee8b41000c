#include <pavisade/sheets/XSheet.h>

#include <pavisade/sheets/SheetHost.h>

#include <bastwick/platform/Log.h>

#include <QtGui/QPainter>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

QString XSheetStringForReturnCodeWithDefault(qint64 code, const QString &defaultString)
{
    if (code == XSheetReturnCodeCancel)
        return QStringLiteral("Cancel");
    if (code == XSheetReturnCodeOK)
        return QStringLiteral("OK");
    return defaultString;
}

QString XSheetStringForReturnCode(qint64 code)
{
    return XSheetStringForReturnCodeWithDefault(code, QString());
}

QString XSheetDebugStringForReturnCode(qint64 code)
{
    return XSheetStringForReturnCodeWithDefault(code, QStringLiteral("???"));
}

XSheet::XSheet(QWidget *parent)
    : XSheet(Closable, parent)
{
}

XSheet::XSheet(unsigned styleMask, QWidget *parent)
    : QDialog(parent)
    , m_styleMask(styleMask)
{
    applyStyleMask();
}

XSheet *XSheet::withSheetStyle(unsigned requestedMask, QWidget *parent)
{
    return new XSheet(sheetStyleMask(requestedMask), parent);
}

void XSheet::applyStyleMask()
{
    Qt::WindowFlags flags = Qt::Dialog;
    if (!(m_styleMask & Titled))
        flags |= Qt::FramelessWindowHint;
    else if (!(m_styleMask & Closable))
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    setWindowFlags(flags);
    setSizeGripEnabled(m_styleMask & Resizable);
}

void XSheet::beginOnWindow(QWidget *window, CompletionHandler handler)
{
    beginSheet(window, std::move(handler), true);
}

void XSheet::beginSheet(QWidget *window, CompletionHandler handler, bool autoExitWindow)
{
    m_autoExitWindow = autoExitWindow;
    m_handler = std::move(handler);
    m_running = true;
    Pavisade::openAsSheet(this, window, m_sheetModality);
}

void XSheet::end()
{
    endWithReturnCode(XSheetReturnCodeStop);
}

void XSheet::endWithReturnCode(qint64 code)
{
    if (!m_running)
        return;
    m_running = false;
    setResult(int(code));
    sheetDidEnd(code);
}

void XSheet::sheetDidEnd(qint64 returnCode)
{
    if (CompletionHandler handler = std::exchange(m_handler, {}))
        handler(returnCode);
    emit sheetEnded(returnCode);
    if (m_autoExitWindow)
        orderOut();
}

void XSheet::ok()
{
    endWithReturnCode(XSheetReturnCodeOK);
    XXXLog(QStringLiteral("ok"));
}

void XSheet::cancel()
{
    endWithReturnCode(XSheetReturnCodeCancel);
}

void XSheet::orderOut()
{
    m_orderingOut = true;
    QDialog::done(result());
    m_orderingOut = false;
}

void XSheet::done(int result)
{
    // Escape and closing the panel end a running sheet as Cancel does.
    if (m_running && !m_orderingOut) {
        endWithReturnCode(result == QDialog::Accepted ? XSheetReturnCodeOK : XSheetReturnCodeCancel);
        return;
    }
    QDialog::done(result);
}

void XSheet::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (m_styleMask & Titled)
        return;
    // Without a title bar the window system draws no frame: outline the panel.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

ConfirmAlertSheet::ConfirmAlertSheet(QWidget *parent)
    : XSheet(parent)
    , m_titleTextFld(new QLabel(this))
    , m_contentTextFld(new QLabel(this))
    , m_cancleBtn(new QPushButton(tr("Cancel"), this))
    , m_okBtn(new QPushButton(tr("OK"), this))
{
    QFont titleFont = m_titleTextFld->font();
    titleFont.setBold(true);
    m_titleTextFld->setFont(titleFont);
    m_contentTextFld->setWordWrap(true);
    m_contentTextFld->setMinimumWidth(320);
    m_okBtn->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancleBtn);
    buttons->addWidget(m_okBtn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(10);
    layout->addWidget(m_titleTextFld);
    layout->addWidget(m_contentTextFld);
    layout->addLayout(buttons);

    connect(m_okBtn, &QPushButton::clicked, this, &XSheet::ok);
    connect(m_cancleBtn, &QPushButton::clicked, this, &XSheet::cancel);
}

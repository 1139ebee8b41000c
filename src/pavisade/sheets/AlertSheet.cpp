#include <pavisade/sheets/AlertSheet.h>

#include <pavisade/sheets/SheetHost.h>
#include <pavisade/sheets/XSheet.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QtMath>
#include <QtGui/QFontMetricsF>
#include <QtGui/QScreen>
#include <QtGui/QTextDocument>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLayout>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

namespace Pavisade {

namespace {

// The widest the text column of an alert grows before its lines wrap.
constexpr int MaxAlertTextWidth = 600;
// The room an alert leaves free on each side of its window and of the screen.
constexpr int AlertSideMargin = 40;

// The width of the text's longest line, laid out in the label's font without wrapping.
int naturalTextWidth(const QLabel *label)
{
    const QString text = label->text();
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    if (rich) {
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        document.setHtml(text);
        return qCeil(document.idealWidth()) + 1;
    }
    const QFontMetricsF metrics(label->font());
    qreal widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return qCeil(widest) + 1;
}

// A message box as wide as the longest line of its texts (title and informative text),
// up to a limit: MaxAlertTextWidth for the texts, the window it opens on and the screen
// less a margin on each side, and the width beyond which the message box itself breaks
// words anywhere. Only beyond that do the lines wrap, at word boundaries. (The plain
// message box sizes itself for its title alone and wraps a longer informative text at
// its longest word.)
//
// The texts' width is settled before the box shows; the message box sizes itself from
// it as it shows, and the sheet is placed for that size before the window system maps
// it. A later layout pass keeps the width, so the sheet stays where it is.
class AlertBox : public QMessageBox
{
public:
    explicit AlertBox(QWidget *parent)
        : QMessageBox(parent)
    {
    }

    // Gives the texts their width; call once texts and buttons are set, before showing.
    void fitTexts()
    {
        ensurePolished();
        QLabel *title = titleLabel();
        QLabel *informative = informativeLabel();
        if (!title || !layout())
            return;
        // Everything beside the texts' column (icon, margins, spacing), measured with a
        // column wider than the buttons could make the box.
        constexpr int probe = 4000;
        setTextWidth(probe);
        layout()->activate();
        const int beside = layout()->totalMinimumSize().width() - probe;
        const int limit = qMax(1, qMin(MaxAlertTextWidth, widthLimit() - beside));

        const int titleWidth = naturalTextWidth(title);
        int textWidth = qMin(limit, titleWidth);
        if (informative)
            textWidth = qMax(textWidth, qMin(limit, naturalTextWidth(informative)));
        m_titleWraps = titleWidth > textWidth;
        setTextWidth(textWidth);
        layout()->activate();
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        wrapTitle();
        // The sheet was placed for the size it had before the message box sized itself:
        // place it again for this one, still before the window system shows it.
        if (QWidget *window = parentWidget(); window && windowModality() == Qt::WindowModal)
            move(sheetPosition(window->window(), size()));
    }

    bool event(QEvent *event) override
    {
        const bool handled = QMessageBox::event(event);
        // The message box sizes itself again on a layout request.
        if (event->type() == QEvent::LayoutRequest && isVisible())
            wrapTitle();
        return handled;
    }

private:
    QLabel *titleLabel() const
    {
        return findChild<QLabel *>(QStringLiteral("qt_msgbox_label"), Qt::FindDirectChildrenOnly);
    }

    QLabel *informativeLabel() const
    {
        auto *label =
            findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"), Qt::FindDirectChildrenOnly);
        return label && !label->text().isEmpty() ? label : nullptr;
    }

    void setTextWidth(int width)
    {
        titleLabel()->setMinimumWidth(width);
        if (QLabel *informative = informativeLabel()) {
            informative->setMinimumWidth(width);
            informative->setWordWrap(true);
        }
    }

    int widthLimit() const
    {
        const QRect available = screen()->availableGeometry();
        // The message box's own limit, beyond which it wraps in mid-word.
        int limit = available.width() <= 1024 ? available.width() : qMin(available.width() - 480, 1000);
        limit = qMin(limit, available.width() - 2 * AlertSideMargin);
        if (const QWidget *window = parentWidget() ? parentWidget()->window() : nullptr)
            limit = qMin(limit, window->width() - 2 * AlertSideMargin);
        return limit;
    }

    // The message box wraps its title only when the box is wider than a fixed width: wrap
    // a title longer than the texts' column and take the height that needs, at the width
    // the box has.
    void wrapTitle()
    {
        QLabel *title = titleLabel();
        if (!title || !layout() || title->wordWrap() == m_titleWraps)
            return;
        title->setWordWrap(m_titleWraps);
        QSizePolicy policy = title->sizePolicy();
        policy.setHeightForWidth(m_titleWraps);
        title->setSizePolicy(policy);
        layout()->activate();
        setFixedSize(width(), layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width())
                                                            : layout()->totalMinimumSize().height());
        // Wrapping asked for a layout pass of its own; it would only size the box again.
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }

    bool m_titleWraps = false;
};

// A self-deleting alert on the window with the texts and the icon of the style, still
// without buttons.
AlertBox *makeAlert(QWidget *window, const QString &message, const QString &informativeText, int alertStyle)
{
    auto *box = new AlertBox(window ? window->window() : nullptr);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setText(message);
    box->setInformativeText(informativeText);
    switch (alertStyle) {
    case AlertStyleCritical:
        box->setIcon(QMessageBox::Critical);
        break;
    case AlertStyleInformational:
        box->setIcon(QMessageBox::Information);
        break;
    default:
        box->setIcon(QMessageBox::Warning);
        break;
    }
    return box;
}

} // namespace

QMessageBox *showSheetModalForWindow(QWidget *window, const QString &message, const QString &informativeText,
                                     int alertStyle, const QString &okButtonTitle,
                                     const std::function<void(qint64)> &onDismiss)
{
    AlertBox *box = makeAlert(window, message, informativeText, alertStyle);
    QPushButton *ok = box->addButton(okButtonTitle, QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    box->fitTexts();
    if (onDismiss)
        QObject::connect(box, &QMessageBox::finished, box, [onDismiss] { onDismiss(XSheetReturnCodeOK); });
    openAsSheet(box, window);
    return box;
}

QMessageBox *showConfirmSheetModalForWindow(QWidget *window, const QString &message,
                                            const QString &informativeText, int alertStyle,
                                            const QString &cancelButtonTitle, const QString &okButtonTitle,
                                            const std::function<void(qint64)> &onOk,
                                            const std::function<void()> &onCancel)
{
    AlertBox *box = makeAlert(window, message, informativeText, alertStyle);
    QPushButton *ok = box->addButton(okButtonTitle, QMessageBox::AcceptRole);
    QPushButton *cancel = box->addButton(cancelButtonTitle, QMessageBox::RejectRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(cancel);
    box->fitTexts();
    QObject::connect(box, &QMessageBox::finished, box, [box, ok, onOk, onCancel] {
        if (box->clickedButton() == ok) {
            if (onOk)
                onOk(0);
        } else if (onCancel) {
            onCancel();
        }
    });
    openAsSheet(box, window);
    return box;
}

} // namespace Pavisade

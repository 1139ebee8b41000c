#include <pavisade/forms/XXXFormPanel.h>

#include <pavisade/forms/FormControls.h>
#include <pavisade/viewcontrollers/Localization.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

#include <QtWidgets/QPushButton>

#include <algorithm>

const float kPanelTopPadding = 15;
const float kPanelLeftPadding = 10;
const float kPanelRightPadding = 10;
const float kPanelBottomPadding = 5;
const float kPanelElementRowPadding = 5;
const float kPanelElementColPadding = 18;
const float kPanelButtonPadding = 10;
const QSizeF kPanelButtonSize(82, 32);
const QSizeF kPanelTextFieldSize(200, 20);

namespace {

QSize contentSize(qint64 rows)
{
    const float formHeight =
        float(rows) * (kPanelElementRowPadding + 20) + kPanelTopPadding + kPanelBottomPadding;
    const double height = double(formHeight) + kPanelButtonSize.height() + 60;
    const double width =
        kPanelTextFieldSize.width() * 1.5 + kPanelElementColPadding + kPanelLeftPadding + kPanelRightPadding;
    return QSize(int(width), int(float(height)));
}

QFont labelFont(const QWidget *widget)
{
    QFont font = widget->font();
    font.setPixelSize(10);
    return font;
}

} // namespace

XXXFormPanel::XXXFormPanel(qint64 rows, qint64 columns, QWidget *parent)
    : XXXFormPanel(QRect(QPoint(0, 0), contentSize(rows)), rows, columns, parent)
{
}

XXXFormPanel::XXXFormPanel(const QRect &frame, qint64 rows, qint64 columns, QWidget *parent)
    : XXXPanel(parent)
    , m_rows(float(rows))
    , m_cols(float(std::max<qint64>(columns, 1)))
{
    if (columns < 1)
        XXXLog(QStringLiteral("a form panel of %1 columns lays out 1 column").arg(columns));
    resize(frame.size());
}

QPointF XXXFormPanel::elementAtIndex(qint64 index) const
{
    if (index == 0 || !m_lastElement)
        return {leftPadding, topPadding};
    const QRect previous = m_lastElement->geometry();
    if (index % qint64(m_cols) != 0)
        return {double(previous.x() + previous.width()) + elementRowPadding, double(previous.y())};
    return {leftPadding, double(previous.y() + previous.height()) + elementColPadding};
}

QPointF XXXFormPanel::buttonElementInitPosition() const
{
    const double x = width() - (2 * defaultButtonSize().width() + elementRowPadding + rightPadding);
    const double y = m_lastElement ? m_lastElement->geometry().bottom() + 1 + elementColPadding : topPadding;
    return {x, y};
}

void XXXFormPanel::place(QWidget *element, const QPointF &origin, const QSizeF &size)
{
    element->setGeometry(QRectF(origin, size).toRect());
    element->show();
    m_lastElement = element;
}

void XXXFormPanel::setUpFormView()
{
    const QList<XXXFormElement> elements = formElementsDef();
    for (qint64 i = 0; i < elements.size(); ++i) {
        const XXXFormElement &element = elements.at(i);
        if (element.required)
            requireValidateItemIditifiers.append(element.identifier);
        const QPointF origin = elementAtIndex(i);
        QWidget *control = nullptr;
        switch (element.elementType) {
        case 0: {
            auto *label = new XXXLabel(this);
            label->setText(element.title);
            control = label;
            break;
        }
        case 1:
            control = new XXXTextField(this);
            break;
        case 2: {
            auto *combo = new XXXComboBox(this);
            for (const QVariant &entry : element.items)
                combo->addItem(entry.toString(), entry);
            control = combo;
            break;
        }
        case 3:
            control = new XXXCheckBox(this);
            break;
        default:
            XXXLog(QStringLiteral("form element %1 of type %2 is not placed")
                       .arg(element.identifier)
                       .arg(element.elementType));
            continue;
        }
        control->setObjectName(element.identifier);
        control->setFont(labelFont(this));
        const QSizeF size = element.elementType == 0
                                ? QSizeF(defaultTextFieldSize().width() / 2, defaultTextFieldSize().height())
                                : defaultTextFieldSize();
        place(control, origin, size);
        if (element.elementType == 0)
            continue;
        if ((element.elementType == 1 || element.elementType == 2) && element.defaultVal.isValid() &&
            !Bastwick::isNull(element.defaultVal)) {
            QVariant shown = element.defaultVal;
            if (!element.identifier.isEmpty()) {
                if (const Transformer transformer = transformerForBindingKeyPath(element.identifier))
                    shown = transformer->reverseTransformedValue(shown);
            }
            if (auto *field = qobject_cast<XXXTextField *>(control))
                field->setText(shown.toString());
            else if (auto *combo = qobject_cast<XXXComboBox *>(control))
                combo->setEditText(shown.toString());
            if (!element.identifier.isEmpty())
                setBindValue(element.identifier, shown);
        }
        bindControl(control);
    }
}

QPushButton *XXXFormPanel::addButton(const QString &title, qint64 index)
{
    auto *button = new QPushButton(Pavisade::localizedString(title), this);
    button->setAutoDefault(false);
    QPointF origin = buttonElementInitPosition();
    if (index > 0 && m_lastElement)
        origin = QPointF(m_lastElement->geometry().right() + 1 + elementRowPadding, m_lastElement->y());
    place(button, origin, defaultButtonSize());
    return button;
}

void XXXFormPanel::setUpButtonView()
{
    const QList<XXXButtonElement> buttons = buttonElementsDef();
    for (qint64 i = 0; i < buttons.size(); ++i) {
        const XXXButtonElement &element = buttons.at(i);
        QPushButton *button = addButton(element.title, i);
        button->setEnabled(element.enabled);
        button->setObjectName(element.identifier);
        if (element.isCancelButton())
            setCancelBtn(button);
        if (element.isOkButton())
            setOkBtn(button);
        QString name = element.selector;
        if (name.endsWith(QLatin1Char(':')))
            name.chop(1);
        connect(button, &QPushButton::clicked, this, [this, name] {
            if (!QMetaObject::invokeMethod(this, name.toLatin1().constData()))
                XXXLogWarning(QStringLiteral("%1 has no action %2")
                                  .arg(QLatin1String(metaObject()->className()), name));
        });
    }
}

void XXXFormPanel::setUpButtonView2()
{
    QPushButton *cancelButton = addButton(QStringLiteral("Cancell"), 0);
    connect(cancelButton, &QPushButton::clicked, this, &XXXFormPanel::cancel);
    QPushButton *okButton = addButton(QStringLiteral("Ok"), 1);
    connect(okButton, &QPushButton::clicked, this, &XXXFormPanel::ok);
}
